#pragma once
// The pick-list dialog: a small modal window with which the user chooses a
// row of a list instead of typing its code. Title band, search group (by
// code, by name, the upper-case field edtLocalizar), a read-only grid over
// the caller's list, and "OK"/"Cancelar". Everything it shows and where a
// confirmed row goes is described by a Pick::Spec, so a family of pick lists
// is a table of descriptions.
//
// The list belongs to the caller. A search replaces the list's query text,
// so the narrowed list stays narrowed after the dialog closes, until another
// search or a re-query by its owner. While the dialog shows a search result
// the statement's ORDER BY decides the order; the list's own client-side
// order comes back when the dialog goes.
//
// Two kinds of target:
//   - a record being edited (RecordSet *): confirmation puts it into edit mode
//     (edit() when it is browsing; an insert stays an insert) and sets the
//     spec's columns; nothing is posted. The owner sees the change through
//     the record set's stateChanged()/rowChanged() signals and saves or
//     cancels it itself.
//   - entry fields (EntrySink): the sink is called once per copied field with
//     the target name of the copy.
//
// Values copied: codes as numbers (int when whole), descriptions as QString.
// A null cell, and every field when the list is empty or closed, gives 0 for
// a code and "" for a description.
//
// Database errors of a search or a confirmation are shown in the standard
// error box, titled with the application's display name (the program's
// title); the dialog stays open.

#include "db/RecordSetModel.h"

#include <QDialog>
#include <QList>
#include <QPointer>
#include <QSize>
#include <QString>
#include <QVariant>

#include <functional>
#include <variant>

class DataGrid;
class QPushButton;
class RecordSet;
class TitleBand;
class UpperEdit;

namespace Pick {

// Receives one entry field: the copy's target name and the value.
using EntrySink = std::function<void(const QString &targetName, const QVariant &value)>;
// Where a confirmed row goes: the record being edited, or entry fields.
using Target = std::variant<RecordSet *, EntrySink>;

enum class TargetKind { Record, Entry };

// Whole text: the trimmed text is the pattern; prefix: "%" appended. Both go
// through LIKE, so "%" and "_" typed by the user still act as wildcards.
enum class Match { WholeText, Prefix };

// One of the two searches of a list: "SELECT * FROM <table> WHERE <column>
// LIKE(:pattern) ORDER BY <order>", the pattern bound as a parameter.
struct Search
{
    QString caption; // button caption
    QString column;
    QString order;
    Match match = Match::Prefix;
    QString emptyMessage;    // search field empty
    QString notFoundMessage; // nothing found
};

// What the dialogs browsing the same list share.
struct ListKind
{
    QString table;    // as written in the search statement
    QString keyField; // identifies the row the caller had current
    QString windowCaption;
    QString titleText;
    bool hasClose = true; // red "X" in the title band
    QSize size;           // fixed size of the dialog
    QList<GridColumn> columns;
    Search byCode;
    Search byName;
};

// One copied value: list column -> target (column of the edited record, or
// an entry name).
struct FieldCopy
{
    enum Kind { Code, Text };
    QString source;
    QString target;
    Kind kind = Text;
};

// One pick-list dialog.
struct Spec
{
    QString objectName;
    const ListKind *list = nullptr;
    TargetKind targetKind = TargetKind::Record;
    QList<FieldCopy> copies;
    bool focusSearchOnShow = false;
};

// The statement and the bound pattern of a search.
QString searchSql(const ListKind &list, const Search &search);
QString searchPattern(const Search &search, const QString &typed);

// Whether the target is of the kind the description names (and not empty).
bool targetFits(const Spec &spec, const Target &target);

// Copies the list's current row into the target as the description says (see the
// top of this file). Throws DbError when the record target cannot be edited.
void copyCurrentRow(const Spec &spec, const RecordSet *list, const Target &target);

} // namespace Pick

class PickListDialog : public QDialog
{
    Q_OBJECT
public:
    PickListDialog(const Pick::Spec &spec, RecordSet *list, Pick::Target target,
                   QWidget *parent = nullptr);
    // Gives the list back its owner's client-side order.
    ~PickListDialog() override;

    const Pick::Spec &spec() const { return m_spec; }
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
    void search(const Pick::Search &search);

    const Pick::Spec &m_spec;
    QPointer<RecordSet> m_list;
    Pick::Target m_target;
    QString m_ownerOrder;

    TitleBand *m_title;
    UpperEdit *m_search;
    DataGrid *m_grid;
    QPushButton *m_byCode;
    QPushButton *m_byName;
    QPushButton *m_ok;
    QPushButton *m_cancel;
};
