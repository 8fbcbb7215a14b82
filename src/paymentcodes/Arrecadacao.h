#pragma once
// Reading an arrecadação code (utility bills, taxes, fines: FEBRABAN's layout for
// collection with barcode), from its 44-digit barcode or 48-digit typed line,
// both starting with 8.
//
// The second digit names the segment, the third says how to read the value and
// which check digit the code uses: 6 real value, modulo 10; 7 reference value
// (a quantity of some index, not reais), modulo 10; 8 real value, modulo 11;
// 9 reference value, modulo 11. The fourth is the general digit; positions 5
// to 15 hold the value. The layout has no due-date field common to every
// issuer, so no due date is read.

#include "PaymentCode.h"

namespace Arrecadacao {

// digits: exactly 44 or 48 decimal digits starting with 8. Checked in order: the
// value identifier, the four block digits of a typed line, the general digit.
PaymentCodeReading read(const QString &digits);

// "Energia elétrica e gás" for segment 3; "Segmento 8" for a segment the layout
// does not define.
QString segmentName(int segment);

} // namespace Arrecadacao
