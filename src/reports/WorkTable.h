#pragma once
// A summary's work table (`resumo`, `pagarmes`, `resumoanual`, `resumo02`)
// as the summary screens use it: this workstation's private copy (a
// PrivateTable), filled in multi-row statements, and read only while the
// copy of the last fill still exists.
//
// Contract:
//   - claim() before a fill: makes (or empties) this session's copy;
//   - every statement that names the table goes through exec() or open():
//     they check first that the copy of the last claim() still exists (a
//     reconnect ends it) and raise Connection::privateCopyLostMessage()
//     otherwise, so nothing ever reads or writes the shared table instead;
//   - a Writer appends rows in statements of many rows each, values bound,
//     texts cut to the columns' widths as a field of that width would
//     (columns that hold the same expression in every row are written once
//     in the row's text, so fewer values travel);
//   - lost(e) tells a screen, after a DbError, that the copy is gone: it
//     then hides what it showed and asks for "Gerar" again.

#include "db/Connection.h"
#include "db/PrivateTable.h"
#include "reports/WorkTableWriter.h"

#include <QString>
#include <QStringList>
#include <QVariant>

#include <optional>

class RecordSet;

class WorkTable
{
public:
    WorkTable(Connection *connection, const QString &table);

    QString name() const { return m_table.name(); }
    Connection *connection() const { return m_conn; }
    void claim();
    bool valid() const { return m_table.valid(); }
    void require() const { m_table.require(); }
    // Whether an error means that the copy of the last fill is gone.
    bool lost() const { return !valid(); }

    QSqlQuery exec(const QString &sql, const QVariantList &params = {}) const;
    QVariant scalar(const QString &sql, const QVariantList &params = {}) const;
    // Opens a record set whose query names the table.
    void open(RecordSet &rows) const;

    // A column that takes the same SQL expression in every row (see
    // WorkTableWriter).
    using Fixed = WorkTableWriter::Fixed;

    // Appends rows into this table's private copy, many rows per statement.
    class Writer : public WorkTableWriter
    {
    public:
        Writer(WorkTable &table, const QStringList &columns, const QList<Fixed> &fixed = {},
               int rowsPerStatement = 2000)
            : WorkTableWriter(*table.m_conn, table.m_table, columns, rowsPerStatement, fixed)
        {
        }
    };

private:
    Connection *m_conn;
    PrivateTable m_table;
};
