#pragma once
// Starting another program of the suite and waiting for it while the
// windows keep working: the wait pumps events and ends when the program ends
// or when this program is asked to terminate (the other one goes on).

#include <QString>
#include <QStringList>

#include <functional>

namespace SiblingProgram {

enum class Result { NotFound, NotStarted, Finished, Interrupted };

// The program file in dir: the name as given, or, on this platform, the same
// name without ".exe". Empty when neither exists.
QString find(const QString &dir, const QString &fileName);

// Starts path with args and waits. shouldStop is asked every 100 ms.
Result runAndWait(const QString &path, const QStringList &args,
                  const std::function<bool()> &shouldStop);

} // namespace SiblingProgram
