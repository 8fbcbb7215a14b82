#include "widgets/LookupCombo.h"

#include <QKeyEvent>

namespace {

bool isNumber(const QVariant &v)
{
    switch (v.metaType().id()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Short:
    case QMetaType::UShort:
        return true;
    default:
        return false;
    }
}

// Codes are stored as INT in their registry and as DOUBLE in the rows that
// copy them, so 7 and 7.0 are the same key.
bool sameKey(const QVariant &a, const QVariant &b)
{
    if (a.isNull() || b.isNull())
        return a.isNull() && b.isNull();
    if (isNumber(a) || isNumber(b)) {
        bool okA = false, okB = false;
        const double x = a.toDouble(&okA), y = b.toDouble(&okB);
        if (okA && okB)
            return x == y;
    }
    return a.toString().compare(b.toString(), Qt::CaseInsensitive) == 0;
}

} // namespace

LookupCombo::LookupCombo(QWidget *parent) : QComboBox(parent), m_model(new RecordSetModel(this))
{
    setEditable(false);
    // Never measure every row of a long list to size the box.
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    setMinimumContentsLength(12);
    setMaxVisibleItems(15);
    setModel(m_model);

    // Around every change of the list the box is put back on the remembered
    // key; the combo's own moves in between are not the person's choice.
    // (Connected after setModel(), so these run after QComboBox's own slots.)
    connect(m_model, &QAbstractItemModel::modelAboutToBeReset, this, [this] { beginSync(); });
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] { endSync(); });
    connect(m_model, &QAbstractItemModel::rowsAboutToBeInserted, this, [this] { beginSync(); });
    connect(m_model, &QAbstractItemModel::rowsInserted, this, [this] { endSync(); });
    connect(m_model, &QAbstractItemModel::rowsAboutToBeRemoved, this, [this] { beginSync(); });
    connect(m_model, &QAbstractItemModel::rowsRemoved, this, [this] { endSync(); });
    connect(m_model, &QAbstractItemModel::dataChanged, this, [this] {
        beginSync();
        endSync();
    });
    connect(this, &QComboBox::currentIndexChanged, this, &LookupCombo::onIndexChanged);
}

void LookupCombo::setRecordSet(RecordSet *rs, const QString &listField, const QString &keyField)
{
    m_listField = listField;
    m_keyField = keyField;
    GridColumn col;
    col.field = listField;
    beginSync();
    m_model->setColumns({col});
    m_model->setRecordSet(rs);
    endSync();
}

QVariant LookupCombo::keyAt(int row) const
{
    RecordSet *rs = m_model->recordSet();
    if (!rs || row < 0 || row >= m_model->rowCount())
        return {};
    const int field = rs->fieldIndex(m_keyField);
    return field >= 0 ? rs->valueAt(row, field) : QVariant();
}

int LookupCombo::rowOfKey(const QVariant &key) const
{
    RecordSet *rs = m_model->recordSet();
    if (key.isNull() || !rs)
        return -1;
    const int field = rs->fieldIndex(m_keyField);
    if (field < 0)
        return -1;
    const int rows = m_model->rowCount();
    for (int r = 0; r < rows; ++r)
        if (sameKey(rs->valueAt(r, field), key))
            return r;
    return -1;
}

int LookupCombo::findPrefix(const QString &prefix) const
{
    const int rows = m_model->rowCount();
    for (int r = 0; r < rows; ++r)
        if (m_model->displayText(r, 0).startsWith(prefix, Qt::CaseInsensitive))
            return r;
    return -1;
}

void LookupCombo::setKeyValue(const QVariant &key)
{
    const int row = rowOfKey(key);
    ++m_syncing;
    setCurrentIndex(row);
    --m_syncing;
    const QVariant now = keyAt(row);
    if (!sameKey(now, m_key)) {
        m_key = now;
        emit keyChanged(m_key);
    }
}

void LookupCombo::endSync()
{
    if (--m_syncing > 0)
        return;
    m_syncing = 0;
    // Back on the remembered key; if it left the list, nothing is chosen.
    const int row = rowOfKey(m_key);
    ++m_syncing;
    if (currentIndex() != row)
        setCurrentIndex(row);
    --m_syncing;
    if (row < 0 && !m_key.isNull()) {
        m_key = QVariant();
        emit keyChanged(m_key);
    }
}

void LookupCombo::onIndexChanged(int index)
{
    if (m_syncing)
        return;
    const QVariant now = keyAt(index);
    if (sameKey(now, m_key))
        return;
    m_key = now;
    emit keyChanged(m_key);
}

void LookupCombo::keyPressEvent(QKeyEvent *event)
{
    if (!m_searchOn || (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        QComboBox::keyPressEvent(event);
        return;
    }
    if (event->key() == Qt::Key_Backspace && !m_search.isEmpty()) {
        m_search.chop(1);
        m_lastKey.start();
        if (!m_search.isEmpty()) {
            const int row = findPrefix(m_search);
            if (row >= 0)
                setCurrentIndex(row);
        }
        return;
    }
    if (event->key() == Qt::Key_Escape && !m_search.isEmpty()) {
        m_search.clear();
        return;
    }
    const QString typed = event->text();
    if (!typed.isEmpty() && typed.at(0).isPrint()) {
        if (!m_lastKey.isValid() || m_lastKey.elapsed() > 1000)
            m_search.clear();
        // A blank that starts a search drops the list down, as in any combo.
        if (m_search.isEmpty() && typed == QLatin1String(" ")) {
            QComboBox::keyPressEvent(event);
            return;
        }
        m_lastKey.start();
        const int row = findPrefix(m_search + typed);
        // A letter that matches nothing is ignored, keeping the choice so far.
        if (row >= 0) {
            m_search += typed;
            setCurrentIndex(row);
        }
        return;
    }
    QComboBox::keyPressEvent(event);
}

void LookupCombo::focusOutEvent(QFocusEvent *event)
{
    m_search.clear();
    QComboBox::focusOutEvent(event);
}
