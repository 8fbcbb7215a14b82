#pragma once
// Rounding of money and the time-of-day text used in the rows the screens write.

#include <QString>

class QDialog;
class QTime;

// value rounded to n decimals, half away from zero on the value actually
// stored (1.005 is stored just below 1.005 and gives 1.00; 0.125 gives 0.13).
double RoundDecimals(int n, double value);
// value rounded to a whole number, half away from zero (2.5 -> 3, -2.5 -> -3).
int RoundToInteger(double value);
// The time of day as "HH:mm:ss": now, or the given time.
QString CurrentTimeText();
QString TimeText(const QTime &time);
// Gives freed memory back to the system and runs the pending events once.
void TrimWorkingSet();
// Runs a screen the way every screen but the main window runs: modally
// (through Modal::exec), then TrimWorkingSet, then the screen is destroyed.
// Returns the screen's result.
int RunScreen(QDialog *screen);
