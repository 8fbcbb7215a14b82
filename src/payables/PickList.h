#pragma once
// The pick-list dialog every member of PickLists is made of: title band,
// search group (by code, by name, the upper-case field edtLocalizar), a
// read-only grid over the caller's list, and "OK"/"Cancelar". Normally opened
// through PickLists::run(), which keeps the calling protocol.

#include "payables/PickLists.h"

#include <QDialog>
#include <QPointer>

class DataGrid;
class QPushButton;
class RecordSet;
class TitleBand;
class UpperEdit;

class PickList : public QDialog
{
    Q_OBJECT
public:
    PickList(const PickLists::MemberSpec &member, RecordSet *list, PickLists::Target target,
             QWidget *parent = nullptr);
    // Gives the list back its owner's client-side order (a search shows its
    // rows in the order of its statement while the dialog is open).
    ~PickList() override;

    const PickLists::MemberSpec &member() const { return m_member; }
    RecordSet *list() const { return m_list; }

    TitleBand *titleBand() const { return m_title; }
    UpperEdit *searchEdit() const { return m_search; }
    DataGrid *grid() const { return m_grid; }
    QPushButton *codeButton() const { return m_byCode; }
    QPushButton *nameButton() const { return m_byName; }
    QPushButton *okButton() const { return m_ok; }
    QPushButton *cancelButton() const { return m_cancel; }

public slots:
    void searchByCode();
    void searchByName();
    // "OK": copies the current row into the target and closes accepted.
    void confirm();
    // "Cancelar" and the red "X".
    void cancelPick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void search(const PickLists::Search &search);

    const PickLists::MemberSpec &m_member;
    QPointer<RecordSet> m_list;
    PickLists::Target m_target;
    QString m_ownerOrder;

    TitleBand *m_title;
    UpperEdit *m_search;
    DataGrid *m_grid;
    QPushButton *m_byCode;
    QPushButton *m_byName;
    QPushButton *m_ok;
    QPushButton *m_cancel;
};
