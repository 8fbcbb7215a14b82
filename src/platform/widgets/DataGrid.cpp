#include "widgets/DataGrid.h"

#include "widgets/Messages.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QStyledItemDelegate>

namespace {

// The colour rule paints rows that are not selected; a selected row keeps the
// selection colours, whatever the rule says.
class GridDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        if (option->state & QStyle::State_Selected) {
            option->backgroundBrush = QBrush();
            const QWidget *w = option->widget;
            option->palette.setBrush(QPalette::Text, w ? w->palette().brush(QPalette::Text)
                                                       : option->palette.brush(QPalette::Text));
        }
    }
};

} // namespace

DataGrid::DataGrid(QWidget *parent) : QTableView(parent), m_model(new RecordSetModel(this))
{
    setModel(m_model);
    setItemDelegate(new GridDelegate(this));
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(false);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setAlternatingRowColors(false);
    setContextMenuPolicy(Qt::CustomContextMenu);

    // One height for every row: the view never asks rows for their size.
    QHeaderView *vh = verticalHeader();
    vh->setSectionResizeMode(QHeaderView::Fixed);
    vh->setDefaultSectionSize(fontMetrics().height() + 6);
    vh->setMinimumSectionSize(1);
    vh->hide();

    QHeaderView *hh = horizontalHeader();
    hh->setSectionResizeMode(QHeaderView::Interactive);
    hh->setDefaultAlignment(Qt::AlignCenter);
    hh->setHighlightSections(false);
    hh->setStretchLastSection(false);

    connect(this, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex &index) {
        if (index.isValid())
            emit rowDoubleClicked(index.row());
    });
    connect(this, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &pos) { emit contextMenuRequested(viewport()->mapToGlobal(pos)); });
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] {
        applyWidths();
        selectRecordSetRow();
    });
}

void DataGrid::setRecordSet(RecordSet *rs)
{
    if (RecordSet *old = m_model->recordSet())
        disconnect(old, nullptr, this, nullptr);
    m_model->setRecordSet(rs);
    if (rs)
        connect(rs, &RecordSet::currentRowChanged, this, [this] { selectRecordSetRow(); });
    selectRecordSetRow();
}

void DataGrid::setColumns(const QList<GridColumn> &columns)
{
    m_model->setColumns(columns);
    applyWidths();
}

void DataGrid::setColorRule(RecordSetModel::ColorRule rule)
{
    m_model->setColorRule(std::move(rule));
    viewport()->update();
}

int DataGrid::currentRow() const
{
    const QModelIndex i = currentIndex();
    return i.isValid() ? i.row() : -1;
}

void DataGrid::applyWidths()
{
    const QList<GridColumn> &cols = m_model->columns();
    for (int i = 0; i < cols.size(); ++i)
        setColumnWidth(i, cols[i].width);
}

void DataGrid::selectRecordSetRow()
{
    RecordSet *rs = m_model->recordSet();
    const int row = rs && rs->isOpen() ? rs->recNo() : -1;
    if (row == currentRow() && (row < 0 || selectionModel()->isRowSelected(row, {})))
        return;
    m_syncing = true;
    if (row < 0 || row >= m_model->rowCount() || m_model->columnCount() == 0) {
        selectionModel()->clear();
    } else {
        const int column = currentIndex().isValid() ? currentIndex().column() : 0;
        const QModelIndex index = m_model->index(row, column);
        selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                     QItemSelectionModel::Rows);
        scrollTo(index);
    }
    m_syncing = false;
}

void DataGrid::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QTableView::currentChanged(current, previous);
    RecordSet *rs = m_model->recordSet();
    if (m_syncing || !rs || !current.isValid() || current.row() == rs->recNo())
        return;
    try {
        // Leaving a row that is being edited writes it first.
        rs->moveTo(current.row());
    } catch (const DbError &e) {
        Messages::error(QStringLiteral("Erro"), e.message());
        selectRecordSetRow();
    }
}

bool DataGrid::isCtrlDelete(const QKeyEvent *e)
{
    return e->key() == Qt::Key_Delete && (e->modifiers() & Qt::ControlModifier);
}

bool DataGrid::event(QEvent *e)
{
    // Claim Ctrl+Delete before the window's shortcuts see it.
    if (e->type() == QEvent::ShortcutOverride && isCtrlDelete(static_cast<QKeyEvent *>(e))) {
        e->accept();
        return true;
    }
    return QTableView::event(e);
}

void DataGrid::keyPressEvent(QKeyEvent *e)
{
    if (isCtrlDelete(e)) {
        e->accept();
        return;
    }
    QTableView::keyPressEvent(e);
}
