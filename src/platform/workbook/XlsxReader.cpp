#include "workbook/XlsxReader.h"

#include "workbook/CellText.h"
#include "workbook/GridBuilder.h"
#include "workbook/WorkbookError.h"
#include "workbook/ZipArchive.h"

#include <QDateTime>
#include <QDir>
#include <QHash>
#include <QXmlStreamReader>

#include <charconv>
#include <vector>

namespace XlsxReader {

namespace {

struct Relationship
{
    QString id;
    QString type;
    QString target; // a part name inside the package, without a leading "/"
};

// The part "xl/workbook.xml" keeps its relationships in "xl/_rels/workbook.xml.rels".
QString relationshipsOf(const QString &part)
{
    const qsizetype slash = part.lastIndexOf(QLatin1Char('/'));
    return part.left(slash + 1) + QStringLiteral("_rels/") + part.mid(slash + 1) +
           QStringLiteral(".rels");
}

QString resolve(const QString &basePart, const QString &target)
{
    if (target.startsWith(QLatin1Char('/')))
        return QDir::cleanPath(target).mid(1);
    const qsizetype slash = basePart.lastIndexOf(QLatin1Char('/'));
    return QDir::cleanPath(basePart.left(slash + 1) + target);
}

bool typeIs(const QString &type, QLatin1String last)
{
    // Transitional and strict packages name the same relationship under
    // different roots; the last segment is what counts.
    return type.endsWith(QLatin1Char('/') + last);
}

void failOn(const QXmlStreamReader &xml, const QString &fileName)
{
    if (xml.hasError())
        throw WorkbookError::damaged(fileName);
}

std::vector<Relationship> readRelationships(const ZipArchive &zip, const QString &basePart,
                                            const QString &fileName)
{
    std::vector<Relationship> list;
    const QString relsPart =
        basePart.isEmpty() ? QStringLiteral("_rels/.rels") : relationshipsOf(basePart);
    if (!zip.contains(relsPart))
        return list;
    const QByteArray bytes = zip.read(relsPart);
    QXmlStreamReader xml(bytes);
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement() || xml.name() != QLatin1String("Relationship"))
            continue;
        const auto a = xml.attributes();
        if (a.value(QLatin1String("TargetMode")) == QLatin1String("External"))
            continue;
        list.push_back({a.value(QLatin1String("Id")).toString(),
                        a.value(QLatin1String("Type")).toString(),
                        resolve(basePart, a.value(QLatin1String("Target")).toString())});
    }
    failOn(xml, fileName);
    return list;
}

// ECMA-376 writes characters XML cannot carry as "_xHHHH_" (a carriage
// return is "_x000D_"), and a literal "_x" as "_x005F_x".
QString unescape(const QString &text)
{
    if (!text.contains(QLatin1String("_x")))
        return text;
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == QLatin1Char('_') && i + 6 < text.size() &&
            text.at(i + 1) == QLatin1Char('x') && text.at(i + 6) == QLatin1Char('_')) {
            bool ok = false;
            const uint code = QStringView(text).mid(i + 2, 4).toUInt(&ok, 16);
            if (ok) {
                out += QChar(char16_t(code));
                i += 6;
                continue;
            }
        }
        out += text.at(i);
    }
    return out;
}

// The text of an <si> or <is> element: its <t>, or the <t> of every run;
// phonetic guides (<rPh>) are not part of the text.
QString readStringItem(QXmlStreamReader &xml)
{
    QString text;
    const QString end = xml.name().toString();
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isEndElement() && xml.name() == end)
            break;
        if (!xml.isStartElement())
            continue;
        if (xml.name() == QLatin1String("rPh"))
            xml.skipCurrentElement();
        else if (xml.name() == QLatin1String("t"))
            text += xml.readElementText();
    }
    return unescape(text);
}

QStringList readSharedStrings(const ZipArchive &zip, const QString &part, const QString &fileName)
{
    QStringList strings;
    if (part.isEmpty() || !zip.contains(part))
        return strings;
    const QByteArray bytes = zip.read(part);
    QXmlStreamReader xml(bytes);
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == QLatin1String("si"))
            strings.append(readStringItem(xml));
    }
    failOn(xml, fileName);
    return strings;
}

// What each cell style (an index into <cellXfs>) makes of a number.
std::vector<CellText::NumberKind> readStyles(const ZipArchive &zip, const QString &part,
                                             const QString &fileName)
{
    std::vector<CellText::NumberKind> kinds;
    if (part.isEmpty() || !zip.contains(part))
        return kinds;
    const QByteArray bytes = zip.read(part);
    QXmlStreamReader xml(bytes);
    QHash<int, CellText::NumberKind> custom;
    std::vector<int> xfFormats;
    bool inCellXfs = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            const auto name = xml.name();
            if (name == QLatin1String("numFmt")) {
                const auto a = xml.attributes();
                custom.insert(a.value(QLatin1String("numFmtId")).toInt(),
                              CellText::formatCodeKind(a.value(QLatin1String("formatCode"))));
            } else if (name == QLatin1String("cellXfs")) {
                inCellXfs = true;
            } else if (inCellXfs && name == QLatin1String("xf")) {
                xfFormats.push_back(xml.attributes().value(QLatin1String("numFmtId")).toInt());
            }
        } else if (xml.isEndElement() && xml.name() == QLatin1String("cellXfs")) {
            inCellXfs = false;
        }
    }
    failOn(xml, fileName);
    kinds.reserve(xfFormats.size());
    for (int id : xfFormats)
        kinds.push_back(custom.contains(id) ? custom.value(id) : CellText::builtinFormatKind(id));
    return kinds;
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

QString isoDate(const QString &text)
{
    const QDateTime dt = QDateTime::fromString(text, Qt::ISODateWithMs);
    if (dt.isValid())
        return CellText::dateTime(dt.date(), dt.time());
    const QDate d = QDate::fromString(text, Qt::ISODate);
    if (d.isValid())
        return CellText::dateTime(d);
    const QTime t = QTime::fromString(text, Qt::ISODateWithMs);
    return t.isValid() ? CellText::timeOfDay(t) : QString();
}

struct Workbook
{
    QString sheetPart;
    QString sharedStringsPart;
    QString stylesPart;
    bool date1904 = false;
};

Workbook locateParts(const ZipArchive &zip, const QString &fileName)
{
    QString workbookPart;
    for (const Relationship &r : readRelationships(zip, {}, fileName))
        if (typeIs(r.type, QLatin1String("officeDocument")))
            workbookPart = r.target;
    if (workbookPart.isEmpty() && zip.contains(QStringLiteral("xl/workbook.xml")))
        workbookPart = QStringLiteral("xl/workbook.xml");
    if (workbookPart.isEmpty() || !zip.contains(workbookPart))
        throw WorkbookError::notWorkbook(fileName);
    if (workbookPart.endsWith(QLatin1String(".bin"), Qt::CaseInsensitive))
        throw WorkbookError::notWorkbook(
            fileName, QStringLiteral("é uma pasta de trabalho binária (xlsb); salve-a como xlsx"));

    Workbook wb;
    QStringList sheetIds;
    {
        const QByteArray bytes = zip.read(workbookPart);
        QXmlStreamReader xml(bytes);
        bool rootSeen = false;
        while (!xml.atEnd()) {
            xml.readNext();
            if (!xml.isStartElement())
                continue;
            if (!rootSeen) {
                rootSeen = true;
                // A word-processing or presentation package has another root.
                if (xml.name() != QLatin1String("workbook"))
                    throw WorkbookError::notWorkbook(fileName);
            }
            if (xml.name() == QLatin1String("workbookPr")) {
                const auto v = xml.attributes().value(QLatin1String("date1904"));
                wb.date1904 = v == QLatin1String("1") || v == QLatin1String("true");
            } else if (xml.name() == QLatin1String("sheet")) {
                for (const auto &a : xml.attributes())
                    if (a.name() == QLatin1String("id") && !a.namespaceUri().isEmpty())
                        sheetIds.append(a.value().toString());
            }
        }
        failOn(xml, fileName);
    }

    const std::vector<Relationship> rels = readRelationships(zip, workbookPart, fileName);
    for (const Relationship &r : rels) {
        if (typeIs(r.type, QLatin1String("sharedStrings")))
            wb.sharedStringsPart = r.target;
        else if (typeIs(r.type, QLatin1String("styles")))
            wb.stylesPart = r.target;
    }
    for (const QString &id : sheetIds) {
        for (const Relationship &r : rels) {
            if (r.id == id && typeIs(r.type, QLatin1String("worksheet"))) {
                wb.sheetPart = r.target;
                break;
            }
        }
        if (!wb.sheetPart.isEmpty())
            break;
    }
    if (wb.sheetPart.isEmpty())
        throw WorkbookError::noWorksheet(fileName);
    if (!zip.contains(wb.sheetPart))
        throw WorkbookError::damaged(fileName);
    return wb;
}

} // namespace

bool isPackage(const ZipArchive &zip)
{
    return zip.contains(QStringLiteral("[Content_Types].xml")) ||
           zip.contains(QStringLiteral("xl/workbook.xml"));
}

TextGrid read(const ZipArchive &zip, const QString &fileName)
{
    const Workbook wb = locateParts(zip, fileName);
    const QStringList strings = readSharedStrings(zip, wb.sharedStringsPart, fileName);
    const std::vector<CellText::NumberKind> styles = readStyles(zip, wb.stylesPart, fileName);

    const QByteArray bytes = zip.read(wb.sheetPart);
    QXmlStreamReader xml(bytes);
    GridBuilder grid(fileName);
    int row = -1;
    int nextColumn = 0;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        const auto name = xml.name();
        if (name == QLatin1String("row")) {
            bool ok = false;
            const int r = xml.attributes().value(QLatin1String("r")).toInt(&ok);
            row = ok ? r - 1 : row + 1;
            nextColumn = 0;
            if (row < 0)
                throw WorkbookError::damaged(fileName);
            continue;
        }
        if (name != QLatin1String("c"))
            continue;

        const auto a = xml.attributes();
        int cellRow = row < 0 ? 0 : row;
        int column = nextColumn;
        const auto ref = a.value(QLatin1String("r"));
        if (!ref.isEmpty() && !CellText::parseCellName(ref, &cellRow, &column))
            throw WorkbookError::damaged(fileName);
        nextColumn = column + 1;
        const QString type = a.value(QLatin1String("t")).toString();
        const int style = a.value(QLatin1String("s")).toInt();

        QString value;
        QString inlineText;
        bool hasValue = false;
        bool hasInline = false;
        while (!xml.atEnd()) {
            xml.readNext();
            if (xml.isEndElement() && xml.name() == QLatin1String("c"))
                break;
            if (!xml.isStartElement())
                continue;
            if (xml.name() == QLatin1String("v")) {
                value = xml.readElementText();
                hasValue = true;
            } else if (xml.name() == QLatin1String("is")) {
                inlineText = readStringItem(xml);
                hasInline = true;
            } else {
                xml.skipCurrentElement(); // the formula, extensions
            }
        }
        failOn(xml, fileName);

        QString text;
        if (type == QLatin1String("inlineStr")) {
            text = hasInline ? inlineText : value;
        } else if (!hasValue) {
            continue; // formatting alone
        } else if (type == QLatin1String("s")) {
            bool ok = false;
            const int index = value.trimmed().toInt(&ok);
            if (!ok || index < 0 || index >= strings.size())
                throw WorkbookError::damaged(fileName);
            text = strings.at(index);
        } else if (type == QLatin1String("str")) {
            text = unescape(value);
        } else if (type == QLatin1String("b")) {
            text = CellText::boolean(value.trimmed() == QLatin1String("1") ||
                                     value.trimmed() == QLatin1String("true"));
        } else if (type == QLatin1String("e")) {
            throw WorkbookError::errorValue(CellText::cellName(cellRow, column),
                                            CellText::errorValue(value));
        } else if (type == QLatin1String("d")) {
            text = isoDate(value.trimmed());
            if (text.isEmpty())
                throw WorkbookError::damaged(fileName);
        } else {
            if (value.trimmed().isEmpty())
                continue;
            double number = 0;
            if (!parseNumber(value, &number))
                throw WorkbookError::damaged(fileName);
            const CellText::NumberKind kind = style >= 0 && size_t(style) < styles.size()
                                                  ? styles[size_t(style)]
                                                  : CellText::NumberKind::Number;
            text = kind == CellText::NumberKind::Number
                       ? CellText::number(number)
                       : CellText::serialDate(number, kind, wb.date1904);
        }
        grid.add(cellRow, column, text);
    }
    failOn(xml, fileName);
    return grid.take();
}

} // namespace XlsxReader
