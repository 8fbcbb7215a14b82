#pragma once
// Appends one row to a table from (column, value) pairs, each value bound as a
// parameter and texts cut to the column's width, as a field of that width
// would store them. Returns the generated key.

#include "db/Connection.h"

#include <QList>
#include <QPair>
#include <QVariant>

using RowValues = QList<QPair<QString, QVariant>>;

namespace RowWriter {

QVariant insert(Connection &connection, const QString &table, const RowValues &values);
// UPDATE table SET ... WHERE keyColumn = key; returns the rows matched.
int update(Connection &connection, const QString &table, const RowValues &values,
           const QString &keyColumn, const QVariant &key);

} // namespace RowWriter
