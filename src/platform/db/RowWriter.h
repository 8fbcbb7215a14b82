#pragma once
// Appends one row to a table from (column, value) pairs, each value bound as a
// parameter and texts cut to the column's width, as a field of that width
// would store them. Returns the generated key.
//
// insertMany() appends many rows that share one column list, several rows
// per statement (a statement costs a round trip, so one row each would make
// an import of thousands of lines wait on the network), every value still a
// bound parameter. It does not open a transaction of its own: a caller that
// needs all or none of the rows runs it inside one.

#include "db/Connection.h"

#include <QList>
#include <QPair>
#include <QVariant>

#include <functional>

using RowValues = QList<QPair<QString, QVariant>>;

namespace RowWriter {

QVariant insert(Connection &connection, const QString &table, const RowValues &values);
// Appends rows (each with one value per column, in the order of columns).
// An invalid QVariant() leaves that column of that row to its default, as
// insert() does with a column it is not given; a null value of a type
// writes NULL.
// progress, when given, is told the rows written so far after each statement.
void insertMany(Connection &connection, const QString &table, const QStringList &columns,
                const QList<QVariantList> &rows,
                const std::function<void(int written)> &progress = {});
// The width each of columns cuts its texts to (-1: not a text), as the
// server describes table; a column the table does not have is refused.
QList<int> textWidths(Connection &connection, const QString &table, const QStringList &columns);
// UPDATE table SET ... WHERE keyColumn = key; returns the rows matched.
int update(Connection &connection, const QString &table, const RowValues &values,
           const QString &keyColumn, const QVariant &key);

} // namespace RowWriter
