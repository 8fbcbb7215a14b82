#pragma once
// Today and now for the whole program; tests fix them.

#include <QDate>
#include <QDateTime>

namespace Clock {

QDate today();
QDateTime now();
// Tests: fix the clock at a moment (an invalid value returns to the real clock).
void setFixed(const QDateTime &moment);

} // namespace Clock
