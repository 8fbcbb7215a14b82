#pragma once
// The two printed forms of one boleto or arrecadação code: the 44-digit barcode
// and the typed line ("linha digitável") made from it for people, with a check
// digit per field. These functions only rearrange digits and compute the field
// digits; checking a code is PaymentCodeReader's job.
//
// Boleto: barcode BBBM G FFFF VVVVVVVVVV LLLLLLLLLLLLLLLLLLLLLLLLL (bank, currency,
// general digit, due factor, value, free field) gives the 47-digit line
// BBBML LLLLd LLLLL LLLLLd LLLLL LLLLLd G FFFFVVVVVVVVVV.
// Arrecadação (barcode starting with 8): the barcode's four blocks of 11 digits,
// each followed by its check digit (modulo 10 or 11 as the third digit says), 48.

#include <QString>

namespace TypedLine {

// The typed line's digits for a 44-digit barcode (other characters ignored);
// empty when there are not 44 digits, or for an arrecadação barcode whose value
// identifier (third digit) is not 6, 7, 8 or 9.
QString fromBarcode(const QString &barcode);

// The barcode's 44 digits for a typed line of 47 or 48 digits (dots, blanks and
// dashes ignored); empty for any other number of digits.
QString toBarcode(const QString &typedLine);

// The line as printed on the bill: "00190.00009 01014.051005 00066.673179 9
// 71340000010000" for 47 digits, "83640000001-1 33120138000-2 81288462711-6
// 08013618155-1" for 48; other texts come back unchanged.
QString formatted(const QString &digits);

// Only the decimal digits (0-9) of text.
QString digitsOf(const QString &text);

} // namespace TypedLine
