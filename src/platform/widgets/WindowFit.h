#pragma once
// Every window of the program meets the screen through here. The sizes the
// screens were designed with are kept where the screen holds them; where it
// does not, the window takes the available work area of its screen (never
// more, its frame included), stays fully on it, and its layout gives the
// difference to the part that can scroll (the lists). A window whose fixed
// or minimum size is larger than the work area gives that size up rather
// than reach beyond an edge. Modal::exec() fits every modal window; a window
// shown otherwise calls fit() (or showModeless()) before show(). A window
// manager may add its frame only once the window is on the screen: the first
// time a fitted window is shown it is checked again and, if its frame
// reaches beyond the work area, fitted once more.
//
// A window opened from a modal one (a preview, a chart) must take clicks and
// keys: the modal chain blocks every window that is not inside it. Such a
// window stays non-modal and without a parent of its own choosing, and the
// topmost modal window becomes its owner for the window system (its
// transient parent), which puts it inside the chain. When that owner closes,
// the window survives it: the modal window below (or, when none runs any
// more, the owner's own owner) becomes its owner, so it keeps working while
// the clerk goes on with the screen under it.

#include <QWidget>

namespace WindowFit {

// Resizes and moves window (a top-level widget) for the screen it is on or
// will appear on (its parent's, when it has one). Its current size is the
// size wanted (its size hint when it was never resized).
void fit(QWidget *window);

// The main window: the whole work area of its screen.
void fill(QWidget *window);

// The owner for a non-modal window opened now: the active modal window, or
// nullptr when none runs.
QWidget *ownerForModeless();

// Shows a non-modal top-level window owned as above, fitted, raised and
// active. The window is deleted when closed.
void showModeless(QWidget *window);

} // namespace WindowFit
