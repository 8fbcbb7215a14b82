#include "shell/RawPrinter.h"

#include "widgets/Messages.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>

namespace RawPrinter {

bool print(const std::function<bool(QIODevice &)> &write)
{
    const QString target = qEnvironmentVariable("CP_IMPRESSORA_TEXTO");
    if (!target.isEmpty()) {
        QFile device(target);
        if (!device.open(QIODevice::WriteOnly) || !write(device) || !device.flush()) {
            Messages::error(QStringLiteral("Atenção"),
                            QStringLiteral("Não foi possível imprimir em %1").arg(target));
            return false;
        }
        return true;
    }
    const QString lp = QStandardPaths::findExecutable(QStringLiteral("lp"));
    if (lp.isEmpty()) {
        Messages::warning(QStringLiteral("Atenção"),
                          QStringLiteral("Nenhuma impressora de texto está configurada neste "
                                         "computador."));
        return false;
    }
    QProcess job;
    job.start(lp, {QStringLiteral("-o"), QStringLiteral("raw")});
    if (!job.waitForStarted() || !write(job)) {
        Messages::error(QStringLiteral("Atenção"), QStringLiteral("A impressão não começou."));
        return false;
    }
    job.closeWriteChannel();
    if (!job.waitForFinished(30000) || job.exitCode() != 0) {
        Messages::error(QStringLiteral("Atenção"),
                        QStringLiteral("A impressora recusou a impressão: %1")
                            .arg(QString::fromLocal8Bit(job.readAllStandardError()).trimmed()));
        return false;
    }
    return true;
}

} // namespace RawPrinter
