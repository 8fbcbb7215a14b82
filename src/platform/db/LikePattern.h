#pragma once
// Search texts typed by a clerk, made into LIKE patterns to be bound as
// parameters: blanks trimmed at both ends, "%" and "_" keep their wildcard
// meaning, and a backslash stands for itself (LIKE would otherwise take it as
// its escape character).

#include <QString>

namespace LikePattern {

inline QString exact(const QString &typed)
{
    QString t = typed.trimmed();
    t.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    return t;
}

inline QString prefix(const QString &typed)
{
    return exact(typed) + QLatin1Char('%');
}

} // namespace LikePattern
