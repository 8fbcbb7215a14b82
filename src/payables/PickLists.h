#pragma once
// The pick lists: eleven small modal dialogs with which the user chooses a
// supplier, branch, cost centre, payment type, expense type or bank account
// instead of typing codes. They are one dialog (PickList) described by data:
// each member names the list kind it browses (captions, grid columns, the two
// searches and their messages) and where a confirmed row goes.
//
// The list belongs to the caller (PayablesLookups of the maintenance screen,
// the ledger screen's accounts). A search replaces the list's query text, so
// the narrowed list stays narrowed after the dialog closes, until another
// search or a re-query by its owner.
//
// Two kinds of target:
//   - a record being edited (RecordSet *): confirmation puts it into edit mode
//     (edit() when it is browsing; an insert stays an insert) and sets the
//     member's columns; nothing is posted. The owner sees the change through
//     the record set's stateChanged()/rowChanged() signals (the maintenance
//     screen shows its save bar then) and saves or cancels it itself.
//   - the entry fields of the new-payable screen (EntrySink): the sink is
//     called once per field with one of the names in namespace Entry below.
//
// Values copied: codes as numbers (int), descriptions as QString. A null
// cell, and every field when the list is empty or closed, gives 0 for a code
// and "" for a description.
//
// Calling it (maintenance screen, edit tab):
//     PickLists::run(PickLists::Member::FrmL_fornecedorPagar, lookups->tbfornecedor, tbPagar,
//     this);
// (new-payable screen):
//     PickLists::run(PickLists::Member::frmL_Fornecedor, lookups->tbfornecedor,
//                    PickLists::EntrySink([this](const QString &name, const QVariant &v) {
//                        setEntryField(name, v); }), this);

#include "db/RecordSetModel.h"

#include <QList>
#include <QSize>
#include <QString>
#include <QVariant>

#include <functional>
#include <variant>

class QWidget;
class RecordSet;

namespace PickLists {

// Names of the new-payable screen's entry fields that the pick lists fill.
namespace Entry {
inline const QString CodigoFornecedor = QStringLiteral("CodigoFornecedor"); // supplier code
inline const QString NomeFornecedor = QStringLiteral("NomeFornecedor");     // supplier name
inline const QString CodigoTipo = QStringLiteral("CodigoTipo");             // payment-type code
inline const QString DescTipo = QStringLiteral("DescTipo");                 // payment-type text
inline const QString CodigoGerencial = QStringLiteral("CodigoGerencial");   // cost-centre code
inline const QString DescGerencial = QStringLiteral("DescGerencial");       // cost-centre text
inline const QString CodigoFilial = QStringLiteral("CodigoFilial");         // branch code
inline const QString NomeFilial = QStringLiteral("NomeFilial");             // branch name
inline const QString CodigoDespesa = QStringLiteral("CodigoDespesa");       // expense-type code
inline const QString DescDespesa = QStringLiteral("DescDespesa");           // expense-type text
} // namespace Entry

// Receives one entry field of the new-payable screen.
using EntrySink = std::function<void(const QString &targetName, const QVariant &value)>;
// Where a confirmed row goes: the record being edited, or the entry fields.
using Target = std::variant<RecordSet *, EntrySink>;

enum class TargetKind { Record, Entry };

// Every member, named after its dialog.
enum class Member {
    frmL_Fornecedor,      // suppliers -> new-payable entry (with payment type and cost centre)
    FrmL_fornecedorPagar, // suppliers -> payable being edited
    FrmL_FilialPagar02,   // branches -> new-payable entry
    FrmL_filialPagar,     // branches -> payable being edited
    FrmL_CustoPagar01,    // cost centres -> new-payable entry
    FrmL_CustoPagar02,    // cost centres -> payable being edited
    FrmL_TipoDespesa,     // payment types -> new-payable entry
    FrmL_TipoPagamento,   // payment types -> payable being edited
    FrmL_DespesaPagar,    // expense types -> new-payable entry
    FrmL_DespesaPagar01,  // expense types -> payable being edited
    frmL_Conta,           // bank accounts -> ledger movement being edited
};

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

// What the members browsing the same list share.
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
// an Entry name).
struct FieldCopy
{
    enum Kind { Code, Text };
    QString source;
    QString target;
    Kind kind = Text;
};

struct MemberSpec
{
    Member member;
    QString objectName;
    const ListKind *list;
    TargetKind targetKind;
    QList<FieldCopy> copies;
    bool focusSearchOnShow = false;
};

const MemberSpec &spec(Member member);
const QList<MemberSpec> &members(); // all eleven, in the order of Member

// The statement and the bound pattern of a search.
QString searchSql(const ListKind &list, const Search &search);
QString searchPattern(const Search &search, const QString &typed);

// Copies the list's current row into the target as the member says (see the
// top of this file). Throws DbError when the record target cannot be edited.
void copyCurrentRow(const MemberSpec &member, const RecordSet *list, const Target &target);

// The calling protocol: opens the list if it is closed (an open list keeps
// its query and row; an error opening it is shown and the dialog still comes
// up, so a search can be tried), notes the list's current row by its key,
// shows the dialog modally through Modal::exec, moves the list back to the
// noted row after "Cancelar" or "X" (when that row is still in the list), runs
// TrimWorkingSet and destroys the dialog. True when "OK" confirmed a row.
// A target of the wrong kind for the member, or no list, shows nothing and
// gives false.
bool run(Member member, RecordSet *list, const Target &target, QWidget *parent = nullptr);

} // namespace PickLists
