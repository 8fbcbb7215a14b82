#pragma once
// Binds a drop-down list (LookupCombo over a registry list) to a key column
// of a record set's current row: moving the record set chooses the row's key
// in the box, and a choice made by the person puts the row into edit mode and
// stores the chosen key (then chosen() runs, for the copies that go with it,
// such as the name beside a code). The box's own moves (its list reopened, a
// key that left the list) never write: a person can only choose a row, so
// only a chosen key that differs from the stored one is written.
//
// readOnly boxes only show.

#include "widgets/LookupCombo.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariant>

#include <functional>

class RecordSet;

class LookupBinding : public QObject
{
    Q_OBJECT
public:
    LookupBinding(RecordSet *rows, LookupCombo *box, const QString &keyColumn,
                  QObject *parent = nullptr);

    LookupCombo *box() const { return m_box; }
    QString keyColumn() const { return m_column; }
    // Runs after a chosen key was stored (the row is being edited).
    std::function<void(const QVariant &key)> chosen;

    // Shows the current row's key in the box.
    void refresh();
    // Stores key as if the person had chosen it: edit mode, the key, chosen().
    void choose(const QVariant &key);

    // The name a list gives to a key ("" when the key is not in it or the
    // list is closed): what a box over that list shows for the key.
    static QString nameOf(const RecordSet *list, const QString &keyField, const QString &nameField,
                          const QVariant &key);
    // The name the box shows for the bound row's key.
    QString shownName(const QString &nameField) const;

private:
    void onKeyChanged(const QVariant &key);

    RecordSet *m_rows;
    QPointer<LookupCombo> m_box;
    QString m_column;
    bool m_showing = false;
};
