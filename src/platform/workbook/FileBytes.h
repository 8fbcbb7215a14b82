#pragma once
// Reads a whole file the clerk picked, for the readers of this folder and the
// OFX reader, and says in Portuguese why it could not (missing, no
// permission, a folder, larger than the caller accepts).

#include <QByteArray>
#include <QString>

namespace FileBytes {

enum class Failure { None, Unreadable, TooLarge };

// On failure *reason holds the Portuguese reason ("o arquivo não existe").
Failure read(const QString &path, qint64 maxBytes, QByteArray *bytes, QString *reason);

} // namespace FileBytes
