#include "books/Operation.h"

#include "db/Connection.h"

void runOperation(Connection &db, const QString &name, const std::function<void()> &work)
{
    db.transaction(name, work);
}
