#pragma once
// The program's commands for the person who installs it, none of which opens
// a window or checks for a running instance:
//
//   contas-pagar --help | -h      what the program takes, where Admin.ini is
//                                 looked for, the exit codes (exit 0)
//   contas-pagar --version        the version (exit 0)
//   contas-pagar --criar-banco [--com-demonstracao]
//                                 creates the database named in Admin.ini on
//                                 its server from the installed scripts (and
//                                 the demo company with --com-demonstracao)
//
// --criar-banco uses the exit codes of the unattended reports: 0 created,
// 2 bad argument, 3 configuration or database (Admin.ini missing or wrong, the
// server unreachable or refusing, the database already holding tables). What
// happened is said in Portuguese, on the standard output on success and on
// the error output otherwise.

#include <QString>
#include <QStringList>

namespace SetupCommand {

enum class Kind { None, Help, Version, CreateDatabase };
// Which of these commands the arguments ask for (--help wins over the rest,
// then --version); None for every other start.
Kind kind(const QStringList &arguments);

QString version();
QString helpText();

// Runs the command (a QCoreApplication must exist; --criar-banco needs the
// database driver, so a QApplication or QCoreApplication with the program's
// set-up) and gives its exit code.
int run(const QStringList &arguments);

} // namespace SetupCommand
