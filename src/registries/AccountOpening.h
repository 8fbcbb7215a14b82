#pragma once
// A new bank account and its opening movement in the checking-account
// ledger are one operation: both rows are written, or neither (an account
// saved without its movement would show a ledger that does not start from
// its opening balance). Only a new account has an opening movement; saving a
// changed account writes the account alone.
//
// The movement (movement(), pure) carries the account's code, bank, agency
// and number, branch, the opening date as the entry, due and settlement
// date, its kind ("E"/"S"), cost centre, payment type with the text its box
// shows, expense type with its name, the species "DINHEIRO" and the time of
// day. The amount is the credit when it is not 0; otherwise the debit, and
// the credit stays empty. So an account with both amounts books only its
// credit.

#include "books/LedgerBook.h"
#include "db/Connection.h"
#include "db/RowWriter.h"

#include <QTime>
#include <QVariant>

struct OpeningAccount
{
    QVariant codigoconta;
    QVariant banco, agencia, conta;
    QVariant codigofilial, filial;
    QVariant data;
    QVariant es;
    QVariant codigogerencial, gerencial;
    QVariant codigotipo, tipo; // tipo: the text "Descrição do Tipo" shows
    QVariant codigodespesa, despesa;
    QVariant valor, debito;
};

namespace AccountOpening {

LedgerMovement movement(const OpeningAccount &account, const QTime &hora);

// Inserts the account row (columns as given; texts cut to their widths) and
// its opening movement in one operation; returns the account's new code.
// Throws DbError; on any failure nothing of the two is written (or, after a
// lost reply the server could not settle, the error's outcome is Unknown).
QVariant create(Connection &db, const RowValues &accountRow, OpeningAccount account,
                const QTime &hora);

} // namespace AccountOpening
