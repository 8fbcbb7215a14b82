#pragma once
// A payable as read from `pagar`: its columns by name, matched without regard
// to case, each value as the driver gave it (a NULL column is a null value).
// The plans of the payables book work on it, so they can be given a payable
// made in memory as well as one read from the server.

#include <QHash>
#include <QString>
#include <QVariant>

#include <initializer_list>
#include <utility>

class QSqlRecord;

class PayableRow
{
public:
    PayableRow() = default;
    explicit PayableRow(const QSqlRecord &record);
    PayableRow(std::initializer_list<std::pair<QString, QVariant>> values);

    // The column's value; an invalid QVariant when the row has no such column.
    QVariant operator()(const QString &column) const;
    QVariant operator()(const char *column) const { return (*this)(QString::fromLatin1(column)); }
    QString text(const char *column) const { return (*this)(column).toString(); }
    // An amount rounded to cents with RoundDecimals (a null amount is 0).
    double money(const char *column) const;
    // Whether a date column holds a date: on or before 30/12/1899 is the
    // zero date, no date at all.
    bool hasDate(const char *column) const;

private:
    QHash<QString, QVariant> m_values; // lower-case names
};
