#pragma once
// The check digits of the Brazilian payment codes and the CRC of the PIX BR Code.
// Every function takes only decimal digits (modulo functions) or raw bytes (CRC);
// the callers have already cleaned what the clerk typed.

#include <QByteArrayView>
#include <QStringView>

namespace CheckDigits {

// Weights 2, 1, 2, 1... from the rightmost digit, the digits of each product
// added up; the digit that completes the sum to a multiple of ten. Fields of the
// boleto's typed line and arrecadação codes whose value identifier is 6 or 7.
int modulo10(QStringView digits);

// Weights 2..9 repeating from the rightmost digit; 11 minus the remainder of the
// sum by 11, where 0, 10 and 11 become 1. The boleto barcode's general digit.
int boletoModulo11(QStringView digits);

// Same weights; remainder 0 or 1 gives 0, remainder 10 gives 1, otherwise 11
// minus the remainder. Arrecadação codes whose value identifier is 8 or 9.
int arrecadacaoModulo11(QStringView digits);

// CRC-16/CCITT-FALSE: polynomial 0x1021, initial 0xFFFF, no reflection, no
// final xor ("123456789" gives 0x29B1).
quint16 crc16Ccitt(QByteArrayView bytes);

} // namespace CheckDigits
