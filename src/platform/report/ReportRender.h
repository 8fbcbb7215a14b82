#pragma once
// Drawing a prepared report: one painting routine serves the preview, the
// printer and PDF. Items are in millimetres; the painter's device resolution
// decides the scale, so fonts keep their point sizes on every device.

#include "report/PreparedReport.h"

#include <QImage>
#include <QPageLayout>
#include <QString>

class QPainter;
class QPagedPaintDevice;
class QPrinter;
class QIODevice;

namespace Report {

// Page size and orientation of the prepared report, with zero margins (the
// items already include the report's margins).
QPageLayout pageLayout(const PreparedReport &report);

// Paints one page (0-based) on the painter's device, from its top-left corner.
void paintPage(QPainter &painter, const PreparedReport &report, int page);

// The page as an image at the given resolution (dots per inch), white paper.
QImage renderPage(const PreparedReport &report, int page, double dpi);

// Paints every page on a paged device (printer or PDF writer) that is already
// set up for the report's paper; false when the painter could not start.
bool paintAll(QPagedPaintDevice &device, const PreparedReport &report);

// Prints on the printer as configured (page layout taken from the report).
bool print(const PreparedReport &report, QPrinter &printer);

// The pages as plain text on a character grid (fixed-pitch printing and the
// text export). With formFeeds the pages are separated by "\f", otherwise by
// a blank line.
QString plainText(const PreparedReport &report, bool formFeeds = false);

// Draft printing for a text-mode printer: the plain text, Latin-1, CR LF line
// ends and a form feed after each page, written to the device (a printer
// port, a spool pipe or a file).
bool printDraft(const PreparedReport &report, QIODevice &device);

} // namespace Report
