#include "app/Application.h"

#include <QFont>
#include <QLocale>

Application::Application(int &argc, char **argv) : QApplication(argc, argv)
{
    setUp();
}

void Application::setUp()
{
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
