#include "ledger/LedgerMenu.h"

#include "app/Helpers.h"
#include "app/MenuActions.h"
#include "ledger/FCaixa_Relatorio2_OP02.h"
#include "ledger/FrmImportaarquivobanco.h"

namespace LedgerMenu {

void registerEntries()
{
    MenuActions::set(MenuActions::LedgerReports, MenuActions::LedgerStatement,
                     [](QWidget *parent) { RunScreen(new FCaixa_Relatorio2_OP02(parent)); });
    MenuActions::set(MenuActions::LedgerReports, MenuActions::LedgerImport,
                     [](QWidget *parent) { RunScreen(new FrmImportaarquivobanco(parent)); });
}

} // namespace LedgerMenu
