#pragma once
// What every registry window does alike when it writes a row: saving and
// deleting the current row with the honest outcome after a failure, and the
// deletion question that says how many payables still refer to the row.
//
// post() and remove() show a database error in the standard error box
// (Guarded) and leave the record set in a state the window can show:
//   - a conflict (another workstation changed or deleted the row first):
//     nothing was written, the row is shown as the server now holds it and
//     the set is browsing;
//   - an unknown outcome (the reply to the write was lost and the server
//     could not be asked): the edit is dropped and the list read again, so
//     that the clerk sees what the server holds and never sends the same
//     row a second time blindly;
//   - any other failure: nothing was written and the edit stays, with what
//     was typed, to be corrected or cancelled.

#include "db/Connection.h"

#include <QString>
#include <QVariant>

class RecordSet;

namespace RegistryRows {

// Posts the row being edited or inserted; true when it was written (or the
// set was not editing).
bool post(RecordSet *rows);
// Deletes the current row; true when it was deleted.
bool remove(RecordSet *rows);
// Re-reads the list after an unknown outcome; errors are shown.
void reread(RecordSet *rows);

// How many payables (pagar) hold key in column: the registry row can still be
// deleted, but the clerk is told first. A null key counts none.
int payablesReferring(Connection &db, const QString &column, const QVariant &key);
// The deletion question, with a sentence on the payables that refer to the
// row when there are any.
QString deleteQuestion(const QString &question, int payables);

} // namespace RegistryRows
