#pragma once
// Where the money went and where it came from in a period: "&Gerar" fills
// this workstation's `resumo` with the payables settled and the receivables
// received in the period (ResumoFill), then lists the credits and debits per
// cost centre; "C.&Custo", "T.&Despesa" and "&Fornecedor" (shown once a fill
// has run) offer, on their menus, the list of their view ("Tela"), its
// report ("Relatorio") and its credit or debit chart ("Grafico"). The totals
// box shows the view's credit and debit totals and their difference (green
// from zero up, red below).
//
// Reports and charts carry the period of the fill they read. Changing a date
// (or clicking "Data Inicial") hides the three buttons and the expense-type
// and supplier lists until "&Gerar" runs again. When the work table's copy
// is gone (a reconnect ends it) the screen says so, hides what came from it
// and waits for "&Gerar".

#include "reports/ResumoViews.h"
#include "reports/WorkTable.h"

#include <QDate>
#include <QDialog>

#include <functional>

class DataGrid;
class DateEdit;
class QLineEdit;
class QMenu;
class QProgressBar;
class QPushButton;
class RecordSet;
class TitleBand;

class FrmResumoCentralCustoQuitado : public QDialog
{
    Q_OBJECT
public:
    explicit FrmResumoCentralCustoQuitado(QWidget *parent = nullptr);
    ~FrmResumoCentralCustoQuitado() override;

    DateEdit *dataInicial() const { return m_dataI; }
    DateEdit *dataFinal() const { return m_dataF; }
    QPushButton *gerarButton() const { return m_gerar; }
    QPushButton *closeButton() const { return m_close; }
    QPushButton *viewButton(ResumoViews::View view) const;
    QMenu *viewMenu(ResumoViews::View view) const;
    DataGrid *grid(ResumoViews::View view) const;
    QProgressBar *payablesProgress() const { return m_progressPagar; }
    QProgressBar *receivablesProgress() const { return m_progressReceber; }
    QLineEdit *creditTotalField() const { return m_totalC; }
    QLineEdit *debitTotalField() const { return m_totalD; }
    QLineEdit *differenceField() const { return m_diferenca; }
    TitleBand *panel() const { return m_panel; }
    // The summary list as shown (the view last built).
    RecordSet *list() const { return m_list; }
    const ResumoViews::Totals &totals() const { return m_totals; }
    const WorkTable &workTable() const { return m_resumo; }
    // Whether the views, reports and charts may be offered (a fill ran and
    // the period has not been touched since).
    bool ready() const { return m_ready; }

public slots:
    void gerar();
    // The entries of the three buttons' menus.
    void tela(ResumoViews::View view);
    void relatorio(ResumoViews::View view);
    void grafico(ResumoViews::View view, bool credit);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildUi();
    QMenu *makeMenu(ResumoViews::View view);
    void showList(ResumoViews::View view);
    void showTotals(const ResumoViews::Totals &totals);
    void showOnly(ResumoViews::View view);
    // The period was touched: the views wait for the next "&Gerar".
    void periodTouched();
    // Nothing of the last fill is offered any more.
    void forgetFill();
    // Runs f; a database error is shown, and when it means that the work
    // table's copy is gone, what came from it is hidden.
    bool guarded(const std::function<void()> &f);

    WorkTable m_resumo;
    QDate m_from; // the period of the last fill
    QDate m_to;
    bool m_ready = false;
    ResumoViews::Totals m_totals;

    TitleBand *m_panel = nullptr;
    DateEdit *m_dataI = nullptr;
    DateEdit *m_dataF = nullptr;
    QPushButton *m_gerar = nullptr;
    QPushButton *m_close = nullptr;
    QPushButton *m_buttons[3] = {};
    QMenu *m_menus[3] = {};
    QProgressBar *m_progressPagar = nullptr;
    QProgressBar *m_progressReceber = nullptr;
    DataGrid *m_grids[3] = {};
    RecordSet *m_list = nullptr;
    QLineEdit *m_totalC = nullptr;
    QLineEdit *m_totalD = nullptr;
    QLineEdit *m_diferenca = nullptr;
};
