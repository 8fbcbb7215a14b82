// glib before Qt: its headers use names that Qt defines as macros.
#include <gsf/gsf-outfile-msole.h>
#include <gsf/gsf-outfile.h>
#include <gsf/gsf-output-stdio.h>
#include <gsf/gsf-utils.h>

#include "SampleFiles.h"

#include <QFile>

#include <zip.h>

namespace SampleFiles {

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

bool writeZip(const QString &path, const Parts &parts)
{
    int error = 0;
    zip_t *z = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (!z)
        return false;
    for (const auto &[name, data] : parts) {
        // libzip reads the buffer at close time; the copy lives until then.
        void *copy = malloc(size_t(std::max<qsizetype>(data.size(), 1)));
        memcpy(copy, data.constData(), size_t(data.size()));
        zip_source_t *s = zip_source_buffer(z, copy, zip_uint64_t(data.size()), 1);
        if (!s || zip_file_add(z, name.toUtf8().constData(), s, ZIP_FL_OVERWRITE) < 0) {
            zip_discard(z);
            return false;
        }
    }
    return zip_close(z) == 0;
}

bool writeOle2(const QString &path, const Parts &streams)
{
    gsf_init();
    GsfOutput *out = gsf_output_stdio_new(QFile::encodeName(path).constData(), nullptr);
    if (!out)
        return false;
    GsfOutfile *ole = gsf_outfile_msole_new(out);
    g_object_unref(out);
    for (const auto &[name, data] : streams) {
        GsfOutput *child = gsf_outfile_new_child(ole, name.toUtf8().constData(), FALSE);
        gsf_output_write(child, size_t(data.size()),
                         reinterpret_cast<const guint8 *>(data.constData()));
        gsf_output_close(child);
        g_object_unref(child);
    }
    const bool ok = gsf_output_close(GSF_OUTPUT(ole));
    g_object_unref(ole);
    return ok;
}

Parts Xlsx::parts() const
{
    Parts p;
    QByteArray types = "<?xml version=\"1.0\" encoding=\"UTF-8\"?><Types "
                       "xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
                       "<Default Extension=\"xml\" ContentType=\"application/xml\"/></Types>";
    p.append({QStringLiteral("[Content_Types].xml"), types});
    p.append({QStringLiteral("_rels/.rels"),
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?><Relationships "
              "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
              "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/"
              "2006/relationships/officeDocument\" Target=\"xl/workbook.xml\"/></Relationships>"});
    QByteArray workbook = "<?xml version=\"1.0\" encoding=\"UTF-8\"?><workbook "
                          "xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
                          "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/"
                          "relationships\">";
    if (date1904)
        workbook += "<workbookPr date1904=\"1\"/>";
    workbook += "<sheets>";
    QByteArray rels = "<?xml version=\"1.0\" encoding=\"UTF-8\"?><Relationships "
                      "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">";
    const QByteArray relType =
        "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";
    for (int i = 0; i < sheets.size(); ++i) {
        const QByteArray id = "rId" + QByteArray::number(10 + i);
        const QByteArray file = "worksheets/sheet" + QByteArray::number(sheets.size() - i) + ".xml";
        workbook += "<sheet name=\"" + sheets[i].first.toUtf8() + "\" sheetId=\"" +
                    QByteArray::number(i + 1) + "\" r:id=\"" + id + "\"/>";
        rels += "<Relationship Id=\"" + id + "\" Type=\"" + relType + "worksheet\" Target=\"" +
                file + "\"/>";
        p.append(
            {QStringLiteral("xl/") + QString::fromLatin1(file),
             "<?xml version=\"1.0\" encoding=\"UTF-8\"?><worksheet "
             "xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><sheetData>" +
                 sheets[i].second + "</sheetData></worksheet>"});
    }
    workbook += "</sheets></workbook>";
    if (!sharedStrings.isEmpty()) {
        rels += "<Relationship Id=\"rId1\" Type=\"" + relType +
                "sharedStrings\" Target=\"sharedStrings.xml\"/>";
        p.append({QStringLiteral("xl/sharedStrings.xml"), sharedStrings});
    }
    if (!styles.isEmpty()) {
        rels += "<Relationship Id=\"rId2\" Type=\"" + relType + "styles\" Target=\"styles.xml\"/>";
        p.append({QStringLiteral("xl/styles.xml"), styles});
    }
    rels += "</Relationships>";
    p.append({QStringLiteral("xl/workbook.xml"), workbook});
    p.append({QStringLiteral("xl/_rels/workbook.xml.rels"), rels});
    return p;
}

} // namespace SampleFiles
