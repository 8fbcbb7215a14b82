#include "app/SupplierWindow.h"

namespace {
SupplierWindow *g_current = nullptr;
}

SupplierWindow *CurrentSupplierWindow()
{
    return g_current;
}

SupplierWindow *SetCurrentSupplierWindow(SupplierWindow *window)
{
    SupplierWindow *previous = g_current;
    g_current = window;
    return previous;
}
