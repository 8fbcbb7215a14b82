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

QList<int> textWidths(Connection &connection, const QString &table, const QStringList &columns)
{
    const auto &described = connection.tableColumns(table);
    QList<int> widths;
    for (const QString &column : columns) {
        int width = -2;
        for (const auto &c : described)
            if (c.name.compare(column, Qt::CaseInsensitive) == 0)
                width = c.charLength;
        if (width == -2)
            throw DbError(
                QStringLiteral("Coluna '%1' não existe na tabela '%2'").arg(column, table));
        widths << width;
    }
    return widths;
}

void insertMany(Connection &connection, const QString &table, const QStringList &columns,
                const QList<QVariantList> &rows, const std::function<void(int written)> &progress)
{
    if (columns.isEmpty() || rows.isEmpty())
        return;
    // The width each text column cuts to (-1: none), looked up once.
    const QList<int> widths = textWidths(connection, table, columns);
    QStringList names;
    for (const QString &column : columns)
        names << quoted(column);
    // A prepared statement takes at most 65,535 parameters; well below that
    // a statement of a few hundred rows already costs little more than its
    // bytes.
    const int perStatement = qMax(1, qMin(1000, 16000 / int(columns.size())));
    const QString head = QStringLiteral("INSERT INTO %1 (%2) VALUES ")
                             .arg(quoted(table), names.join(QStringLiteral(", ")));
    const int total = int(rows.size());
    for (int start = 0; start < total; start += perStatement) {
        const int n = qMin(perStatement, total - start);
        QString sql = head;
        sql.reserve(head.size() + n * (2 * columns.size() + 3));
        QVariantList params;
        params.reserve(n * columns.size());
        for (int r = start; r < start + n; ++r) {
            const QVariantList &row = rows.at(r);
            if (row.size() != columns.size())
                throw DbError(QStringLiteral("Linha com %1 valores para %2 colunas da tabela '%3'")
                                  .arg(row.size())
                                  .arg(columns.size())
                                  .arg(table));
            sql += r > start ? QStringLiteral(",(") : QStringLiteral("(");
            for (int c = 0; c < row.size(); ++c) {
                const QVariant &v = row.at(c);
                if (c > 0)
                    sql += QLatin1Char(',');
                if (!v.isValid()) {
                    sql += QStringLiteral("DEFAULT");
                    continue;
                }
                sql += QLatin1Char('?');
                if (widths.at(c) > 0 && v.metaType().id() == QMetaType::QString &&
                    v.toString().size() > widths.at(c))
                    params << QVariant(v.toString().left(widths.at(c)));
                else
                    params << v;
            }
            sql += QLatin1Char(')');
        }
        connection.exec(sql, params);
        if (progress)
            progress(start + n);
    }
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
