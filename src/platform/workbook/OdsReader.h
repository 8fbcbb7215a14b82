#pragma once
// The first sheet of an OpenDocument spreadsheet (.ods): the first
// <table:table> of content.xml. Repeated rows and columns are expanded only
// where they carry a value (an empty tail repeated a million times costs
// nothing); covered cells of a merge take their place as empty cells. The
// value comes from office:value-type: numbers (float, percentage,
// currency) from office:value, dates from office:date-value, times from
// office:time-value, booleans from office:boolean-value, strings from the
// cell's paragraphs (joined by line breaks, with their spaces, tabs and line
// breaks). A formula whose result is an error stops the reading and names
// the cell. Comments attached to a cell are not its text.

#include "workbook/TextGrid.h"

class ZipArchive;

namespace OdsReader {

// Whether the archive is an OpenDocument package, and whether a spreadsheet.
bool isPackage(const ZipArchive &zip);
bool isSpreadsheet(const ZipArchive &zip);
TextGrid read(const ZipArchive &zip, const QString &fileName);

} // namespace OdsReader
