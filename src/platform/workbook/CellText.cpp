#include "workbook/CellText.h"

#include <charconv>
#include <cmath>

namespace CellText {

NumberKind builtinFormatKind(int id)
{
    if ((id >= 14 && id <= 17) || id == 22 || (id >= 27 && id <= 36) || (id >= 50 && id <= 58))
        return NumberKind::Date;
    if ((id >= 18 && id <= 21) || (id >= 45 && id <= 47))
        return NumberKind::Time;
    return NumberKind::Number;
}

NumberKind formatCodeKind(QStringView code)
{
    bool date = false, month = false, time = false;
    for (qsizetype i = 0; i < code.size(); ++i) {
        const QChar c = code.at(i).toLower();
        if (c == QLatin1Char(';'))
            break; // the other sections format negatives, zero and text
        if (c == QLatin1Char('"')) {
            const qsizetype close = code.indexOf(QLatin1Char('"'), i + 1);
            if (close < 0)
                break;
            i = close;
        } else if (c == QLatin1Char('\\') || c == QLatin1Char('_') || c == QLatin1Char('*')) {
            ++i; // an escaped character, a padding width or a fill character
        } else if (c == QLatin1Char('[')) {
            const qsizetype close = code.indexOf(QLatin1Char(']'), i + 1);
            if (close < 0)
                break;
            // [h], [mm], [ss]: elapsed time; anything else is a colour, a
            // condition or a locale.
            const QString inside = code.mid(i + 1, close - i - 1).toString().toLower();
            if (!inside.isEmpty() && (inside.count(QLatin1Char('h')) == inside.size() ||
                                      inside.count(QLatin1Char('m')) == inside.size() ||
                                      inside.count(QLatin1Char('s')) == inside.size()))
                time = true;
            i = close;
        } else if (code.mid(i, 7).compare(QLatin1String("general"), Qt::CaseInsensitive) == 0) {
            i += 6;
        } else if (c == QLatin1Char('e') && i + 1 < code.size() &&
                   (code.at(i + 1) == QLatin1Char('+') || code.at(i + 1) == QLatin1Char('-'))) {
            ++i; // the exponent of a scientific format
        } else if (code.mid(i, 5).compare(QLatin1String("am/pm"), Qt::CaseInsensitive) == 0) {
            time = true;
            i += 4;
        } else if (code.mid(i, 3).compare(QLatin1String("a/p"), Qt::CaseInsensitive) == 0) {
            time = true;
            i += 2;
        } else if (c == QLatin1Char('d') || c == QLatin1Char('y') || c == QLatin1Char('e')) {
            date = true;
        } else if (c == QLatin1Char('m')) {
            month = true;
        } else if (c == QLatin1Char('h') || c == QLatin1Char('s')) {
            time = true;
        }
    }
    // "m" is the month beside a day or a year, the minutes beside hours or
    // seconds, and the month when it stands alone ("mmm").
    if (date || (month && !time))
        return NumberKind::Date;
    return time ? NumberKind::Time : NumberKind::Number;
}

QString number(double value)
{
    if (!std::isfinite(value))
        return QString::number(value);
    if (value == 0)
        return QStringLiteral("0"); // also -0
    // 15 significant digits, then the shortest plain form of that value.
    char digits[40];
    auto r =
        std::to_chars(digits, digits + sizeof digits, value, std::chars_format::scientific, 14);
    double rounded = value;
    std::from_chars(digits, r.ptr, rounded);
    char plain[400];
    r = std::to_chars(plain, plain + sizeof plain, rounded, std::chars_format::fixed);
    QString text = QString::fromLatin1(plain, r.ptr - plain);
    text.replace(QLatin1Char('.'), QLatin1Char(','));
    return text;
}

QString serialDate(double serial, NumberKind kind, bool date1904)
{
    constexpr double LastDay = 2958465; // 31/12/9999 in the 1900 system
    if (!(serial >= 0) || serial >= LastDay + 1)
        return number(serial);
    const qint64 seconds = std::llround(serial * 86400.0);
    const qint64 days = seconds / 86400;
    const int secondOfDay = int(seconds % 86400);
    QDate date;
    if (date1904)
        date = QDate(1904, 1, 1).addDays(days);
    else if (days >= 1 && days < 60)
        // The 1900 system counts a 29/02/1900 that never was: before it the
        // serial is one day ahead. The fictitious day itself reads 28/02/1900.
        date = QDate(1899, 12, 31).addDays(days);
    else
        date = QDate(1899, 12, 30).addDays(days);
    const QTime time = QTime(0, 0).addSecs(secondOfDay);
    if (kind == NumberKind::Time && days == 0)
        return timeOfDay(time);
    return dateTime(date, time);
}

QString dateTime(const QDate &date, const QTime &time)
{
    QString text = date.toString(QStringLiteral("dd/MM/yyyy"));
    if (time.isValid() && time != QTime(0, 0))
        text += QLatin1Char(' ') + timeOfDay(time);
    return text;
}

QString timeOfDay(const QTime &time)
{
    return time.toString(QStringLiteral("HH:mm:ss"));
}

QString boolean(bool value)
{
    return value ? QStringLiteral("VERDADEIRO") : QStringLiteral("FALSO");
}

namespace {

struct ErrorName
{
    const char *file;
    const char *shown;
};

const ErrorName errorNames[] = {
    {"#N/A", "#N/D"},     {"#VALUE!", "#VALOR!"},
    {"#NAME?", "#NOME?"}, {"#NUM!", "#NÚM!"},
    {"#NULL!", "#NULO!"}, {"#DIV/0!", "#DIV/0!"},
    {"#REF!", "#REF!"},   {"#SPILL!", "#DESPEJAR!"},
    {"#CALC!", "#CALC!"}, {"#GETTING_DATA", "#OBTENDO_DADOS"},
};

} // namespace

QString errorValue(QStringView code)
{
    const QString trimmed = code.trimmed().toString();
    for (const ErrorName &n : errorNames)
        if (trimmed.compare(QLatin1String(n.file), Qt::CaseInsensitive) == 0)
            return QString::fromUtf8(n.shown);
    return trimmed;
}

bool isErrorValue(QStringView text)
{
    const QString t = text.trimmed().toString();
    for (const ErrorName &n : errorNames)
        if (t == QLatin1String(n.file) || t == QString::fromUtf8(n.shown))
            return true;
    // LibreOffice's own codes: "Err:502".
    return t.size() == 7 && t.startsWith(QLatin1String("Err:")) && t.at(4).isDigit() &&
           t.at(5).isDigit() && t.at(6).isDigit();
}

QString columnName(int column)
{
    QString name;
    for (int c = column + 1; c > 0; c = (c - 1) / 26)
        name.prepend(QChar(u'A' + (c - 1) % 26));
    return name;
}

QString cellName(int row, int column)
{
    return columnName(column) + QString::number(row + 1);
}

bool parseCellName(QStringView name, int *row, int *column)
{
    qsizetype i = 0;
    qint64 col = 0;
    while (i < name.size() && name.at(i).isLetter() && name.at(i).unicode() < 128) {
        col = col * 26 + (name.at(i).toUpper().unicode() - u'A' + 1);
        if (col > 1'000'000)
            return false;
        ++i;
    }
    if (i == 0 || i == name.size())
        return false;
    bool ok = false;
    const qint64 r = name.mid(i).toLongLong(&ok);
    if (!ok || r < 1 || r > 100'000'000 || !name.at(i).isDigit())
        return false;
    *row = int(r - 1);
    *column = int(col - 1);
    return true;
}

} // namespace CellText
