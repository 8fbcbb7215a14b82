#pragma once
// "BAIXAR CONTAS A PAGAR": settles the payable that is the current row of the
// maintenance screen's list, in one of three ways, each a button that runs
// once: in cash (optionally booked in the cash ledger and handed to the cash
// program), through the bank (a debit on the interest pseudo-account of the
// checking-account ledger) or partially ("DPC": the payable is closed with the
// value paid and the remainder becomes a new open payable of the same note).
//
// Every mode asks its question first and then writes all its rows in one
// transaction, on the payable as the server holds it at that moment (locked),
// so a payable settled or deleted meanwhile by another workstation is never
// paid twice and a failure leaves nothing half written.

#include <QDialog>
#include <QVariant>

class DateEdit;
class MoneyEdit;
class QPushButton;
class TitleBand;
class frmPagarManutencao;

class FrmBaixarNovo : public QDialog
{
    Q_OBJECT
public:
    explicit FrmBaixarNovo(frmPagarManutencao *hub, QWidget *parent = nullptr);
    ~FrmBaixarNovo() override;

    // Creates the screen for the hub's current payable, runs it modally,
    // trims the working set when it closes and destroys it.
    static void open(frmPagarManutencao *hub);

    DateEdit *DateEdit1() const { return m_data; }           // "Data de Quitação"
    MoneyEdit *CurrencyEdit1() const { return m_valorDup; }  // "Valor Duplicata"
    MoneyEdit *CurrencyEdit2() const { return m_valorPago; } // "Valor Pago"
    MoneyEdit *CurrencyEdit3() const { return m_diferenca; } // "Diferença"
    QPushButton *SpeedButton1() const { return m_caixa; }    // "Baixa Cai&xa"
    QPushButton *SpeedButton2() const { return m_banco; }    // "Baixar P/Banco"
    QPushButton *TSpeedButton7() const { return m_dpc; }     // "Baixar &Dpc"
    TitleBand *titleBand() const { return m_title; }

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
    void hubToBrowsing();

    frmPagarManutencao *m_hub;
    TitleBand *m_title = nullptr;
    DateEdit *m_data = nullptr;
    MoneyEdit *m_valorDup = nullptr;
    MoneyEdit *m_valorPago = nullptr;
    MoneyEdit *m_diferenca = nullptr;
    QPushButton *m_caixa = nullptr;
    QPushButton *m_banco = nullptr;
    QPushButton *m_dpc = nullptr;
};
