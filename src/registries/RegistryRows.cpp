#include "registries/RegistryRows.h"

#include "app/Application.h"
#include "db/RecordSet.h"

namespace RegistryRows {

void reread(RecordSet *rows)
{
    Guarded([rows] {
        if (rows->isEditing())
            rows->cancel();
        rows->refresh();
    });
}

bool post(RecordSet *rows)
{
    if (!rows || !rows->isEditing())
        return true;
    DbError::Outcome outcome = DbError::Outcome::NotWritten;
    if (Guarded([rows] { rows->post(); }, &outcome))
        return true;
    if (outcome == DbError::Outcome::Unknown)
        reread(rows);
    return false;
}

bool remove(RecordSet *rows)
{
    if (!rows || !rows->isOpen() || rows->recNo() < 0)
        return false;
    DbError::Outcome outcome = DbError::Outcome::NotWritten;
    if (Guarded([rows] { rows->remove(); }, &outcome))
        return true;
    if (outcome == DbError::Outcome::Unknown)
        reread(rows);
    return false;
}

int payablesReferring(Connection &db, const QString &column, const QVariant &key)
{
    if (key.isNull() || !key.isValid())
        return 0;
    // column is one of the program's own names, never typed by a person.
    return db.scalar(QStringLiteral("SELECT COUNT(*) FROM pagar WHERE %1 = ?").arg(column), {key})
        .toInt();
}

QString deleteQuestion(const QString &question, int payables)
{
    if (payables <= 0)
        return question;
    if (payables == 1)
        return question +
               QStringLiteral("\n\nHá 1 conta a pagar que se refere a este registro; ela "
                              "continuará com o nome copiado.");
    return question + QStringLiteral("\n\nHá %1 contas a pagar que se referem a este registro; "
                                     "elas continuarão com o nome copiado.")
                          .arg(payables);
}

} // namespace RegistryRows
