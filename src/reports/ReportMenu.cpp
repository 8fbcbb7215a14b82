// The entries of the payables maintenance screen's report menus that open the
// open- and paid-payables reports: an option dialog, or the period dialog and
// then the report. Registered in the menu-action registry, which the
// maintenance screen reads.

#include "app/MenuActions.h"
#include "reports/FrmEncontro.h"
#include "reports/FrmMovimentacaoAnualPagar.h"
#include "reports/FrmResumoPagamentos.h"
#include "reports/FrmResumoPagamnetoAbertoQuitado.h"
#include "reports/OPFilialAberto1.h"
#include "reports/ReportDialogs.h"
#include "reports/Reports.h"
#include "reports/SummaryMenu.h"

namespace {

struct HubEntry
{
    int number;       // position in the report menu; 101 and up: "&Relatorios"
    QString dialog;   // option dialog opened, or
    QString report;   // report run through the period dialog
    bool trim = true; // memory trim when the dialog closes
};

const HubEntry kEntries[] = {
    {1, "OpFilialVenc", {}},
    {4, "OPPagarIndFornecedor", {}},
    {5, "OPFilialAbertoQ", {}},
    {6, {}, "RptPagarcentralCusto"},
    {7, {}, "RptPagarGeralFornecedor"},
    {21, "OPPagarIndFilialQuitado", {}},
    {23, {}, "RptPagarNegociadas"},
    {101, "OPFilialAberto", {}, false},
    {102, "OPFilialAbertoQ", {}},
};

} // namespace

void Reports::registerHubEntries()
{
    // Entry 2 prints or e-mails the open payables of a branch.
    MenuActions::set(MenuActions::PayablesReports, 2,
                     [](QWidget *parent) { OPFilialAberto1::run(parent); });
    // The screens that fill a work table of their own and print from it.
    MenuActions::set(MenuActions::PayablesReports, 9,
                     [](QWidget *parent) { FrmEncontro::run(parent); });
    MenuActions::set(MenuActions::PayablesReports, 14,
                     [](QWidget *parent) { FrmResumoPagamentos::run(parent); });
    MenuActions::set(MenuActions::PayablesReports, 15,
                     [](QWidget *parent) { FrmMovimentacaoAnualPagar::run(parent); });
    MenuActions::set(MenuActions::PayablesReports, 17,
                     [](QWidget *parent) { FrmResumoPagamnetoAbertoQuitado::run(parent); });
    for (const HubEntry &e : kEntries) {
        if (!e.dialog.isEmpty())
            MenuActions::set(MenuActions::PayablesReports, e.number, [e](QWidget *parent) {
                OptionDialog::runMember(e.dialog, parent, e.trim);
            });
        else
            MenuActions::set(MenuActions::PayablesReports, e.number,
                             [e](QWidget *) { frmGeral::runReport(e.report); });
    }
    SummaryMenu::registerEntries();
}
