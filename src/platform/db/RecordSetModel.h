#pragma once
// Shows a RecordSet in a view: one column definition per visible column
// (field, title, width in pixels, display mask, alignment) and an optional
// row-colour rule. Follows the record set's resets, inserts, removals and edits.

#include "db/RecordSet.h"

#include <QAbstractTableModel>
#include <QColor>
#include <QPointer>

#include <functional>

struct GridColumn
{
    QString field;
    QString title;
    int width = 80;
    QString mask;
    Qt::Alignment alignment = {}; // empty: numbers right, the rest left
};

struct RowColors
{
    QColor foreground; // invalid: the view's default
    QColor background;
};

class RecordSetModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    using ColorRule = std::function<RowColors(const RecordSet &rs, int row)>;

    explicit RecordSetModel(QObject *parent = nullptr);

    void setRecordSet(RecordSet *rs);
    RecordSet *recordSet() const { return m_rs; }
    void setColumns(const QList<GridColumn> &columns);
    const QList<GridColumn> &columns() const { return m_columns; }
    void setColorRule(ColorRule rule);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // The text a cell shows (mask applied).
    QString displayText(int row, int column) const;

private:
    void cacheFields();

    QPointer<RecordSet> m_rs;
    QList<int> m_fields; // record-set field of each column, -1 when missing
    QList<GridColumn> m_columns;
    ColorRule m_rule;
};
