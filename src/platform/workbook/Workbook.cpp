#include "workbook/Workbook.h"

#include "workbook/CsvReader.h"
#include "workbook/FileBytes.h"
#include "workbook/OdsReader.h"
#include "workbook/TextDecoding.h"
#include "workbook/XlsReader.h"
#include "workbook/XlsxReader.h"
#include "workbook/ZipArchive.h"

#include <QFileInfo>

namespace Workbook {

namespace {

QByteArray readAll(const QString &path, const QString &fileName)
{
    QByteArray bytes;
    QString reason;
    switch (FileBytes::read(path, MaxFileBytes, &bytes, &reason)) {
    case FileBytes::Failure::Unreadable:
        throw WorkbookError::unreadable(fileName, reason);
    case FileBytes::Failure::TooLarge:
        throw WorkbookError::tooLarge(fileName);
    case FileBytes::Failure::None:
        break;
    }
    return bytes;
}

bool isOle2(const QByteArray &bytes)
{
    return bytes.startsWith(QByteArrayView("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8));
}

bool isZip(const QByteArray &bytes)
{
    return bytes.startsWith("PK\x03\x04") || bytes.startsWith("PK\x05\x06");
}

// An encrypted Office Open XML file keeps its package in an OLE2 stream
// named "EncryptedPackage"; directory entries hold names in UTF-16LE.
bool isEncryptedPackage(const QByteArray &bytes)
{
    static const QByteArray name = [] {
        QByteArray n;
        for (char c : QByteArrayView("EncryptedPackage"))
            n.append(c).append('\0');
        return n;
    }();
    return bytes.contains(name);
}

bool namedLikeBinaryWorkbook(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    return suffix == QLatin1String("xlsx") || suffix == QLatin1String("xlsm") ||
           suffix == QLatin1String("xls") || suffix == QLatin1String("ods");
}

} // namespace

TextGrid read(const QString &path, Format *format)
{
    const QString fileName = QFileInfo(path).fileName();
    const QByteArray bytes = readAll(path, fileName);
    if (bytes.isEmpty())
        throw WorkbookError::empty(fileName);

    if (isZip(bytes)) {
        const ZipArchive zip(bytes, fileName);
        if (XlsxReader::isPackage(zip)) {
            if (format)
                *format = Format::Xlsx;
            return XlsxReader::read(zip, fileName);
        }
        if (OdsReader::isPackage(zip)) {
            if (!OdsReader::isSpreadsheet(zip))
                throw WorkbookError::notWorkbook(
                    fileName, QStringLiteral("é um documento OpenDocument de outro tipo"));
            if (format)
                *format = Format::Ods;
            return OdsReader::read(zip, fileName);
        }
        throw WorkbookError::notWorkbook(fileName, QStringLiteral("é um arquivo compactado"));
    }
    if (isOle2(bytes)) {
        if (isEncryptedPackage(bytes))
            throw WorkbookError::encrypted(fileName);
        if (format)
            *format = Format::Xls;
        return XlsReader::read(path, bytes, fileName);
    }
    if (TextDecoding::looksLikeText(bytes.left(65536))) {
        if (namedLikeBinaryWorkbook(path))
            throw WorkbookError::notWorkbook(
                fileName, QStringLiteral("o conteúdo é texto, não uma planilha"));
        if (format)
            *format = Format::Csv;
        return CsvReader::read(bytes, fileName);
    }
    throw WorkbookError::notWorkbook(fileName);
}

} // namespace Workbook
