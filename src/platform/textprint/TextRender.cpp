#include "textprint/TextRender.h"

#include "shell/RawPrinter.h"
#include "shell/SafeFile.h"

#include <QBuffer>
#include <QFontDatabase>
#include <QGlyphRun>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QRawFont>

#include <algorithm>
#include <cmath>

namespace TextPrint {

namespace {

constexpr double CharactersPerInch = 12;
constexpr double LinesPerInch = 6;
// Liberation Mono and DejaVu Sans Mono advance 0.6 em: at 10 points their
// letters fill the 1/12 inch of a column.
constexpr double PointSize = 10;
// Light green bands three lines (half an inch) deep, as on continuous forms.
constexpr int LinesPerBand = 3;
const QColor BandColor(0xdf, 0xf0, 0xdc);

bool fail(QString *error, const QString &message)
{
    if (error)
        *error = message;
    return false;
}

// Where the grid goes on one device, and the face sized for it.
struct Grid
{
    double left = 0;
    double top = 0;
    double charWidth = 0;
    double lineHeight = 0;
    QRawFont font;
};

Grid gridFor(const Document &document, QPaintDevice *device, const QRectF &paper,
             const QRectF &printable)
{
    Grid g;
    g.charWidth = device->logicalDpiX() / CharactersPerInch;
    g.lineHeight = device->logicalDpiY() / LinesPerInch;
    const double width = document.columnCount() * g.charWidth;
    const double height = document.lineCount() * g.lineHeight;
    const double scale = std::min({1.0, printable.width() / width, printable.height() / height});
    g.charWidth *= scale;
    g.lineHeight *= scale;
    const double w = width * scale;
    const double h = height * scale;
    g.left = std::clamp(paper.center().x() - w / 2, printable.left(), printable.right() - w);
    g.top = std::clamp(paper.center().y() - h / 2, printable.top(), printable.bottom() - h);

    QFont face(monospaceFamily());
    face.setStyleHint(QFont::TypeWriter);
    face.setFixedPitch(true);
    g.font = QRawFont::fromFont(face);
    g.font.setPixelSize(PointSize / 72 * device->logicalDpiY() * scale);
    return g;
}

void paintWith(QPainter &p, const Document &document, int page, const Grid &g, const QRectF &paper,
               bool bands)
{
    if (bands)
        for (int first = 0; first < document.lineCount(); first += 2 * LinesPerBand) {
            const int count = std::min(LinesPerBand, document.lineCount() - first);
            p.fillRect(QRectF(paper.left(), g.top + first * g.lineHeight, paper.width(),
                              count * g.lineHeight),
                       BandColor);
        }
    p.setPen(Qt::black);
    const QStringList lines = document.pageLines(page);
    const double ascent = g.font.ascent();
    const double offset = (g.lineHeight - ascent - g.font.descent()) / 2 + ascent;
    // Every glyph is placed on its column, whatever the face's own advance
    // and the hinting on this device: one character, one column.
    QList<QPointF> positions;
    for (int i = 0; i < lines.size(); ++i) {
        const QString &line = lines.at(i);
        if (line.isEmpty())
            continue;
        const QList<quint32> glyphs = g.font.glyphIndexesForString(line);
        positions.resize(glyphs.size());
        for (qsizetype c = 0; c < glyphs.size(); ++c)
            positions[c] = QPointF(c * g.charWidth, 0);
        QGlyphRun run;
        run.setRawFont(g.font);
        run.setGlyphIndexes(glyphs);
        run.setPositions(positions);
        p.drawGlyphRun(QPointF(g.left, g.top + i * g.lineHeight + offset), run);
    }
}

QRectF pixels(const QPageLayout &layout, QPaintDevice *device, bool printableOnly)
{
    QPageLayout l = layout;
    l.setMargins(l.minimumMargins());
    const int dpi = device->logicalDpiX();
    return printableOnly ? QRectF(l.paintRectPixels(dpi)) : QRectF(l.fullRectPixels(dpi));
}

} // namespace

QString monospaceFamily()
{
    static const QString family = [] {
        const QStringList installed = QFontDatabase::families();
        for (const QString &name :
             {QStringLiteral("Liberation Mono"), QStringLiteral("DejaVu Sans Mono")})
            if (installed.contains(name))
                return name;
        return QFontDatabase::systemFont(QFontDatabase::FixedFont).family();
    }();
    return family;
}

QPageLayout paperLayout()
{
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0),
                       QPageLayout::Millimeter);
}

void paintPage(QPainter &painter, const Document &document, int page, const QRectF &paper,
               const QRectF &printable, bool bands)
{
    const Grid g = gridFor(document, painter.device(), paper, printable);
    paintWith(painter, document, page, g, paper, bands);
}

QImage renderPage(const Document &document, int page, double dpi)
{
    // Millimetres: A4 in inches is rounded to two decimals.
    const QSizeF inches = paperLayout().fullRect(QPageLayout::Millimeter).size() / 25.4;
    QImage image(std::max(1, int(std::lround(inches.width() * dpi))),
                 std::max(1, int(std::lround(inches.height() * dpi))), QImage::Format_RGB32);
    image.setDotsPerMeterX(int(std::lround(dpi / 0.0254)));
    image.setDotsPerMeterY(int(std::lround(dpi / 0.0254)));
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const QRectF paper(QPointF(0, 0), QSizeF(image.size()));
    paintPage(p, document, page, paper, paper, true);
    return image;
}

bool print(const Document &document, QPrinter &printer)
{
    printer.setFullPage(true);
    int first = 1;
    int last = document.pageCount();
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        first = std::max(first, printer.fromPage());
        last = std::min(last, printer.toPage() > 0 ? printer.toPage() : last);
    }
    if (first > last)
        return true; // nothing of the document in the range chosen
    QPainter p;
    if (!p.begin(&printer))
        return false;
    const QRectF paper = pixels(printer.pageLayout(), &printer, false);
    const QRectF printable = pixels(printer.pageLayout(), &printer, true);
    const Grid g = gridFor(document, &printer, paper, printable);
    for (int page = first; page <= last; ++page) {
        if (page > first)
            printer.newPage();
        paintWith(p, document, page, g, paper, false);
    }
    return p.end();
}

bool writePdf(const Document &document, const QString &path, QString *error)
{
    // The PDF writer does not report a failed write of its device, so the
    // file is made in memory and written out by SafeFile, which checks every
    // byte.
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    bool painted = false;
    {
        QPdfWriter pdf(&buffer);
        pdf.setResolution(1200);
        pdf.setTitle(QStringLiteral("Relatório"));
        pdf.setCreator(QStringLiteral("Visualizar Relatório"));
        pdf.setPageLayout(paperLayout());
        QPainter p;
        if (p.begin(&pdf)) {
            const QRectF paper = pixels(pdf.pageLayout(), &pdf, false);
            const Grid g = gridFor(document, &pdf, paper, paper);
            for (int page = 1; page <= document.pageCount(); ++page) {
                if (page > 1)
                    pdf.newPage();
                paintWith(p, document, page, g, paper, false);
            }
            painted = p.end();
        }
    }
    if (!painted)
        return fail(error, QStringLiteral("Não foi possível gerar o PDF de \"%1\".").arg(path));
    return SafeFile::write(path, buffer.data(), error);
}

bool writeText(const Document &document, const QString &path, QString *error)
{
    return document.save(path, error);
}

QByteArray draftBytes(const Document &document)
{
    QString out;
    for (int page = 1; page <= document.pageCount(); ++page) {
        QStringList lines = document.pageLines(page);
        while (!lines.isEmpty() && lines.last().isEmpty())
            lines.removeLast();
        out += lines.join(QLatin1String("\r\n"));
        out += QLatin1String("\r\f");
    }
    return out.toLatin1();
}

bool printDraft(const Document &document)
{
    const QByteArray bytes = draftBytes(document);
    return RawPrinter::print([&bytes](QIODevice &device) {
        if (!device.isOpen() && !device.open(QIODevice::WriteOnly))
            return false;
        return device.write(bytes) == bytes.size();
    });
}

} // namespace TextPrint
