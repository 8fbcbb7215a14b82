#pragma once
// A clerk who typed a correction must not lose it silently. Before a screen
// closes, or replaces the rows under a pending edit (another order, a search,
// a refresh), it asks here: "Deseja salvar as alterações?" with Yes (save and
// go on), No (drop the edit and go on) and Cancel (stay in the edit).

#include <QString>

#include <functional>

class RecordSet;

namespace PendingEdit {

// True when the caller may go on. Nothing is asked when rows is not being
// edited. save is the screen's own save (its validations included) and
// returns whether it saved; a refused save keeps the edit and stops.
bool resolve(RecordSet *rows, const std::function<bool()> &save,
             const QString &title = QStringLiteral("Atenção"));

} // namespace PendingEdit
