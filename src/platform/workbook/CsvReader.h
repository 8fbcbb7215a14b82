#pragma once
// A text export (.csv) as a grid. The separator is ";" or ",", whichever
// splits the first lines into the same number of fields more often (";"
// when they tie): Brazilian bank exports use ";" with amounts like 1234,56
// that a "," would cut. Fields may be quoted ("..." with "" for a quote, and
// line breaks inside); lines end in CR LF, LF or CR. The text is UTF-8 or
// Windows-1252, with or without a byte order mark (see TextDecoding). Each
// field is delivered exactly as written, quotes removed: a CSV has no types,
// so numbers and dates stay the texts the bank wrote.

#include "workbook/TextGrid.h"

#include <QByteArray>

namespace CsvReader {

QChar detectSeparator(const QString &text);
TextGrid read(const QByteArray &bytes, const QString &fileName);

} // namespace CsvReader
