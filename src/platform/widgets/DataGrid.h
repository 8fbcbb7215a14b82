#pragma once
// Read-only grid over a RecordSet: whole-row single selection, one column per
// GridColumn (title, width, mask, alignment), an optional row-colour rule
// that the selected row does not take (the selection colours win). The
// grid's current row and the record set's current row follow each other.
// Ctrl+Delete is swallowed so that no window shortcut deletes a row from the
// grid by accident. Rows have one fixed height, so lists of hundreds of
// thousands of rows scroll without measuring rows.

#include "db/RecordSetModel.h"

#include <QTableView>

class DataGrid : public QTableView
{
    Q_OBJECT
public:
    explicit DataGrid(QWidget *parent = nullptr);

    void setRecordSet(RecordSet *rs);
    RecordSet *recordSet() const { return m_model->recordSet(); }
    void setColumns(const QList<GridColumn> &columns);
    const QList<GridColumn> &columns() const { return m_model->columns(); }
    void setColorRule(RecordSetModel::ColorRule rule);
    RecordSetModel *gridModel() const { return m_model; }

    // The row the grid shows as current, -1 when none.
    int currentRow() const;

signals:
    void rowDoubleClicked(int row);
    // Right-click (or the context-menu key) on the grid; global coordinates,
    // ready for QMenu::exec().
    void contextMenuRequested(const QPoint &globalPos);

protected:
    bool event(QEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;

private:
    void applyWidths();
    void selectRecordSetRow();
    static bool isCtrlDelete(const QKeyEvent *e);

    RecordSetModel *m_model;
    bool m_syncing = false;
};
