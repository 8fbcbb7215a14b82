#pragma once
// "Pagamentos Sintético no Periodo": one line per supplier name with the
// total paid in the period. Modal, centred; opened from the payables
// maintenance screen's report menu.
//
// "&Gerar" fills this workstation's `resumo` with the payments of the period
// (PaymentSummaryFill::payments) while a busy animation moves, then
// previews RptReceberSintetico (modal). It can run any number of times; a
// failure shows its message and leaves the window as it was. "&Close"
// closes.

#include "reports/PaymentSummaryFill.h"

#include <QDialog>

class DateEdit;
class QProgressBar;
class QPushButton;

class FrmResumoPagamentos : public QDialog
{
    Q_OBJECT
public:
    explicit FrmResumoPagamentos(QWidget *parent = nullptr);
    ~FrmResumoPagamentos() override;

    static int run(QWidget *parent);

    DateEdit *DataI = nullptr;
    DateEdit *DataF = nullptr;
    QProgressBar *Animate1 = nullptr; // the busy animation
    QPushButton *BtnGerar = nullptr;
    QPushButton *BtnClose = nullptr;

    const PaymentSummaryFill &fill() const { return m_fill; }

public slots:
    void gerar();

private:
    PaymentSummaryFill m_fill;
};
