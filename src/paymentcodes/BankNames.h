#pragma once
// Names of the Brazilian banks most often seen on boletos, by their three-digit
// clearing code. The table is short on purpose: a code not in it is shown as the
// code itself, never guessed.

#include <QString>

namespace BankNames {

// "Banco do Brasil" for "001"; an empty text when the code is not in the table.
QString name(const QString &code);

} // namespace BankNames
