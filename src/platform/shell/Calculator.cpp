#include "shell/Calculator.h"

#include <QProcess>
#include <QStandardPaths>

namespace Calculator {

QString program()
{
    const QString configured = qEnvironmentVariable("CP_CALCULADORA");
    if (!configured.isEmpty())
        return QStandardPaths::findExecutable(configured);
    for (const char *name :
         {"gnome-calculator", "kcalc", "galculator", "mate-calc", "qalculate-gtk", "xcalc"}) {
        const QString p = QStandardPaths::findExecutable(QString::fromLatin1(name));
        if (!p.isEmpty())
            return p;
    }
    return QString();
}

bool start()
{
    const QString p = program();
    return !p.isEmpty() && QProcess::startDetached(p, {});
}

} // namespace Calculator
