#pragma once
// Writing a file so that it is either complete or not there: the bytes go to a
// temporary file beside the target (same folder, so the final rename is
// atomic), every write, the flush to disk and the close are checked, and only
// then is the temporary file renamed over the target. Any failure leaves the
// old file exactly as it was and says why, in Portuguese.
//
// A target that exists and is not a regular file (a device such as /dev/full,
// a pipe, a folder, or a link to one of them) is refused: writing "over" it
// would replace the device node with a plain file. A link to a regular file
// is followed, so the file it points at is replaced and the link stays.

#include <QByteArray>
#include <QFile>
#include <QString>

#include <functional>
#include <memory>

namespace SafeFile {

// Whether path may be written: its folder exists and it is absent or a
// regular file. On refusal *error says why.
bool checkTarget(const QString &path, QString *error);

// The Portuguese reason for an errno value of a failed write ("não há espaço
// livre no disco", ...).
QString reason(int errnoValue);

// One pending replacement of a target file.
class Replacement
{
public:
    explicit Replacement(const QString &target);
    ~Replacement(); // removes the temporary file unless committed
    Replacement(const Replacement &) = delete;
    Replacement &operator=(const Replacement &) = delete;

    // Checks the target and creates the empty temporary file.
    bool open(QString *error);
    // The temporary file's path, for writers that open a path themselves.
    QString tempPath() const { return m_temp; }
    // The temporary file opened for writing, for writers that take a device.
    // Write errors are kept and reported by commit().
    QFile *device();
    // Flushes to disk, checks that nothing failed, renames over the target.
    bool commit(QString *error);

private:
    QString m_target;
    QString m_real; // the target with links followed
    QString m_temp;
    std::unique_ptr<QFile> m_file;
    bool m_committed = false;
};

// Writes bytes to path as a whole or not at all.
bool write(const QString &path, const QByteArray &bytes, QString *error);
// Runs writer on the temporary file's path and commits when it succeeds; the
// writer reports its own failure through its return and *error.
bool writeThrough(const QString &path,
                  const std::function<bool(const QString &tempPath, QString *error)> &writer,
                  QString *error);

} // namespace SafeFile
