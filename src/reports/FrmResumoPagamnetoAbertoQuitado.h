#pragma once
// "Em Aberto e Quitado no Periodo Por Tipo": for one cost centre or one
// supplier, what was paid in the period and what is still open and falls
// due in it. Modal, centred; opened from the payables maintenance screen's
// report menu.
//
// - The radio group "Tipo :" ("Central de Custo", "Fornecedor") starts with
//   no choice and every label, lookup edit and date picker hidden. Choosing
//   an item opens its list, shows its lookup edit (both in the same place)
//   and the two pickers, and hides the other edit.
// - "&Gerar" fills this workstation's `resumo` (PaymentSummaryFill) for the
//   code the edit stands for (ReportInput::listCode: an empty edit uses the
//   list's current row, a name not in the list is refused with a message)
//   and previews RptResumoPagamentoAbertoQuitado, which stays open on its
//   own. Without a choice in "Tipo :" the report prints empty. It can run
//   any number of times.
// - "&Close" closes.
//
// Buttons run public slots, so a test presses them as a clerk would.

#include "reports/PaymentSummaryFill.h"

#include <QDialog>

class DateEdit;
class LookupEdit;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class RecordSet;

class FrmResumoPagamnetoAbertoQuitado : public QDialog
{
    Q_OBJECT
public:
    explicit FrmResumoPagamnetoAbertoQuitado(QWidget *parent = nullptr);
    ~FrmResumoPagamnetoAbertoQuitado() override;

    static int run(QWidget *parent);

    QGroupBox *RadioGroup1 = nullptr; // "Tipo :"
    QRadioButton *RbGerencial = nullptr;
    QRadioButton *RbFornecedor = nullptr;
    QLabel *LblGerencial = nullptr;
    LookupEdit *EdtGerencial = nullptr;
    QLabel *LblFornecedor = nullptr;
    LookupEdit *EdtFornecedor = nullptr;
    QLabel *LblDataI = nullptr;
    QLabel *LblDataF = nullptr;
    DateEdit *DataI = nullptr;
    DateEdit *DataF = nullptr;
    QPushButton *BtnGerar = nullptr;
    QPushButton *BtnClose = nullptr;
    RecordSet *tbGerencial = nullptr;
    RecordSet *tbFornecedor = nullptr;

    PaymentSummaryFill::Tipo tipo() const;
    const PaymentSummaryFill &fill() const { return m_fill; }

public slots:
    void chooseGerencial();
    void chooseFornecedor();
    void gerar();

protected:
    void done(int result) override;

private:
    void showPeriod(bool shown);
    RecordSet *openList(RecordSet *list, const QString &sql);

    PaymentSummaryFill m_fill;
};
