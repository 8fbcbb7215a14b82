#include "registries/RadioBinding.h"

#include "db/RecordSet.h"

#include <QAbstractButton>
#include <QButtonGroup>

RadioBinding::RadioBinding(RecordSet *rows, const QString &column,
                           const QList<QPair<QAbstractButton *, QVariant>> &buttonsAndValues,
                           QObject *parent)
    : QObject(parent), m_rows(rows), m_column(column), m_group(new QButtonGroup(this))
{
    // Exclusive by hand: a row whose value is none of the buttons shows none.
    m_group->setExclusive(false);
    for (const auto &[button, value] : buttonsAndValues) {
        m_group->addButton(button, int(m_values.size()));
        m_values << value;
    }
    connect(m_group, &QButtonGroup::idClicked, this, &RadioBinding::clicked);
    connect(rows, &RecordSet::currentRowChanged, this, &RadioBinding::refresh);
    connect(rows, &RecordSet::rowChanged, this, &RadioBinding::refresh);
    connect(rows, &RecordSet::stateChanged, this, &RadioBinding::refresh);
    connect(rows, &RecordSet::reset, this, &RadioBinding::refresh);
    refresh();
}

void RadioBinding::setReadOnly(bool readOnly)
{
    m_readOnly = readOnly;
    for (QAbstractButton *b : m_group->buttons())
        b->setAttribute(Qt::WA_TransparentForMouseEvents, readOnly);
    for (QAbstractButton *b : m_group->buttons())
        b->setFocusPolicy(readOnly ? Qt::NoFocus : Qt::StrongFocus);
}

void RadioBinding::refresh()
{
    const bool has = m_rows->isOpen() && m_rows->recNo() >= 0 && m_rows->hasField(m_column);
    const QVariant v = has ? m_rows->value(m_column) : QVariant();
    m_showing = true;
    for (int i = 0; i < m_values.size(); ++i) {
        const QVariant &mine = m_values[i];
        bool same = false;
        if (!v.isNull()) {
            bool okA = false, okB = false;
            const double a = v.toDouble(&okA), b = mine.toDouble(&okB);
            same = (okA && okB) ? a == b
                                : v.toString().compare(mine.toString(), Qt::CaseInsensitive) == 0;
        }
        m_group->button(i)->setChecked(same);
    }
    m_showing = false;
}

void RadioBinding::clicked(int id)
{
    if (m_showing)
        return;
    if (m_readOnly || !m_rows->isOpen() || m_rows->recNo() < 0) {
        refresh();
        return;
    }
    if (!m_rows->isEditing())
        m_rows->edit();
    m_rows->setValue(m_column, m_values.value(id));
    refresh();
}
