#pragma once
// The stand-in for a missing classification: where a path writes a code and
// a name of a payment type, expense type or cost centre and the row it comes
// from has none, it writes code 99999 and the name "DIVERSOS" (the
// settlements and the spending summaries do; the statement import writes
// 99999 as the supplier and cost centre of imported movements).

#include <QString>

namespace Classification {

inline constexpr double SemCodigo = 99999;
inline const QString Diversos = QStringLiteral("DIVERSOS");

} // namespace Classification
