#include "app/LedgerWindow.h"

#include <QList>

namespace {
// The open ledger windows, the newest last.
QList<LedgerWindow *> &openWindows()
{
    static QList<LedgerWindow *> windows;
    return windows;
}
} // namespace

LedgerWindow *LedgerWindow::current()
{
    return openWindows().isEmpty() ? nullptr : openWindows().last();
}

LedgerWindow::LedgerWindow()
{
    openWindows().append(this);
}

LedgerWindow::~LedgerWindow()
{
    openWindows().removeAll(this);
}
