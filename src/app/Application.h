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
    // Sets the title and the pt_BR formats; the first call also loads Qt's
    // Brazilian Portuguese translations and installs the program's face.
    static void setUp();
};

#include "app/Globals.h"
#include "db/Connection.h"
#include "widgets/Messages.h"

// Runs f and shows a database error the way an unhandled one is shown. When
// given, *outcome tells what the error left in the database: nothing
// written, a conflict, or, after a lost reply, Unknown: then the screen must
// not offer to do it again as if nothing had happened.
template <class F> bool Guarded(F &&f, DbError::Outcome *outcome = nullptr)
{
    try {
        f();
        return true;
    } catch (const DbError &e) {
        if (outcome)
            *outcome = e.outcome();
        Messages::error(AppTitle, e.message());
    }
    return false;
}

class RecordSet;
// A move of a record set: &RecordSet::first, prior, next or last.
using RecordStep = void (RecordSet::*)();
// Moves rows one step when it is open; a database error is shown as Guarded
// shows it.
void GuardedStep(RecordSet *rows, RecordStep step);
