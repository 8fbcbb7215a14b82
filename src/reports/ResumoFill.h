#pragma once
// The fill of the summary work table `resumo` for a period: one row per
// payable settled in the period (money out, "DEBITO") and one per receivable
// received in the period (money in, "CREDITO"; "DEBITO" when nothing was
// received), written to this workstation's copy of the table.
//
// The amount of a payable is `valorpg`; a payable settled at entry has no
// `valorpg` (those paths write `totalpg` only) and counts with `totalpg`.
// A payable whose amount is zero or below gives no row. The cost centre of a
// payable is looked up in one read of `contagerencial` (its name upper-cased;
// a code that is missing, null or not in the registry gives 99999 and
// "DIVERSOS"); the expense type is the payable's own copy (1 and
// "DIVERSOS" when it has none).
//
// payableRow() and receivableRow() are the plans: the `resumo` values, in
// the order of columns(), for one source row as read. fill() runs them over
// the period in multi-row statements.

#include <QDate>
#include <QHash>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <optional>

class WorkTable;

namespace ResumoFill {

// The `resumo` columns a fill writes, in the order of the plans' values.
const QStringList &columns();

// The columns read from `pagar`, in this order.
struct Payable
{
    QVariant nota, dataquitacao, valorpg, totalpg, especie, nome, codigofilial, nomefilial,
        codigodespesa, despesa, codigofornecedor, codigogerencial;
};
// The columns read from `receber`, in this order.
struct Receivable
{
    QVariant codigoNota, dataQuitacao, totalPg, codigoFilial, filial, codigoCliente, nome, especie;
};

// Cost-centre names by code, as read from the registry.
using CostCentres = QHash<qint64, QString>;

// A registry code as a key: nothing for a null, empty or fractional value.
std::optional<qint64> codeKey(const QVariant &code);

// The amount a payable adds: valorpg, or totalpg when valorpg is null;
// nothing when that is zero or below (or null).
std::optional<double> payableAmount(const QVariant &valorpg, const QVariant &totalpg);

std::optional<QVariantList> payableRow(const Payable &p, const CostCentres &costCentres);
QVariantList receivableRow(const Receivable &r);

// pass: 0 payables, 1 receivables; total: rows of that pass.
using Progress = std::function<void(int pass, int done, int total)>;

struct Outcome
{
    int payables = 0;    // rows written for payables
    int receivables = 0; // rows written for receivables
};

// Claims the table, then fills it for the period as one operation (a
// failure leaves the copy empty). Database errors are thrown as DbError.
Outcome fill(WorkTable &resumo, const QDate &from, const QDate &to, const Progress &progress = {});

} // namespace ResumoFill
