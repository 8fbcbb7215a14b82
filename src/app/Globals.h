#pragma once
// Process-wide values of the program, one place each.

#include "web/WebSettings.h"

#include <QString>
#include <QStringList>

inline const QString AppTitle = QStringLiteral("Cadastro e Manutenção de Contas a Pagar");
// The maker's name and contact line, in window captions and the main menu's footer.
inline const QString MakerCaption =
    QStringLiteral("Quarvo Sistemas - Suporte: (11) 4002-8922 - suporte@quarvo.com.br");

// Name of the user who runs the program (second command-line argument).
QString CurrentUserName();
void SetCurrentUserName(const QString &name);
// First command-line argument as received, handed on to the sibling programs.
QString LauncherFirstArgument();
void SetLauncherFirstArgument(const QString &arg);

// Connection losses counted over the whole run by the reconnect policy.
extern int ConnectionLossCount;

// Values read from "Admin.ini" at start-up.
struct AdminConfig
{
    int porta = 0;
    QString servidor;
    QString banco;
    QString usuario = QStringLiteral("root");
    QString senha = QStringLiteral("kqz7314");
    QString email[3];
    QString contato[3];
    // Seconds before a silent server counts as lost (LOCAL TEMPO_CONEXAO,
    // TEMPO_LEITURA).
    int tempoConexao = 10;
    int tempoLeitura = 60;
    // The public services (section [WEB]: postcode, company and person
    // registries); a value that cannot be used keeps its default and is
    // described in webProblems, which never stops the start-up.
    WebSettings web;
    QStringList webProblems;
    bool fileFound = false;
    // The Admin.ini that was read; when none was found, the first place
    // looked at.
    QString path;
    // What is wrong with the file, one sentence each naming the key and the
    // file; empty when it can be used. A missing file is a problem too, and
    // its sentence names every place looked at.
    QStringList problems;
};
AdminConfig &Config();
// The places "Admin.ini" is looked for, in order: beside the executable
// (exeDir, as the suite's programs always kept it), the user's own
// ($XDG_CONFIG_HOME/contas-pagar, by default ~/.config/contas-pagar) and the
// machine's (/etc/contas-pagar).
QStringList AdminIniPlaces(const QString &exeDir);
// Reads the first file of AdminIniPlaces(dir) that exists (absent keys keep
// their defaults). A file that exists but cannot be read is a problem, not a
// reason to go on to the next place: its settings were meant to apply.
AdminConfig ReadAdminIni(const QString &dir);
// Directory of the running executable.
QString ExecutableDir();

// Set when the program has been asked to end (the main window's "X").
bool ApplicationTerminating();
void TerminateApplication();
