#pragma once
// Date field typed as dd/MM/yyyy (two-digit years are taken as 19xx/20xx and
// written out in full when the field is left), with a calendar that drops
// down from the button at its right or with F4 / Alt+Down. It may be left
// empty when allowEmpty is on; date() is then an invalid QDate. An impossible
// date (31/02/2024) is kept as typed and flagged, never turned into another
// date: isValidInput() tells the caller, who shows the message.

#include <QDate>
#include <QLineEdit>

class QCalendarWidget;
class QFrame;

class DateEdit : public QLineEdit
{
    Q_OBJECT
public:
    explicit DateEdit(QWidget *parent = nullptr);

    void setAllowEmpty(bool allow);
    bool allowEmpty() const { return m_allowEmpty; }

    // The typed date; invalid when empty or when what is typed is no date.
    QDate date() const;
    // An invalid date empties the field.
    void setDate(const QDate &date);

    // What is typed, without the mask's blanks and separators when nothing is typed.
    QString text() const;
    bool isEmpty() const { return text().isEmpty(); }
    // A real date, or empty when empty is allowed.
    bool isValidInput() const;

    // The drop-down calendar (made on first use).
    QCalendarWidget *calendar();
    bool isCalendarVisible() const;

public slots:
    void showCalendar();
    void hideCalendar();

signals:
    // The typed date changed (an invalid QDate once the field holds no date).
    void dateChanged(const QDate &date);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void onTextChanged();
    void updateFlag();
    void pick(const QDate &date);

    bool m_allowEmpty = true;
    QDate m_lastDate;
    QFrame *m_popup = nullptr;
    QCalendarWidget *m_calendar = nullptr;
};
