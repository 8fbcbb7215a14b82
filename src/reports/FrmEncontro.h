#pragma once
// "Encontro de Contas": what the business will receive against what it must
// pay in a period. Modal, centred, about 700 by 150 pixels; opened from the
// payables maintenance screen's report menu (an entry hidden as delivered).
//
// - "Gerar Dados do Relatorio" hides itself (one run per opening), fills
//   this workstation's `resumo02` (NettingFill) while a progress bar shows
//   the rows written, then previews RptEncontroContas, whose summary closes
//   with the verdict on the balance, and hides the progress bar again. The
//   preview stays open on its own. When the fill or the report fails the
//   message is shown and the button comes back for another try.
// - The "X" of the title band closes the window.
//
// gerar() is a public slot, so a test presses the button as a clerk would.

#include "reports/NettingFill.h"

#include <QDialog>

class DateEdit;
class QProgressBar;
class QPushButton;
class TitleBand;

class FrmEncontro : public QDialog
{
    Q_OBJECT
public:
    explicit FrmEncontro(QWidget *parent = nullptr);
    ~FrmEncontro() override;

    static int run(QWidget *parent);

    TitleBand *Panel1 = nullptr;
    DateEdit *DataI = nullptr;
    DateEdit *DataF = nullptr;
    QPushButton *BtnGerar = nullptr;
    QProgressBar *ProgressBar1 = nullptr;

    const NettingFill &fill() const { return m_fill; }
    // The verdict of the last report run here.
    const NettingVerdict &verdict() const { return m_verdict; }

public slots:
    void gerar();

protected:
    void done(int result) override;

private:
    NettingFill m_fill;
    NettingVerdict m_verdict;
};
