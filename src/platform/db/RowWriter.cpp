#include "db/RowWriter.h"

#include <QSqlQuery>

namespace RowWriter {

namespace {

QString quoted(const QString &name)
{
    QString n = name;
    n.replace(QLatin1Char('`'), QStringLiteral("``"));
    return QLatin1Char('`') + n + QLatin1Char('`');
}

QVariant cut(Connection &connection, const QString &table, const QString &column,
             const QVariant &value)
{
    if (value.metaType().id() != QMetaType::QString)
        return value;
    for (const auto &c : connection.tableColumns(table))
        if (c.name.compare(column, Qt::CaseInsensitive) == 0) {
            const QString s = value.toString();
            return (c.charLength > 0 && s.size() > c.charLength) ? QVariant(s.left(c.charLength))
                                                                 : value;
        }
    throw DbError(QStringLiteral("Coluna '%1' não existe na tabela '%2'").arg(column, table));
}

} // namespace

QVariant insert(Connection &connection, const QString &table, const RowValues &values)
{
    QStringList names, marks;
    QVariantList params;
    for (const auto &[column, value] : values) {
        names << quoted(column);
        marks << QStringLiteral("?");
        params << cut(connection, table, column, value);
    }
    QSqlQuery q = connection.exec(
        QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
            .arg(quoted(table), names.join(QStringLiteral(", ")), marks.join(QStringLiteral(", "))),
        params);
    return q.lastInsertId();
}

int update(Connection &connection, const QString &table, const RowValues &values,
           const QString &keyColumn, const QVariant &key)
{
    QStringList sets;
    QVariantList params;
    for (const auto &[column, value] : values) {
        sets << quoted(column) + QStringLiteral(" = ?");
        params << cut(connection, table, column, value);
    }
    params << key;
    QSqlQuery q =
        connection.exec(QStringLiteral("UPDATE %1 SET %2 WHERE %3 = ?")
                            .arg(quoted(table), sets.join(QStringLiteral(", ")), quoted(keyColumn)),
                        params);
    return q.numRowsAffected();
}

} // namespace RowWriter
