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

    // A column that takes the same SQL expression in every row: a constant
    // of the program ("'DEBITO'", "1") or a column set earlier in the same
    // row ("Datai"). Never a value that came from a person or a file.
    struct Fixed
    {
        QString column;
        QString expression;
    };

    // Appends rows: the bound columns take one value each per row, the fixed
    // ones their expression; a statement goes to the server whenever
    // rowsPerStatement rows are waiting, and at finish().
    class Writer
    {
    public:
        Writer(WorkTable &table, const QStringList &columns, const QList<Fixed> &fixed = {},
               int rowsPerStatement = 2000);
        // One value per bound column, in the columns' order.
        void add(const QVariantList &values);
        // The values at the given positions of row, in that order.
        void add(const QVariantList &row, const QList<int> &positions);
        void finish();
        int written() const { return m_written; }

    private:
        void flush();
        void append(int column, const QVariant &value);
        QString statement(int rows) const;
        WorkTable &m_table;
        QStringList m_columns;
        QList<Fixed> m_fixed;
        QList<int> m_widths; // text width of each column, -1 for none
        int m_perStatement;
        // The statement of m_perStatement rows, prepared once and sent again
        // with each batch of values, and the session it was prepared in.
        std::optional<QSqlQuery> m_full;
        qint64 m_fullSession = 0;
        QVariantList m_pending;
        int m_pendingRows = 0;
        int m_written = 0;
    };

private:
    Connection *m_conn;
    PrivateTable m_table;
};
