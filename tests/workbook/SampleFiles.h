#pragma once
// Files the workbook tests make for themselves: a zip package from named
// parts (libzip), a minimal xlsx package around hand-written sheet XML, and
// an OLE2 compound file from named streams (libgsf), for shapes the
// spreadsheet writers at hand cannot produce (error cells, inline strings,
// encrypted packages).

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

namespace SampleFiles {

using Parts = QList<QPair<QString, QByteArray>>;

bool writeFile(const QString &path, const QByteArray &bytes);
bool writeZip(const QString &path, const Parts &parts);
bool writeOle2(const QString &path, const Parts &streams);

// An xlsx package: each sheet is (name, the XML inside <sheetData>); the
// workbook lists them in that order, but their part files are numbered
// backwards (the first sheet lives in the highest-numbered file), so a
// reader that goes by file name picks the wrong one. sharedStrings and
// styles are whole parts' XML (empty: left out).
struct Xlsx
{
    QList<QPair<QString, QByteArray>> sheets;
    QByteArray sharedStrings;
    QByteArray styles;
    bool date1904 = false;
    Parts parts() const;
};

} // namespace SampleFiles
