#pragma once
// Check digits of the Brazilian person number (CPF, 11 digits) and company
// number (CNPJ, 14 characters), as the supplier registry checks "Cnpj / Cpf"
// before saving. Pure code: no database, no widgets.
//
// The separators ".", "/", "-" and blanks are ignored. What remains decides
// the rule: 11 characters are checked as a CPF, 14 as a CNPJ. Anything else
// is refused with the message of the rule the typed length points to (2 to 11
// characters typed: "CPF Invalido !!!", 12 or more: "CNPJ Invalido !!!"), so
// a CPF typed with its dots and hyphen (14 characters) is still a CPF. A text
// of 0 or 1 characters is not checked at all (a supplier may be saved without
// its number).
//
// CPF: digits only; one digit repeated eleven times is refused; both check
// digits modulo 11 (weights 10..2, then 11..2; a remainder below 2 gives 0,
// otherwise 11 minus the remainder).
// CNPJ: the first 12 characters are digits or capital letters (the
// alphanumeric numbers issued from July 2026; each character is worth its
// ASCII code minus 48, so a digit is worth itself and "A" 17), the two check
// digits are digits; weights 5,4,3,2,9,8,7,6,5,4,3,2 and then
// 6,5,4,3,2,9,8,7,6,5,4,3,2, modulo 11 as for the CPF. A numeric CNPJ is
// checked exactly as it always was.

#include <QString>

namespace CpfCnpj {

enum class Verdict {
    NotChecked,  // 0 or 1 character typed
    ValidCpf,    // 11 characters after the separators, a correct CPF
    ValidCnpj,   // 14 characters after the separators, a correct CNPJ
    InvalidCpf,  // refused with "CPF Invalido !!!"
    InvalidCnpj, // refused with "CNPJ Invalido !!!"
};

// The text without ".", "/", "-" and blanks.
QString stripped(const QString &typed);
// The rules on a text already stripped.
bool isValidCpf(const QString &digits);
bool isValidCnpj(const QString &characters);

Verdict check(const QString &typed);
inline bool accepted(Verdict v)
{
    return v == Verdict::NotChecked || v == Verdict::ValidCpf || v == Verdict::ValidCnpj;
}
// "CPF Invalido !!!" or "CNPJ Invalido !!!"; empty for an accepted verdict.
QString message(Verdict v);

} // namespace CpfCnpj
