#pragma once
// Saving a prepared report to a file. The page formats (PDF, the two HTML
// styles, RTF, text) write the pages as previewed; the data formats (CSV,
// XLS, XLSX, XML spreadsheet) write the flat table of the data bands.
//
// The registry lists the formats under the names the preview offers; two
// names may share one writer (the two PDF entries, the two XLS entries).
// exportTo() picks the writer by the file's extension.

#include "report/PreparedReport.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace Report {

// Each writer fills the file at path (created or truncated) and returns
// false, with *error set when given, on any failed write. exportTo() runs them
// on a temporary file that replaces the target only when complete; call it,
// not a writer, to save over a file a person may have.
using Writer = std::function<bool(const PreparedReport &, const QString &path, QString *error)>;

struct ExportFormat
{
    QString name;      // as offered when saving, e.g. "Documento PDF"
    QString extension; // without the dot, lower case
    Writer write;
};

const std::vector<ExportFormat> &exportFormats();
// "Documento PDF (*.pdf);;PDF (*.pdf);;..." for the save dialog.
QString exportFilter();
// The format for a file name by its extension (.htm and .html differ: the
// page-like "Página da Web" and the single-page HTML); nullptr when unknown.
const ExportFormat *formatForPath(const QString &path);
// Writes the report to path in the format of its extension (.pdf .csv .txt
// .html .htm .rtf .xls .xlsx .xml), as a whole or not at all: on any failure
// an existing file stays as it was. A target that is not a regular file (a
// device, a folder) is refused.
bool exportTo(const PreparedReport &report, const QString &path, QString *error = nullptr);

bool writePdf(const PreparedReport &report, const QString &path, QString *error = nullptr);
bool writeCsv(const PreparedReport &report, const QString &path, QString *error = nullptr);
bool writeText(const PreparedReport &report, const QString &path, QString *error = nullptr);
bool writeHtml(const PreparedReport &report, const QString &path, QString *error = nullptr);
bool writeWebPage(const PreparedReport &report, const QString &path, QString *error = nullptr);
bool writeRtf(const PreparedReport &report, const QString &path, QString *error = nullptr);
bool writeXls(const PreparedReport &report, const QString &path, QString *error = nullptr);
bool writeXlsx(const PreparedReport &report, const QString &path, QString *error = nullptr);
bool writeXmlSpreadsheet(const PreparedReport &report, const QString &path,
                         QString *error = nullptr);

// The CSV text (separator ",", fields with quotes, commas or line breaks
// quoted, quotes doubled, CR LF line ends).
QString csvText(const PreparedReport &report);

} // namespace Report
