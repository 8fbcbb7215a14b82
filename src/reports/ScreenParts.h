#pragma once
// Pieces the work-table report screens (annual movement, netting, payment
// summaries) build alike: their title band, their period pickers and the
// controls that keep their room while hidden, so the window does not jump
// when a fill shows or hides them.

#include <tuple>
#include <utility>

class DateEdit;
class QString;
class QWidget;
class TitleBand;

namespace ScreenParts {

// The screen's title band: the caption bold, 16 pixels high.
TitleBand *band(const QString &caption, QWidget *parent);
// The period pickers "DataI" and "DataF", both on today.
std::pair<DateEdit *, DateEdit *> period(QWidget *parent);
// Keeps the widget's room in its layout while it is hidden.
void keepRoomWhenHidden(QWidget *widget);

} // namespace ScreenParts
