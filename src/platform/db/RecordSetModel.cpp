#include "db/RecordSetModel.h"

#include "db/DisplayFormat.h"

RecordSetModel::RecordSetModel(QObject *parent) : QAbstractTableModel(parent) {}

void RecordSetModel::setRecordSet(RecordSet *rs)
{
    beginResetModel();
    if (m_rs)
        disconnect(m_rs, nullptr, this, nullptr);
    m_rs = rs;
    cacheFields();
    if (rs) {
        connect(rs, &RecordSet::aboutToReset, this, [this] { beginResetModel(); });
        connect(rs, &RecordSet::reset, this, [this] {
            cacheFields();
            endResetModel();
        });
        connect(rs, &RecordSet::aboutToInsertRow, this,
                [this](int row) { beginInsertRows({}, row, row); });
        connect(rs, &RecordSet::rowInserted, this, [this](int) { endInsertRows(); });
        connect(rs, &RecordSet::aboutToRemoveRow, this,
                [this](int row) { beginRemoveRows({}, row, row); });
        connect(rs, &RecordSet::rowRemoved, this, [this](int) { endRemoveRows(); });
        connect(rs, &RecordSet::rowChanged, this, [this](int row) {
            if (row >= 0 && row < rowCount())
                emit dataChanged(index(row, 0), index(row, columnCount() - 1));
        });
        connect(rs, &QObject::destroyed, this, [this] {
            beginResetModel();
            endResetModel();
        });
    }
    endResetModel();
}

void RecordSetModel::setColumns(const QList<GridColumn> &columns)
{
    beginResetModel();
    m_columns = columns;
    cacheFields();
    endResetModel();
}

void RecordSetModel::setColorRule(ColorRule rule)
{
    m_rule = std::move(rule);
    if (rowCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

void RecordSetModel::cacheFields()
{
    m_fields.clear();
    for (const GridColumn &c : m_columns)
        m_fields << (m_rs && m_rs->isOpen() ? m_rs->fieldIndex(c.field) : -1);
}

int RecordSetModel::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid() || !m_rs || !m_rs->isOpen())
        return 0;
    return m_rs->recordCount();
}

int RecordSetModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QString RecordSetModel::displayText(int row, int column) const
{
    if (!m_rs || column < 0 || column >= m_columns.size())
        return {};
    const int field = m_fields.value(column, -1);
    if (field < 0)
        return {};
    return DisplayFormat::format(m_rs->valueAt(row, field), m_columns[column].mask);
}

QVariant RecordSetModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || !m_rs || index.row() >= rowCount())
        return {};
    const GridColumn &c = m_columns[index.column()];
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        return displayText(index.row(), index.column());
    case Qt::TextAlignmentRole: {
        if (c.alignment)
            return int(c.alignment | Qt::AlignVCenter);
        const int field = m_fields.value(index.column(), -1);
        const int type = field >= 0 ? m_rs->fieldType(field).id() : 0;
        const bool numeric = type == QMetaType::Double || type == QMetaType::Int ||
                             type == QMetaType::LongLong || type == QMetaType::Float;
        return int((numeric ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    }
    case Qt::ForegroundRole:
    case Qt::BackgroundRole: {
        if (!m_rule)
            return {};
        const RowColors colors = m_rule(*m_rs, index.row());
        const QColor &col = role == Qt::ForegroundRole ? colors.foreground : colors.background;
        return col.isValid() ? QVariant(col) : QVariant();
    }
    default:
        return {};
    }
}

QVariant RecordSetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
        section < m_columns.size())
        return m_columns[section].title;
    return QAbstractTableModel::headerData(section, orientation, role);
}
