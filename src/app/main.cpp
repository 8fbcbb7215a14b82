// Cadastro e Manutenção de Contas a Pagar: program entry.
// Command line: contas-pagar FIRST USER (the suite's launcher passes the
// user's name as the second argument).

#include "app/Application.h"
#include "app/DM.h"
#include "app/FrmPrincipal.h"
#include "app/Globals.h"
#include "payables/FrmBaixaPagar.h"
#include "shell/SingleInstance.h"

int main(int argc, char **argv)
{
    Application app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
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
    FrmBaixaPagar::instance(); // the quick settlement dialog lives for the whole run
    QObject::connect(&instance, &SingleInstance::activationRequested, &main,
                     &FrmPrincipal::bringToFront);
    main.show();
    return app.exec();
}
