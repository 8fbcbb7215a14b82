#pragma once
// The zip container of an xlsx or ods workbook, read from memory with
// libzip. Entry names are matched without regard to case (the part names of
// a workbook are case-insensitive). Every failure raises WorkbookError: a
// container that does not open or an entry that does not inflate or fails
// its checksum is damaged; an entry encrypted inside the zip is encrypted; an
// entry that would inflate beyond MaxEntryBytes is too large.

#include <QByteArray>
#include <QString>

struct zip;

class ZipArchive
{
public:
    static constexpr qint64 MaxEntryBytes = 512LL * 1024 * 1024;

    // data must outlive the archive; fileName is for the messages.
    ZipArchive(const QByteArray &data, const QString &fileName);
    ~ZipArchive();
    ZipArchive(const ZipArchive &) = delete;
    ZipArchive &operator=(const ZipArchive &) = delete;

    bool contains(const QString &name) const;
    QByteArray read(const QString &name) const;

private:
    long long locate(const QString &name) const;

    QString m_fileName;
    struct zip *m_zip = nullptr;
};
