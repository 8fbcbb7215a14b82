#include "reports/SummaryMenu.h"

#include "app/Helpers.h"
#include "app/MenuActions.h"
#include "reports/FrmResumoCentralCustoQuitado.h"
#include "reports/FrmResumoquitado.h"
#include "reports/FrmResumoquitadoPorFilialFornecedor.h"

namespace SummaryMenu {

void registerEntries()
{
    const auto summary = [](QWidget *parent) {
        RunScreen(new FrmResumoCentralCustoQuitado(parent));
    };
    MenuActions::set(MenuActions::PayablesReports, CostCentreSummary, summary);
    MenuActions::set(MenuActions::LedgerReports, MenuActions::LedgerPaidSummary, summary);
    MenuActions::set(MenuActions::PayablesReports, MonthsByBranchSupplier, [](QWidget *parent) {
        RunScreen(new FrmResumoquitadoPorFilialFornecedor(parent));
    });
    MenuActions::set(MenuActions::PayablesReports, Months,
                     [](QWidget *parent) { RunScreen(new FrmResumoquitado(parent)); });
}

} // namespace SummaryMenu
