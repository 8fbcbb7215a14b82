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

WorkTable::Writer::Writer(WorkTable &table, const QStringList &columns, const QList<Fixed> &fixed,
                          int rowsPerStatement)
    : m_table(table), m_columns(columns), m_fixed(fixed),
      m_perStatement(std::max(1, rowsPerStatement))
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

void WorkTable::Writer::append(int column, const QVariant &value)
{
    const int width = m_widths[column];
    if (width > 0 && value.metaType().id() == QMetaType::QString) {
        const QString s = value.toString();
        if (s.size() > width) {
            m_pending << QVariant(s.left(width));
            return;
        }
    }
    m_pending << value;
}

void WorkTable::Writer::add(const QVariantList &values)
{
    for (int i = 0; i < m_columns.size(); ++i)
        append(i, values.value(i));
    if (++m_pendingRows >= m_perStatement)
        flush();
}

void WorkTable::Writer::add(const QVariantList &row, const QList<int> &positions)
{
    for (int i = 0; i < m_columns.size(); ++i)
        append(i, row.value(positions.value(i, -1)));
    if (++m_pendingRows >= m_perStatement)
        flush();
}

void WorkTable::Writer::finish()
{
    if (m_pendingRows > 0)
        flush();
}

QString WorkTable::Writer::statement(int rows) const
{
    QString row = QStringLiteral("(");
    for (int i = 0; i < m_columns.size(); ++i)
        row += i ? QStringLiteral(",?") : QStringLiteral("?");
    QStringList names = m_columns;
    for (const Fixed &f : m_fixed) {
        row += QLatin1Char(',') + f.expression;
        names << f.column;
    }
    row += QLatin1Char(')');
    QString sql = QStringLiteral("INSERT INTO %1 (%2) VALUES ")
                      .arg(m_table.name(), names.join(QLatin1Char(',')));
    sql.reserve(sql.size() + rows * (row.size() + 1));
    for (int r = 0; r < rows; ++r) {
        if (r)
            sql += QLatin1Char(',');
        sql += row;
    }
    return sql;
}

void WorkTable::Writer::flush()
{
    // Never into the shared table: the copy must be the one claimed.
    m_table.require();
    Connection *conn = m_table.connection();
    const bool full = m_pendingRows == m_perStatement;
    // The full statement is prepared once per session; the batches of values
    // are bound by position straight into it. (Connection::exec would
    // prepare the long text again for every batch; a lost connection is
    // handled below as it would: the copy is gone with the session anyway.)
    std::optional<QSqlQuery> partial;
    if (full && (!m_full || m_fullSession != conn->sessionId())) {
        m_full.emplace(conn->database());
        m_fullSession = conn->sessionId();
        if (!m_full->prepare(statement(m_perStatement))) {
            const DbError e = DbError::fromSql(m_full->lastError(), m_table.name());
            m_full.reset();
            if (e.isConnectionLost())
                conn->close();
            throw e;
        }
    } else if (!full) {
        partial.emplace(conn->database());
        if (!partial->prepare(statement(m_pendingRows))) {
            const DbError e = DbError::fromSql(partial->lastError(), m_table.name());
            if (e.isConnectionLost())
                conn->close();
            throw e;
        }
    }
    QSqlQuery &q = full ? *m_full : *partial;
    for (int i = 0; i < m_pending.size(); ++i)
        q.bindValue(i, m_pending.at(i));
    if (!q.exec()) {
        const DbError e =
            DbError::fromSql(q.lastError(), QStringLiteral("INSERT INTO ") + m_table.name());
        if (e.isConnectionLost())
            conn->close();
        throw e;
    }
    m_written += m_pendingRows;
    m_pending.clear();
    m_pendingRows = 0;
}
