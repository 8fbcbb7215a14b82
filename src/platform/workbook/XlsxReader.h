#pragma once
// The first worksheet of an Office Open XML workbook (.xlsx, .xlsm): the
// package's relationships lead to the workbook part, the order of its
// <sheet> entries gives the first worksheet (chart sheets do not count) and
// the workbook's relationships give that sheet's part, whatever its file is
// called. Cell values: shared strings (with rich-text runs joined and
// phonetic runs left out), inline strings, formula strings, numbers,
// booleans, ISO dates, and numbers shown as dates through their style's
// number format (built-in ids and custom codes; 1900 and 1904 date
// systems). An error value stops the reading and names the cell. Formulas
// give their last computed value, as stored in the file.

#include "workbook/TextGrid.h"

class ZipArchive;

namespace XlsxReader {

// Whether the archive holds an Office Open XML package at all.
bool isPackage(const ZipArchive &zip);
TextGrid read(const ZipArchive &zip, const QString &fileName);

} // namespace XlsxReader
