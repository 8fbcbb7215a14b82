#pragma once
// "Movimentação de Pagamentos Sintético no Periodo": how much was paid to
// each supplier in each month of a period, for every supplier, one supplier
// or one cost centre. Modal, centred; opened from the payables maintenance
// screen's report menu.
//
// - Two lookup edits, one over the supplier names and one over the
//   cost-centre names; each opens its list when its button is pressed (or
//   when the clerk starts typing in it), which disables the other edit and
//   its label: one selection per opening of the window.
// - "&Gerar" fills this workstation's `resumo` and `resumoanual`
//   (AnnualMovementFill) with a busy animation, once per opening: it
//   disables itself and then enables "&Normal" and "&Colunas". A period
//   that touches more than twelve calendar months is refused before
//   anything is filled ("O período deve ter no máximo 12 meses"); a failed
//   fill leaves "&Gerar" enabled for another try.
// - "&Normal" previews RptMovimentacaoAnual (modal), "&Colunas" the column
//   report of the edit filled (not modal); the title follows the edit
//   filled, both filled print nothing. When the connection was made again
//   since the fill, the work tables are gone: the message says so, and
//   "&Gerar" is enabled again while the report buttons are disabled.
// - "&Close" closes; closing closes the lists and empties this
//   workstation's `resumoanual`.
//
// Buttons run public slots, so a test presses them as a clerk would.

#include "reports/AnnualMovementFill.h"
#include "reports/WorkTableReports.h"

#include <QDialog>

#include <memory>

class DateEdit;
class LookupEdit;
class QLabel;
class QProgressBar;
class QPushButton;
class RecordSet;

class FrmMovimentacaoAnualPagar : public QDialog
{
    Q_OBJECT
public:
    explicit FrmMovimentacaoAnualPagar(QWidget *parent = nullptr);
    ~FrmMovimentacaoAnualPagar() override;

    // What the menu entry does: create, run modally, trim the memory, destroy.
    static int run(QWidget *parent);

    DateEdit *DataI = nullptr;
    DateEdit *DataF = nullptr;
    QProgressBar *Animate1 = nullptr; // the busy animation
    QLabel *LblFornecedor = nullptr;
    LookupEdit *EdtFornecedor = nullptr;
    QLabel *LblGerencial = nullptr;
    LookupEdit *EdtGerencial = nullptr;
    QPushButton *BtnNormal = nullptr;
    QPushButton *BtnColunas = nullptr;
    QPushButton *BtnGerar = nullptr;
    QPushButton *BtnClose = nullptr;
    RecordSet *tbFornecedor = nullptr;
    RecordSet *tbGerencial = nullptr;

    const AnnualMovementFill &fill() const { return m_fill; }
    // The scope that the edits ask for; false when both are filled.
    bool scope(WorkTableReports::Scope *scope) const;

public slots:
    void openSupplierList();   // the supplier edit's button
    void openCostCentreList(); // the cost-centre edit's button
    void gerar();
    void normal();
    void colunas();

protected:
    void done(int result) override;

private:
    // A report failed because the work tables are gone: back to "&Gerar".
    void afterReportError();
    void closeLists();
    // Closing: the lists, this workstation's `resumoanual`, the previews.
    void release();

    AnnualMovementFill m_fill;
};
