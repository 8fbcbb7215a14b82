#include "reports/WorkTableWriter.h"

#include "db/RowWriter.h"

#include <QSqlQuery>

namespace {

QString quoted(const QString &name)
{
    QString n = name;
    n.replace(QLatin1Char('`'), QStringLiteral("``"));
    return QLatin1Char('`') + n + QLatin1Char('`');
}

} // namespace

WorkTableWriter::WorkTableWriter(Connection &connection, PrivateTable &table,
                                 const QStringList &columns, int rowsPerStatement,
                                 const QList<Fixed> &fixed)
    : m_conn(connection), m_table(table), m_columns(columns),
      m_perStatement(qMax(1, rowsPerStatement))
{
    // The private copy has the shared table's columns, which the server
    // describes under the shared name.
    m_widths = RowWriter::textWidths(m_conn, m_table.name(), m_columns);
    QStringList names, marks;
    for (const QString &column : m_columns) {
        names << quoted(column);
        marks << QStringLiteral("?");
    }
    for (const Fixed &f : fixed) {
        names << quoted(f.column);
        marks << f.expression;
    }
    m_head = QStringLiteral("INSERT INTO %1 (%2) VALUES ")
                 .arg(quoted(m_table.name()), names.join(QStringLiteral(", ")));
    m_rowMarks = QLatin1Char('(') + marks.join(QLatin1Char(',')) + QLatin1Char(')');
    // The server takes at most 65,535 parameters in one statement.
    m_perStatement = qMax(1, qMin(m_perStatement, 65535 / qMax(1, int(m_columns.size()))));
    m_values.reserve(m_perStatement * m_columns.size());
}

void WorkTableWriter::append(int column, const QVariant &value)
{
    const int width = m_widths.at(column);
    if (width > 0 && value.metaType().id() == QMetaType::QString) {
        const QString s = value.toString();
        if (s.size() > width) {
            m_values << QVariant(s.left(width));
            return;
        }
    }
    m_values << value;
}

void WorkTableWriter::rowAdded()
{
    if (++m_pendingRows >= m_perStatement)
        flush();
}

void WorkTableWriter::add(const QVariantList &values)
{
    for (int i = 0; i < m_columns.size(); ++i)
        append(i, values.value(i));
    rowAdded();
}

void WorkTableWriter::add(const QVariantList &row, const QList<int> &positions)
{
    for (int i = 0; i < m_columns.size(); ++i)
        append(i, row.value(positions.value(i, -1)));
    rowAdded();
}

void WorkTableWriter::finish()
{
    if (m_pendingRows > 0)
        flush();
}

void WorkTableWriter::flush()
{
    m_table.require();
    const bool full = m_pendingRows == m_perStatement;
    QString sql;
    sql.reserve(m_head.size() + m_pendingRows * (m_rowMarks.size() + 1));
    sql += m_head;
    for (int r = 0; r < m_pendingRows; ++r) {
        if (r > 0)
            sql += QLatin1Char(',');
        sql += m_rowMarks;
    }
    try {
        if (full) {
            // Every full statement has the same text: the server parses it
            // once and each further statement only carries its values.
            if (!m_fullStatement || m_fullSession != m_conn.sessionId()) {
                m_fullStatement.emplace(m_conn.database());
                m_fullSession = m_conn.sessionId();
                m_fullStatement->setForwardOnly(true);
                if (!m_fullStatement->prepare(sql)) {
                    const DbError e = DbError::fromSql(m_fullStatement->lastError(), sql);
                    m_fullStatement.reset();
                    throw e;
                }
            }
            for (int i = 0; i < m_values.size(); ++i)
                m_fullStatement->bindValue(i, m_values.at(i));
            if (!m_fullStatement->exec()) {
                const DbError e = DbError::fromSql(m_fullStatement->lastError(), sql);
                m_fullStatement.reset();
                if (e.isConnectionLost()) {
                    // The session and its copy are gone; what the statement
                    // wrote, if anything, went with them.
                    m_conn.close();
                }
                throw e;
            }
        } else {
            m_conn.exec(sql, m_values);
        }
    } catch (const DbError &e) {
        if (!m_table.valid())
            throw DbError(Connection::privateCopyLostMessage(), e.nativeCode(), e.statement());
        throw;
    }
    m_written += m_pendingRows;
    m_pendingRows = 0;
    m_values.clear();
    if (onWritten)
        onWritten(m_written);
}
