#pragma once
// Amount field. Away from the focus it shows the amount as 1.234,56; while
// being typed in it shows 1234,56 and accepts "1234,56", "1.234,56",
// "1234.56" or "-10". Text that is no number is kept as typed and flagged
// (hasValidValue() false), never read as 0, so the caller can say so.
// An empty field is a valid zero (isEmpty() tells it apart).

#include <QLineEdit>

class MoneyEdit : public QLineEdit
{
    Q_OBJECT
public:
    explicit MoneyEdit(QWidget *parent = nullptr);

    void setDecimals(int decimals); // default 2
    int decimals() const { return m_decimals; }

    // The amount typed; 0 when empty or not a number (see hasValidValue()).
    double value() const;
    void setValue(double value);
    bool hasValidValue() const;
    bool isEmpty() const { return QLineEdit::text().trimmed().isEmpty(); }

signals:
    // The field was left (or Enter pressed) holding a new valid amount.
    void valueChanged(double value);

protected:
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    double parse(bool *ok) const;
    QString shown(double value) const;
    QString typed(double value) const;
    void finish();
    void updateFlag();

    int m_decimals = 2;
    double m_lastValue = 0;
};
