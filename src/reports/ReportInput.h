#pragma once
// What the work-table screens read from their fields before a fill or a
// report, with the clerk's message when it cannot be used (title "Atenção";
// the focus goes to the field, nothing is lost).
//
// - period(): both date fields hold real dates ("Data Inicial inválida:
//   informe dd/mm/aaaa.").
// - listCode(): the code a lookup edit stands for. A text that names a row
//   of the list makes it the list's current row and gives its code; an empty
//   text gives the code of the list's current row (the first name when the
//   clerk has not chosen one), or no code when the list has no rows; a text
//   that names no row is refused ("\"X\" não está na lista de fornecedores.")
//   instead of silently using another row.

#include <QString>

#include <optional>

class DateEdit;
class LookupEdit;

namespace ReportInput {

bool period(DateEdit *from, DateEdit *to);
// what: the list's entries, as the message names them ("fornecedores").
bool listCode(LookupEdit *edit, const QString &keyField, const QString &what,
              std::optional<double> *code);

} // namespace ReportInput
