#pragma once
// Runs a report definition over the rows of a RecordSet and lays the bands
// out on pages: page header and column header on every page, group headers
// when a key changes and footers (with their sums) when it ends, detail
// rows, a page break when the next band does not fit, the summary after the
// last row and the page footer at the bottom of each page. The total number
// of pages is known when the run ends ("%2" of a page-number template).
//
// The rows are read by position; the RecordSet's current row does not move.

#include "report/PreparedReport.h"
#include "report/ReportDefinition.h"

class RecordSet;

namespace Report {

PreparedReport run(const ReportDefinition &definition, const RecordSet &rows);
// A report without a data set: the bands print once, as for an empty set.
PreparedReport run(const ReportDefinition &definition);

} // namespace Report
