#include "app/IniFile.h"

#include <QFile>
#include <QStringDecoder>

namespace {
QString keyOf(const QString &section, const QString &key)
{
    return section.trimmed().toLower() + QLatin1Char('\n') + key.trimmed().toLower();
}
} // namespace

bool IniFile::load(const QString &path)
{
    m_values.clear();
    QFile f(path);
    m_exists = f.open(QIODevice::ReadOnly);
    if (!m_exists)
        return false;
    const QByteArray bytes = f.readAll();
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8(bytes);
    if (utf8.hasError())
        text = QString::fromLatin1(bytes);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    QString section;
    for (const QString &raw : text.split(QLatin1Char('\n'))) {
        const QString line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')) ||
            line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            section = line.mid(1, line.size() - 2);
            continue;
        }
        const int eq = line.indexOf(QLatin1Char('='));
        if (eq <= 0)
            continue;
        const QString k = keyOf(section, line.left(eq));
        if (!m_values.contains(k)) // the first occurrence wins, as Windows reads it
            m_values.insert(k, line.mid(eq + 1).trimmed());
    }
    return true;
}

QString IniFile::readString(const QString &section, const QString &key,
                            const QString &fallback) const
{
    auto it = m_values.find(keyOf(section, key));
    return it == m_values.end() ? fallback : it.value();
}

int IniFile::readInteger(const QString &section, const QString &key, int fallback) const
{
    bool ok = false;
    const int v = readString(section, key).toInt(&ok);
    return ok ? v : fallback;
}

bool IniFile::hasKey(const QString &section, const QString &key) const
{
    return m_values.contains(keyOf(section, key));
}
