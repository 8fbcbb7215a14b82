#pragma once
// Reading a PIX "copia e cola": the Central Bank's BR Code, an EMV
// merchant-presented payload of fields "IIllvalue" (two-digit id, two-digit
// length, value), some of them templates of subfields in the same shape.
//
// The code is accepted only if its structure is whole, its last field is the
// CRC (63, four upper- or lower-case hex digits: CRC-16/CCITT-FALSE over the
// UTF-8 bytes of everything before the digits, "6304" included) and the
// mandatory fields are there: 00 = "01" first, the PIX account (a template
// 26..51 whose subfield 00 is "br.gov.bcb.pix", holding the key in 01 or the
// dynamic charge's URL in 25), 52, 53 = "986" (reais), 58, 59 (payee), 60
// (city). 54 is the amount ("1500.50"), absent when the payer types it; 62/05
// the transaction id ("***" means none). Lengths count characters.

#include "PaymentCode.h"

namespace PixCode {

// payload: the code with its line breaks already removed and its ends trimmed.
PaymentCodeReading read(const QString &payload);

} // namespace PixCode
