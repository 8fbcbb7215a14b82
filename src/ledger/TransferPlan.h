#pragma once
// What the transfer of a staged bank statement books in the checking-account
// ledger, worked out before anything is written (pure code: no database, no
// widgets).
//
// Each staged line becomes one movement on the bank account remembered when
// the statement was read, dated the line's date (launch, due and settlement
// dates alike), with the company's first branch, supplier and cost centre
// 99999, the history as description, cost centre "BANCO", channel
// "BANCO", payment type 1 "VARIAVEL", account code 0, "S" imported today at
// the time of the transfer by the current user. A line with a credit (a
// `valor` other than 0) is a credit "E"/"ENTRADA" of that amount, any other
// a debit "S"/"DEBITO" of its `debito`; the amount is also kept in
// `valordoc`.
//
// A line is a likely duplicate when the ledger already holds a movement of
// the same date, `valordoc` and document as the ledger stores it (the
// ledger keeps the first 15 characters of a document, so a longer document
// is compared by those), or when an earlier line of the same statement that
// is being booked has them too. For each likely duplicate ask() decides:
// booked with `especie` "DINHEIRO", or left out; every other line is booked
// with `especie` "BANCO". The questions come in the order of the lines, all
// of them before anything is written.
//
// Documents compare as the ledger's collation compares them: without regard
// to case or trailing blanks.

#include "books/LedgerBook.h"

#include <QDate>
#include <QList>
#include <QSet>
#include <QString>
#include <QTime>
#include <QVariant>

#include <functional>

// A line of the staging table, as the transfer reads it.
struct StagedLine
{
    int id = 0;
    QDate data;
    QString historico;
    QString documento;
    QVariant valor;  // credit, null on a debit line
    QVariant debito; // debit without its sign, null on a credit line
};

// What the transfer takes from outside the statement.
struct TransferContext
{
    QVariant codigofilial; // Controle of the first configuracao row
    QString filial;        // its Nome
    QString banco, conta, agencia;
    QString usuario;
    QDate today;
    QTime now;
};

namespace TransferPlan {

// The width of contacorrente.documento: what the ledger keeps of a document.
inline constexpr int StoredDocumentWidth = 15;

bool isCredit(const StagedLine &line);
// The credit, or the debit when the line has no credit.
double amount(const StagedLine &line);
// The document as the ledger stores it.
QString storedDocument(const QString &documento);

LedgerMovement movement(const StagedLine &line, const TransferContext &context,
                        bool likelyDuplicate);

// "Já existe um valor parecido!", the amount "###,##0.000" and
// "Confirma o lançamento do registro?", one per line.
QString duplicateQuestion(double amount);

// The movements to book, in the order of the lines. inLedger holds the ids
// of the lines whose date, amount and stored document the ledger already
// has; ask(line, amount) is called for every likely duplicate and returns
// whether to book it.
using Ask = std::function<bool(const StagedLine &line, double amount)>;
QList<LedgerMovement> plan(const QList<StagedLine> &lines, const QSet<int> &inLedger,
                           const TransferContext &context, const Ask &ask);

} // namespace TransferPlan
