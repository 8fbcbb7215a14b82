#include "workbook/ZipArchive.h"

#include "workbook/WorkbookError.h"

#include <zip.h>

ZipArchive::ZipArchive(const QByteArray &data, const QString &fileName) : m_fileName(fileName)
{
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t *source =
        zip_source_buffer_create(data.constData(), zip_uint64_t(data.size()), 0, &error);
    if (source)
        m_zip = zip_open_from_source(source, ZIP_RDONLY | ZIP_CHECKCONS, &error);
    if (!m_zip) {
        if (source)
            zip_source_free(source);
        zip_error_fini(&error);
        throw WorkbookError::damaged(m_fileName);
    }
    zip_error_fini(&error);
}

ZipArchive::~ZipArchive()
{
    if (m_zip)
        zip_discard(m_zip);
}

long long ZipArchive::locate(const QString &name) const
{
    QString n = name;
    while (n.startsWith(QLatin1Char('/')))
        n.remove(0, 1);
    return zip_name_locate(m_zip, n.toUtf8().constData(), ZIP_FL_NOCASE);
}

bool ZipArchive::contains(const QString &name) const
{
    return locate(name) >= 0;
}

QByteArray ZipArchive::read(const QString &name) const
{
    const long long index = locate(name);
    if (index < 0)
        throw WorkbookError::damaged(m_fileName);
    zip_stat_t st;
    zip_stat_init(&st);
    if (zip_stat_index(m_zip, zip_uint64_t(index), 0, &st) != 0)
        throw WorkbookError::damaged(m_fileName);
    if ((st.valid & ZIP_STAT_ENCRYPTION_METHOD) && st.encryption_method != ZIP_EM_NONE)
        throw WorkbookError::encrypted(m_fileName);
    if ((st.valid & ZIP_STAT_SIZE) && st.size > zip_uint64_t(MaxEntryBytes))
        throw WorkbookError::tooLarge(m_fileName);
    zip_file_t *file = zip_fopen_index(m_zip, zip_uint64_t(index), 0);
    if (!file)
        throw WorkbookError::damaged(m_fileName);
    QByteArray bytes;
    if (st.valid & ZIP_STAT_SIZE)
        bytes.reserve(qsizetype(st.size));
    char buffer[65536];
    zip_int64_t n;
    bool failed = false;
    while ((n = zip_fread(file, buffer, sizeof buffer)) > 0) {
        bytes.append(buffer, qsizetype(n));
        if (bytes.size() > MaxEntryBytes) {
            zip_fclose(file);
            throw WorkbookError::tooLarge(m_fileName);
        }
    }
    failed = n < 0;
    // The checksum is compared when the entry has been read to its end.
    failed = zip_fclose(file) != 0 || failed;
    if (failed)
        throw WorkbookError::damaged(m_fileName);
    return bytes;
}
