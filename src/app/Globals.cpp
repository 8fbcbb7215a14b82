#include "app/Globals.h"

#include "app/IniFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

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

QStringList AdminIniPlaces(const QString &exeDir)
{
    const QString name = QStringLiteral("Admin.ini");
    // XDG_CONFIG_HOME when it is an absolute path, otherwise ~/.config: a
    // relative one would make the file read depend on the working folder.
    QString userConfig = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (!QDir::isAbsolutePath(userConfig))
        userConfig = QDir::homePath() + QStringLiteral("/.config");
    return {QDir(exeDir).filePath(name),
            QDir(userConfig).filePath(QStringLiteral("contas-pagar/") + name),
            QStringLiteral("/etc/contas-pagar/") + name};
}

AdminConfig ReadAdminIni(const QString &dir)
{
    AdminConfig c;
    const QStringList places = AdminIniPlaces(dir);
    c.path = places.first();
    for (const QString &place : places) {
        if (QFileInfo::exists(place)) {
            c.path = place;
            break;
        }
    }
    IniFile ini(c.path);
    c.fileFound = ini.exists();
    if (!c.fileFound) {
        const QFileInfo info(c.path);
        if (!info.exists())
            c.problems << QStringLiteral("O arquivo de configuração Admin.ini não foi encontrado. "
                                         "Foi procurado em:\n%1")
                              .arg(places.join(QLatin1Char('\n')));
        else
            c.problems << QStringLiteral("O arquivo de configuração %1 existe, mas não pôde ser "
                                         "lido (%2).")
                              .arg(c.path, info.isFile()
                                               ? QStringLiteral("sem permissão de leitura")
                                               : QStringLiteral("não é um arquivo"));
        return c;
    }
    // A number key that is present must hold a number in its range: a typo
    // must not silently become the default port or timeout.
    auto number = [&](const QString &key, int fallback, int low, int high, const QString &what) {
        if (!ini.hasKey(QStringLiteral("LOCAL"), key))
            return fallback;
        const QString text = ini.readString(QStringLiteral("LOCAL"), key).trimmed();
        bool ok = false;
        const int v = text.toInt(&ok);
        if (text.isEmpty())
            return fallback;
        if (ok && v >= low && v <= high)
            return v;
        c.problems << QStringLiteral("%1, seção [LOCAL], chave %2: \"%3\" não é %4 (use um número "
                                     "de %5 a %6).")
                          .arg(c.path, key, text, what)
                          .arg(low)
                          .arg(high);
        return fallback;
    };
    c.porta = number(QStringLiteral("PORTA"), 0, 1, 65535, QStringLiteral("uma porta válida"));
    c.tempoConexao = number(QStringLiteral("TEMPO_CONEXAO"), c.tempoConexao, 1, 3600,
                            QStringLiteral("um tempo em segundos válido"));
    c.tempoLeitura = number(QStringLiteral("TEMPO_LEITURA"), c.tempoLeitura, 1, 86400,
                            QStringLiteral("um tempo em segundos válido"));
    c.servidor = ini.readString(QStringLiteral("LOCAL"), QStringLiteral("SERVIDOR"));
    c.banco = ini.readString(QStringLiteral("LOCAL"), QStringLiteral("BANCO"));
    c.usuario = ini.readString(QStringLiteral("LOCAL"), QStringLiteral("USUARIO"), c.usuario);
    c.senha = ini.readString(QStringLiteral("LOCAL"), QStringLiteral("SENHA"), c.senha);
    for (int i = 0; i < 3; ++i) {
        c.email[i] = ini.readString(QStringLiteral("GERAL"), QStringLiteral("EMAIL%1").arg(i + 1));
        c.contato[i] =
            ini.readString(QStringLiteral("GERAL"), QStringLiteral("CONTATO%1").arg(i + 1));
    }
    c.web = WebSettings::fromIni(
        [&ini](const QString &section, const QString &key) { return ini.readString(section, key); },
        &c.webProblems);
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
