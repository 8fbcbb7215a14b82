#include "payables/PayableRow.h"

#include "app/Helpers.h"

#include <QDate>
#include <QSqlRecord>

PayableRow::PayableRow(const QSqlRecord &record)
{
    for (int i = 0; i < record.count(); ++i)
        m_values.insert(record.fieldName(i).toLower(), record.value(i));
}

PayableRow::PayableRow(std::initializer_list<std::pair<QString, QVariant>> values)
{
    for (const auto &[name, value] : values)
        m_values.insert(name.toLower(), value);
}

QVariant PayableRow::operator()(const QString &column) const
{
    return m_values.value(column.toLower());
}

double PayableRow::money(const char *column) const
{
    return RoundDecimals(2, (*this)(column).toDouble());
}

bool PayableRow::hasDate(const char *column) const
{
    const QDate d = (*this)(column).toDate();
    return d.isValid() && d > QDate(1899, 12, 30);
}
