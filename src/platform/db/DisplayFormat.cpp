#include "db/DisplayFormat.h"

#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <QRegularExpression>

#include <cmath>

namespace DisplayFormat {

namespace {

QLocale br()
{
    return QLocale(QLocale::Portuguese, QLocale::Brazil);
}

// Masks of the form [prefix][#,##]0[.00##]: grouping when a comma is there;
// after the point each "0" is a digit always printed and each "#" a digit
// printed only when it is not a trailing zero ("0.0#": 2 -> "2,0", 2,25 ->
// "2,25"; "0.###": 2 -> "2").
QString numberWithMask(double v, const QString &mask)
{
    const int point = mask.indexOf(QLatin1Char('.'));
    int required = 0;
    int optional = 0;
    if (point >= 0)
        for (int i = point + 1;
             i < mask.size() && (mask[i] == QLatin1Char('0') || mask[i] == QLatin1Char('#')); ++i)
            ++(mask[i] == QLatin1Char('0') ? required : optional);
    const bool group = mask.contains(QLatin1Char(','));
    QLocale loc = br();
    if (!group)
        loc.setNumberOptions(QLocale::OmitGroupSeparator);
    QString prefix;
    const int firstMask = mask.indexOf(QRegularExpression(QStringLiteral("[#0]")));
    if (firstMask > 0)
        prefix = mask.left(firstMask);
    QString text = loc.toString(v, 'f', required + optional);
    if (optional > 0) {
        int drop = 0;
        while (drop < optional && text.at(text.size() - 1 - drop) == QLatin1Char('0'))
            ++drop;
        text.chop(drop);
        if (required == 0 && drop == optional)
            text.chop(1); // the decimal separator, with no digit left after it
        if (text == QLatin1String("-0"))
            text = QStringLiteral("0");
    }
    return prefix + text;
}

QString dateWithMask(const QDateTime &dt, QString mask)
{
    // Delphi-style masks use "nn" for minutes and "mm" for months.
    mask.replace(QStringLiteral("nn"), QStringLiteral("~~"));
    mask.replace(QStringLiteral("mm"), QStringLiteral("MM"));
    mask.replace(QStringLiteral("~~"), QStringLiteral("mm"));
    mask.replace(QStringLiteral("hh"), QStringLiteral("HH"));
    return br().toString(dt, mask);
}

} // namespace

QString format(const QVariant &value, const QString &mask)
{
    if (value.isNull() || !value.isValid())
        return QString();
    switch (value.metaType().id()) {
    case QMetaType::QDate:
        return dateWithMask(QDateTime(value.toDate(), QTime(0, 0)),
                            mask.isEmpty() ? QStringLiteral("dd/mm/yyyy") : mask);
    case QMetaType::QDateTime:
        return dateWithMask(value.toDateTime(),
                            mask.isEmpty() ? QStringLiteral("dd/mm/yyyy hh:nn:ss") : mask);
    case QMetaType::QTime:
        return dateWithMask(QDateTime(QDate(2000, 1, 1), value.toTime()),
                            mask.isEmpty() ? QStringLiteral("hh:nn:ss") : mask);
    case QMetaType::Double:
    case QMetaType::Float:
        if (mask.isEmpty()) {
            const double d = value.toDouble();
            if (d == std::floor(d) && std::fabs(d) < 1e15)
                return QString::number(qint64(d));
            QLocale loc = br();
            loc.setNumberOptions(QLocale::OmitGroupSeparator);
            return loc.toString(d, 'g', 15);
        }
        return numberWithMask(value.toDouble(), mask);
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
        return mask.isEmpty() ? value.toString() : numberWithMask(value.toDouble(), mask);
    default:
        return value.toString();
    }
}

QString money(double value)
{
    return numberWithMask(value, QStringLiteral("#,##0.00"));
}

double parseNumber(const QString &text, bool *ok)
{
    QString t = text.trimmed();
    t.remove(QStringLiteral("R$"));
    t = t.trimmed();
    bool good = false;
    double v = 0;
    static const QRegularExpression brForm(
        QStringLiteral("^[-+]?(\\d{1,3}(\\.\\d{3})+|\\d+)(,\\d*)?$"));
    static const QRegularExpression plainForm(QStringLiteral("^[-+]?\\d*\\.?\\d+$"));
    if (brForm.match(t).hasMatch()) {
        QString s = t;
        s.remove(QLatin1Char('.'));
        s.replace(QLatin1Char(','), QLatin1Char('.'));
        v = s.toDouble(&good);
    } else if (plainForm.match(t).hasMatch()) {
        v = t.toDouble(&good);
    }
    if (ok)
        *ok = good;
    return good ? v : 0;
}

QDate parseDate(const QString &text)
{
    const QString t = text.trimmed();
    for (const char *f : {"dd/MM/yyyy", "d/M/yyyy", "dd/MM/yy", "d/M/yy"}) {
        QDate d = QDate::fromString(t, QString::fromLatin1(f));
        if (d.isValid()) {
            if (QString::fromLatin1(f).endsWith(QStringLiteral("/yy")) && d.year() < 1950)
                d = d.addYears(100);
            return d;
        }
    }
    return QDate();
}

} // namespace DisplayFormat
