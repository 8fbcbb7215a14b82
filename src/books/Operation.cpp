#include "books/Operation.h"

#include "db/Connection.h"

void runOperation(Connection &db, const QString &name, const std::function<void()> &work)
{
    Q_UNUSED(name)
    db.transaction(work);
}
