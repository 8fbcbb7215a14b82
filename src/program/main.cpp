// Cadastro e Manutenção de Contas a Pagar: program entry.
// Command line: contas-pagar FIRST USER (the suite's launcher passes the
// user's name as the second argument), or
// contas-pagar --relatorio NAME ... --saida FILE to write a report unattended,
// or contas-pagar --enviar-email ... to e-mail the open payables unattended,
// or contas-pagar --help | --version | --criar-banco [--com-demonstracao].

#include "app/Application.h"
#include "app/DM.h"
#include "app/Globals.h"
#include "payables/FrmBaixaPagar.h"
#include "program/FrmPrincipal.h"
#include "program/SetupCommand.h"
#include "reports/ReportDialogs.h"
#include "reports/Reports.h"
#include "shell/SingleInstance.h"
#include "widgets/Messages.h"

#include <cstdio>

int main(int argc, char **argv)
{
    QStringList raw;
    for (int i = 0; i < argc; ++i)
        raw << QString::fromLocal8Bit(argv[i]);
    // Help and version need neither a display nor the database driver.
    const SetupCommand::Kind setup = SetupCommand::kind(raw);
    if (setup == SetupCommand::Kind::Help || setup == SetupCommand::Kind::Version) {
        QCoreApplication core(argc, argv);
        return SetupCommand::run(QCoreApplication::arguments());
    }
    const bool reportCommand =
        setup == SetupCommand::Kind::CreateDatabase || Reports::isReportCommand(raw);
    // An unattended report or e-mail opens no window, so it needs no display.
    if (reportCommand && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    Application app(argc, argv);
    // Lets the desktop match the windows with the menu entry.
    QGuiApplication::setDesktopFileName(QStringLiteral("br.com.quarvo.ContasPagar"));
    const QStringList args = QCoreApplication::arguments();

    if (setup == SetupCommand::Kind::CreateDatabase)
        return SetupCommand::run(args);
    if (reportCommand) {
        // Nobody is there to close a box: the command says what went wrong
        // on the error output, start-up problems included, once.
        Messages::setHandler([](const MessageBoxRequest &) { return QMessageBox::Ok; });
        DM dm;
        dm.DataModuleCreate(ExecutableDir());
        Messages::setHandler([](const MessageBoxRequest &r) {
            std::fprintf(stderr, "%s\n", qPrintable(r.text));
            return QMessageBox::Ok;
        });
        return Reports::runCommandLine(args);
    }

    SetLauncherFirstArgument(args.value(1));
    SetCurrentUserName(args.value(2));

    // A second start brings the running one forward and ends before any window.
    SingleInstance instance(AppTitle);
    if (instance.anotherIsRunning())
        return 0;
    instance.listen();

    DM dm;
    dm.DataModuleCreate(ExecutableDir());
    FrmPrincipal main;
    // Created at start-up and kept for the whole run, hidden until used.
    frmGeral::instance();
    FrmBaixaPagar::instance();
    Reports::registerHubEntries();
    QObject::connect(&instance, &SingleInstance::activationRequested, &main,
                     &FrmPrincipal::bringToFront);
    main.show();
    return app.exec();
}
