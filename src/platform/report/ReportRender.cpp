#include "report/ReportRender.h"

#include <QFontMetricsF>
#include <QIODevice>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPrinter>

#include <algorithm>
#include <cmath>
#include <map>

namespace Report {

QPageLayout pageLayout(const PreparedReport &report)
{
    QPageSize size;
    switch (report.paper) {
    case Paper::Letter:
        size = QPageSize(QPageSize::Letter);
        break;
    case Paper::A4:
        size = QPageSize(QPageSize::A4);
        break;
    case Paper::A4Extra:
        size = QPageSize(QPageSize::A4Extra);
        break;
    }
    return QPageLayout(size,
                       report.orientation == Orientation::Landscape ? QPageLayout::Landscape
                                                                    : QPageLayout::Portrait,
                       QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}

namespace {

// Fonts and their metrics for one device, made once per painting run.
class DeviceFonts
{
public:
    DeviceFonts(const PreparedReport &report, QPaintDevice *device)
    {
        m_metrics.reserve(report.fonts.size());
        for (const QFont &f : report.fonts) {
            QFont df(f, device);
            m_fonts.push_back(df);
            m_metrics.emplace_back(df, device);
            m_maxWidth.push_back(m_metrics.back().maxWidth());
        }
    }
    const QFont &font(int i) const { return m_fonts[size_t(i)]; }
    const QFontMetricsF &metrics(int i) const { return m_metrics[size_t(i)]; }
    double maxWidth(int i) const { return m_maxWidth[size_t(i)]; }

private:
    std::vector<QFont> m_fonts;
    std::vector<QFontMetricsF> m_metrics;
    std::vector<double> m_maxWidth;
};

void paintItems(QPainter &p, const PreparedReport &report, const Page &page,
                const DeviceFonts &fonts)
{
    QPaintDevice *device = p.device();
    const double sx = device->logicalDpiX() / 25.4;
    const double sy = device->logicalDpiY() / 25.4;
    auto toDevice = [&](const QRectF &r) {
        return QRectF(r.left() * sx, r.top() * sy, r.width() * sx, r.height() * sy);
    };

    int currentFont = -1;
    QRgb currentColor = 0;
    bool penSet = false;
    for (const Item &it : page.items) {
        switch (it.kind) {
        case Item::Kind::Rect: {
            const QRectF r = toDevice(it.rect);
            if (qAlpha(it.fill) != 0)
                p.fillRect(r, QColor::fromRgba(it.fill));
            if (it.penWidth > 0) {
                p.setPen(QPen(QColor::fromRgba(it.color), it.penWidth * sx));
                p.setBrush(Qt::NoBrush);
                p.drawRect(r);
                penSet = false;
            }
            break;
        }
        case Item::Kind::Line:
            p.setPen(QPen(QColor::fromRgba(it.color), std::max(it.penWidth * sx, 1.0)));
            p.drawLine(QPointF(it.rect.left() * sx, it.rect.top() * sy),
                       QPointF(it.rect.right() * sx, it.rect.bottom() * sy));
            penSet = false;
            break;
        case Item::Kind::Text: {
            if (it.text.isEmpty())
                break;
            if (it.font != currentFont) {
                p.setFont(fonts.font(it.font));
                currentFont = it.font;
            }
            if (!penSet || it.color != currentColor) {
                p.setPen(QColor::fromRgba(it.color));
                currentColor = it.color;
                penSet = true;
            }
            const QRectF r = toDevice(it.rect);
            if (it.wrap) {
                p.drawText(r, int(it.alignment) | Qt::TextWordWrap, it.text);
                break;
            }
            // One line: place the baseline ourselves and draw at a point,
            // which is much cheaper than laying the text out in a rectangle.
            // The width is only measured when the alignment needs it or the
            // text may not fit; a text wider than its box is cut.
            const QFontMetricsF &fm = fonts.metrics(it.font);
            const Qt::Alignment a = Qt::Alignment(it.alignment);
            QString text = it.text;
            double width = -1;
            const bool surelyFits = text.size() * fonts.maxWidth(it.font) <= r.width();
            if (!surelyFits || !(a & Qt::AlignLeft)) {
                width = fm.horizontalAdvance(text);
                if (width > r.width() + 0.5) {
                    while (text.size() > 1 && width > r.width()) {
                        text.chop(1);
                        width = fm.horizontalAdvance(text);
                    }
                }
            }
            double x = r.left();
            if (a & Qt::AlignRight)
                x = r.right() - width;
            else if (a & Qt::AlignHCenter)
                x = r.left() + (r.width() - width) / 2;
            double baseline;
            if (a & Qt::AlignTop)
                baseline = r.top() + fm.ascent();
            else if (a & Qt::AlignBottom)
                baseline = r.bottom() - fm.descent();
            else
                baseline = r.top() + (r.height() - fm.ascent() - fm.descent()) / 2 + fm.ascent();
            p.drawText(QPointF(x, baseline), text);
            break;
        }
        }
    }
    (void)report;
}

} // namespace

void paintPage(QPainter &painter, const PreparedReport &report, int page)
{
    if (page < 0 || page >= report.pageCount())
        return;
    DeviceFonts fonts(report, painter.device());
    paintItems(painter, report, report.pages[size_t(page)], fonts);
}

QImage renderPage(const PreparedReport &report, int page, double dpi)
{
    const QSizeF mm = report.pageSize;
    QImage image(std::max(1, int(std::lround(mm.width() / 25.4 * dpi))),
                 std::max(1, int(std::lround(mm.height() / 25.4 * dpi))), QImage::Format_RGB32);
    image.setDotsPerMeterX(int(std::lround(dpi / 0.0254)));
    image.setDotsPerMeterY(int(std::lround(dpi / 0.0254)));
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    paintPage(p, report, page);
    return image;
}

bool paintAll(QPagedPaintDevice &device, const PreparedReport &report)
{
    QPainter p;
    if (!p.begin(&device))
        return false;
    DeviceFonts fonts(report, &device);
    for (int i = 0; i < report.pageCount(); ++i) {
        if (i > 0)
            device.newPage();
        paintItems(p, report, report.pages[size_t(i)], fonts);
    }
    return p.end();
}

bool print(const PreparedReport &report, QPrinter &printer)
{
    printer.setFullPage(true);
    printer.setPageLayout(pageLayout(report));
    if (printer.docName().isEmpty())
        printer.setDocName(report.title);
    return paintAll(printer, report);
}

QString plainText(const PreparedReport &report, bool formFeeds)
{
    // 17 characters to the inch (condensed print) keeps 8-point columns apart.
    constexpr double charWidth = 25.4 / 17;
    QString out;
    for (int pi = 0; pi < report.pageCount(); ++pi) {
        const Page &page = report.pages[size_t(pi)];
        // Lines are the distinct tops of the text items, to the half millimetre.
        std::map<int, std::vector<const Item *>> lines;
        double minX = 1e9;
        for (const Item &it : page.items) {
            if (it.kind != Item::Kind::Text || it.text.isEmpty())
                continue;
            lines[int(std::lround(it.rect.top() * 2))].push_back(&it);
            minX = std::min(minX, it.rect.left());
        }
        for (auto &[top, items] : lines) {
            (void)top;
            std::sort(items.begin(), items.end(),
                      [](const Item *a, const Item *b) { return a->rect.left() < b->rect.left(); });
            QString line;
            for (const Item *it : items) {
                QString text = it->text;
                text.replace(QLatin1Char('\n'), QLatin1Char(' '));
                text.replace(QLatin1Char('\r'), QLatin1Char(' '));
                const int left = int(std::lround((it->rect.left() - minX) / charWidth));
                const int width = std::max(1, int(std::lround(it->rect.width() / charWidth)));
                int col = left;
                if (it->alignment & Qt::AlignRight)
                    col = std::max(left, left + width - int(text.size()));
                else if (it->alignment & Qt::AlignHCenter)
                    col = std::max(left, left + (width - int(text.size())) / 2);
                if (!line.isEmpty() && col <= line.size())
                    col = int(line.size()) + 1;
                line += QString(col - line.size(), QLatin1Char(' '));
                line += text;
            }
            out += line;
            out += QLatin1Char('\n');
        }
        if (pi + 1 < report.pageCount())
            out += formFeeds ? QStringLiteral("\f") : QStringLiteral("\n");
    }
    if (formFeeds)
        out += QLatin1Char('\f');
    return out;
}

bool printDraft(const PreparedReport &report, QIODevice &device)
{
    QString text = plainText(report, true);
    text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    const QByteArray bytes = text.toLatin1();
    if (!device.isOpen() && !device.open(QIODevice::WriteOnly))
        return false;
    return device.write(bytes) == bytes.size();
}

} // namespace Report
