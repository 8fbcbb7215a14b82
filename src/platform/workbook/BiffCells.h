#pragma once
// The cells of an Excel 97-2003 worksheet that FreeXL does not deliver,
// read from the BIFF records themselves: formula cells (FreeXL skips them,
// so a computed balance would vanish) with their last computed value —
// number, date by the cell's format, text, boolean or error — and
// boolean/error cells (which FreeXL gives as the bare numbers 1, 0 or the
// error's code). The workbook stream is taken from the OLE2 container with
// libgsf; BIFF8 (Excel 97 and later) is read in full, and in older BIFF5
// files texts are read as Windows-1252.

#include <QByteArray>
#include <QString>

#include <vector>

namespace BiffCells {

struct Cell
{
    int row = 0;
    int column = 0;
    QString text;
    bool error = false; // text is then the error's name (#N/D, ...)
};

// sheetName picks the worksheet (the name FreeXL reports for its first
// sheet). Raises WorkbookError::damaged for records that run past the
// stream; a missing stream or sheet gives no cells.
std::vector<Cell> read(const QByteArray &file, const QString &sheetName, const QString &fileName);

} // namespace BiffCells
