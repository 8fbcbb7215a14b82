#pragma once
// Creates the program's tables in a database from the schema script that is
// built into the program, and loads the demo company. The same scripts are
// installed beside the program (share/contas-pagar), where an office's
// administrator can read them and --criar-banco takes them from.

#include <QString>

class Connection;

namespace Schema {

// The built-in scripts.
QString schemaScript();
QString demoScript();

// The folder of the installed scripts of a program in exeDir:
// exeDir/../share/contas-pagar, which is /usr/share/contas-pagar for
// /usr/bin/contas-pagar, the same place inside a package unpacked anywhere,
// and build/share/contas-pagar for the program of the build tree.
QString installedScriptDir(const QString &exeDir);
// The script fileName ("schema.sql", "demo.sql") of dir, or the built-in
// copy when dir has none; *source is the file read, or "" for the built-in
// copy. A file that is there but cannot be read throws a DbError: it is not
// quietly replaced by another copy.
QString readScript(const QString &dir, const QString &fileName, QString *source);

// Splits a script into statements (a ";" at the end of a line ends one;
// whole-line "-- " comments are skipped) and runs them in order.
void runScript(Connection &connection, const QString &script);
QStringList splitScript(const QString &script);

// Creates every table (existing tables are kept).
void create(Connection &connection);

} // namespace Schema
