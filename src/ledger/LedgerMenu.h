#pragma once
// What the ledger folder puts under the entries of the ledger's "Relatórios"
// menu (MenuActions::LedgerReports): "Período", the printed statement
// (FCaixa_Relatorio2_OP02), and "&Importar Extrato", the bank statement
// import (FrmImportaarquivobanco). Each entry runs its window modally over the
// ledger window, trims the memory and destroys it.

namespace LedgerMenu {

// Registers the entries; registering again replaces them.
void registerEntries();

} // namespace LedgerMenu
