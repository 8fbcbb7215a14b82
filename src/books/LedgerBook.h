#pragma once
// The checking-account ledger `contacorrente`: every path that books a
// movement on an account appends it through here, inside its own operation
// (see Operation.h). A movement carries a credit in `valor` or a debit in
// `debito`, with `es` "E" or "S". The row is built by a pure function, so
// what a path will book can be checked without a database.
//
// Only the values that are set (valid QVariants) are written; the other
// columns keep their defaults (NULL). An empty text that must be written as
// such is given as QString(""), not as a null QString.

#include "db/Connection.h"
#include "db/RowWriter.h"

#include <QList>
#include <QVariant>

#include <functional>

struct LedgerMovement
{
    QVariant tipos; // "DEBITO" / "CREDITO"
    QVariant codigoconta, conta, banco, agencia;
    QVariant datalancamento, dataquitacao, datavencimento;
    QVariant valor;  // credit
    QVariant debito; // debit
    QVariant codigofilial, filial;
    QVariant codigofornecedor, fornecedor;
    QVariant codigogerencial, gerencial;
    QVariant codigotipo, tipo;
    QVariant codigodespesa, tipodespesa;
    QVariant codigotipodespesa; // the expense type's code where a path writes it here
    QVariant documento;
    QVariant obs;
    QVariant es; // "E" / "S"
    QVariant tiposaida;
    QVariant usuario;
    QVariant especie;
    QVariant hora; // QTime
    QVariant nomecomputador;
    // Lines brought in from a bank statement: the line's amount without its
    // sign (what the duplicate test of a later import compares), "S", and the
    // day of the import.
    QVariant valordoc;
    QVariant importado;
    QVariant dataimportado;

    bool operator==(const LedgerMovement &) const = default;
};

namespace LedgerBook {

RowValues row(const LedgerMovement &m);
// Appends the movement; returns its key (controle).
QVariant append(Connection &db, const LedgerMovement &m);
// Appends the movements in their order, many rows per statement, with what
// append() would write for each (a column some other movement sets and this
// one does not keeps its default). It opens no transaction: the caller's
// operation holds all of them or none. progress is told the movements
// written so far.
void appendMany(Connection &db, const QList<LedgerMovement> &movements,
                const std::function<void(int written)> &progress = {});

} // namespace LedgerBook
