#pragma once
// Putting a text document (TextDocument.h) on paper: one painting routine
// serves the preview, the printer and PDF, so what is exported is what was
// previewed. The grid is laid out in a monospace face at 12 characters per
// inch and 6 lines per inch (95 columns x 66 lines make 7.9 x 11 inches, a
// portrait page of continuous forms), centred on the paper; on paper whose
// printable area is smaller the whole grid shrinks evenly, so no line or
// column is ever cut off. The preview alone paints the alternating bands of
// continuous form paper behind the text.
//
// Draft printing sends the pages to a text-mode printer as they are: Latin-1,
// CR LF between lines, and after each page's last written line a CR and a
// form feed, so the next page starts at the top of the next form and a page
// whose last line is the form's last one does not leave a blank form behind.

#include "textprint/TextDocument.h"

#include <QByteArray>
#include <QImage>
#include <QPageLayout>
#include <QRectF>
#include <QString>

class QPainter;
class QPrinter;

namespace TextPrint {

// The face of the grid, named so that its metrics do not change with what
// else is installed: "Liberation Mono", else "DejaVu Sans Mono", else the
// system's fixed-pitch face.
QString monospaceFamily();

// Paper of the preview and of PDF: A4 portrait, no margins (the grid is
// centred on it).
QPageLayout paperLayout();

// Paints one page (1-based) on the painter's device. paper is the whole sheet
// and printable the part the device can print on, both in device pixels.
void paintPage(QPainter &painter, const Document &document, int page, const QRectF &paper,
               const QRectF &printable, bool bands = false);

// The page on white paper (paperLayout()) at the given resolution, with the
// bands of continuous forms: what the preview shows.
QImage renderPage(const Document &document, int page, double dpi);

// Prints on the printer as configured, honouring its page range; false when
// the printer could not start.
bool print(const Document &document, QPrinter &printer);

// Writes the pages as PDF (paperLayout()) or as plain text (the document's
// plain-text form) as a whole or not at all: on any failure an existing file
// stays as it was and *error says why in Portuguese.
bool writePdf(const Document &document, const QString &path, QString *error = nullptr);
bool writeText(const Document &document, const QString &path, QString *error = nullptr);

// The bytes of draft printing, and sending them to the text-mode printer
// (RawPrinter: "lp -o raw" or the device named in CP_IMPRESSORA_TEXTO), which
// says itself what went wrong.
QByteArray draftBytes(const Document &document);
bool printDraft(const Document &document);

} // namespace TextPrint
