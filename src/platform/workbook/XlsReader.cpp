#include "workbook/XlsReader.h"

#include "workbook/BiffCells.h"
#include "workbook/CellText.h"
#include "workbook/GridBuilder.h"
#include "workbook/WorkbookError.h"

#include <QDateTime>
#include <QFile>

#include <freexl.h>

namespace XlsReader {

namespace {

class Handle
{
public:
    ~Handle()
    {
        if (h)
            freexl_close(h);
    }
    const void *h = nullptr;
};

QString isoText(const char *text, int type)
{
    const QString t = QString::fromLatin1(text);
    if (type == FREEXL_CELL_TIME) {
        const QTime time = QTime::fromString(t, QStringLiteral("HH:mm:ss"));
        return time.isValid() ? CellText::timeOfDay(time) : t;
    }
    if (type == FREEXL_CELL_DATETIME) {
        const QDateTime dt = QDateTime::fromString(t, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        return dt.isValid() ? CellText::dateTime(dt.date(), dt.time()) : t;
    }
    const QDate date = QDate::fromString(t, QStringLiteral("yyyy-MM-dd"));
    return date.isValid() ? CellText::dateTime(date) : t;
}

} // namespace

TextGrid read(const QString &path, const QByteArray &bytes, const QString &fileName)
{
    Handle file;
    const int rc = freexl_open(QFile::encodeName(path).constData(), &file.h);
    if (rc != FREEXL_OK) {
        if (rc == FREEXL_BIFF_WORKBOOK_NOT_FOUND)
            throw WorkbookError::notWorkbook(fileName);
        if (rc == FREEXL_INSUFFICIENT_MEMORY)
            throw WorkbookError::tooLarge(fileName);
        throw WorkbookError::damaged(fileName);
    }
    unsigned int info = 0;
    if (freexl_get_info(file.h, FREEXL_BIFF_PASSWORD, &info) == FREEXL_OK &&
        info == FREEXL_BIFF_OBFUSCATED)
        throw WorkbookError::encrypted(fileName);
    unsigned int sheets = 0;
    if (freexl_get_info(file.h, FREEXL_BIFF_SHEET_COUNT, &sheets) != FREEXL_OK || sheets == 0)
        throw WorkbookError::noWorksheet(fileName);
    unsigned int rows = 0;
    unsigned short columns = 0;
    if (freexl_select_active_worksheet(file.h, 0) != FREEXL_OK ||
        freexl_worksheet_dimensions(file.h, &rows, &columns) != FREEXL_OK)
        throw WorkbookError::damaged(fileName);

    GridBuilder grid(fileName);
    for (unsigned int r = 0; r < rows; ++r) {
        for (unsigned short c = 0; c < columns; ++c) {
            FreeXL_CellValue v;
            if (freexl_get_cell_value(file.h, r, c, &v) != FREEXL_OK)
                throw WorkbookError::damaged(fileName);
            QString text;
            switch (v.type) {
            case FREEXL_CELL_INT:
                text = CellText::number(v.value.int_value);
                break;
            case FREEXL_CELL_DOUBLE:
                text = CellText::number(v.value.double_value);
                break;
            case FREEXL_CELL_TEXT:
            case FREEXL_CELL_SST_TEXT:
                text = QString::fromUtf8(v.value.text_value);
                break;
            case FREEXL_CELL_DATE:
            case FREEXL_CELL_DATETIME:
            case FREEXL_CELL_TIME:
                text = isoText(v.value.text_value, v.type);
                break;
            default:
                break;
            }
            grid.add(int(r), int(c), text);
        }
    }

    const char *name = nullptr;
    freexl_get_worksheet_name(file.h, 0, &name);
    std::vector<BiffCells::Cell> more =
        BiffCells::read(bytes, name ? QString::fromUtf8(name) : QString(), fileName);
    const BiffCells::Cell *firstError = nullptr;
    for (const BiffCells::Cell &c : more)
        if (c.error && (!firstError || std::pair(c.row, c.column) <
                                           std::pair(firstError->row, firstError->column)))
            firstError = &c;
    if (firstError)
        throw WorkbookError::errorValue(CellText::cellName(firstError->row, firstError->column),
                                        firstError->text);
    for (BiffCells::Cell &c : more)
        grid.add(c.row, c.column, c.text);
    return grid.take();
}

} // namespace XlsReader
