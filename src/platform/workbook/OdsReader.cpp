#include "workbook/OdsReader.h"

#include "workbook/CellText.h"
#include "workbook/GridBuilder.h"
#include "workbook/WorkbookError.h"
#include "workbook/ZipArchive.h"

#include <QDateTime>
#include <QRegularExpression>
#include <QXmlStreamReader>

#include <charconv>
#include <vector>

namespace OdsReader {

namespace {

const QString TableNs = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:table:1.0");
const QString OfficeNs = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:office:1.0");
const QString TextNs = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:text:1.0");
const QString CalcExtNs =
    QStringLiteral("urn:org:documentfoundation:names:experimental:calc:xmlns:calcext:1.0");

qint64 repeat(const QXmlStreamAttributes &a, QLatin1String name)
{
    bool ok = false;
    const qint64 n = a.value(TableNs, name).toLongLong(&ok);
    return ok && n > 0 ? n : 1;
}

// The characters of a paragraph, with <text:s text:c="n"/> as n blanks,
// tabs and line breaks; notes and comments are not part of it.
void appendParagraph(QXmlStreamReader &xml, QString *text)
{
    int depth = 1;
    while (!xml.atEnd() && depth > 0) {
        xml.readNext();
        if (xml.isCharacters()) {
            *text += xml.text();
        } else if (xml.isStartElement()) {
            const auto name = xml.name();
            if (xml.namespaceUri() == TextNs && name == QLatin1String("s")) {
                bool ok = false;
                const int n = xml.attributes().value(TextNs, QLatin1String("c")).toInt(&ok);
                *text += QString(ok && n > 0 ? std::min(n, 10000) : 1, QLatin1Char(' '));
                xml.skipCurrentElement();
            } else if (xml.namespaceUri() == TextNs && name == QLatin1String("tab")) {
                *text += QLatin1Char('\t');
                xml.skipCurrentElement();
            } else if (xml.namespaceUri() == TextNs && name == QLatin1String("line-break")) {
                *text += QLatin1Char('\n');
                xml.skipCurrentElement();
            } else if (name == QLatin1String("note") || name == QLatin1String("annotation")) {
                xml.skipCurrentElement();
            } else {
                ++depth; // a span, a link: their characters count
            }
        } else if (xml.isEndElement()) {
            --depth;
        }
    }
}

// The paragraphs of the current cell, up to its end tag.
QString readCellText(QXmlStreamReader &xml)
{
    QString text;
    bool first = true;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isEndElement())
            break; // the cell's own end
        if (!xml.isStartElement())
            continue;
        if (xml.namespaceUri() == TextNs &&
            (xml.name() == QLatin1String("p") || xml.name() == QLatin1String("h"))) {
            if (!first)
                text += QLatin1Char('\n');
            first = false;
            appendParagraph(xml, &text);
        } else {
            xml.skipCurrentElement(); // an annotation, a drawing
        }
    }
    return text;
}

bool parseNumber(QStringView text, double *value)
{
    const QByteArray latin = text.trimmed().toLatin1();
    const char *begin = latin.constData();
    const char *end = begin + latin.size();
    if (begin != end && *begin == '+')
        ++begin;
    const auto r = std::from_chars(begin, end, *value);
    return r.ec == std::errc() && r.ptr == end && begin != end;
}

// "PT14H30M00S", also "PT36H00M00S" for a duration past a day.
bool parseDuration(QStringView text, QString *out)
{
    static const QRegularExpression re(
        QStringLiteral("^(-)?P(?:(\\d+)D)?T(?:(\\d+)H)?(?:(\\d+)M)?(?:(\\d+(?:[.,]\\d+)?)S)?$"));
    const auto m = re.match(text.trimmed());
    if (!m.hasMatch() || m.hasCaptured(1))
        return false;
    const double seconds = m.captured(2).toDouble() * 86400 + m.captured(3).toDouble() * 3600 +
                           m.captured(4).toDouble() * 60 +
                           m.captured(5).replace(QLatin1Char(','), QLatin1Char('.')).toDouble();
    *out = CellText::serialDate(seconds / 86400.0, CellText::NumberKind::Time);
    return true;
}

QString isoDate(QStringView text)
{
    const QString t = text.trimmed().toString();
    const QDateTime dt = QDateTime::fromString(t, Qt::ISODateWithMs);
    if (dt.isValid()) {
        // Rounded to the second, as every other reader shows times.
        const QTime time = dt.time();
        const int ms = time.msecsSinceStartOfDay();
        const qint64 seconds = (ms + 500) / 1000;
        return CellText::dateTime(dt.date().addDays(seconds / 86400),
                                  QTime(0, 0).addSecs(int(seconds % 86400)));
    }
    const QDate d = QDate::fromString(t, Qt::ISODate);
    return d.isValid() ? CellText::dateTime(d) : QString();
}

struct RowCell
{
    qint64 column;
    qint64 repeat;
    QString text;
};

} // namespace

bool isPackage(const ZipArchive &zip)
{
    return zip.contains(QStringLiteral("mimetype")) || zip.contains(QStringLiteral("content.xml"));
}

bool isSpreadsheet(const ZipArchive &zip)
{
    if (!zip.contains(QStringLiteral("content.xml")))
        return false;
    if (!zip.contains(QStringLiteral("mimetype")))
        return true;
    return zip.read(QStringLiteral("mimetype"))
        .trimmed()
        .startsWith("application/vnd.oasis.opendocument.spreadsheet");
}

TextGrid read(const ZipArchive &zip, const QString &fileName)
{
    const QByteArray bytes = zip.read(QStringLiteral("content.xml"));
    QXmlStreamReader xml(bytes);
    GridBuilder grid(fileName);

    // Up to the first table of the spreadsheet body.
    bool found = false;
    while (!xml.atEnd() && !found) {
        xml.readNext();
        found = xml.isStartElement() && xml.namespaceUri() == TableNs &&
                xml.name() == QLatin1String("table");
    }
    if (!found) {
        if (xml.hasError())
            throw WorkbookError::damaged(fileName);
        throw WorkbookError::noWorksheet(fileName);
    }

    qint64 row = 0;
    int depth = 1; // inside <table:table>; header rows and row groups nest
    while (!xml.atEnd() && depth > 0) {
        xml.readNext();
        if (xml.isEndElement()) {
            --depth;
            continue;
        }
        if (!xml.isStartElement())
            continue;
        if (xml.namespaceUri() != TableNs) {
            xml.skipCurrentElement();
            continue;
        }
        const auto name = xml.name();
        if (name == QLatin1String("table-header-rows") || name == QLatin1String("table-rows") ||
            name == QLatin1String("table-row-group")) {
            ++depth;
            continue;
        }
        if (name != QLatin1String("table-row")) {
            xml.skipCurrentElement(); // columns, shapes, named ranges
            continue;
        }

        const qint64 rowRepeat = repeat(xml.attributes(), QLatin1String("number-rows-repeated"));
        std::vector<RowCell> cells;
        qint64 column = 0;
        while (!xml.atEnd()) {
            xml.readNext();
            if (xml.isEndElement())
                break; // the row's end
            if (!xml.isStartElement())
                continue;
            if (xml.namespaceUri() != TableNs ||
                (xml.name() != QLatin1String("table-cell") &&
                 xml.name() != QLatin1String("covered-table-cell"))) {
                xml.skipCurrentElement();
                continue;
            }
            const QXmlStreamAttributes a = xml.attributes();
            const qint64 columnRepeat = repeat(a, QLatin1String("number-columns-repeated"));
            const QString type = a.value(OfficeNs, QLatin1String("value-type")).toString();
            QString text = readCellText(xml);
            // LibreOffice marks an error result; other writers store the
            // error's name as the formula's text.
            const bool formula = a.hasAttribute(TableNs, QLatin1String("formula"));
            if (a.value(CalcExtNs, QLatin1String("value-type")) == QLatin1String("error") ||
                (formula && (type.isEmpty() || type == QLatin1String("string")) &&
                 CellText::isErrorValue(text)))
                throw WorkbookError::errorValue(CellText::cellName(int(row), int(column)),
                                                CellText::errorValue(text));
            if (type == QLatin1String("float") || type == QLatin1String("percentage") ||
                type == QLatin1String("currency")) {
                double number = 0;
                if (!parseNumber(a.value(OfficeNs, QLatin1String("value")), &number))
                    throw WorkbookError::damaged(fileName);
                text = CellText::number(number);
            } else if (type == QLatin1String("date")) {
                text = isoDate(a.value(OfficeNs, QLatin1String("date-value")));
                if (text.isEmpty())
                    throw WorkbookError::damaged(fileName);
            } else if (type == QLatin1String("time")) {
                if (!parseDuration(a.value(OfficeNs, QLatin1String("time-value")), &text))
                    throw WorkbookError::damaged(fileName);
            } else if (type == QLatin1String("boolean")) {
                const auto v = a.value(OfficeNs, QLatin1String("boolean-value"));
                text = CellText::boolean(v == QLatin1String("true") || v == QLatin1String("1"));
            } else if (type == QLatin1String("string") &&
                       a.hasAttribute(OfficeNs, QLatin1String("string-value"))) {
                text = a.value(OfficeNs, QLatin1String("string-value")).toString();
            }
            if (!text.isEmpty()) {
                grid.checkExtent(row + rowRepeat - 1, column + columnRepeat - 1);
                cells.push_back({column, columnRepeat, text});
            }
            column += columnRepeat;
        }
        for (qint64 r = 0; r < rowRepeat && !cells.empty(); ++r)
            for (const RowCell &c : cells)
                for (qint64 k = 0; k < c.repeat; ++k)
                    grid.add(int(row + r), int(c.column + k), c.text);
        row += rowRepeat;
    }
    if (xml.hasError())
        throw WorkbookError::damaged(fileName);
    return grid.take();
}

} // namespace OdsReader
