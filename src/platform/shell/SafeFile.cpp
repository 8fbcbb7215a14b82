#include "shell/SafeFile.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace SafeFile {

namespace {

bool fail(QString *error, const QString &message)
{
    if (error)
        *error = message;
    return false;
}

QString cannotWrite(const QString &path, int err)
{
    return QStringLiteral("Não foi possível gravar \"%1\": %2.").arg(path, reason(err));
}

// Makes the file at fd durable before it replaces anything.
bool syncFile(const QString &path, int *err)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        *err = errno;
        return false;
    }
    const bool ok = ::fsync(fd) == 0;
    if (!ok)
        *err = errno;
    ::close(fd);
    return ok;
}

} // namespace

QString reason(int e)
{
    switch (e) {
    case ENOSPC:
        return QStringLiteral("não há espaço livre no disco");
    case EDQUOT:
        return QStringLiteral("a cota de disco do usuário acabou");
    case EFBIG:
        return QStringLiteral("o arquivo excede o tamanho permitido");
    case EACCES:
    case EPERM:
        return QStringLiteral("sem permissão de gravação");
    case EROFS:
        return QStringLiteral("o disco é somente leitura");
    case EIO:
        return QStringLiteral("erro de entrada e saída no disco");
    case ENOENT:
        return QStringLiteral("a pasta não existe");
    case ENAMETOOLONG:
        return QStringLiteral("o nome do arquivo é longo demais");
    case 0:
        return QStringLiteral("erro desconhecido");
    default:
        return QStringLiteral("erro %1 (%2)").arg(e).arg(QString::fromLocal8Bit(std::strerror(e)));
    }
}

bool checkTarget(const QString &path, QString *error)
{
    if (path.trimmed().isEmpty())
        return fail(error, QStringLiteral("Nenhum arquivo foi informado."));
    const QFileInfo fi(path);
    if (!fi.absoluteDir().exists())
        return fail(
            error,
            QStringLiteral("A pasta \"%1\" não existe.").arg(fi.absoluteDir().absolutePath()));
    // QFileInfo follows links: a link to a device is not a file either.
    if ((fi.exists() || fi.isSymLink()) && !fi.isFile())
        return fail(
            error,
            QStringLiteral("\"%1\" não é um arquivo comum e não será substituído.").arg(path));
    return true;
}

Replacement::Replacement(const QString &target) : m_target(target) {}

Replacement::~Replacement()
{
    m_file.reset();
    if (!m_committed && !m_temp.isEmpty())
        QFile::remove(m_temp);
}

bool Replacement::open(QString *error)
{
    if (!checkTarget(m_target, error))
        return false;
    const QFileInfo fi(m_target);
    m_real = fi.isSymLink() ? fi.canonicalFilePath() : fi.absoluteFilePath();
    const QFileInfo real(m_real);
    // A hidden name in the same folder, so the rename stays on one file system.
    for (int attempt = 0; attempt < 16; ++attempt) {
        const QString candidate = real.absoluteDir().filePath(
            QStringLiteral(".%1.%2.tmp")
                .arg(real.fileName())
                .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0')));
        const int fd = ::open(QFile::encodeName(candidate).constData(),
                              O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            ::close(fd);
            m_temp = candidate;
            // The new file keeps the permissions of the one it replaces.
            struct stat st;
            if (::stat(QFile::encodeName(m_real).constData(), &st) == 0)
                ::chmod(QFile::encodeName(m_temp).constData(), st.st_mode & 07777);
            return true;
        }
        if (errno != EEXIST)
            return fail(error, cannotWrite(m_target, errno));
    }
    return fail(error, cannotWrite(m_target, EEXIST));
}

QFile *Replacement::device()
{
    if (!m_file) {
        m_file = std::make_unique<QFile>(m_temp);
        m_file->open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered);
    }
    return m_file.get();
}

bool Replacement::commit(QString *error)
{
    if (m_temp.isEmpty())
        return fail(error, cannotWrite(m_target, ENOENT));
    if (m_file) {
        errno = 0;
        const bool ok =
            m_file->isOpen() && m_file->error() == QFileDevice::NoError && m_file->flush();
        const int err = errno;
        m_file->close();
        if (!ok || m_file->error() != QFileDevice::NoError)
            return fail(error, cannotWrite(m_target, err ? err : EIO));
        m_file.reset();
    }
    int err = 0;
    if (!syncFile(m_temp, &err))
        return fail(error, cannotWrite(m_target, err));
    if (std::rename(QFile::encodeName(m_temp).constData(), QFile::encodeName(m_real).constData()) !=
        0)
        return fail(error, cannotWrite(m_target, errno));
    m_committed = true;
    return true;
}

bool write(const QString &path, const QByteArray &bytes, QString *error)
{
    Replacement r(path);
    if (!r.open(error))
        return false;
    QFile *f = r.device();
    qint64 done = 0;
    while (done < bytes.size()) {
        errno = 0;
        const qint64 n = f->write(bytes.constData() + done, bytes.size() - done);
        if (n <= 0)
            return fail(error, cannotWrite(path, errno ? errno : EIO));
        done += n;
    }
    return r.commit(error);
}

bool writeThrough(const QString &path,
                  const std::function<bool(const QString &tempPath, QString *error)> &writer,
                  QString *error)
{
    Replacement r(path);
    if (!r.open(error))
        return false;
    QString why;
    errno = 0;
    if (!writer(r.tempPath(), &why)) {
        const int err = errno;
        // The writer names the file it was given; the person knows the target.
        why.replace(r.tempPath(), path);
        return fail(error, why.isEmpty() ? cannotWrite(path, err ? err : EIO) : why);
    }
    return r.commit(error);
}

} // namespace SafeFile
