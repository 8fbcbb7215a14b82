#pragma once
// Turns stored values into the texts a clerk sees, with the display masks the
// screens and reports use: "#,##0.00" (1.234,56), "0.00", "dd/mm/yyyy",
// "hh:nn:ss". Numbers and dates follow the pt_BR locale.

#include <QString>
#include <QVariant>

namespace DisplayFormat {

// An empty mask shows dates as dd/MM/yyyy, numbers as they are and texts as they are.
QString format(const QVariant &value, const QString &mask = {});
// "#,##0.00" with the locale's separators.
QString money(double value);
// Reads a number typed the Brazilian way ("1.234,56", "1234,56", "-3") or the
// plain way ("1234.56"); ok is false for anything else.
double parseNumber(const QString &text, bool *ok = nullptr);
// Reads dd/MM/yyyy (also d/M/yy); an invalid date gives an invalid QDate.
QDate parseDate(const QString &text);

} // namespace DisplayFormat
