#pragma once
// An edit over the names of a list (a RecordSet): the clerk types freely, a
// drop-down offers the names that start with what is typed (case ignored),
// and locate() finds the row the text names. The text itself is kept as
// typed until a row is located, so a word that names no row (the dialog's
// "TODAS") is still there to be read.
//
// locate(): the row whose name equals the trimmed text (case ignored), else
// the first row, in the list's order, whose name starts with it; the text is
// then written as that row's name, so what is shown is what is used. An
// empty text, or one that starts no name, locates nothing (-1) and leaves the
// text alone. The row located becomes the list's current row.

#include "db/RecordSet.h"

#include <QLineEdit>
#include <QPointer>
#include <QVariant>

class QCompleter;
class RecordSetModel;

class LookupEdit : public QLineEdit
{
    Q_OBJECT
public:
    explicit LookupEdit(QWidget *parent = nullptr);

    void setRecordSet(RecordSet *rs, const QString &listField, const QString &keyField);
    RecordSet *recordSet() const { return m_rs; }

    // The row the text names (see above), -1 when none.
    int locate();
    // The key of the row located, null when none.
    QVariant locateKey();

    QCompleter *completer() const { return m_completer; }

private:
    int find(const QString &text) const;

    QPointer<RecordSet> m_rs;
    RecordSetModel *m_model;
    QCompleter *m_completer;
    QString m_listField;
    QString m_keyField;
};
