#pragma once
// Every window of the program meets the screen through here. The sizes the
// screens were designed with are kept where the screen holds them; where it
// does not, the window takes the available work area of its screen (never
// more), stays fully on it, and its layout gives the difference to the part
// that can scroll (the lists). Modal::exec() fits every modal window; a
// window shown otherwise calls fit() before show().
//
// A window opened from a modal one (a preview, a chart) must take clicks: the
// modal chain blocks every window outside it, so such a window gets the
// topmost modal window as its owner (ownerForModeless()) and stays non-modal.

#include <QWidget>

namespace WindowFit {

// Resizes and moves window (a top-level widget) for the screen it is on or
// will appear on. Its current size is the size wanted.
void fit(QWidget *window);

// The owner for a non-modal window opened now: the active modal window, so
// that the modal chain does not block it, or nullptr when none runs.
QWidget *ownerForModeless();

// Shows a non-modal top-level window: owner as above, fitted, raised. The
// window keeps its own flags (Qt::Window) and is deleted when closed.
void showModeless(QWidget *window);

} // namespace WindowFit
