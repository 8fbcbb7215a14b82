#pragma once
// The menu entries that open the summary screens, registered in the
// menu-action registry: in the payables maintenance screen's report menu
// entry 8 (cost-centre summary), 11 (month chart of one branch and supplier)
// and 12 (month chart of the company); in the ledger's "Relatórios" menu
// MenuActions::LedgerPaidSummary (the cost-centre summary).

namespace SummaryMenu {

enum HubEntry { CostCentreSummary = 8, MonthsByBranchSupplier = 11, Months = 12 };

void registerEntries();

} // namespace SummaryMenu
