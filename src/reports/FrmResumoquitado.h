#pragma once
// The company's payments of a period as one bar per month. "Gerar Dados para
// o Grafico" asks the period with the shared period dialog, fills this
// workstation's `pagarmes` (MonthTotals) and shows the chart; it runs once
// per opening of the window. "&Imprimir " prints the months as a list
// (RptPagarFilialFornecedorGrafico01). When the period dialog is cancelled
// the chart stays empty.

#include "reports/WorkTable.h"

#include <QDate>
#include <QDialog>

class QProgressBar;
class QPushButton;

namespace Charts {
class BarChart;
}

class FrmResumoquitado : public QDialog
{
    Q_OBJECT
public:
    explicit FrmResumoquitado(QWidget *parent = nullptr);

    QPushButton *gerarButton() const { return m_gerar; }
    QPushButton *fecharButton() const { return m_fechar; }
    QPushButton *imprimirButton() const { return m_imprimir; }
    QProgressBar *progress() const { return m_progress; }
    Charts::BarChart *chart() const { return m_chart; }
    const WorkTable &workTable() const { return m_pagarmes; }

public slots:
    void gerar();
    void imprimir();

private:
    WorkTable m_pagarmes;
    QPushButton *m_gerar = nullptr;
    QPushButton *m_fechar = nullptr;
    QPushButton *m_imprimir = nullptr;
    QProgressBar *m_progress = nullptr;
    Charts::BarChart *m_chart = nullptr;
};
