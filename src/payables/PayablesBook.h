#pragma once
// The payables book: the operations of the payables work that write several
// rows, apart from the screens. Each takes what the clerk chose (a request,
// or the values entered), runs as one operation (runOperation: one
// transaction; a database failure writes nothing and throws DbError) and
// returns what happened. Inside, a settlement reads the payable as the
// server holds it at that moment, locked (SELECT ... FOR UPDATE), so a
// payable settled or deleted meanwhile by another workstation is never paid
// twice; then it works out its plan (SettlementPlan, EntryPlan) and writes
// the plan's rows: the payables here, the cash rows through CashBook, the
// ledger debit through LedgerBook.
//
// Screens ask their questions first, call the book, show the outcome and
// re-read their own lists.

#include "payables/EntryPlan.h"
#include "payables/SettlementPlan.h"

#include <QDateTime>
#include <QList>
#include <QVariant>

class Connection;

namespace PayablesBook {

struct SettlementOutcome
{
    enum class Kind {
        Settled,        // the plan was written
        AlreadySettled, // refused: settled meanwhile (by another workstation)
        Missing,        // the payable is gone (deleted by another workstation)
    };
    Kind kind = Kind::Settled;
    QVariant key;          // the payable's Controle
    QVariant remainderKey; // the new open payable of a partial settlement, when written
};

// Settles one payable (see SettlementPlan for the four ways).
SettlementOutcome settle(Connection &db, const SettlementRequest &request);

// The keys of the payables an entry wrote, in order.
struct EntryOutcome
{
    QList<QVariant> keys;
};

// Writes the open instalments of a new bill (a count that rounds to no
// instalment writes nothing).
EntryOutcome generate(Connection &db, const NewPayableValues &values, const QString &user,
                      const QDateTime &at);
// Writes a bill paid on the spot, settled on quitacao, with its cash-ledger
// and hand-off rows dated at's day.
EntryOutcome settleAtEntry(Connection &db, const NewPayableValues &values, const QDate &quitacao,
                           const QString &user, const QDateTime &at);

} // namespace PayablesBook
