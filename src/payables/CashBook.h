#pragma once
// A payable paid in cash leaves two rows for the suite's cash program: one in
// the cash ledger `caixa` and, where the path hands it over, one in the
// hand-off table `caixatemp`. Every payment path writes them through here,
// inside its own transaction.

#include "db/Connection.h"

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
};

namespace CashBook {

inline const QString Especie = QStringLiteral("Pagamento Pagar Dinheiro");

void writeCaixa(Connection &db, const CashPayment &p);
void writeCaixatemp(Connection &db, const CashPayment &p);

} // namespace CashBook
