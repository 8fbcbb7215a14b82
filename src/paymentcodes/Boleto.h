#pragma once
// Reading a boleto bancário (FEBRABAN "ficha de compensação") from its 44-digit
// barcode or 47-digit typed line: the check digits, the bank, the due date and
// the value.
//
// The due date travels as a factor, the days since 07/10/1997: 1000 was
// 03/07/2000 and 9999 was 21/02/2025; on 22/02/2025 the factor went back to
// 1000 and every 9000 days it will again (9999 of the second cycle is
// 13/10/2049). A factor therefore names one date per cycle, and the reader takes
// the one nearest to "today", which the caller passes (the library never reads
// the clock). Factor 0000 means the bill has no due date; value 0 means the
// payer fills in the amount.

#include "PaymentCode.h"

namespace Boleto {

// digits: exactly 44 (barcode) or 47 (typed line) decimal digits. Field digits
// are checked first (a typo in the line is most often found there), then the
// general digit, then the currency (only 9, the real, is accepted: a value in
// another currency must not land in a money field as if it were reais).
PaymentCodeReading read(const QString &digits, const QDate &today);

// The due date a factor stands for, seen from today: the date of the cycle
// nearest to today (on a tie, the later one). Factors below 1000 exist only in
// the first cycle (1997 to 2000). An invalid date for factor 0 or out of range.
QDate dueDate(int factor, const QDate &today);

} // namespace Boleto
