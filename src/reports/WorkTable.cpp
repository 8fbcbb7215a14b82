#include "reports/WorkTable.h"

#include "db/RecordSet.h"

WorkTable::WorkTable(Connection *connection, const QString &table)
    : m_conn(connection), m_table(connection, table)
{
}

void WorkTable::claim()
{
    m_table.claim();
}

QSqlQuery WorkTable::exec(const QString &sql, const QVariantList &params) const
{
    require();
    return m_conn->exec(sql, params);
}

QVariant WorkTable::scalar(const QString &sql, const QVariantList &params) const
{
    require();
    return m_conn->scalar(sql, params);
}

void WorkTable::open(RecordSet &rows) const
{
    require();
    rows.open();
}

WorkTable::Writer::Writer(WorkTable &table, const QStringList &columns, int rowsPerStatement)
    : m_table(table), m_columns(columns), m_perStatement(std::max(1, rowsPerStatement))
{
    // The private copy has the shared table's columns, and so their widths.
    const auto &info = table.connection()->tableColumns(table.name());
    for (const QString &c : columns) {
        int width = -2;
        for (const auto &col : info)
            if (col.name.compare(c, Qt::CaseInsensitive) == 0)
                width = col.charLength;
        if (width == -2)
            throw DbError(
                QStringLiteral("Coluna '%1' não existe na tabela '%2'").arg(c, table.name()));
        m_widths << width;
    }
    m_pending.reserve(m_perStatement * int(columns.size()));
}

void WorkTable::Writer::add(const QVariantList &values)
{
    for (int i = 0; i < m_columns.size(); ++i) {
        QVariant v = values.value(i);
        const int width = m_widths[i];
        if (width > 0 && v.metaType().id() == QMetaType::QString) {
            const QString s = v.toString();
            if (s.size() > width)
                v = s.left(width);
        }
        m_pending << v;
    }
    if (++m_pendingRows >= m_perStatement)
        flush();
}

void WorkTable::Writer::finish()
{
    if (m_pendingRows > 0)
        flush();
}

void WorkTable::Writer::flush()
{
    auto statement = [this](int rows) {
        QString row = QStringLiteral("(");
        for (int i = 0; i < m_columns.size(); ++i)
            row += i ? QStringLiteral(",?") : QStringLiteral("?");
        row += QLatin1Char(')');
        QString sql = QStringLiteral("INSERT INTO %1 (%2) VALUES ")
                          .arg(m_table.name(), m_columns.join(QLatin1Char(',')));
        sql.reserve(sql.size() + rows * (row.size() + 1));
        for (int r = 0; r < rows; ++r) {
            if (r)
                sql += QLatin1Char(',');
            sql += row;
        }
        return sql;
    };
    if (m_pendingRows == m_perStatement) {
        if (m_fullStatement.isEmpty())
            m_fullStatement = statement(m_perStatement);
        m_table.exec(m_fullStatement, m_pending);
    } else {
        m_table.exec(statement(m_pendingRows), m_pending);
    }
    m_written += m_pendingRows;
    m_pending.clear();
    m_pendingRows = 0;
}
