#include "app/Application.h"

#include <QFont>
#include <QLocale>

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
