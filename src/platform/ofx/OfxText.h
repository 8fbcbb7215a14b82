#pragma once
// What reaches libofx is not the bank's file but a clean restatement of it.
// Real bank files defeat libofx in several ways, each seen in exports of
// Brazilian banks:
// - a "CHARSET:1252" header over a UTF-8 body (libofx then converts the
//   UTF-8 bytes as if they were Windows-1252, and "ação" turns into
//   "aÃ§Ã£o"); here the body's bytes decide (TextDecoding) and the text
//   handed on is UTF-8 under a UTF-8 header;
// - a bare "&" in a name ("C&A") that OpenSP takes for an entity reference
//   and drops with what follows;
// - an element libofx does not know inside a transaction, which makes it
//   lose the element after it (a check number, say);
// - a transaction whose </STMTTRN> is missing, which nests the next one in
//   it and mixes their fields;
// - amounts with a decimal comma or thousands separators ("1.234,56");
// - posting dates with a time and a zone that libofx turns into an instant,
//   so a late-evening posting lands on the next day in UTC; only the date
//   the bank wrote counts for a statement line.
// So the file is read here leniently, SGML (OFX 1.x) or XML (OFX 2.x) alike
// — leaf values end at the next tag whether closed or not, closing tags are
// optional, unknown elements are passed over — and restated as plain OFX
// 1.x SGML with only the elements the statement needs. The restatement also
// cuts the transaction list into slices of SliceSize: libofx's time grows
// with the square of the transactions in one list (10,000 take about 2 s in
// one piece here, a fifth of that in slices of 1,000; smaller slices pay
// more for libofx loading its DTD on every call).

#include <QByteArray>
#include <QList>
#include <QString>

namespace OfxText {

constexpr int SliceSize = 1000;

struct Transaction
{
    QString type, posted, amount, fitId, checkNumber, name, memo; // values as the bank wrote them
};

struct Statement
{
    bool creditCard = false;
    QString bankId, branchId, accountId, accountType, currency;
    QString start, end; // DTSTART, DTEND
    QString balance, balanceDate;
    QList<Transaction> transactions;
};

struct Document
{
    bool found = false;    // an <OFX> element begins
    bool closed = false;   // and ends with </OFX> (a file cut short does not)
    QString statusMessage; // a non-zero status's MESSAGE, or its CODE
    QList<Statement> statements;
};

// Decodes the bytes (UTF-8 or Windows-1252, whatever the header says) and
// reads them leniently. Values are entity-decoded and trimmed.
Document parse(const QByteArray &bytes);

// The statement as one OFX 1.x SGML file in UTF-8 holding the transactions
// [first, first + count) (and the balance), for libofx.
QByteArray restate(const Statement &statement, int first, int count);

// "1.234,56", "1234,56", "+1234.56" to "1234.56"; other texts unchanged.
QString plainAmount(const QString &amount);
// "20240315235900[-3:BRT]" to "20240315": the day the bank wrote; a value
// that does not begin with eight digits unchanged.
QString dayOf(const QString &value);

} // namespace OfxText
