#include "app/Application.h"

#include "db/RecordSet.h"

#include "widgets/ProgramFace.h"

#include <QFont>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <clocale>

Application::Application(int &argc, char **argv) : QApplication(argc, argv)
{
    setUp();
}

void Application::setUp()
{
    // QApplication adopts the environment's locale for the C library too, and
    // under pt_BR that makes printf/strtod write and read "1234,56". The
    // libraries we link format numbers with the C library (libxlsxwriter's
    // sheet XML, the database client, libcurl), and a comma there corrupts
    // files and values. Qt's own formatting goes through QLocale, which stays
    // pt_BR below, so only the C library's numbers go back to "C".
    std::setlocale(LC_NUMERIC, "C");
    QCoreApplication::setApplicationName(QStringLiteral("contas-pagar"));
    QGuiApplication::setApplicationDisplayName(AppTitle);
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
    static bool done = false;
    if (done)
        return;
    done = true;
    // Qt's own dialogs and buttons (the save and print dialogs, button boxes,
    // the context menu of an edit) speak Portuguese too. Captions the program
    // gives its buttons are its own and stay as they are.
    static QTranslator qtbase;
    const QString dir = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (qtbase.load(QStringLiteral("qtbase_pt_BR"), dir))
        QCoreApplication::installTranslator(&qtbase);
    else
        qWarning("contas-pagar: traduções do Qt (qtbase_pt_BR.qm) não encontradas em %s",
                 qPrintable(dir));
    ProgramFace::install();
}

bool Application::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const DbError &e) {
        Messages::error(AppTitle, e.message());
    } catch (const std::exception &e) {
        Messages::error(AppTitle, QString::fromLocal8Bit(e.what()));
    }
    return false;
}

void GuardedStep(RecordSet *rows, RecordStep step)
{
    if (rows->isOpen())
        Guarded([&] { (rows->*step)(); });
}
