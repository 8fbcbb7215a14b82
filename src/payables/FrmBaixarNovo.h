#pragma once
// "BAIXAR CONTAS A PAGAR": settles one payable in one of three ways, each a
// button that runs once: in cash (optionally booked in the cash ledger and
// handed to the cash program), through the bank (a debit on the interest
// pseudo-account of the checking-account ledger) or partially ("DPC": the
// payable is closed with the value paid and the remainder becomes a new open
// payable of the same note).
//
// The screen is given the payable's key and what it shows (the value owed,
// and the branch the settlement is booked in); it checks what was typed,
// asks its question, has the payables book settle the payable (one
// operation, on the payable as the server holds it at that moment: settled
// or deleted meanwhile, it is not paid) and says the outcome. It touches no
// other window: whoever opened it follows it through its signals (the
// maintenance screen re-reads its list and sets its tool bars) and may read
// the outcome afterwards.

#include "payables/PayablesBook.h"

#include <QDialog>
#include <QVariant>

#include <optional>

class DateEdit;
class MoneyEdit;
class QPushButton;
class TitleBand;

class FrmBaixarNovo : public QDialog
{
    Q_OBJECT
public:
    // The payable to settle, as its opener has it.
    struct Payable
    {
        QVariant key;     // Controle; invalid: no payable, the modes do nothing
        double valor = 0; // "Valor Duplicata", rounded to cents
        // The branch the work row and the ledger debit are booked in.
        QVariant branchCode;
        QVariant branchName;
    };

    explicit FrmBaixarNovo(const Payable &payable, QWidget *parent = nullptr);
    ~FrmBaixarNovo() override;

    const Payable &payable() const { return m_payable; }
    // What the last mode that reached the database came to (none yet: empty).
    const std::optional<PayablesBook::SettlementOutcome> &outcome() const { return m_outcome; }

    DateEdit *DateEdit1() const { return m_data; }           // "Data de Quitação"
    MoneyEdit *CurrencyEdit1() const { return m_valorDup; }  // "Valor Duplicata"
    MoneyEdit *CurrencyEdit2() const { return m_valorPago; } // "Valor Pago"
    MoneyEdit *CurrencyEdit3() const { return m_diferenca; } // "Diferença"
    QPushButton *SpeedButton1() const { return m_caixa; }    // "Baixa Cai&xa"
    QPushButton *SpeedButton2() const { return m_banco; }    // "Baixar P/Banco"
    QPushButton *TSpeedButton7() const { return m_dpc; }     // "Baixar &Dpc"
    TitleBand *titleBand() const { return m_title; }

signals:
    // The screen came up.
    void shown();
    // A mode ran: written false when the database refused it (nothing was
    // written, the buttons come back for another try), otherwise its outcome.
    void modeFinished(bool written, const PayablesBook::SettlementOutcome &outcome);

public slots:
    void SpeedButton1Click();  // cash
    void SpeedButton2Click();  // bank
    void TSpeedButton7Click(); // partial (DPC)
    // "Valor Pago" left: "Diferença" = "Valor Pago" - "Valor Duplicata".
    void CurrencyEdit2Exit();

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    enum class Mode { Caixa, Banco, Dpc };
    void run(Mode mode);
    void setModeButtonsVisible(bool visible);

    Payable m_payable;
    std::optional<PayablesBook::SettlementOutcome> m_outcome;
    TitleBand *m_title = nullptr;
    DateEdit *m_data = nullptr;
    MoneyEdit *m_valorDup = nullptr;
    MoneyEdit *m_valorPago = nullptr;
    MoneyEdit *m_diferenca = nullptr;
    QPushButton *m_caixa = nullptr;
    QPushButton *m_banco = nullptr;
    QPushButton *m_dpc = nullptr;
};
