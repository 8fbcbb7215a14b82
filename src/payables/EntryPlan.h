#pragma once
// What the entry of a new bill writes, worked out before anything is written:
// a pure function of the values entered (copied once from the new-payable
// screen when generation starts) and of who enters it and when.
// PayablesBook::generate() and PayablesBook::settleAtEntry() carry it out.
//
// A count of instalments n (the count typed, rounded half away from zero)
// gives n open payables due every 30 days after the emission date (or, when a
// first due date was given, on it and every 30 days after it), each for
// the total divided by the count and rounded to cents: no instalment absorbs
// the rounding difference. A count of zero means paid on the spot: one
// payable settled on the day chosen, for the total rounded to cents, with its
// cash-ledger row and its hand-off row for the total as typed, dated today.

#include "books/CashBook.h"
#include "db/RowWriter.h"

#include <QDate>
#include <QList>
#include <QString>

#include <optional>

// The values entered, as copied from the fields when generation starts.
struct NewPayableValues
{
    QDate emissao;
    double codigoFornecedor = 0;
    QString nomeFornecedor;
    double codigoGerencial = 0;
    QString gerencial;
    double codigoFilial = 0;
    QString nomeFilial;
    double codigoTipo = 0;
    QString tipo;
    double parcelas = 0; // as typed, decimals included
    double total = 0;    // as typed, not rounded
    QString nota;        // as typed; cut when written
    double codigoDespesa = 0;
    QString despesa;
    QString obs;
    double valorParcela = 0;  // EntryPlan::instalmentValue(total, parcelas)
    QDate primeiroVencimento; // invalid: the first instalment is due emission + 30 days
    QString codigoBarras;     // the payment code read, carried by every row; "" for none
};

struct EntryPlan
{
    // Bill numbers and supplier names are written through narrower fields
    // than their columns.
    static constexpr int NotaWidth = 10;
    static constexpr int NomeWidth = 50;
    // The payment code's column; a longer code is refused, never cut.
    static constexpr int CodigoBarrasWidth = 512;

    // RoundDecimals(2, total / count), or of the total for a count of 0.
    static double instalmentValue(double total, double parcelas);
    // How many open instalments a count gives (none for a count that rounds
    // to 0 or below).
    static int instalmentCount(double parcelas);

    // The columns every payable row of an entry carries, for instalment i
    // (1-based): open, due emission + 30 × i days, or first due date +
    // 30 × (i - 1) days. The payment code's column is written only when there
    // is a code, so a bill without one writes what it always wrote.
    static RowValues instalmentRow(const NewPayableValues &values, int i, const QString &user,
                                   const QString &hora);

    // The open instalments of a count other than 0.
    static EntryPlan instalments(const NewPayableValues &values, const QString &user,
                                 const QString &hora);
    // Paid on the spot: settled on quitacao; the cash rows are dated today.
    static EntryPlan paidAtEntry(const NewPayableValues &values, const QDate &quitacao,
                                 const QDate &today, const QString &user, const QString &hora);

    QList<RowValues> payables; // rows of `pagar`, in order
    // With the payable paid at entry: its cash-ledger and hand-off rows.
    std::optional<CashPayment> cash;
};
