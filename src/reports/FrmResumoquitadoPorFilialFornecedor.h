#pragma once
// The payments of one branch to one supplier in a period as one bar per
// month. The branch and supplier lists start on their first names; each
// "&Confirma" fills this workstation's `pagarmes` for the branch, supplier
// and period chosen (MonthTotals), names them in the three information
// labels and redraws the chart. "&Imprimir " prints the months as a list
// (RptPagarFilialFornecedorGrafico) headed by the branch and supplier of the
// last fill. Showing the window empties its copy of `pagarmes`.

#include "reports/MonthTotals.h"
#include "reports/WorkTable.h"

#include <QDialog>

class DateEdit;
class LookupCombo;
class QLabel;
class QProgressBar;
class QPushButton;
class RecordSet;

namespace Charts {
class BarChart;
}

class FrmResumoquitadoPorFilialFornecedor : public QDialog
{
    Q_OBJECT
public:
    explicit FrmResumoquitadoPorFilialFornecedor(QWidget *parent = nullptr);
    ~FrmResumoquitadoPorFilialFornecedor() override;

    LookupCombo *filialList() const { return m_filial; }
    LookupCombo *fornecedorList() const { return m_fornecedor; }
    DateEdit *dataInicial() const { return m_dataI; }
    DateEdit *dataFinal() const { return m_dataF; }
    QLabel *filialLabel() const { return m_labelFilial; }
    QLabel *fornecedorLabel() const { return m_labelFornecedor; }
    QLabel *titleLabel() const { return m_labelTitulo; }
    QPushButton *confirmaButton() const { return m_confirma; }
    QPushButton *imprimirButton() const { return m_imprimir; }
    QPushButton *cancelaButton() const { return m_cancela; }
    QPushButton *fecharButton() const { return m_fechar; }
    QProgressBar *progress() const { return m_progress; }
    Charts::BarChart *chart() const { return m_chart; }
    const WorkTable &workTable() const { return m_pagarmes; }

public slots:
    void confirma();
    void imprimir();

protected:
    void showEvent(QShowEvent *event) override;
    void done(int result) override;

private:
    WorkTable m_pagarmes;
    RecordSet *m_filiais = nullptr;
    RecordSet *m_fornecedores = nullptr;
    // What the last fill was made for (the report's header).
    MonthTotals::Selection m_filled;
    QDate m_from, m_to;

    LookupCombo *m_filial = nullptr;
    LookupCombo *m_fornecedor = nullptr;
    DateEdit *m_dataI = nullptr;
    DateEdit *m_dataF = nullptr;
    QLabel *m_labelFilial = nullptr;
    QLabel *m_labelFornecedor = nullptr;
    QLabel *m_labelTitulo = nullptr;
    QPushButton *m_confirma = nullptr;
    QPushButton *m_imprimir = nullptr;
    QPushButton *m_cancela = nullptr;
    QPushButton *m_fechar = nullptr;
    QProgressBar *m_progress = nullptr;
    Charts::BarChart *m_chart = nullptr;
};
