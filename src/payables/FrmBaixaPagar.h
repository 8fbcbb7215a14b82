#pragma once
// "Baixa Contas a Pagar": finishes the entry of a bill paid on the spot on a
// date other than today. It shows what was entered on the new-payable screen
// (read-only, in upper case), takes the settlement date and on "&Confirma "
// writes the settled payable, the cash-ledger row and the cash hand-off row,
// all three in one transaction: a database failure writes none of them and
// the dialog stays open for another try.

#include "payables/frmPagarNovo.h"

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

    // Writes a bill paid at entry in one transaction: the settled payable
    // (settled on quitacao), its cash-ledger row and its hand-off row (both
    // dated today, for the total as typed). Throws DbError; nothing is then
    // written.
    static void writeSettled(const NewPayableValues &values, const QDate &quitacao);

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
