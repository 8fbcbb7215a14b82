#pragma once
// The first worksheet of an Excel 97-2003 workbook (.xls, BIFF inside an
// OLE2 compound file), read with FreeXL, and the formula and boolean/error
// cells that FreeXL leaves out or misreads from the records (BiffCells). FreeXL tells dates from
// numbers by the cells' formats itself and gives them as ISO texts, which become dd/MM/yyyy
// [HH:mm:ss] here like every other date. A workbook protected by a password (FreeXL reports it
// obfuscated) is refused as encrypted; an OLE2 file without a workbook stream (a Word document,
// say) is not a workbook.

#include "workbook/TextGrid.h"

#include <QByteArray>

namespace XlsReader {

// bytes: the whole file, already read by the caller.
TextGrid read(const QString &path, const QByteArray &bytes, const QString &fileName);

} // namespace XlsReader
