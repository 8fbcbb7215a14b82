#pragma once
// Binds edit controls to the fields of a record set's current row: moving the
// record set shows the row in the controls, and a change typed or chosen by
// the user puts the row into edit mode and sets the field (saving or
// cancelling is the screen's).

#include "db/RecordSet.h"

#include <QList>
#include <QObject>
#include <QPair>
#include <QPointer>

#include <functional>

class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QWidget;
class DateEdit;
class MoneyEdit;

class FieldBinder : public QObject
{
    Q_OBJECT
public:
    explicit FieldBinder(RecordSet *rs, QObject *parent = nullptr);

    // Text; readOnly controls only show. upper shows the value in upper case.
    void bindText(QLineEdit *edit, const QString &field, bool readOnly = false, bool upper = false);
    // Numbers shown as they are (codes, counts); typed numbers are read the
    // Brazilian way.
    void bindNumber(QLineEdit *edit, const QString &field, bool readOnly = false);
    void bindMoney(MoneyEdit *edit, const QString &field);
    void bindDate(DateEdit *edit, const QString &field);
    void bindMemo(QPlainTextEdit *edit, const QString &field, bool readOnly = false);
    // A choice of captions standing for stored values ("Sim" = "S").
    void bindChoice(QComboBox *box, const QString &field,
                    const QList<QPair<QString, QString>> &captionsAndValues);

    // Shows the current row in every control.
    void refresh();
    // Takes what is typed in controls that write only when left (amounts,
    // numbers, dates): a save pressed on a tool button, which does not take
    // the focus, must not lose it.
    void commit();
    // A bound control whose text cannot be taken (an impossible date, an
    // amount that is not a number), with the message that says so; null when
    // every control holds something valid.
    QWidget *firstInvalid(QString *message = nullptr) const;

private:
    struct Binding
    {
        QPointer<QWidget> widget;
        QString field;
        std::function<void(const QVariant &)> show;
        std::function<void()> commit; // empty for controls that write at once
    };
    void add(QWidget *w, const QString &field, std::function<void(const QVariant &)> show,
             std::function<void()> commit = {});
    // Puts the row into edit mode (the first change of a control does it).
    void beginEdit(QWidget *w);
    void write(QWidget *w, const QString &field, const QVariant &value);

    RecordSet *m_rs;
    QList<Binding> m_bindings;
    bool m_showing = false;
    QWidget *m_writing = nullptr;
    QList<QPointer<QWidget>> m_pending; // typed in, not yet written
};
