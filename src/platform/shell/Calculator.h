#pragma once
// The desktop's calculator, started on its own (the first one installed of a
// short list of common ones).

#include <QString>

namespace Calculator {

// The calculator that would be started ("" when none is installed).
QString program();
// Starts it; false when none is installed or it could not start.
bool start();

} // namespace Calculator
