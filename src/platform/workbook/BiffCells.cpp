// glib before Qt: its headers use names that Qt defines as macros.
#include <gsf/gsf-infile-msole.h>
#include <gsf/gsf-infile.h>
#include <gsf/gsf-input-memory.h>
#include <gsf/gsf-input.h>

#include "workbook/BiffCells.h"

#include "workbook/CellText.h"
#include "workbook/TextDecoding.h"
#include "workbook/WorkbookError.h"

#include <QHash>

#include <cstring>

namespace BiffCells {

namespace {

constexpr int BofRecord = 0x0809;
constexpr int EofRecord = 0x000A;
constexpr int ContinueRecord = 0x003C;
constexpr int BoundSheetRecord = 0x0085;
constexpr int DateModeRecord = 0x0022;
constexpr int FormatRecord = 0x041E;
constexpr int XfRecord = 0x00E0;
constexpr int FormulaRecord = 0x0006;
constexpr int StringRecord = 0x0207;
constexpr int BoolErrRecord = 0x0205;

QByteArray workbookStream(const QByteArray &file)
{
    QByteArray stream;
    GsfInput *input = gsf_input_memory_new(reinterpret_cast<const guint8 *>(file.constData()),
                                           gsf_off_t(file.size()), FALSE);
    if (!input)
        return stream;
    GsfInfile *ole = gsf_infile_msole_new(input, nullptr);
    if (ole) {
        GsfInput *book = gsf_infile_child_by_name(ole, "Workbook");
        if (!book)
            book = gsf_infile_child_by_name(ole, "Book");
        if (book) {
            const gsf_off_t size = gsf_input_size(book);
            stream.resize(qsizetype(size));
            if (size > 0 &&
                !gsf_input_read(book, size_t(size), reinterpret_cast<guint8 *>(stream.data())))
                stream.clear();
            g_object_unref(book);
        }
        g_object_unref(ole);
    }
    g_object_unref(input);
    return stream;
}

struct Record
{
    int type = 0;
    QByteArray data;               // with the data of the CONTINUE records that follow
    std::vector<qsizetype> pieces; // where each CONTINUE's data begins
};

class Records
{
public:
    Records(const QByteArray &stream, const QString &fileName) : m_s(stream), m_file(fileName) {}
    void seek(qsizetype at) { m_at = at; }
    bool next(Record *r)
    {
        if (m_at + 4 > m_s.size())
            return false;
        r->type = u16(m_at);
        r->data = take();
        r->pieces.clear();
        while (m_at + 4 <= m_s.size() && u16(m_at) == ContinueRecord) {
            r->pieces.push_back(r->data.size());
            r->data += take();
        }
        return true;
    }

private:
    int u16(qsizetype at) const { return quint8(m_s[at]) | (quint8(m_s[at + 1]) << 8); }
    QByteArray take()
    {
        const int length = u16(m_at + 2);
        if (m_at + 4 + length > m_s.size())
            throw WorkbookError::damaged(m_file);
        QByteArray d = m_s.mid(m_at + 4, length);
        m_at += 4 + length;
        return d;
    }
    const QByteArray &m_s;
    QString m_file;
    qsizetype m_at = 0;
};

int u8(const QByteArray &d, qsizetype at)
{
    return at >= 0 && at < d.size() ? quint8(d[at]) : 0;
}

int u16(const QByteArray &d, qsizetype at)
{
    return at + 2 <= d.size() ? quint8(d[at]) | (quint8(d[at + 1]) << 8) : 0;
}

quint32 u32(const QByteArray &d, qsizetype at)
{
    return at + 4 <= d.size() ? quint32(u16(d, at)) | (quint32(u16(d, at + 2)) << 16) : 0;
}

// A BIFF8 unicode string: a character count, a flags byte (bit 0: two bytes
// a character; bit 3: rich text runs; bit 2: phonetic data), the characters.
// A string split by CONTINUE records starts each piece with a new flags byte.
QString unicodeString(const Record &r, qsizetype at, int countBytes, bool biff8)
{
    const QByteArray &d = r.data;
    const int count = countBytes == 1 ? u8(d, at) : u16(d, at);
    at += countBytes;
    if (!biff8)
        return TextDecoding::fromWindows1252(d.mid(at, count));
    int flags = u8(d, at++);
    if (flags & 0x08)
        at += 2;
    if (flags & 0x04)
        at += 4;
    QString text;
    size_t piece = 0;
    while (piece < r.pieces.size() && r.pieces[piece] < at)
        ++piece;
    while (text.size() < count && at < d.size()) {
        if (piece < r.pieces.size() && r.pieces[piece] == at) {
            flags = quint8(d[at++]); // the characters go on in a CONTINUE record
            ++piece;
            continue;
        }
        if (flags & 0x01) {
            text += QChar(char16_t(u16(d, at)));
            at += 2;
        } else {
            text += QChar(quint8(d[at]));
            ++at;
        }
    }
    return text;
}

QString errorName(int code)
{
    switch (code) {
    case 0x00:
        return CellText::errorValue(u"#NULL!");
    case 0x07:
        return CellText::errorValue(u"#DIV/0!");
    case 0x0F:
        return CellText::errorValue(u"#VALUE!");
    case 0x17:
        return CellText::errorValue(u"#REF!");
    case 0x1D:
        return CellText::errorValue(u"#NAME?");
    case 0x24:
        return CellText::errorValue(u"#NUM!");
    case 0x2A:
        return CellText::errorValue(u"#N/A");
    default:
        return CellText::errorValue(u"#GETTING_DATA");
    }
}

} // namespace

std::vector<Cell> read(const QByteArray &file, const QString &sheetName, const QString &fileName)
{
    std::vector<Cell> cells;
    const QByteArray stream = workbookStream(file);
    if (stream.isEmpty())
        return cells;

    Records records(stream, fileName);
    Record r;
    bool biff8 = true;
    bool date1904 = false;
    QHash<int, CellText::NumberKind> formats;
    std::vector<int> xfFormats;
    qint64 sheetAt = -1;
    qint64 firstSheetAt = -1;
    bool first = true;
    while (records.next(&r)) {
        if (first) {
            first = false;
            if (r.type == BofRecord)
                biff8 = u16(r.data, 0) == 0x0600;
            continue;
        }
        if (r.type == EofRecord)
            break;
        if (r.type == DateModeRecord) {
            date1904 = u16(r.data, 0) == 1;
        } else if (r.type == FormatRecord) {
            const int id = u16(r.data, 0);
            formats.insert(id, CellText::formatCodeKind(unicodeString(r, 2, biff8 ? 2 : 1, biff8)));
        } else if (r.type == XfRecord) {
            xfFormats.push_back(u16(r.data, 2));
        } else if (r.type == BoundSheetRecord) {
            const bool worksheet = u8(r.data, 5) == 0;
            const QString name = unicodeString(r, 6, 1, biff8);
            if (worksheet && firstSheetAt < 0)
                firstSheetAt = u32(r.data, 0);
            if (worksheet && sheetAt < 0 && name == sheetName)
                sheetAt = u32(r.data, 0);
        }
    }
    if (sheetAt < 0)
        sheetAt = firstSheetAt;
    if (sheetAt < 0 || sheetAt >= stream.size())
        return cells;

    // Settled once every FORMAT record is known, whatever their order.
    auto kindOf = [&](int xf) {
        if (xf < 0 || size_t(xf) >= xfFormats.size())
            return CellText::NumberKind::Number;
        const int id = xfFormats[size_t(xf)];
        return formats.contains(id) ? formats.value(id) : CellText::builtinFormatKind(id);
    };

    records.seek(sheetAt);
    first = true;
    int pendingRow = -1, pendingColumn = -1; // a formula whose text follows in STRING
    while (records.next(&r)) {
        if (first) {
            first = false;
            continue; // the sheet's BOF
        }
        if (r.type == EofRecord || r.type == BofRecord)
            break;
        if (r.type == FormulaRecord && r.data.size() >= 14) {
            const int row = u16(r.data, 0), column = u16(r.data, 2), xf = u16(r.data, 4);
            if (u16(r.data, 12) == 0xFFFF) {
                switch (quint8(r.data[6])) {
                case 0:
                    pendingRow = row;
                    pendingColumn = column;
                    break;
                case 1:
                    cells.push_back({row, column, CellText::boolean(quint8(r.data[8]) != 0)});
                    break;
                case 2:
                    cells.push_back({row, column, errorName(quint8(r.data[8])), true});
                    break;
                default:
                    break; // an empty text
                }
            } else {
                double value;
                std::memcpy(&value, r.data.constData() + 6, 8); // little-endian, as BIFF
                const CellText::NumberKind kind = kindOf(xf);
                cells.push_back({row, column,
                                 kind == CellText::NumberKind::Number
                                     ? CellText::number(value)
                                     : CellText::serialDate(value, kind, date1904)});
            }
        } else if (r.type == StringRecord && pendingRow >= 0) {
            cells.push_back({pendingRow, pendingColumn, unicodeString(r, 0, 2, biff8)});
            pendingRow = pendingColumn = -1;
        } else if (r.type == BoolErrRecord && r.data.size() >= 8) {
            const int row = u16(r.data, 0), column = u16(r.data, 2);
            const int value = quint8(r.data[6]);
            if (r.data[7])
                cells.push_back({row, column, errorName(value), true});
            else
                cells.push_back({row, column, CellText::boolean(value != 0)});
        }
    }
    return cells;
}

} // namespace BiffCells
