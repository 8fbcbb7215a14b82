#pragma once
// The application object: every database error that escapes an event handler
// ends that action and is shown in the standard error box, titled with the
// application title, instead of ending the program.

#include <QApplication>

class Application : public QApplication
{
    Q_OBJECT
public:
    Application(int &argc, char **argv);
    bool notify(QObject *receiver, QEvent *event) override;
    // Sets the title, the pt_BR formats and the default font of the program.
    static void setUp();
};

// Runs f and shows a database error the way an unhandled one is shown.
template <class F> bool Guarded(F &&f);

#include "app/Globals.h"
#include "db/Connection.h"
#include "widgets/Messages.h"

template <class F> bool Guarded(F &&f)
{
    try {
        f();
        return true;
    } catch (const DbError &e) {
        Messages::error(AppTitle, e.message());
    }
    return false;
}
