#include "report/ReportExport.h"

#include "report/ReportRender.h"
#include "shell/SafeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPdfWriter>

#include <xlsxwriter.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <map>

namespace Report {

namespace {

bool fail(QString *error, const QString &message)
{
    if (error)
        *error = message;
    return false;
}

bool folderExists(const QString &path, QString *error)
{
    const QFileInfo fi(path);
    if (!fi.absoluteDir().exists())
        return fail(
            error,
            QStringLiteral("A pasta \"%1\" não existe.").arg(fi.absoluteDir().absolutePath()));
    return true;
}

// Every write checked: a full disk is an error, never a shorter file.
bool writeBytes(const QString &path, const QByteArray &bytes, QString *error)
{
    if (!folderExists(path, error))
        return false;
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return fail(error, QStringLiteral("Não foi possível gravar \"%1\": %2.")
                               .arg(path, SafeFile::reason(errno)));
    errno = 0;
    if (f.write(bytes) != bytes.size() || !f.flush()) {
        const int err = errno;
        return fail(
            error,
            QStringLiteral("Não foi possível gravar \"%1\": %2.").arg(path, SafeFile::reason(err)));
    }
    return true;
}

QString colorName(QRgb c)
{
    return QColor::fromRgba(c).name(QColor::HexRgb);
}

QString mm(double v)
{
    return QString::number(v, 'f', 2) + QStringLiteral("mm");
}

QString cssFont(const QFont &f)
{
    QString s = QStringLiteral("font-family:'%1',Arial,sans-serif;font-size:%2pt;")
                    .arg(f.family().toHtmlEscaped())
                    .arg(f.pointSizeF() > 0 ? f.pointSizeF() : 8);
    if (f.bold())
        s += QStringLiteral("font-weight:bold;");
    if (f.italic())
        s += QStringLiteral("font-style:italic;");
    return s;
}

QString cssAlign(uint16_t alignment)
{
    if (alignment & Qt::AlignRight)
        return QStringLiteral("text-align:right;");
    if (alignment & Qt::AlignHCenter)
        return QStringLiteral("text-align:center;");
    return QString();
}

QString htmlText(const QString &t)
{
    QString s = t.toHtmlEscaped();
    s.replace(QLatin1Char('\n'), QLatin1String("<br>"));
    return s;
}

// Positioned items of one page as HTML; classes name the fonts when
// fontClasses is set, otherwise every item carries its own inline style.
void htmlPage(QString &out, const PreparedReport &r, const Page &page, bool fontClasses)
{
    for (const Item &it : page.items) {
        const QString box =
            QStringLiteral("left:%1;top:%2;width:%3;height:%4;")
                .arg(mm(it.rect.left()), mm(it.rect.top()), mm(std::max(0.0, it.rect.width())),
                     mm(std::max(0.0, it.rect.height())));
        switch (it.kind) {
        case Item::Kind::Text: {
            if (it.text.isEmpty())
                break;
            QString style = box;
            if (!fontClasses)
                style += cssFont(r.fonts[it.font]);
            style += cssAlign(it.alignment);
            if (it.color != 0xff000000)
                style += QStringLiteral("color:%1;").arg(colorName(it.color));
            if (!it.wrap)
                style += QStringLiteral("white-space:nowrap;");
            out +=
                fontClasses
                    ? QStringLiteral("<div class=\"t f%1\" style=\"%2\">").arg(it.font).arg(style)
                    : QStringLiteral("<div style=\"position:absolute;overflow:"
                                     "hidden;%1\">")
                          .arg(style);
            out += htmlText(it.text);
            out += QLatin1String("</div>\n");
            break;
        }
        case Item::Kind::Line: {
            const bool vertical = it.rect.width() == 0;
            const QString style =
                vertical
                    ? QStringLiteral("left:%1;top:%2;width:0;height:%3;border-left:%4 solid %5;")
                          .arg(mm(it.rect.left()), mm(it.rect.top()), mm(it.rect.height()),
                               mm(std::max(0.1f, it.penWidth)), colorName(it.color))
                    : QStringLiteral("left:%1;top:%2;width:%3;height:0;border-top:%4 solid %5;")
                          .arg(mm(it.rect.left()), mm(it.rect.top()), mm(it.rect.width()),
                               mm(std::max(0.1f, it.penWidth)), colorName(it.color));
            out += QStringLiteral("<div style=\"position:absolute;%1\"></div>\n").arg(style);
            break;
        }
        case Item::Kind::Rect: {
            QString style = box;
            if (qAlpha(it.fill))
                style += QStringLiteral("background:%1;").arg(colorName(it.fill));
            if (it.penWidth > 0)
                style +=
                    QStringLiteral("border:%1 solid %2;").arg(mm(it.penWidth), colorName(it.color));
            out += QStringLiteral("<div style=\"position:absolute;%1\"></div>\n").arg(style);
            break;
        }
        }
    }
}

QString htmlHead(const PreparedReport &r)
{
    return QStringLiteral("<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n"
                          "<title>%1</title>\n")
        .arg(r.title.toHtmlEscaped());
}

// ---- RTF ----

QString rtfEscape(const QString &t)
{
    QString out;
    out.reserve(t.size());
    for (QChar ch : t) {
        const ushort u = ch.unicode();
        if (u == '\\' || u == '{' || u == '}') {
            out += QLatin1Char('\\');
            out += ch;
        } else if (u == '\n') {
            out += QLatin1String("\\line ");
        } else if (u == '\t') {
            out += QLatin1String("\\tab ");
        } else if (u < 0x80) {
            out += ch;
        } else {
            out += QStringLiteral("\\u%1?").arg(int(short(u)));
        }
    }
    return out;
}

int twips(double millimetres)
{
    return int(std::lround(millimetres * 1440 / 25.4));
}

// ---- spreadsheet helpers ----

QString xmlEscape(const QString &t)
{
    QString s = t.toHtmlEscaped();
    s.replace(QLatin1Char('\n'), QLatin1String("&#10;"));
    return s;
}

QString sheetName(const PreparedReport &r)
{
    QString name = r.title.isEmpty() ? QStringLiteral("Relatório") : r.title;
    for (const char *bad : {"[", "]", ":", "*", "?", "/", "\\"})
        name.replace(QLatin1String(bad), QLatin1String(" "));
    return name.left(31).trimmed();
}

} // namespace

// ------------------------------------------------------------------ PDF

bool writePdf(const PreparedReport &report, const QString &path, QString *error)
{
    if (!folderExists(path, error))
        return false;
    // Painted into a file we own, so that a failed write is seen.
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return fail(error, QStringLiteral("Não foi possível gravar \"%1\": %2.")
                               .arg(path, SafeFile::reason(errno)));
    bool painted = false;
    errno = 0;
    {
        QPdfWriter pdf(&file);
        pdf.setResolution(1200);
        pdf.setTitle(report.title);
        pdf.setCreator(QStringLiteral("Gerador de Relatórios"));
        pdf.setPageLayout(pageLayout(report));
        painted = paintAll(pdf, report);
    }
    // What the writer left in the file's buffer reaches the disk here; the
    // reason of a failure is read after it.
    const bool flushed = file.flush();
    const int err = errno;
    if (!painted || file.error() != QFileDevice::NoError || !flushed)
        return fail(error, QStringLiteral("Não foi possível gravar \"%1\": %2.")
                               .arg(path, SafeFile::reason(err ? err : EIO)));
    return true;
}

// ------------------------------------------------------------------ CSV

QString csvText(const PreparedReport &report)
{
    QString out;
    for (const TableRow &row : report.table) {
        for (size_t c = 0; c < row.cells.size(); ++c) {
            if (c > 0)
                out += QLatin1Char(',');
            const Cell &cell = row.cells[c];
            QString t = cell.text;
            // A text that a spreadsheet would take for a formula ("=HYPERLINK(…)",
            // "+1", "@SUM", a leading tab) is kept as text with a leading
            // apostrophe. Amounts are numbers and stay as they are: "-80,00".
            static const QString formulaStart = QStringLiteral("=+-@\t\r");
            if (!cell.isNumber && !t.isEmpty() && formulaStart.contains(t.at(0)))
                t.prepend(QLatin1Char('\''));
            if (t.contains(QLatin1Char('"')) || t.contains(QLatin1Char(',')) ||
                t.contains(QLatin1Char('\n')) || t.contains(QLatin1Char('\r'))) {
                QString q = t;
                q.replace(QLatin1String("\""), QLatin1String("\"\""));
                out += QLatin1Char('"') + q + QLatin1Char('"');
            } else {
                out += t;
            }
        }
        out += QLatin1String("\r\n");
    }
    return out;
}

bool writeCsv(const PreparedReport &report, const QString &path, QString *error)
{
    return writeBytes(path, csvText(report).toUtf8(), error);
}

// ------------------------------------------------------------------ text

bool writeText(const PreparedReport &report, const QString &path, QString *error)
{
    return writeBytes(path, plainText(report, false).toUtf8(), error);
}

// ------------------------------------------------------------------ HTML

bool writeHtml(const PreparedReport &report, const QString &path, QString *error)
{
    // Every page in one document, one after the other, no navigation links.
    QString out = htmlHead(report);
    out += QLatin1String("</head>\n<body style=\"background:#ffffff\">\n");
    for (int p = 0; p < report.pageCount(); ++p) {
        out += QStringLiteral("<div style=\"position:relative;width:%1;height:%2;\">\n")
                   .arg(mm(report.pageSize.width()), mm(report.pageSize.height()));
        htmlPage(out, report, report.pages[size_t(p)], false);
        out += QLatin1String("</div>\n");
        if (p + 1 < report.pageCount())
            out += QLatin1String("<hr>\n");
    }
    out += QLatin1String("</body>\n</html>\n");
    return writeBytes(path, out.toUtf8(), error);
}

bool writeWebPage(const PreparedReport &report, const QString &path, QString *error)
{
    QString out = htmlHead(report);
    out += QLatin1String("<style type=\"text/css\">\n"
                         "body { background: #808080; margin: 0; }\n"
                         ".page { position: relative; background: #ffffff; margin: 5mm auto; "
                         "overflow: hidden; page-break-after: always; }\n"
                         ".t { position: absolute; overflow: hidden; }\n");
    for (size_t i = 0; i < report.fonts.size(); ++i)
        out += QStringLiteral(".f%1 { %2 }\n").arg(i).arg(cssFont(report.fonts[i]));
    out += QLatin1String("</style>\n</head>\n<body>\n");
    for (int p = 0; p < report.pageCount(); ++p) {
        out += QStringLiteral("<div class=\"page\" id=\"p%1\" style=\"width:%2;height:%3;\">\n")
                   .arg(p + 1)
                   .arg(mm(report.pageSize.width()), mm(report.pageSize.height()));
        htmlPage(out, report, report.pages[size_t(p)], true);
        out += QLatin1String("</div>\n");
    }
    out += QLatin1String("</body>\n</html>\n");
    return writeBytes(path, out.toUtf8(), error);
}

// ------------------------------------------------------------------ RTF

bool writeRtf(const PreparedReport &report, const QString &path, QString *error)
{
    QString out = QStringLiteral("{\\rtf1\\ansi\\ansicpg1252\\deff0\n{\\fonttbl");
    std::map<QString, int> families;
    for (const QFont &f : report.fonts)
        if (!families.count(f.family())) {
            const int n = int(families.size());
            families[f.family()] = n;
            out += QStringLiteral("{\\f%1\\fswiss %2;}").arg(n).arg(rtfEscape(f.family()));
        }
    out += QLatin1String("}\n{\\colortbl;");
    std::map<QRgb, int> colors;
    for (const Page &page : report.pages)
        for (const Item &it : page.items)
            if (it.kind == Item::Kind::Text && !colors.count(it.color)) {
                const int n = int(colors.size()) + 1;
                colors[it.color] = n;
                out += QStringLiteral("\\red%1\\green%2\\blue%3;")
                           .arg(qRed(it.color))
                           .arg(qGreen(it.color))
                           .arg(qBlue(it.color));
            }
    out += QLatin1String("}\n");
    const QSizeF size = report.pageSize;
    double minX = size.width(), minY = size.height();
    for (const Page &page : report.pages)
        for (const Item &it : page.items)
            if (it.kind == Item::Kind::Text) {
                minX = std::min(minX, it.rect.left());
                minY = std::min(minY, it.rect.top());
            }
    out += QStringLiteral("\\paperw%1\\paperh%2\\margl%3\\margr%3\\margt%4\\margb%4%5\n")
               .arg(twips(size.width()))
               .arg(twips(size.height()))
               .arg(twips(minX))
               .arg(twips(std::min(minY, 10.0)))
               .arg(report.orientation == Orientation::Landscape ? QStringLiteral("\\landscape")
                                                                 : QString());
    for (int p = 0; p < report.pageCount(); ++p) {
        if (p > 0)
            out += QLatin1String("\\page\n");
        std::map<int, std::vector<const Item *>> lines;
        for (const Item &it : report.pages[size_t(p)].items)
            if (it.kind == Item::Kind::Text && !it.text.isEmpty())
                lines[int(std::lround(it.rect.top() * 2))].push_back(&it);
        for (auto &[top, items] : lines) {
            (void)top;
            std::sort(items.begin(), items.end(),
                      [](const Item *a, const Item *b) { return a->rect.left() < b->rect.left(); });
            // One paragraph per line, a tab stop per item: left, right or
            // centred as the item is aligned.
            struct Stop
            {
                int pos;
                char kind;
                const Item *item;
            };
            std::vector<Stop> stops;
            for (const Item *it : items) {
                const double left = it->rect.left() - minX;
                if (it->alignment & Qt::AlignRight)
                    stops.push_back({twips(left + it->rect.width()), 'r', it});
                else if (it->alignment & Qt::AlignHCenter)
                    stops.push_back({twips(left + it->rect.width() / 2), 'c', it});
                else
                    stops.push_back({twips(left), 'l', it});
            }
            std::stable_sort(stops.begin(), stops.end(),
                             [](const Stop &a, const Stop &b) { return a.pos < b.pos; });
            out += QLatin1String("\\pard\\plain");
            for (const Stop &s : stops) {
                if (s.kind == 'r')
                    out += QLatin1String("\\tqr");
                else if (s.kind == 'c')
                    out += QLatin1String("\\tqc");
                out += QStringLiteral("\\tx%1").arg(std::max(1, s.pos));
            }
            out += QLatin1Char(' ');
            for (const Stop &s : stops) {
                const QFont &f = report.fonts[s.item->font];
                out += QStringLiteral("\\tab{\\f%1\\fs%2\\cf%3%4%5 %6}")
                           .arg(families[f.family()])
                           .arg(int(std::lround((f.pointSizeF() > 0 ? f.pointSizeF() : 8) * 2)))
                           .arg(colors[s.item->color])
                           .arg(f.bold() ? QStringLiteral("\\b") : QString())
                           .arg(f.italic() ? QStringLiteral("\\i") : QString())
                           .arg(rtfEscape(s.item->text));
            }
            out += QLatin1String("\\par\n");
        }
    }
    out += QLatin1String("}\n");
    return writeBytes(path, out.toLatin1(), error);
}

// ------------------------------------------------------------------ XML spreadsheet

bool writeXmlSpreadsheet(const PreparedReport &report, const QString &path, QString *error)
{
    std::map<QString, QString> styles; // mask -> style id
    for (const TableRow &row : report.table)
        for (const Cell &c : row.cells)
            if (c.isNumber && !c.mask.isEmpty() && !styles.count(c.mask))
                styles[c.mask] = QStringLiteral("n%1").arg(styles.size());
    QString out =
        QStringLiteral(
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            "<?mso-application progid=\"Excel.Sheet\"?>\n"
            "<Workbook xmlns=\"urn:schemas-microsoft-com:office:spreadsheet\"\n"
            " xmlns:o=\"urn:schemas-microsoft-com:office:office\"\n"
            " xmlns:x=\"urn:schemas-microsoft-com:office:excel\"\n"
            " xmlns:ss=\"urn:schemas-microsoft-com:office:spreadsheet\">\n"
            " <DocumentProperties xmlns=\"urn:schemas-microsoft-com:office:office\">\n"
            "  <Title>%1</Title>\n </DocumentProperties>\n <Styles>\n"
            "  <Style ss:ID=\"Default\" ss:Name=\"Normal\"><Font ss:FontName=\"Arial\"/></Style>\n"
            "  <Style ss:ID=\"h\"><Font ss:FontName=\"Arial\" ss:Bold=\"1\"/></Style>\n")
            .arg(xmlEscape(report.title));
    for (const auto &[mask, id] : styles)
        out += QStringLiteral("  <Style ss:ID=\"%1\"><NumberFormat ss:Format=\"%2\"/></Style>\n")
                   .arg(id, xmlEscape(mask));
    out += QStringLiteral(" </Styles>\n <Worksheet ss:Name=\"%1\">\n  <Table>\n")
               .arg(xmlEscape(sheetName(report)));
    for (const TableRow &row : report.table) {
        out += QLatin1String("   <Row>");
        bool skipped = false;
        for (size_t c = 0; c < row.cells.size(); ++c) {
            const Cell &cell = row.cells[c];
            if (cell.text.isEmpty()) {
                skipped = true;
                continue;
            }
            out += QLatin1String("<Cell");
            if (skipped)
                out += QStringLiteral(" ss:Index=\"%1\"").arg(c + 1);
            skipped = false;
            if (cell.isNumber) {
                if (styles.count(cell.mask))
                    out += QStringLiteral(" ss:StyleID=\"%1\"").arg(styles[cell.mask]);
                out += QStringLiteral("><Data ss:Type=\"Number\">%1</Data></Cell>")
                           .arg(QString::number(cell.number, 'g', 15));
            } else {
                if (row.kind == TableRow::Kind::ColumnHeader)
                    out += QLatin1String(" ss:StyleID=\"h\"");
                out += QStringLiteral("><Data ss:Type=\"String\">%1</Data></Cell>")
                           .arg(xmlEscape(cell.text));
            }
        }
        out += QLatin1String("</Row>\n");
    }
    out += QLatin1String("  </Table>\n </Worksheet>\n</Workbook>\n");
    return writeBytes(path, out.toUtf8(), error);
}

// ------------------------------------------------------------------ XLSX

bool writeXlsx(const PreparedReport &report, const QString &path, QString *error)
{
    if (!folderExists(path, error))
        return false;
    const QByteArray file = QFile::encodeName(path);
    lxw_workbook *wb = workbook_new(file.constData());
    if (!wb)
        return fail(error, QStringLiteral("Não foi possível criar \"%1\".").arg(path));
    const QByteArray name = sheetName(report).toUtf8();
    lxw_worksheet *ws = workbook_add_worksheet(wb, name.constData());
    lxw_format *bold = workbook_add_format(wb);
    format_set_bold(bold);
    std::map<QString, lxw_format *> numberFormats;
    for (size_t r = 0; r < report.table.size(); ++r) {
        const TableRow &row = report.table[r];
        for (size_t c = 0; c < row.cells.size(); ++c) {
            const Cell &cell = row.cells[c];
            if (cell.text.isEmpty())
                continue;
            if (cell.isNumber) {
                lxw_format *fmt = nullptr;
                if (!cell.mask.isEmpty()) {
                    auto found = numberFormats.find(cell.mask);
                    if (found == numberFormats.end()) {
                        fmt = workbook_add_format(wb);
                        format_set_num_format(fmt, cell.mask.toUtf8().constData());
                        numberFormats[cell.mask] = fmt;
                    } else {
                        fmt = found->second;
                    }
                }
                worksheet_write_number(ws, lxw_row_t(r), lxw_col_t(c), cell.number, fmt);
            } else {
                worksheet_write_string(ws, lxw_row_t(r), lxw_col_t(c),
                                       cell.text.toUtf8().constData(),
                                       row.kind == TableRow::Kind::ColumnHeader ? bold : nullptr);
            }
        }
    }
    errno = 0;
    const lxw_error rc = workbook_close(wb);
    if (rc != LXW_NO_ERROR) {
        const int err = errno;
        return fail(error, QStringLiteral("Não foi possível gravar \"%1\": %2.")
                               .arg(path, err ? SafeFile::reason(err)
                                              : QString::fromUtf8(lxw_strerror(rc))));
    }
    return true;
}

// ------------------------------------------------------------------ registry

const std::vector<ExportFormat> &exportFormats()
{
    static const std::vector<ExportFormat> formats = {
        {QStringLiteral("Documento PDF"), QStringLiteral("pdf"), writePdf},
        {QStringLiteral("PDF"), QStringLiteral("pdf"), writePdf},
        {QStringLiteral("Planilha Excel 97-2013"), QStringLiteral("xls"), writeXls},
        {QStringLiteral("Planilha Excel"), QStringLiteral("xlsx"), writeXlsx},
        {QStringLiteral("Planilha XML do Excel"), QStringLiteral("xml"), writeXmlSpreadsheet},
        {QStringLiteral("Página da Web"), QStringLiteral("htm"), writeWebPage},
        {QStringLiteral("HTML"), QStringLiteral("html"), writeHtml},
        {QStringLiteral("Formato RichText"), QStringLiteral("rtf"), writeRtf},
        {QStringLiteral("Texto"), QStringLiteral("txt"), writeText},
        {QStringLiteral("CSV (separado por vírgulas)"), QStringLiteral("csv"), writeCsv},
    };
    return formats;
}

QString exportFilter()
{
    QStringList parts;
    for (const ExportFormat &f : exportFormats())
        parts << QStringLiteral("%1 (*.%2)").arg(f.name, f.extension);
    return parts.join(QLatin1String(";;"));
}

const ExportFormat *formatForPath(const QString &path)
{
    const QString ext = QFileInfo(path).suffix().toLower();
    for (const ExportFormat &f : exportFormats())
        if (f.extension == ext)
            return &f;
    return nullptr;
}

bool exportTo(const PreparedReport &report, const QString &path, QString *error)
{
    const ExportFormat *f = formatForPath(path);
    if (!f)
        return fail(error, QStringLiteral("Formato de arquivo desconhecido: \"%1\".")
                               .arg(QFileInfo(path).suffix()));
    // The format's writer fills a temporary file beside the target, which
    // replaces the target only once it is complete.
    return SafeFile::writeThrough(
        path, [&](const QString &temp, QString *why) { return f->write(report, temp, why); },
        error);
}

} // namespace Report
