#pragma once
// Binds a group of radio buttons to a column of a record set's current row:
// each button stands for one stored value ("1 - CONTRIBUINTE ICMS" for 1,
// "Credito" for "E"). Moving the record set checks the button of the row's
// value (none when the value is none of them); a click by the person puts the
// row into edit mode and stores the button's value. readOnly groups only show.

#include <QList>
#include <QObject>
#include <QPair>
#include <QString>
#include <QVariant>

class QAbstractButton;
class QButtonGroup;
class RecordSet;

class RadioBinding : public QObject
{
    Q_OBJECT
public:
    RadioBinding(RecordSet *rows, const QString &column,
                 const QList<QPair<QAbstractButton *, QVariant>> &buttonsAndValues,
                 QObject *parent = nullptr);

    void setReadOnly(bool readOnly);
    bool isReadOnly() const { return m_readOnly; }
    void refresh();

private:
    void clicked(int id);

    RecordSet *m_rows;
    QString m_column;
    QButtonGroup *m_group;
    QList<QVariant> m_values;
    bool m_readOnly = false;
    bool m_showing = false;
};
