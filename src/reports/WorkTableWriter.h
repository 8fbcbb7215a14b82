#pragma once
// Writes the rows of a fill into a work table that this workstation has
// claimed (PrivateTable), many rows per INSERT statement: one statement per
// row costs a round trip each, which turns a fill of tens of thousands of
// rows into minutes.
//
//     WorkTableWriter out(conn, resumo, {"CodigoNota", "Data", "Credito"});
//     out.onWritten = [&](int rows) { progress->setValue(rows); };
//     while (q.next())
//         out.add({q.value(0), q.value(1), q.value(2)});
//     out.finish();
//
// Contract:
// - add() takes one value per column, in the order of the column list; every
//   value is bound as a parameter, and a text longer than its column is cut
//   to the column's width (as a field of that width would store it).
// - Rows are sent in statements of rowsPerStatement rows; finish() sends the
//   rest. onWritten, when set, runs after each statement with the number of
//   rows written so far (screens advance a progress bar or an animation).
// - Before each statement the table must still be this session's copy: once
//   the connection was lost and made again the copy is gone, and writing the
//   same name would reach the table every workstation shares. The writer
//   then sends nothing and raises Connection::privateCopyLostMessage(); the
//   same message replaces the error of a statement whose connection was lost
//   under it (what it wrote went with the copy).
// - A Fixed column takes the same SQL expression in every row and is written
//   once in the row's text, so fewer values travel: a constant of the program
//   ("'DEBITO'", "1") or a column set earlier in the same row ("Datai"),
//   never a value that came from a person or a file.

#include "db/Connection.h"
#include "db/PrivateTable.h"

#include <QSqlQuery>
#include <QStringList>
#include <QVariantList>

#include <functional>
#include <optional>

class WorkTableWriter
{
public:
    struct Fixed
    {
        QString column;
        QString expression;
    };

    WorkTableWriter(Connection &connection, PrivateTable &table, const QStringList &columns,
                    int rowsPerStatement = 1000, const QList<Fixed> &fixed = {});
    WorkTableWriter(const WorkTableWriter &) = delete;
    WorkTableWriter &operator=(const WorkTableWriter &) = delete;

    void add(const QVariantList &values);
    // The values at the given positions of row, in the columns' order.
    void add(const QVariantList &row, const QList<int> &positions);
    void finish();
    int written() const { return m_written; }
    int pending() const { return m_pendingRows; }

    std::function<void(int rowsWritten)> onWritten;

private:
    void append(int column, const QVariant &value);
    void rowAdded();
    void flush();

    Connection &m_conn;
    PrivateTable &m_table;
    QStringList m_columns;
    QList<int> m_widths; // per column, -1: not cut
    int m_perStatement;
    QString m_head;     // "INSERT INTO `t` (`a`, `b`) VALUES "
    QString m_rowMarks; // "(?, ?)"
    QVariantList m_values;
    int m_pendingRows = 0;
    int m_written = 0;
    std::optional<QSqlQuery> m_fullStatement; // prepared once, run per full statement
    qint64 m_fullSession = 0;                 // the session it was prepared in
};
