#include "app/Globals.h"

#include "app/IniFile.h"

#include <QCoreApplication>
#include <QDir>

namespace {
QString g_user;
QString g_firstArg;
bool g_terminating = false;
} // namespace

int ConnectionLossCount = 0;

QString CurrentUserName()
{
    return g_user;
}

void SetCurrentUserName(const QString &name)
{
    g_user = name;
}

QString LauncherFirstArgument()
{
    return g_firstArg;
}

void SetLauncherFirstArgument(const QString &arg)
{
    g_firstArg = arg;
}

AdminConfig &Config()
{
    static AdminConfig c;
    return c;
}

AdminConfig ReadAdminIni(const QString &dir)
{
    AdminConfig c;
    IniFile ini(QDir(dir).filePath(QStringLiteral("Admin.ini")));
    c.fileFound = ini.exists();
    c.porta = ini.readInteger(QStringLiteral("LOCAL"), QStringLiteral("PORTA"), 0);
    c.servidor = ini.readString(QStringLiteral("LOCAL"), QStringLiteral("SERVIDOR"));
    c.banco = ini.readString(QStringLiteral("LOCAL"), QStringLiteral("BANCO"));
    c.usuario = ini.readString(QStringLiteral("LOCAL"), QStringLiteral("USUARIO"), c.usuario);
    c.senha = ini.readString(QStringLiteral("LOCAL"), QStringLiteral("SENHA"), c.senha);
    for (int i = 0; i < 3; ++i) {
        c.email[i] = ini.readString(QStringLiteral("GERAL"), QStringLiteral("EMAIL%1").arg(i + 1));
        c.contato[i] =
            ini.readString(QStringLiteral("GERAL"), QStringLiteral("CONTATO%1").arg(i + 1));
    }
    return c;
}

QString ExecutableDir()
{
    return QCoreApplication::applicationDirPath();
}

bool ApplicationTerminating()
{
    return g_terminating;
}

void TerminateApplication()
{
    g_terminating = true;
    QCoreApplication::exit(0);
}
