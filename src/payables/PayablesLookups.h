#pragma once
// The lookup lists that the payables maintenance screen owns while it is open:
// its edit tab's pick lists work on them, and it gives them to the
// new-payable screen it opens, whose pick lists work on them too. A pick list
// narrows one of them with its searches, and the narrowed list stays narrowed
// after the pick list closes; a settlement leaves the cost-centre list
// narrowed to the settled payable's cost centre.

#include "app/Application.h"
#include "db/RecordSet.h"

#include <QObject>

class PayablesLookups : public QObject
{
    Q_OBJECT
public:
    explicit PayablesLookups(Connection *connection, QObject *parent = nullptr)
        : QObject(parent),
          tbfornecedor(new RecordSet(connection, QStringLiteral("Select * from fornecedor"), this)),
          tbfilial(new RecordSet(connection, QStringLiteral("select * from filial"), this)),
          tbgerencial(
              new RecordSet(connection, QStringLiteral("select * from contagerencial"), this)),
          tbTipo(new RecordSet(connection, QStringLiteral("Select * from tipos"), this)),
          MyTipoDespesa(new RecordSet(
              connection, QStringLiteral("Select * from Tipodespesa order by Despesa"), this))
    {
        tbfornecedor->setOrder(QStringLiteral("Nome"));
        tbfilial->setOrder(QStringLiteral("Nomefilial"));
        tbgerencial->setOrder(QStringLiteral("Gerencial"));
        tbTipo->setOrder(QStringLiteral("DESCTIPO"));
    }

    // Opens the lists that are not open yet (open ones keep their query and row).
    void openAll()
    {
        for (RecordSet *rs : {tbfornecedor, tbfilial, tbTipo, tbgerencial, MyTipoDespesa})
            if (!rs->isOpen())
                rs->open();
    }
    // After a registry window closed: an open list is read again (keeping its
    // query and, when it is still there, its row), so what was registered can
    // be picked. An error is shown.
    void reread(RecordSet *list)
    {
        if (list->isOpen())
            Guarded([list] { list->refresh(); });
    }
    void closeAll()
    {
        for (RecordSet *rs : {tbfornecedor, tbfilial, tbTipo, tbgerencial, MyTipoDespesa})
            rs->close();
    }

    RecordSet *tbfornecedor;
    RecordSet *tbfilial;
    RecordSet *tbgerencial;
    RecordSet *tbTipo;
    RecordSet *MyTipoDespesa;
};
