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
