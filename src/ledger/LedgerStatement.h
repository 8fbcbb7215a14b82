#pragma once
// The printed statement of one bank account for a period, with its cash
// closing, as fixed-column text pages (66 lines x 95 columns, accented
// letters as plain letters). Built by a pure function from what the dialog
// read, so every line and column can be checked without a database.
//
// Layout, lines and columns from 1:
// - Movement page header (lines 1 to 8), printed when a movement is about to
//   go on an empty page: rules of 95 "=" on lines 1, 4, 6 and 8; the company
//   on line 2 at column 2 and "Página: " with the page number (six digits)
//   at column 81; on line 3 at column 2 "Relatorio de C.Corrente-Periodo: "
//   with the dates as typed and the account number, and "Emissao: " with
//   today's date at column 76 (on line 5 when line 3 reaches that column, so
//   a long account number is printed whole); the column titles on line 7.
//   Movements start on line 9; the page number goes up after each movement
//   page header.
// - A movement line: the date, two blanks and the kind at column 1; the
//   description (33 characters, upper case) at 22; the cost centre (20,
//   upper case) at 57, where the credit written afterwards at 72 covers what
//   runs past column 71; the debit at 82. Amounts "###,##0.00" in 10 columns.
// - After the last movement of a day, on the next two lines: "-----------"
//   at 82, then "SUB-TOTAL:" at 69 with the day's credits less debits
//   without sign at 82 and "C" (0 or more) or "D" at 92. The next movement
//   goes three lines below the subtotal, otherwise on the next line.
// - A new page starts when the next line would lie beyond line 60.
// - The closing block (totals of entries and exits, the day's total, the
//   carried balance when asked for, the balance) needs 6 lines: when the page
//   is empty or has fewer than 6 lines left before line 60, it goes on a page
//   of its own (a new one unless the page is still empty) under the closing
//   page header: the movement page header reading "Fechamento de Caixa -
//   Periodo: " on line 3 and the closing titles on line 7, without a new
//   page number.

#include "textprint/TextDocument.h"

#include <QDate>
#include <QList>
#include <QString>

namespace LedgerStatement {

// One movement of the period, in the order it is printed.
struct Movement
{
    QDate datalancamento;
    QString tipos;
    QString fornecedor;
    QString gerencial;
    double valor = 0;  // credit; a null amount is 0
    double debito = 0; // debit
};

struct Request
{
    QString companyName;
    QString firstDate; // the period's dates as typed in the dialog
    QString lastDate;
    QString account; // the account number
    QDate today;
    // With it, the closing block carries the balance from before the period
    // (carriedBalance) and prints it.
    bool carryBalance = true;
    double carriedBalance = 0;
};

inline constexpr int Lines = 66;
inline constexpr int Columns = 95;
// The next movement goes on a new page when its line would lie beyond this
// one; the closing block must end before it.
inline constexpr int LastLine = 60;

TextPrint::Document build(const Request &request, const QList<Movement> &movements);

} // namespace LedgerStatement
