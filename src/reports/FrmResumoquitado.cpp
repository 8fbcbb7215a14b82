#include "reports/FrmResumoquitado.h"

#include "app/Application.h"
#include "app/DM.h"
#include "charts/BarChart.h"
#include "reports/MonthTotals.h"
#include "reports/ReportDialogs.h"
#include "reports/SummaryCharts.h"
#include "reports/SummaryReports.h"

#include <QHBoxLayout>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

FrmResumoquitado::FrmResumoquitado(QWidget *parent)
    : QDialog(parent), m_pagarmes(DM::instance()->MyConnection1, QStringLiteral("pagarmes"))
{
    setObjectName(QStringLiteral("FrmResumoquitado"));
    setWindowTitle(QStringLiteral("Grafico de Contas a Pagar Quitada no Periodo"));
    resize(1244, 560);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);

    auto *row = new QHBoxLayout;
    m_gerar = new QPushButton(QStringLiteral("Gerar Dados para o Grafico"), this);
    m_gerar->setObjectName(QStringLiteral("gerar"));
    m_fechar = new QPushButton(QStringLiteral("&Fechar"), this);
    m_fechar->setObjectName(QStringLiteral("fechar"));
    m_imprimir = new QPushButton(QStringLiteral("&Imprimir "), this);
    m_imprimir->setObjectName(QStringLiteral("imprimir"));
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("progress"));
    m_progress->setFixedWidth(300);
    for (QPushButton *b : {m_gerar, m_fechar, m_imprimir}) {
        b->setAutoDefault(false);
        row->addWidget(b);
    }
    row->addWidget(m_progress);
    row->addStretch(1);
    layout->addLayout(row);

    m_chart = new Charts::BarChart(this);
    m_chart->setObjectName(QStringLiteral("chart"));
    layout->addWidget(m_chart, 1);

    m_imprimir->hide();
    m_chart->hide();
    m_progress->hide();
    connect(m_gerar, &QPushButton::clicked, this, &FrmResumoquitado::gerar);
    connect(m_fechar, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_imprimir, &QPushButton::clicked, this, &FrmResumoquitado::imprimir);
}

void FrmResumoquitado::gerar()
{
    m_progress->show();
    m_progress->setRange(0, 1);
    m_progress->setValue(0);
    // One fill per opening of the window.
    m_gerar->hide();
    QDate from, to;
    frmGeral::instance()->runPeriod([&](const QDate &f, const QDate &t) {
        from = f;
        to = t;
        setWindowTitle(QStringLiteral("Relatorio de Contas a Pagar Geral Quitado no Periodo ") +
                       f.toString(QStringLiteral("dd/MM/yyyy")) + QStringLiteral(" à ") +
                       t.toString(QStringLiteral("dd/MM/yyyy")));
    });
    // Cancelled, the period is empty and so are the table and the chart.
    const bool ok = Guarded([&] {
        MonthTotals::fill(m_pagarmes, from, to, std::nullopt, [this](int done, int total) {
            m_progress->setRange(0, std::max(1, total));
            m_progress->setValue(total > 0 ? done : 1);
        });
        m_chart->setSpec(SummaryCharts::spec(QStringLiteral("FrmResumoquitado"), m_pagarmes));
    });
    m_progress->hide();
    if (!ok) {
        // Nothing was drawn: the button may be pressed again.
        m_gerar->show();
        return;
    }
    m_chart->show();
    m_imprimir->show();
}

void FrmResumoquitado::imprimir()
{
    Reports::Params p;
    p.title = windowTitle();
    Guarded([&] {
        SummaryReports::show(QStringLiteral("RptPagarFilialFornecedorGrafico01"), m_pagarmes, p,
                             this);
    });
}
