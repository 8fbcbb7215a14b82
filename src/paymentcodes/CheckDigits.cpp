#include "CheckDigits.h"

namespace CheckDigits {

namespace {

int weightedSum2to9(QStringView digits)
{
    int sum = 0;
    int weight = 2;
    for (qsizetype i = digits.size() - 1; i >= 0; --i) {
        sum += digits[i].digitValue() * weight;
        weight = weight == 9 ? 2 : weight + 1;
    }
    return sum;
}

} // namespace

int modulo10(QStringView digits)
{
    int sum = 0;
    int weight = 2;
    for (qsizetype i = digits.size() - 1; i >= 0; --i) {
        const int product = digits[i].digitValue() * weight;
        sum += product / 10 + product % 10;
        weight = weight == 2 ? 1 : 2;
    }
    return (10 - sum % 10) % 10;
}

int boletoModulo11(QStringView digits)
{
    const int digit = 11 - weightedSum2to9(digits) % 11;
    return digit >= 10 ? 1 : digit;
}

int arrecadacaoModulo11(QStringView digits)
{
    const int remainder = weightedSum2to9(digits) % 11;
    if (remainder <= 1)
        return 0;
    return 11 - remainder; // remainder 10 gives 1
}

quint16 crc16Ccitt(QByteArrayView bytes)
{
    quint16 crc = 0xFFFF;
    for (const char c : bytes) {
        crc ^= quint16(quint8(c)) << 8;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 0x8000) ? quint16((crc << 1) ^ 0x1021) : quint16(crc << 1);
    }
    return crc;
}

} // namespace CheckDigits
