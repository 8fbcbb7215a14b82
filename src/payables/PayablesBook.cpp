#include "payables/PayablesBook.h"

#include "app/Helpers.h"
#include "books/Operation.h"
#include "db/Connection.h"

#include <QSqlQuery>
#include <QSqlRecord>

namespace PayablesBook {

namespace {

EntryOutcome write(Connection &db, const QString &name, const EntryPlan &plan)
{
    EntryOutcome outcome;
    runOperation(db, name, [&] {
        outcome.keys.clear();
        for (const RowValues &row : plan.payables)
            outcome.keys << RowWriter::insert(db, QStringLiteral("pagar"), row);
        if (plan.cash) {
            CashBook::writeCaixa(db, *plan.cash);
            CashBook::writeCaixatemp(db, *plan.cash);
        }
    });
    return outcome;
}

} // namespace

SettlementOutcome settle(Connection &db, const SettlementRequest &request)
{
    SettlementOutcome outcome;
    outcome.key = request.key;
    runOperation(db, QStringLiteral("a baixa"), [&] {
        outcome.kind = SettlementOutcome::Kind::Settled;
        outcome.remainderKey = QVariant();
        // The row as it stands now: another workstation may have settled it.
        QSqlQuery q = db.exec(QStringLiteral("SELECT * FROM pagar WHERE Controle = ? FOR UPDATE"),
                              {request.key});
        if (!q.next()) {
            outcome.kind = SettlementOutcome::Kind::Missing;
            return;
        }
        const SettlementPlan plan = SettlementPlan::make(PayableRow(q.record()), request);
        if (plan.refused) {
            outcome.kind = SettlementOutcome::Kind::AlreadySettled;
            return;
        }
        if (plan.workRow) {
            // Emptied with DELETE: a truncation would end the transaction.
            // Nothing later reads the work row back; the plan carries the
            // same values.
            db.exec(QStringLiteral("DELETE FROM pagartemp"));
            RowWriter::insert(db, QStringLiteral("pagartemp"), *plan.workRow);
        }
        RowWriter::update(db, QStringLiteral("pagar"), plan.settled, QStringLiteral("Controle"),
                          request.key);
        if (plan.ledgerDebit)
            LedgerBook::append(db, *plan.ledgerDebit);
        if (plan.cash) {
            CashBook::writeCaixa(db, *plan.cash);
            if (plan.handOff)
                CashBook::writeCaixatemp(db, *plan.cash);
        }
        if (plan.remainder)
            outcome.remainderKey = RowWriter::insert(db, QStringLiteral("pagar"), *plan.remainder);
    });
    return outcome;
}

EntryOutcome generate(Connection &db, const NewPayableValues &values, const QString &user,
                      const QDateTime &at)
{
    const EntryPlan plan = EntryPlan::instalments(values, user, TimeText(at.time()));
    if (plan.payables.isEmpty())
        return {};
    return write(db, QStringLiteral("a geração das parcelas"), plan);
}

EntryOutcome settleAtEntry(Connection &db, const NewPayableValues &values, const QDate &quitacao,
                           const QString &user, const QDateTime &at)
{
    return write(db, QStringLiteral("a baixa na entrada"),
                 EntryPlan::paidAtEntry(values, quitacao, at.date(), user, TimeText(at.time())));
}

} // namespace PayablesBook
