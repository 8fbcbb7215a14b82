#pragma once
// A payable paid in cash leaves two rows for the suite's cash program: one in
// the cash ledger `caixa` and, where the path hands it over, one in the
// hand-off table `caixatemp`. Every payment path writes them through here,
// inside its own operation (see Operation.h). The rows are built by pure
// functions, so what a path will write can be checked without a database.

#include "db/Connection.h"
#include "db/RowWriter.h"

#include <QDate>
#include <QString>
#include <QVariant>

struct CashPayment
{
    QVariant nota;       // the bill number as the path writes it
    QVariant nome;       // the supplier's name
    QVariant fornecedor; // the supplier's code
    QString user;
    QDate data;
    QVariant valor;
    QVariant filialName;
    QVariant filialCode;
    QString computer; // workstation name; empty where the path does not write it
    QString hora;     // time of day of the payment, "HH:mm:ss"

    bool operator==(const CashPayment &) const = default;
};

namespace CashBook {

// The species of a payable paid in cash, in the cash rows and in the
// payables the cash paths settle.
inline const QString Especie = QStringLiteral("Pagamento Pagar Dinheiro");

// The cash-ledger row ("DEBITO") and the hand-off row ("CREDITO").
RowValues caixaRow(const CashPayment &p);
RowValues caixatempRow(const CashPayment &p);

void writeCaixa(Connection &db, const CashPayment &p);
void writeCaixatemp(Connection &db, const CashPayment &p);

} // namespace CashBook
