#pragma once
// The lines of a bank statement, from the texts of a worksheet or from an OFX
// file, before anything reaches the database. Pure code: no database, no
// widgets.
//
// A worksheet carries, per row, the date in column A, the history in B, the
// document number in C, the signed amount in D (credits positive, debits
// negative) and the running balance in E. A row is passed over when A is
// empty or "Data", B empty or "Histórico", C empty or "Documento" (exact
// texts, case and blanks as they are), or when B is "SALDO ANTERIOR" or
// "CONTA", or A is "Data " (with its blank). Every other row is a line, and
// its cells must read: D (and E when not empty) as a number written the
// Brazilian way ("1234,5", "-1.234,56"; the plain "1234.5" too), A as a date
// dd/mm/yyyy, with or without a time after it (a date cell with a time reads
// "16/03/2024 14:30:00": the day counts). A row passed over is never
// converted, so a header or a balance row whose cells hold other texts does
// not stop a statement. A cell that does not read stops the whole reading
// with an Error naming the sheet row and the cell; no line is given then.
//
// An OFX statement gives one line per transaction, in the order of the
// file: its date, memo (or name) as history, check number (or FITID) as
// document, and amount. OFX has no balance per transaction: the closing
// balance the bank gives is put on the last line of the latest day, unless
// the bank states it for an earlier day.

#include "ofx/OfxStatement.h"
#include "workbook/TextGrid.h"

#include <QDate>
#include <QList>
#include <QString>

#include <optional>
#include <stdexcept>

struct StatementLine
{
    QDate data;
    QString historico;
    QString documento;
    double amount = 0; // credits positive, debits negative
    std::optional<double> saldo;

    bool operator==(const StatementLine &) const = default;
};

namespace StatementReader {

// A cell of a line that does not read; message() is complete for the clerk,
// "Linha 7, célula D7: ...".
class Error : public std::runtime_error
{
public:
    explicit Error(const QString &message);
    QString message() const { return m_message; }

private:
    QString m_message;
};

QList<StatementLine> fromGrid(const TextGrid &grid);
QList<StatementLine> fromOfx(const OfxStatement &statement);

// A statement amount or date as the worksheet rules read them (empty
// optional / invalid date when the text does not read).
std::optional<double> number(const QString &text);
QDate date(const QString &text);

// Whether the file is an OFX statement rather than a workbook: by its name
// (.ofx) or by its first bytes (an OFX header or element), since banks also
// hand out OFX files named .txt or without an extension.
bool isOfxFile(const QString &path);

// Whether the OFX account is the bank account of the ledger with that
// branch and number. Numbers compare by their digits, leading zeros apart;
// the OFX account may carry the branch before the number, or leave out the
// check digit written after a "-". A branch counts only when both give one.
bool sameAccount(const OfxAccount &ofx, const QString &agencia, const QString &conta);

} // namespace StatementReader
