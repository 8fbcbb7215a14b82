#pragma once
// The registry of menu actions: the folders that provide what a menu entry
// opens register it here (the reports register the entries of the payables
// maintenance screen's report menus), and the window that carries the menu
// runs what stands under its entry. Neither side knows the other, so a
// window's menu never makes its folder depend on the folders whose screens
// it opens.
//
// An entry is named by its menu (one of the names below) and its number in
// that menu. Registering an entry again replaces it; an entry nobody
// registered does nothing.

#include <QString>

#include <functional>

class QWidget;

namespace MenuActions {

// What an entry opens; parent is the window that carries the menu.
using Action = std::function<void(QWidget *parent)>;

// The report menu of the payables maintenance screen (entries 1..23 of its
// "Relatório" button, 101 and up for its "&Relatorios" menu).
inline const QString PayablesReports = QStringLiteral("pagar.relatorios");
// The "Relatórios" menu of the checking-account ledger: 1 "Período" (the
// printed statement), 2 the paid summary by cost centre, 3 "&Importar
// Extrato" (the statement import).
inline const QString LedgerReports = QStringLiteral("contacorrente.relatorios");
enum LedgerEntry { LedgerStatement = 1, LedgerPaidSummary = 2, LedgerImport = 3 };

void set(const QString &menu, int entry, Action action);
bool has(const QString &menu, int entry);
// Runs the entry's action; false when nothing is registered under it.
bool run(const QString &menu, int entry, QWidget *parent);

} // namespace MenuActions
