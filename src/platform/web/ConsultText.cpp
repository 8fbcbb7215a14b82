#include "web/ConsultText.h"

#include <QJsonValue>
#include <QLocale>
#include <QTimeZone>

namespace ConsultText {

namespace {

// The text without the punctuation people type in registry numbers.
QString withoutPunctuation(const QString &typed)
{
    QString bare;
    for (const QChar ch : typed)
        if (ch != '.' && ch != '/' && ch != '-' && !ch.isSpace())
            bare += ch;
    return bare;
}

bool isAsciiDigit(QChar ch)
{
    return ch >= '0' && ch <= '9';
}

bool allDigits(const QString &text)
{
    for (const QChar ch : text)
        if (!isAsciiDigit(ch))
            return false;
    return !text.isEmpty();
}

} // namespace

QString removeDoubleSpaces(const QString &text)
{
    return text.simplified();
}

QString bareCnpj(const QString &typed)
{
    const QString bare = withoutPunctuation(typed).toUpper();
    if (bare.size() != 14)
        return {};
    for (int i = 0; i < 12; ++i)
        if (!isAsciiDigit(bare[i]) && !(bare[i] >= 'A' && bare[i] <= 'Z'))
            return {};
    if (!isAsciiDigit(bare[12]) || !isAsciiDigit(bare[13]))
        return {};
    return bare;
}

QString punctuatedCnpj(const QString &bare)
{
    if (bare.size() != 14)
        return bare;
    return QStringLiteral("%1.%2.%3/%4-%5")
        .arg(bare.mid(0, 2), bare.mid(2, 3), bare.mid(5, 3), bare.mid(8, 4), bare.mid(12, 2));
}

QString bareCpf(const QString &typed)
{
    const QString bare = withoutPunctuation(typed);
    return bare.size() == 11 && allDigits(bare) ? bare : QString();
}

QString text(const QJsonObject &object, const QString &key)
{
    const QJsonValue value = object.value(key);
    if (value.isString())
        return value.toString();
    if (value.isDouble()) {
        const double d = value.toDouble();
        if (d == double(qint64(d)))
            return QString::number(qint64(d));
        return QLocale::c().toString(d, 'g', 15);
    }
    if (value.isBool())
        return value.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    return {};
}

QString cnaeCode(const QString &bare)
{
    QString digits = bare.trimmed();
    if (!allDigits(digits) || digits.size() > 7 || digits.toLongLong() == 0)
        return digits;
    digits = digits.rightJustified(7, '0');
    return QStringLiteral("%1.%2-%3-%4")
        .arg(digits.mid(0, 2), digits.mid(2, 2), digits.mid(4, 1), digits.mid(5, 2));
}

QString telephone(const QString &digitsWithAreaCode)
{
    const QString d = digitsWithAreaCode.trimmed();
    if (!allDigits(d) || (d.size() != 10 && d.size() != 11))
        return digitsWithAreaCode;
    const int local = d.size() - 2;
    const int head = local - 4;
    return QStringLiteral("(%1) %2-%3").arg(d.left(2), d.mid(2, head), d.right(4));
}

int retryAfterSeconds(const QByteArray &header, const QDateTime &now)
{
    const QString value = QString::fromLatin1(header).trimmed();
    if (value.isEmpty())
        return -1;
    bool isNumber = false;
    const int seconds = value.toInt(&isNumber);
    if (isNumber)
        return seconds >= 0 ? seconds : -1;
    // The HTTP date form: "Wed, 21 Oct 2015 07:28:00 GMT".
    QDateTime at =
        QLocale::c().toDateTime(value, QStringLiteral("ddd, dd MMM yyyy HH:mm:ss 'GMT'"));
    if (!at.isValid())
        return -1;
    at.setTimeZone(QTimeZone::utc());
    return int(qMax<qint64>(0, now.secsTo(at)));
}

QString retryAdvice(int seconds)
{
    if (seconds < 0)
        return QStringLiteral("Tente novamente em alguns minutos.");
    if (seconds == 1)
        return QStringLiteral("Tente novamente em 1 segundo.");
    return QStringLiteral("Tente novamente em %1 segundos.").arg(seconds);
}

} // namespace ConsultText
