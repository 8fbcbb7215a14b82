#pragma once
// The pick lists: eleven small modal dialogs with which the user chooses a
// supplier, branch, cost centre, payment type, expense type or bank account
// instead of typing codes. They are one dialog (PickListDialog, whose header
// tells how a list is narrowed and where a confirmed row goes) described by
// data: each member names the list kind it browses (captions, grid columns,
// the two searches and their messages) and where a confirmed row goes.
//
// The list belongs to the caller (PayablesLookups of the maintenance screen,
// the ledger screen's accounts). The record targets are the payable being
// edited on the maintenance screen and the ledger movement being edited; the
// entry targets are the new-payable screen's fields, named in namespace
// Entry below.
//
// Calling it (maintenance screen, edit tab):
//     PickLists::run(PickLists::Member::FrmL_fornecedorPagar, lookups->tbfornecedor, tbPagar,
//     this);
// (new-payable screen):
//     PickLists::run(PickLists::Member::frmL_Fornecedor, lookups->tbfornecedor,
//                    PickLists::EntrySink([this](const QString &name, const QVariant &v) {
//                        setEntryField(name, v); }), this);

#include "widgets/PickListDialog.h"

#include <QList>
#include <QString>
#include <QVariant>

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

// The generic pieces, under the names the callers use.
using Pick::EntrySink;
using Pick::FieldCopy;
using Pick::ListKind;
using Pick::Match;
using Pick::Search;
using Pick::Target;
using Pick::TargetKind;

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

// One member: its dialog and which member it is.
struct MemberSpec : Pick::Spec
{
    Member member;
};

const MemberSpec &spec(Member member);
const QList<MemberSpec> &members(); // all eleven, in the order of Member

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
