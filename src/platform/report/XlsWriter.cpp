// The Excel 97-2013 export: a BIFF8 workbook stream inside an OLE2 compound
// file (written by libgsf). One worksheet per 65,536 rows of the flat table;
// texts go to the shared string table, numbers keep their mask as the cell's
// number format.

// glib before Qt: its headers use names that Qt defines as macros.
#include <gsf/gsf-outfile-msole.h>
#include <gsf/gsf-outfile.h>
#include <gsf/gsf-output-stdio.h>
#include <gsf/gsf-utils.h>

#include "report/ReportExport.h"
#include "shell/SafeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <cerrno>
#include <cstring>
#include <map>

namespace Report {

namespace {

class Biff
{
public:
    QByteArray data;

    void u8(int v) { data.append(char(v & 0xff)); }
    void u16(int v)
    {
        u8(v);
        u8(v >> 8);
    }
    void u32(quint32 v)
    {
        u16(int(v & 0xffff));
        u16(int(v >> 16));
    }
    void f64(double v)
    {
        char b[8];
        std::memcpy(b, &v, 8); // little-endian hosts only, as every target here
        data.append(b, 8);
    }
    void utf16(const QString &s)
    {
        for (QChar c : s)
            u16(c.unicode());
    }
    // Starts a record; end() fills in its length.
    void begin(int type)
    {
        u16(type);
        m_lengthAt = int(data.size());
        u16(0);
    }
    void end()
    {
        const int len = int(data.size()) - m_lengthAt - 2;
        data[m_lengthAt] = char(len & 0xff);
        data[m_lengthAt + 1] = char((len >> 8) & 0xff);
    }
    int recordLength() const { return int(data.size()) - m_lengthAt - 2; }

private:
    int m_lengthAt = 0;
};

constexpr int kMaxRecord = 8224;
constexpr int kMaxRows = 65536;
constexpr int kMaxCols = 256;
constexpr int kMaxChars = 32767;

void bof(Biff &b, int type)
{
    b.begin(0x0809);
    b.u16(0x0600);
    b.u16(type);
    b.u16(0x0DBB);
    b.u16(0x07CC);
    b.u32(0);
    b.u32(0x06);
    b.end();
}

void eof(Biff &b)
{
    b.begin(0x000A);
    b.end();
}

void font(Biff &b, bool bold)
{
    b.begin(0x0031);
    b.u16(200); // 10 points, in twentieths
    b.u16(0);
    b.u16(0x7FFF);
    b.u16(bold ? 700 : 400);
    b.u16(0);
    b.u8(0);
    b.u8(0);
    b.u8(0);
    b.u8(0);
    const QString name = QStringLiteral("Arial");
    b.u8(int(name.size()));
    b.u8(1);
    b.utf16(name);
    b.end();
}

void xf(Biff &b, int fontIndex, int formatIndex, bool style)
{
    b.begin(0x00E0);
    b.u16(fontIndex);
    b.u16(formatIndex);
    b.u16(style ? 0xFFF5 : 0x0001);
    b.u8(0x20);
    b.u8(0);
    b.u8(0);
    b.u8(style ? 0 : (formatIndex ? 0xFC : 0xF8)); // attributes this cell XF sets
    b.u32(0);
    b.u32(0);
    b.u16(0x20C0);
    b.end();
}

// Built-in number formats that need no FORMAT record.
int builtinFormat(const QString &mask)
{
    if (mask == QLatin1String("0"))
        return 1;
    if (mask == QLatin1String("0.00"))
        return 2;
    if (mask == QLatin1String("#,##0"))
        return 3;
    if (mask == QLatin1String("#,##0.00"))
        return 4;
    return -1;
}

struct SheetCell
{
    int row, col, xf;
    bool number;
    double value;
    quint32 sst;
};

} // namespace

bool writeXls(const PreparedReport &report, const QString &path, QString *error)
{
    auto failed = [&](const QString &message) {
        if (error)
            *error = message;
        return false;
    };
    if (!QFileInfo(path).absoluteDir().exists())
        return failed(QStringLiteral("A pasta \"%1\" não existe.")
                          .arg(QFileInfo(path).absoluteDir().absolutePath()));

    // Shared strings and number formats.
    QHash<QString, quint32> sstIndex;
    std::vector<QString> strings;
    quint32 sstTotal = 0;
    std::map<QString, int> formats; // mask -> format index
    int nextCustom = 164;
    for (const TableRow &row : report.table)
        for (const Cell &c : row.cells) {
            if (c.text.isEmpty())
                continue;
            if (c.isNumber) {
                if (!c.mask.isEmpty() && !formats.count(c.mask)) {
                    const int builtin = builtinFormat(c.mask);
                    formats[c.mask] = builtin >= 0 ? builtin : nextCustom++;
                }
                continue;
            }
            ++sstTotal;
            const QString text = c.text.left(kMaxChars);
            if (!sstIndex.contains(text)) {
                sstIndex.insert(text, quint32(strings.size()));
                strings.push_back(text);
            }
        }
    // XF 0-14 styles, 15 plain cell, 16 bold cell, then one per number format.
    std::map<QString, int> formatXf;
    int nextXf = 17;
    for (const auto &[mask, index] : formats) {
        (void)index;
        formatXf[mask] = nextXf++;
    }

    // Worksheets first, to know their sizes.
    const int columns = std::min(report.columnCount, kMaxCols);
    const int rows = int(report.table.size());
    const int sheetCount = std::max(1, (rows + kMaxRows - 1) / kMaxRows);
    std::vector<QByteArray> sheets;
    for (int s = 0; s < sheetCount; ++s) {
        Biff b;
        bof(b, 0x0010);
        const int first = s * kMaxRows;
        const int last = std::min(rows, first + kMaxRows); // exclusive
        b.begin(0x0200);
        b.u32(0);
        b.u32(quint32(last - first));
        b.u16(0);
        b.u16(columns);
        b.u16(0);
        b.end();
        b.begin(0x023E);
        b.u16(s == 0 ? 0x06B6 : 0x02B6);
        b.u16(0);
        b.u16(0);
        b.u32(64);
        b.u16(0);
        b.u16(0);
        b.u32(0);
        b.end();
        for (int r = first; r < last; ++r) {
            const TableRow &row = report.table[size_t(r)];
            for (int c = 0; c < columns; ++c) {
                const Cell &cell = row.cells[size_t(c)];
                if (cell.text.isEmpty())
                    continue;
                if (cell.isNumber) {
                    b.begin(0x0203);
                    b.u16(r - first);
                    b.u16(c);
                    b.u16(cell.mask.isEmpty() ? 15 : formatXf[cell.mask]);
                    b.f64(cell.number);
                    b.end();
                } else {
                    b.begin(0x00FD);
                    b.u16(r - first);
                    b.u16(c);
                    b.u16(row.kind == TableRow::Kind::ColumnHeader ? 16 : 15);
                    b.u32(sstIndex.value(cell.text.left(kMaxChars)));
                    b.end();
                }
            }
        }
        eof(b);
        sheets.push_back(b.data);
    }

    // Workbook globals.
    Biff g;
    bof(g, 0x0005);
    g.begin(0x0042); // CODEPAGE: UTF-16
    g.u16(1200);
    g.end();
    g.begin(0x003D); // WINDOW1
    g.u16(0);
    g.u16(0);
    g.u16(0x3000);
    g.u16(0x2000);
    g.u16(0x0038);
    g.u16(0);
    g.u16(0);
    g.u16(1);
    g.u16(0x0258);
    g.end();
    for (int i = 0; i < 4; ++i)
        font(g, false);
    font(g, true); // index 5 (BIFF skips index 4)
    for (const auto &[mask, index] : formats) {
        if (index < 164)
            continue;
        g.begin(0x041E);
        g.u16(index);
        g.u16(int(mask.size()));
        g.u8(1);
        g.utf16(mask);
        g.end();
    }
    for (int i = 0; i < 15; ++i)
        xf(g, 0, 0, true);
    xf(g, 0, 0, false);
    xf(g, 5, 0, false);
    for (const auto &[mask, index] : formats)
        xf(g, 0, index, false);
    g.begin(0x0293); // STYLE: Normal
    g.u16(0x8000);
    g.u8(0);
    g.u8(0xFF);
    g.end();
    std::vector<int> sheetPosAt;
    QString baseName = report.title.isEmpty() ? QStringLiteral("Relatorio") : report.title;
    for (const char *bad : {"[", "]", ":", "*", "?", "/", "\\"})
        baseName.replace(QLatin1String(bad), QLatin1String(" "));
    for (int s = 0; s < sheetCount; ++s) {
        QString name = baseName.left(sheetCount > 1 ? 26 : 31).trimmed();
        if (name.isEmpty())
            name = QStringLiteral("Relatorio");
        if (sheetCount > 1)
            name += QStringLiteral(" %1").arg(s + 1);
        g.begin(0x0085);
        sheetPosAt.push_back(int(g.data.size()));
        g.u32(0);
        g.u8(0);
        g.u8(0);
        g.u8(int(name.size()));
        g.u8(1);
        g.utf16(name);
        g.end();
    }
    // SST, split into CONTINUE records the way Excel does: a string's header
    // stays whole, its characters may continue in the next record after a
    // repeated flags byte.
    g.begin(0x00FC);
    g.u32(sstTotal);
    g.u32(quint32(strings.size()));
    for (const QString &s : strings) {
        if (kMaxRecord - g.recordLength() < 5) {
            g.end();
            g.begin(0x003C);
        }
        g.u16(int(s.size()));
        g.u8(1);
        qsizetype done = 0;
        while (done < s.size()) {
            const qsizetype room = (kMaxRecord - g.recordLength()) / 2;
            const qsizetype n = std::min(room, s.size() - done);
            g.utf16(s.mid(done, n));
            done += n;
            if (done < s.size()) {
                g.end();
                g.begin(0x003C);
                g.u8(1);
            }
        }
    }
    g.end();
    eof(g);

    quint32 offset = quint32(g.data.size());
    for (int s = 0; s < sheetCount; ++s) {
        const int at = sheetPosAt[size_t(s)];
        for (int i = 0; i < 4; ++i)
            g.data[at + i] = char((offset >> (8 * i)) & 0xff);
        offset += quint32(sheets[size_t(s)].size());
    }
    QByteArray stream = g.data;
    for (const QByteArray &s : sheets)
        stream += s;
    // Streams under 4 KiB would go to the compound file's mini stream, which
    // some readers handle poorly; padding after the last EOF is ignored.
    if (stream.size() < 4096)
        stream.append(QByteArray(4096 - stream.size(), '\0'));

    static const bool initialised = [] {
        gsf_init();
        return true;
    }();
    (void)initialised;
    GError *err = nullptr;
    const QByteArray file = QFile::encodeName(path);
    GsfOutput *out = gsf_output_stdio_new(file.constData(), &err);
    if (!out) {
        const QString message = QString::fromUtf8(err ? err->message : "erro");
        if (err)
            g_error_free(err);
        return failed(message);
    }
    GsfOutfile *ole = gsf_outfile_msole_new(out);
    g_object_unref(out);
    GsfOutput *workbook = gsf_outfile_new_child(ole, "Workbook", FALSE);
    errno = 0;
    bool ok = gsf_output_write(workbook, size_t(stream.size()),
                               reinterpret_cast<const guint8 *>(stream.constData()));
    int writeErr = errno;
    ok = gsf_output_close(workbook) && ok;
    g_object_unref(workbook);
    if (!writeErr)
        writeErr = errno;
    ok = gsf_output_close(GSF_OUTPUT(ole)) && ok;
    if (!writeErr)
        writeErr = errno;
    g_object_unref(ole);
    if (!ok)
        return failed(QStringLiteral("Não foi possível gravar \"%1\": %2.")
                          .arg(path, SafeFile::reason(writeErr ? writeErr : EIO)));
    return true;
}

} // namespace Report
