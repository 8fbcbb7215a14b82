#pragma once
// The one entry point for what a clerk pastes or a barcode reader types into the
// payment-code field: a boleto's typed line or barcode, an arrecadação line or
// barcode, or a PIX "copia e cola".
//
// Blanks, line breaks, dots and dashes between digits are ignored (typed lines
// are printed with them; readers end with Enter). A text that starts with
// "000201" is a PIX code; otherwise it must be digits: 44 is a barcode (an
// arrecadação one when it starts with 8), 47 a boleto's typed line, 48 an
// arrecadação typed line. Anything else is refused with the exact Portuguese
// sentence to show, e.g. "Linha digitável com 46 dígitos; esperados 47 ou 48"
// or "Dígito verificador do campo 2 não confere"; a refused text fills nothing.
//
// today is the date the boleto's due-date factor is resolved against (pass
// Clock::today()); the reader never reads the clock itself.

#include "PaymentCode.h"

namespace PaymentCodeReader {

PaymentCodeReading read(const QString &text, const QDate &today);

} // namespace PaymentCodeReader
