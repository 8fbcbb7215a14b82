#pragma once
// Reads the first worksheet of a workbook file into a grid of texts, from A1
// to the last used cell (see TextGrid, and CellText for how each kind of
// value reads). Knows nothing of what the sheet means.
//
// The format is chosen by the file's content, not its name, so a workbook
// saved under the wrong extension still reads:
// - a zip container is an Office Open XML workbook (.xlsx) or an
//   OpenDocument spreadsheet (.ods), told apart by their parts;
// - an OLE2 compound file is an Excel 97-2003 workbook (.xls), or an
//   Office Open XML workbook encrypted with a password (its parts are then
//   "EncryptionInfo" and "EncryptedPackage"), which is refused as such;
// - text is read as CSV, unless the name claims a binary workbook (.xlsx,
//   .xlsm, .xls, .ods): a text file so named is an HTML page or a report
//   saved under the wrong name, and reading it as a CSV would hand on
//   rubbish, so it is refused as not a workbook;
// - anything else is not a workbook.
// Every failure raises WorkbookError with a Portuguese message for the
// clerk; a reading that fails gives nothing.

#include "workbook/TextGrid.h"
#include "workbook/WorkbookError.h"

#include <QString>

namespace Workbook {

enum class Format { Xlsx, Xls, Ods, Csv };

// Files above this size are refused as too large before they are read.
constexpr qint64 MaxFileBytes = 512LL * 1024 * 1024;

TextGrid read(const QString &path, Format *format = nullptr);

} // namespace Workbook
