#include "registries/LookupBinding.h"

#include "db/RecordSet.h"
#include "widgets/LookupCombo.h"

namespace {

bool sameValue(const QVariant &a, const QVariant &b)
{
    if (a.isNull() || b.isNull())
        return a.isNull() && b.isNull();
    bool okA = false, okB = false;
    const double x = a.toDouble(&okA), y = b.toDouble(&okB);
    if (okA && okB)
        return x == y;
    return a.toString().compare(b.toString(), Qt::CaseInsensitive) == 0;
}

} // namespace

LookupBinding::LookupBinding(RecordSet *rows, LookupCombo *box, const QString &keyColumn,
                             QObject *parent)
    : QObject(parent), m_rows(rows), m_box(box), m_column(keyColumn)
{
    connect(rows, &RecordSet::currentRowChanged, this, &LookupBinding::refresh);
    connect(rows, &RecordSet::rowChanged, this, &LookupBinding::refresh);
    connect(rows, &RecordSet::stateChanged, this, &LookupBinding::refresh);
    connect(rows, &RecordSet::reset, this, &LookupBinding::refresh);
    connect(box, &LookupCombo::keyChanged, this, &LookupBinding::onKeyChanged);
    // The box's list reopened: show the row's key again (it may be back).
    if (RecordSet *list = box->recordSet())
        connect(list, &RecordSet::reset, this, &LookupBinding::refresh);
    refresh();
}

void LookupBinding::refresh()
{
    if (!m_box)
        return;
    const bool has = m_rows->isOpen() && m_rows->recNo() >= 0 && m_rows->hasField(m_column);
    m_showing = true;
    m_box->setKeyValue(has ? m_rows->value(m_column) : QVariant());
    m_showing = false;
}

QString LookupBinding::nameOf(const RecordSet *list, const QString &keyField,
                              const QString &nameField, const QVariant &key)
{
    if (!list || !list->isOpen() || key.isNull() || !list->hasField(keyField))
        return {};
    for (int row = 0; row < list->recordCount(); ++row)
        if (sameValue(list->valueAt(row, keyField), key))
            return list->valueAt(row, nameField).toString();
    return {};
}

QString LookupBinding::shownName(const QString &nameField) const
{
    if (!m_box || !m_rows->isOpen() || m_rows->recNo() < 0 || !m_rows->hasField(m_column))
        return {};
    return nameOf(m_box->recordSet(), m_box->keyField(), nameField, m_rows->value(m_column));
}

void LookupBinding::choose(const QVariant &chosenKey)
{
    // A copy: putting the row into edit mode shows it again in every box,
    // which may change the value a reference was taken from.
    const QVariant key = chosenKey;
    if (!m_rows->isOpen() || m_rows->recNo() < 0)
        return;
    if (!m_rows->isEditing())
        m_rows->edit();
    m_rows->setValue(m_column, key);
    if (chosen)
        chosen(key);
}

void LookupBinding::onKeyChanged(const QVariant &changed)
{
    const QVariant key = changed; // the box's own value, which the edit may move
    if (m_showing || key.isNull() || !m_rows->isOpen() || m_rows->recNo() < 0 ||
        !m_rows->hasField(m_column))
        return;
    if (sameValue(key, m_rows->value(m_column)))
        return;
    choose(key);
}
