#pragma once
// Creates the program's tables in a database from the schema script that is
// built into the program, and loads the demo company.

#include <QString>

class Connection;

namespace Schema {

// The built-in scripts.
QString schemaScript();
QString demoScript();

// Splits a script into statements (a ";" at the end of a line ends one;
// whole-line "-- " comments are skipped) and runs them in order.
void runScript(Connection &connection, const QString &script);
QStringList splitScript(const QString &script);

// Creates every table (existing tables are kept).
void create(Connection &connection);

} // namespace Schema
