#include "reports/LookupEdit.h"

#include "db/RecordSet.h"
#include "db/RecordSetModel.h"

#include <QCompleter>

LookupEdit::LookupEdit(QWidget *parent)
    : QLineEdit(parent), m_model(new RecordSetModel(this)), m_completer(new QCompleter(this))
{
    m_completer->setModel(m_model);
    m_completer->setCaseSensitivity(Qt::CaseInsensitive);
    m_completer->setFilterMode(Qt::MatchStartsWith);
    m_completer->setCompletionMode(QCompleter::PopupCompletion);
    m_completer->setMaxVisibleItems(12);
    setCompleter(m_completer);
}

void LookupEdit::setRecordSet(RecordSet *rs, const QString &listField, const QString &keyField)
{
    m_rs = rs;
    m_listField = listField;
    m_keyField = keyField;
    GridColumn col;
    col.field = listField;
    m_model->setColumns({col});
    m_model->setRecordSet(rs);
}

int LookupEdit::find(const QString &text) const
{
    if (!m_rs || !m_rs->isOpen() || text.isEmpty())
        return -1;
    const int rows = m_rs->recordCount();
    for (int r = 0; r < rows; ++r)
        if (m_rs->valueAt(r, m_listField).toString().trimmed().compare(text, Qt::CaseInsensitive) ==
            0)
            return r;
    for (int r = 0; r < rows; ++r)
        if (m_rs->valueAt(r, m_listField).toString().startsWith(text, Qt::CaseInsensitive))
            return r;
    return -1;
}

int LookupEdit::locate()
{
    const int row = find(text().trimmed());
    if (row >= 0) {
        m_rs->moveTo(row);
        const QString name = m_rs->valueAt(row, m_listField).toString();
        if (text() != name)
            setText(name);
    }
    return row;
}

QVariant LookupEdit::locateKey()
{
    const int row = locate();
    return row >= 0 ? m_rs->valueAt(row, m_keyField) : QVariant();
}
