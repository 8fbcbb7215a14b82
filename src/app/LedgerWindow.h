#pragma once
// The checking-account ledger window, as the windows opened over it see it.
// The ledger window is the hub of the bank work: the account pick list and
// the statement import work on its record sets while they are open on top of
// it. They reach it here, as the current ledger window, instead of through
// the window's own header (which their folders may not see).
//
// A ledger window is current from its construction to its destruction; when
// several exist, the newest is. current() is nullptr while none exists.

#include <QString>
#include <QVariant>

class QWidget;
class RecordSet;

class LedgerWindow
{
public:
    // The account of the ledger's current movement (invalid/empty values when
    // there is none).
    struct Account
    {
        QVariant codigoconta;
        QString conta;
        QString banco;
        QString agencia;
    };

    static LedgerWindow *current();

    // The window itself, as the parent of what is opened over it.
    virtual QWidget *ledgerWidget() = 0;
    // The movements (rows of contacorrente) with the query text the last
    // search left.
    virtual RecordSet *movements() const = 0;
    // The bank accounts (rows of conta) the account pick list browses.
    virtual RecordSet *accounts() const = 0;
    virtual Account currentAccount() const = 0;
    // Reads the movements again with their current query text and moves to
    // the last row, so that movements just written are in view. A database
    // error goes to the caller (DbError).
    virtual void rereadMovements() = 0;

protected:
    LedgerWindow();
    virtual ~LedgerWindow();
    LedgerWindow(const LedgerWindow &) = delete;
    LedgerWindow &operator=(const LedgerWindow &) = delete;
};
