#pragma once
// Creates the program's database on a server, so that an office can set up a
// server without the source tree: the database itself (utf8mb4,
// utf8mb4_unicode_ci), every table of the schema script and, when asked, the
// demo company.
//
// Contract:
// - A database that already holds tables (the program's or anybody else's)
//   is refused and left untouched: nothing is created in it, not even the
//   table of operation ids that a connection to it would add.
// - A database that exists but is empty (made beforehand by an administrator
//   who granted a user rights on it alone) receives the tables.
// - A creation that fails part way is undone before returning (the database
//   dropped when this run created it, the tables dropped when it was empty
//   before), so it can simply be run again once the cause is mended; when even
//   that is impossible the message says what is left and what to do.
// - The name is checked before it reaches the server: it cannot be a bound
//   parameter, so only letters without accents, digits, "_", "$" and "-" are
//   accepted, and it is always written back-quoted.

#include "db/Connection.h"

#include <QString>

class DatabaseCreation
{
public:
    struct Request
    {
        ConnectionSettings server; // its database is not used
        QString database;
        QString schemaScript;
        QString demoScript; // empty: no demo data
    };
    enum class Result {
        Created,     // a new database with the tables (and the demo data)
        FilledEmpty, // the tables (and the demo data) in a database that was empty
        InvalidName,
        Refused, // the database already holds tables; nothing was done
        Failed,  // the server could not be reached or refused a statement
    };
    struct Outcome
    {
        Result result = Result::Failed;
        QString message; // in Portuguese, for the person who asked
        QString server;  // the host that answered
        // Tables in the database afterwards (0 when they could not be
        // counted), or found there when refused.
        int tables = 0;
        bool succeeded() const
        {
            return result == Result::Created || result == Result::FilledEmpty;
        }
    };

    static Outcome run(const Request &request);
    static bool validName(const QString &database);
};
