#pragma once
// "Baixa Contas a Pagar": finishes the entry of a bill paid on the spot on a
// date other than today. It is given what was entered on the new-payable
// screen and shows it (read-only, in upper case), takes the settlement date
// and on "&Confirma " has the payables book write the settled payable, the
// cash-ledger row and the cash hand-off row as one operation: a database
// failure writes none of them and the dialog stays open for another try.

#include "payables/EntryPlan.h"

#include <QDate>
#include <QDialog>

class DateEdit;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

class FrmBaixaPagar : public QDialog
{
    Q_OBJECT
public:
    explicit FrmBaixaPagar(QWidget *parent = nullptr);
    ~FrmBaixaPagar() override;

    // The program's own instance, created hidden at start-up and kept for the
    // run (made on first use, without parent). The new-payable screen opens
    // an instance of its own.
    static FrmBaixaPagar *instance();

    // Fills the display fields and keeps the values the confirmation writes;
    // the settlement date is emptied.
    void setValues(const NewPayableValues &values);
    const NewPayableValues &values() const { return m_values; }

    DateEdit *dataQuitacao() const { return m_quitacao; }
    QPushButton *confirmButton() const { return m_confirma; }
    // The display field whose object name is given (see the .cpp).
    QLineEdit *display(const QString &objectName) const;
    QPlainTextEdit *memo() const { return m_obs; }

public slots:
    void BitBtn1Click(); // "&Confirma "

protected:
    void showEvent(QShowEvent *event) override;

private:
    NewPayableValues m_values;
    DateEdit *m_quitacao = nullptr;
    QPushButton *m_confirma = nullptr;
    QPlainTextEdit *m_obs = nullptr;
};
