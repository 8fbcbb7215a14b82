#pragma once
// How a cell's value becomes the text the reader delivers, the same for
// every file format:
// - a number in plain decimal form with a decimal comma, no thousands
//   separator and none of the cell's display format: 1234,5 and 0,1. The
//   value is taken at the 15 significant digits a spreadsheet keeps and
//   shows, so a stored 0.30000000000000004 (the sum 0.1 + 0.2) reads 0,3;
// - a date as dd/MM/yyyy, followed by " HH:mm:ss" only when the cell holds a
//   time of day (rounded to the second); a time-of-day cell with no date
//   part reads HH:mm:ss;
// - a boolean as a Brazilian spreadsheet shows it: VERDADEIRO or FALSO;
// - an error value by its Brazilian name (#N/A is #N/D, #VALUE! is #VALOR!).
// Numbers and dates are written the Brazilian way whatever the process's
// locale, as the rest of the program shows them.

#include <QDate>
#include <QString>
#include <QStringView>
#include <QTime>

namespace CellText {

// What a number format makes of a number cell.
enum class NumberKind { Number, Date, Time };

// Built-in number formats of the spreadsheet file formats (xlsx and xls).
NumberKind builtinFormatKind(int formatId);
// A format code such as "dd/mm/yyyy hh:mm", "[h]:mm:ss" or "#,##0.00": only
// its first section counts, and quoted or escaped text, colours and
// conditions do not.
NumberKind formatCodeKind(QStringView code);

QString number(double value);
// A spreadsheet serial day number (days since 30/12/1899, or since
// 01/01/1904 in a workbook of the 1904 date system) as a date or time text.
// A value no calendar holds (negative, past 9999) reads as a number.
QString serialDate(double serial, NumberKind kind, bool date1904 = false);
// An invalid or midnight time gives the date alone.
QString dateTime(const QDate &date, const QTime &time = {});
QString timeOfDay(const QTime &time);
QString boolean(bool value);
QString errorValue(QStringView code);
// Whether a formula's text result is an error value (by either name, or
// LibreOffice's "Err:502"), for files that store errors as text.
bool isErrorValue(QStringView text);

// Row and column from 0 to a cell's name ("D7"), and back; false for a
// name that is not a cell reference.
QString columnName(int column);
QString cellName(int row, int column);
bool parseCellName(QStringView name, int *row, int *column);

} // namespace CellText
