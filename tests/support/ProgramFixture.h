#pragma once
// The program as a screen test needs it: a fresh database, the data module
// connected to it, the clock fixed at a moment and a current user; the clock
// and the user are put back afterwards.

#include "TestDb.h"
#include "app/DM.h"
#include "app/Globals.h"
#include "widgets/Clock.h"

struct ProgramFixture
{
    TestDb db;
    DM dm;
    QString previousUser = CurrentUserName();

    explicit ProgramFixture(const QDateTime &now, const QString &user = CurrentUserName())
    {
        Clock::setFixed(now);
        SetCurrentUserName(user);
        if (db.ok())
            dm.connectWith(TestDb::serverSettings(db.databaseName()));
    }
    ~ProgramFixture()
    {
        Clock::setFixed({});
        SetCurrentUserName(previousUser);
    }
    void exec(const QString &sql) { db.exec(sql); }
    QVariant scalar(const QString &sql) { return db.scalar(sql); }
    int count(const QString &table) { return db.count(table); }
};
