#include "workbook/FileBytes.h"

#include "shell/SafeFile.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>

namespace FileBytes {

Failure read(const QString &path, qint64 maxBytes, QByteArray *bytes, QString *reason)
{
    if (QFileInfo(path).isDir()) {
        *reason = QStringLiteral("é uma pasta");
        return Failure::Unreadable;
    }
    QFile file(path);
    errno = 0;
    if (!file.open(QIODevice::ReadOnly)) {
        const int err = errno;
        *reason = err == ENOENT                     ? QStringLiteral("o arquivo não existe")
                  : (err == EACCES || err == EPERM) ? QStringLiteral("sem permissão de leitura")
                                                    : SafeFile::reason(err);
        return Failure::Unreadable;
    }
    if (file.size() > maxBytes)
        return Failure::TooLarge;
    *bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        *reason = SafeFile::reason(EIO);
        return Failure::Unreadable;
    }
    return Failure::None;
}

} // namespace FileBytes
