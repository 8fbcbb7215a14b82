#pragma once
// The program's data set: SQL text with named parameters, all rows fetched on
// open and kept column by column (numbers and dates unboxed, texts in one
// UTF-8 buffer per column) so that lists of hundreds of thousands of rows
// stay small; a current row; browse/edit/insert states; post() writes the
// current row to the base table by its key and reads it back.
//
// open() streams the rows from the client library straight into the columns
// (Connection::stream), each cell decoded once, and returns when the whole
// result is in: only then do the current row, the counts, the order and the
// signals exist. A view therefore never shows a part of a list as if it were
// the list (the payables list opens on its last row), and nothing else runs
// on the session while the rows are still coming.

#include "db/Connection.h"

#include <QDate>
#include <QDateTime>
#include <QHash>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <cstdint>
#include <vector>

class RecordSet : public QObject
{
    Q_OBJECT
public:
    enum class State { Inactive, Browse, Edit, Insert };

    explicit RecordSet(Connection *connection, QObject *parent = nullptr);
    RecordSet(Connection *connection, const QString &sql, QObject *parent = nullptr);
    ~RecordSet() override;

    Connection *connection() const { return m_conn; }

    // SQL text; ":Name" placeholders take the values of setParam(). Changing
    // the text keeps parameter values whose names still occur.
    void setSql(const QString &sql);
    QString sql() const { return m_sql; }
    void setParam(const QString &name, const QVariant &value);
    QVariant param(const QString &name) const;
    QStringList paramNames() const { return m_parsed.names; }

    // Base table and key for post()/remove(). By default the first table after
    // FROM and its primary key.
    void setBaseTable(const QString &table) { m_baseTable = table; }
    QString baseTable() const;
    void setKeyField(const QString &field) { m_keyField = field; }
    QString keyField() const;

    // Width of the field through which a screen writes a text column: longer
    // texts are cut when set. The column's own width applies as well.
    void setFieldWidth(const QString &field, int width);

    // Client-side order, e.g. "Nome, Datavenc DESC"; empty keeps server order.
    void setOrder(const QString &order);
    QString order() const { return m_order; }

    // Master-detail: whenever the master's current row changes, the detail
    // parameters take the master's field values and the detail reopens.
    void setMaster(RecordSet *master, const QStringList &masterFields,
                   const QStringList &detailParams);

    void open();
    // Opens the set on rows given in memory instead of running its query
    // (reports over rows computed by the program, tests of the report
    // engine): the columns' names and types, and the rows, each with one
    // value per column in that order (a missing value is NULL). The set then
    // browses, orders and is read like any other; it has no base table, so
    // it is not posted, and refresh() or open() run its query again.
    void openRows(const QSqlRecord &columns, const QList<QVariantList> &rows);
    void close();
    void refresh(); // reruns the query and returns to the same key when it is still there
    // Reads the current row again from its base table; a row deleted meanwhile
    // leaves the list and false is returned.
    bool refreshRow();
    bool isOpen() const { return m_state != State::Inactive; }
    State state() const { return m_state; }
    bool isEditing() const { return m_state == State::Edit || m_state == State::Insert; }

    int recordCount() const { return int(m_order_idx.size()); }
    bool isEmpty() const { return m_order_idx.empty(); }
    int recNo() const { return m_current; } // 0-based, -1 when empty
    bool bof() const { return m_bof; }
    bool eof() const { return m_eof; }
    void first();
    void last();
    void next();
    void prior();
    bool moveTo(int row);
    // Makes the first row whose field equals value current; false when none.
    bool locate(const QString &field, const QVariant &value);

    int fieldCount() const { return int(m_cols.size()); }
    QString fieldName(int i) const;
    int fieldIndex(const QString &name) const; // -1 if none
    bool hasField(const QString &name) const { return fieldIndex(name) >= 0; }
    QMetaType fieldType(int i) const;

    // Values of the current row (the edit buffer while editing).
    QVariant value(const QString &field) const;
    QString text(const QString &field) const { return value(field).toString(); }
    double number(const QString &field) const { return value(field).toDouble(); }
    QDate date(const QString &field) const { return value(field).toDate(); }
    bool isNull(const QString &field) const { return value(field).isNull(); }
    // Value of any row, as shown in a list (row is 0-based visible order).
    QVariant valueAt(int row, int field) const;
    QVariant valueAt(int row, const QString &field) const;

    void edit();
    void append();
    void setValue(const QString &field, const QVariant &value);
    // post() and remove() write only a row that is still as this list read
    // it: when another workstation changed or deleted it meanwhile, nothing is
    // written, the row is read again (or leaves the list) and a DbError whose
    // outcome() is Conflict says "Registro alterado por outra estação. Os
    // dados foram relidos.". Each runs as one identified operation, so a lost
    // reply never writes twice (see Connection::transaction).
    void post();
    void cancel();
    void remove();

    // Truncates the base table (the work tables are emptied this way) and reopens.
    void truncateTable();

signals:
    void aboutToReset();
    void reset();
    void currentRowChanged(int row);
    void rowChanged(int row);
    void aboutToInsertRow(int row);
    void rowInserted(int row);
    void aboutToRemoveRow(int row);
    void rowRemoved(int row);
    void stateChanged(RecordSet::State state);

private:
    enum class Kind : uint8_t { Int, Double, Date, DateTime, Time, Text, Bytes, Bool };
    struct Column
    {
        QString name;
        QMetaType type;
        Kind kind = Kind::Text;
        int width = -1; // cut width, -1 none
        bool inBase = false;
        std::vector<int64_t> i;
        std::vector<double> d;
        std::vector<uint32_t> off, len;
        QByteArray arena;
        std::vector<uint8_t> null;
    };

    struct Filler; // receives the rows of open()
    // Empties the set before it is filled again.
    void clearRows();
    // The rows are in: the visible order, the state and the signals.
    void filled();
    // baseWidths: the base table's columns (lower-case name -> text width,
    // -1 for others), for the widths and base-table membership.
    void loadColumns(const std::vector<SinkColumn> &columns, const QHash<QString, int> &baseWidths);
    QHash<QString, int> baseWidths();
    void appendRow(const SinkCell *cells);
    void resolveBase();
    QVariant cell(const Column &c, size_t store) const;
    void setCell(Column &c, size_t store, const QVariant &v);
    size_t addStoreRow();
    void applyOrder();
    QVariantList paramValues() const;
    void setCurrent(int row, bool force = false);
    void setState(State s);
    QVariant cutToWidth(const Column &c, const QVariant &v) const;
    bool readBack(size_t store, const QVariant &key);
    QString unchangedSince(size_t store, QVariantList &params) const;
    [[noreturn]] void throwConflict();
    void onMasterRowChanged();

    Connection *m_conn;
    QString m_sql;
    ParsedSql m_parsed;
    QHash<QString, QVariant> m_params; // lower-case names
    QString m_baseTable;
    QString m_keyField;
    QString m_order;
    QHash<QString, int> m_widths; // lower-case names

    std::vector<Column> m_cols;
    QHash<QString, int> m_index; // lower-case names
    size_t m_storeRows = 0;
    std::vector<uint32_t> m_order_idx; // visible row -> store row
    int m_current = -1;
    bool m_bof = true;
    bool m_eof = true;
    State m_state = State::Inactive;

    QVariantList m_buffer;
    std::vector<bool> m_modified;
    int m_insertRow = -1;

    QPointer<RecordSet> m_master;
    QStringList m_masterFields;
    QStringList m_detailParams;
};
