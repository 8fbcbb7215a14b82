#pragma once
// One statement run through the MariaDB client library itself, on the very
// session the Qt driver opened (its transaction, its temporary tables, its
// session id, its timeouts), with the rows handed to a RowSink one by one as
// they come off the network: nothing buffers the whole result and no cell
// becomes a QVariant on the way.
//
// Without parameters the statement goes as text (every statement kind works
// there) and its result is read with mysql_use_result; with parameters it is
// a prepared statement whose values are bound, never spliced, and whose rows
// are fetched unbuffered. Values bind as the Qt driver binds them, and the
// columns come out with the types and values the Qt driver gives, so a list
// reads the same whichever way it was fetched.
//
// While the rows stream the session is busy: the sink must not run anything
// on the same connection. Whatever happens (an error, a lost connection, a
// sink that throws) the result is finished or discarded before run() returns,
// so the session is ready for the next statement.
//
// Callers own the reconnect policy (Connection::stream); run() only reports:
// a DbError with the client library's message and error code.

#include "db/RowSink.h"

#include <QSqlDatabase>
#include <QString>
#include <QVariantList>

struct st_mysql;

namespace NativeQuery {

// The client library's handle of the session db has open (the QMYSQL
// driver's), or nullptr when db is closed or not a MySQL/MariaDB one.
st_mysql *handle(const QSqlDatabase &db);

void run(st_mysql *session, const QString &sql, const QVariantList &params, RowSink &sink);

} // namespace NativeQuery
