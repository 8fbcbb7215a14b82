#include "db/PrivateTable.h"

#include <QRegularExpression>
#include <QSqlQuery>

PrivateTable::PrivateTable(Connection *connection, const QString &table)
    : m_conn(connection), m_table(table.toLower())
{
}

void PrivateTable::claim()
{
    if (!m_conn->isPrivate(m_table)) {
        // The shared table's own definition, as a temporary table of the same
        // name (MariaDB refuses "LIKE" a table of the same name).
        QSqlQuery q = m_conn->exec(QStringLiteral("SHOW CREATE TABLE `%1`").arg(m_table));
        if (!q.next())
            throw DbError(QStringLiteral("Tabela %1 não encontrada").arg(m_table));
        QString ddl = q.value(1).toString();
        static const QRegularExpression head(QStringLiteral("^\\s*CREATE\\s+TABLE\\s+"),
                                             QRegularExpression::CaseInsensitiveOption);
        ddl.replace(head, QStringLiteral("CREATE TEMPORARY TABLE IF NOT EXISTS "));
        m_conn->exec(ddl);
    }
    m_conn->exec(QStringLiteral("TRUNCATE TABLE `%1`").arg(m_table));
    m_session = m_conn->sessionId();
    m_conn->markPrivate(m_table);
}

bool PrivateTable::valid() const
{
    return m_session != 0 && m_conn->isOpen() && m_conn->sessionId() == m_session;
}

void PrivateTable::require() const
{
    if (!valid())
        throw DbError(Connection::privateCopyLostMessage());
}
