#pragma once
// Drop-down list over a RecordSet: shows one field (the list field) and gives
// the value of another (the key field) for the chosen row. It follows the
// record set as it is reopened, refreshed or changed, keeping the chosen key
// while that key is still in the list. It never moves the record set.
// Typing letters picks the first row whose text starts with what was typed
// (case ignored); a pause of a second starts a new search, Backspace takes
// back one letter.

#include "db/RecordSetModel.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QVariant>

class LookupCombo : public QComboBox
{
    Q_OBJECT
public:
    explicit LookupCombo(QWidget *parent = nullptr);

    void setRecordSet(RecordSet *rs, const QString &listField, const QString &keyField);
    RecordSet *recordSet() const { return m_model->recordSet(); }
    QString listField() const { return m_listField; }
    QString keyField() const { return m_keyField; }

    // Key of the chosen row; a null QVariant when nothing is chosen.
    QVariant keyValue() const { return m_key; }
    // Chooses the row with that key (numbers compare by value, texts without
    // regard to case); nothing is chosen when no row has it.
    void setKeyValue(const QVariant &key);
    // Row of the record set shown as chosen, -1 when none.
    int currentRow() const { return currentIndex(); }

    void setIncrementalSearch(bool on) { m_searchOn = on; }
    bool incrementalSearch() const { return m_searchOn; }
    QString searchText() const { return m_search; }

signals:
    void keyChanged(const QVariant &key);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    int rowOfKey(const QVariant &key) const;
    QVariant keyAt(int row) const;
    int findPrefix(const QString &prefix) const;
    void onIndexChanged(int index);
    void beginSync() { ++m_syncing; }
    void endSync();

    RecordSetModel *m_model;
    QString m_listField;
    QString m_keyField;
    QVariant m_key;
    int m_syncing = 0;
    bool m_searchOn = true;
    QString m_search;
    QElapsedTimer m_lastKey;
};
