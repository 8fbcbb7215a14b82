#include "shell/SiblingProgram.h"

#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QProcess>
#include <QTimer>

namespace SiblingProgram {

QString find(const QString &dir, const QString &fileName)
{
    QStringList names{fileName};
    if (fileName.endsWith(QStringLiteral(".exe"), Qt::CaseInsensitive))
        names << fileName.left(fileName.size() - 4);
    for (const QString &n : names) {
        const QFileInfo fi(QDir(dir).filePath(n));
        if (fi.exists() && fi.isFile())
            return fi.absoluteFilePath();
    }
    return QString();
}

Result runAndWait(const QString &path, const QStringList &args,
                  const std::function<bool()> &shouldStop)
{
    if (path.isEmpty() || !QFileInfo::exists(path))
        return Result::NotFound;
    auto *process = new QProcess;
    process->setProgram(path);
    process->setArguments(args);
    process->setWorkingDirectory(QFileInfo(path).absolutePath());
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    process->start();
    if (!process->waitForStarted(5000)) {
        delete process;
        return Result::NotStarted;
    }
    QEventLoop loop;
    QTimer tick;
    tick.setInterval(100);
    QObject::connect(&tick, &QTimer::timeout, &loop, [&] {
        if (shouldStop && shouldStop())
            loop.quit();
    });
    QObject::connect(process, &QProcess::finished, &loop, &QEventLoop::quit);
    tick.start();
    if (process->state() != QProcess::NotRunning)
        loop.exec();
    if (process->state() == QProcess::NotRunning) {
        delete process;
        return Result::Finished;
    }
    // This program is ending: leave the other one running. Deleting the
    // QProcess would kill it, so it is deliberately not deleted.
    QObject::disconnect(process, nullptr, nullptr, nullptr);
    return Result::Interrupted;
}

} // namespace SiblingProgram
