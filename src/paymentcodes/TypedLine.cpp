#include "TypedLine.h"

#include "CheckDigits.h"

namespace TypedLine {

namespace {

using BlockDigit = int (*)(QStringView);

// The check digit function of an arrecadação code by its value identifier.
BlockDigit arrecadacaoDigit(QChar identifier)
{
    switch (identifier.unicode()) {
    case '6':
    case '7':
        return CheckDigits::modulo10;
    case '8':
    case '9':
        return CheckDigits::arrecadacaoModulo11;
    default:
        return nullptr;
    }
}

QString withDigit(QStringView field, int (*digit)(QStringView))
{
    return field.toString() + QString::number(digit(field));
}

} // namespace

QString digitsOf(const QString &text)
{
    QString digits;
    digits.reserve(text.size());
    for (const QChar c : text)
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            digits += c;
    return digits;
}

QString fromBarcode(const QString &barcode)
{
    const QString bar = digitsOf(barcode);
    if (bar.size() != 44)
        return QString();
    const QStringView b(bar);
    if (bar[0] == QLatin1Char('8')) {
        const BlockDigit digit = arrecadacaoDigit(bar[2]);
        if (!digit)
            return QString();
        QString line;
        for (int block = 0; block < 4; ++block)
            line += withDigit(b.mid(block * 11, 11), digit);
        return line;
    }
    const QString field1 = b.mid(0, 4).toString() + b.mid(19, 5).toString();
    return withDigit(field1, CheckDigits::modulo10) +
           withDigit(b.mid(24, 10), CheckDigits::modulo10) +
           withDigit(b.mid(34, 10), CheckDigits::modulo10) + b.mid(4, 15).toString();
}

QString toBarcode(const QString &typedLine)
{
    const QString line = digitsOf(typedLine);
    const QStringView l(line);
    if (line.size() == 47)
        return l.mid(0, 4).toString() + l.mid(32, 15).toString() + l.mid(4, 5).toString() +
               l.mid(10, 10).toString() + l.mid(21, 10).toString();
    if (line.size() == 48)
        return l.mid(0, 11).toString() + l.mid(12, 11).toString() + l.mid(24, 11).toString() +
               l.mid(36, 11).toString();
    return QString();
}

QString formatted(const QString &digits)
{
    const QStringView d(digits);
    if (digits.size() == 47 && digitsOf(digits).size() == 47)
        return QStringLiteral("%1.%2 %3.%4 %5.%6 %7 %8")
            .arg(d.mid(0, 5), d.mid(5, 5), d.mid(10, 5), d.mid(15, 6), d.mid(21, 5), d.mid(26, 6),
                 d.mid(32, 1), d.mid(33, 14));
    if (digits.size() == 48 && digitsOf(digits).size() == 48)
        return QStringLiteral("%1-%2 %3-%4 %5-%6 %7-%8")
            .arg(d.mid(0, 11), d.mid(11, 1), d.mid(12, 11), d.mid(23, 1), d.mid(24, 11),
                 d.mid(35, 1), d.mid(36, 11), d.mid(47, 1));
    return digits;
}

} // namespace TypedLine
