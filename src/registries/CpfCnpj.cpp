#include "registries/CpfCnpj.h"

namespace CpfCnpj {

namespace {

// Modulo-11 check digit over values with the given weights.
int checkDigit(const int *values, const int *weights, int count)
{
    int sum = 0;
    for (int i = 0; i < count; ++i)
        sum += values[i] * weights[i];
    const int r = sum % 11;
    return r < 2 ? 0 : 11 - r;
}

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

} // namespace

QString stripped(const QString &typed)
{
    QString s;
    s.reserve(typed.size());
    for (const QChar c : typed)
        if (c != QLatin1Char('.') && c != QLatin1Char('/') && c != QLatin1Char('-') && !c.isSpace())
            s += c;
    return s;
}

bool isValidCpf(const QString &digits)
{
    if (digits.size() != 11)
        return false;
    int v[11];
    for (int i = 0; i < 11; ++i) {
        if (!isDigit(digits[i]))
            return false;
        v[i] = digits[i].unicode() - '0';
    }
    bool allEqual = true;
    for (int i = 1; i < 11; ++i)
        allEqual = allEqual && v[i] == v[0];
    if (allEqual)
        return false;
    static const int w1[] = {10, 9, 8, 7, 6, 5, 4, 3, 2};
    static const int w2[] = {11, 10, 9, 8, 7, 6, 5, 4, 3, 2};
    return checkDigit(v, w1, 9) == v[9] && checkDigit(v, w2, 10) == v[10];
}

bool isValidCnpj(const QString &characters)
{
    if (characters.size() != 14)
        return false;
    int v[14];
    for (int i = 0; i < 14; ++i) {
        const QChar c = characters[i];
        const bool letter = c >= QLatin1Char('A') && c <= QLatin1Char('Z');
        // The check digits stay numeric; the base may carry capital letters.
        if (!isDigit(c) && !(letter && i < 12))
            return false;
        v[i] = c.unicode() - '0';
    }
    static const int w1[] = {5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3, 2};
    static const int w2[] = {6, 5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3, 2};
    return checkDigit(v, w1, 12) == v[12] && checkDigit(v, w2, 13) == v[13];
}

Verdict check(const QString &typed)
{
    const int typedLength = int(typed.size());
    if (typedLength <= 1)
        return Verdict::NotChecked;
    const QString s = stripped(typed);
    if (s.size() == 11)
        return isValidCpf(s) ? Verdict::ValidCpf : Verdict::InvalidCpf;
    if (s.size() == 14)
        return isValidCnpj(s) ? Verdict::ValidCnpj : Verdict::InvalidCnpj;
    return typedLength <= 11 ? Verdict::InvalidCpf : Verdict::InvalidCnpj;
}

QString message(Verdict v)
{
    switch (v) {
    case Verdict::InvalidCpf:
        return QStringLiteral("CPF Invalido !!!");
    case Verdict::InvalidCnpj:
        return QStringLiteral("CNPJ Invalido !!!");
    default:
        return {};
    }
}

} // namespace CpfCnpj
