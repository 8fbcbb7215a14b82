#pragma once
// Where the registry consultations write what they found: the supplier being
// edited in the current supplier window (app/SupplierWindow.h). receiver()
// returns that window when it has a supplier to fill (its list open and a
// row current, or a new row being included); otherwise it says, in the
// warning box, that no supplier is open to receive the answer, and returns
// null: the consultation then shows its answer and writes nothing.

class SupplierWindow;

namespace ConsultationTarget {

SupplierWindow *receiver();

} // namespace ConsultationTarget
