#include "reports/FrmResumoquitadoPorFilialFornecedor.h"

#include "app/Application.h"
#include "app/DM.h"
#include "charts/BarChart.h"
#include "db/RecordSet.h"
#include "reports/SummaryCharts.h"
#include "reports/SummaryReports.h"
#include "widgets/Clock.h"
#include "widgets/DateEdit.h"
#include "widgets/LookupCombo.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QString dateText(const QDate &d)
{
    return d.toString(QStringLiteral("dd/MM/yyyy"));
}

// The code and the name the list shows for its chosen row.
std::pair<std::optional<double>, QString> chosen(const LookupCombo *list)
{
    const QVariant key = list->keyValue();
    if (key.isNull())
        return {std::nullopt, QString()};
    return {key.toDouble(), list->currentText()};
}

} // namespace

FrmResumoquitadoPorFilialFornecedor::FrmResumoquitadoPorFilialFornecedor(QWidget *parent)
    : QDialog(parent), m_pagarmes(DM::instance()->MyConnection1, QStringLiteral("pagarmes"))
{
    setObjectName(QStringLiteral("FrmResumoquitadoPorFilialFornecedor"));
    setWindowTitle(QStringLiteral("Grafico de Contas a Pagar Quitada no Periodo"));
    resize(1244, 640);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);

    auto *top = new QHBoxLayout;
    auto *form = new QGridLayout;
    m_filial = new LookupCombo(this);
    m_filial->setObjectName(QStringLiteral("filial"));
    m_fornecedor = new LookupCombo(this);
    m_fornecedor->setObjectName(QStringLiteral("fornecedor"));
    for (LookupCombo *c : {m_filial, m_fornecedor})
        c->setMinimumWidth(320);
    m_dataI = new DateEdit(this);
    m_dataI->setObjectName(QStringLiteral("DataI"));
    m_dataF = new DateEdit(this);
    m_dataF->setObjectName(QStringLiteral("DataF"));
    m_dataI->setDate(Clock::today());
    m_dataF->setDate(Clock::today());
    form->addWidget(new QLabel(QStringLiteral("Nome da Filial"), this), 0, 0);
    form->addWidget(m_filial, 0, 1, 1, 3);
    form->addWidget(new QLabel(QStringLiteral("Nome da Fornecedor"), this), 1, 0);
    form->addWidget(m_fornecedor, 1, 1, 1, 3);
    form->addWidget(new QLabel(QStringLiteral("Data Inicial"), this), 2, 0);
    form->addWidget(m_dataI, 2, 1);
    form->addWidget(new QLabel(QStringLiteral("Data Final"), this), 2, 2);
    form->addWidget(m_dataF, 2, 3);
    top->addLayout(form);

    auto *info = new QVBoxLayout;
    m_labelFilial = new QLabel(this);
    m_labelFilial->setObjectName(QStringLiteral("labelFilial"));
    m_labelFornecedor = new QLabel(this);
    m_labelFornecedor->setObjectName(QStringLiteral("labelFornecedor"));
    m_labelTitulo = new QLabel(this);
    m_labelTitulo->setObjectName(QStringLiteral("labelTitulo"));
    for (QLabel *l : {m_labelFilial, m_labelFornecedor, m_labelTitulo}) {
        QFont f = l->font();
        f.setBold(true);
        l->setFont(f);
        info->addWidget(l);
        l->hide();
    }
    info->addStretch(1);
    top->addSpacing(20);
    top->addLayout(info, 1);
    layout->addLayout(top);

    auto *row = new QHBoxLayout;
    m_confirma = new QPushButton(QStringLiteral("&Confirma"), this);
    m_confirma->setObjectName(QStringLiteral("confirma"));
    m_imprimir = new QPushButton(QStringLiteral("&Imprimir "), this);
    m_imprimir->setObjectName(QStringLiteral("imprimir"));
    m_cancela = new QPushButton(QStringLiteral("Cancela"), this);
    m_cancela->setObjectName(QStringLiteral("cancela"));
    m_fechar = new QPushButton(QStringLiteral("&Fechar"), this);
    m_fechar->setObjectName(QStringLiteral("fechar"));
    for (QPushButton *b : {m_confirma, m_imprimir, m_cancela, m_fechar}) {
        b->setAutoDefault(false);
        row->addWidget(b);
    }
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("progress"));
    m_progress->setFixedWidth(300);
    row->addWidget(m_progress);
    row->addStretch(1);
    layout->addLayout(row);

    m_chart = new Charts::BarChart(this);
    m_chart->setObjectName(QStringLiteral("chart"));
    layout->addWidget(m_chart, 1);

    m_imprimir->hide();
    m_progress->hide();
    connect(m_confirma, &QPushButton::clicked, this,
            &FrmResumoquitadoPorFilialFornecedor::confirma);
    connect(m_imprimir, &QPushButton::clicked, this,
            &FrmResumoquitadoPorFilialFornecedor::imprimir);
    connect(m_cancela, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_fechar, &QPushButton::clicked, this, &QDialog::reject);

    // The two lists, each starting on its first name: the row a fill uses
    // when nothing is picked, so the name shown is the one used.
    Connection *c = DM::instance()->MyConnection1;
    m_filiais = new RecordSet(
        c, QStringLiteral("select codigofilial, nomefilial from filial order by nomefilial"), this);
    m_fornecedores = new RecordSet(
        c, QStringLiteral("select codigofornecedor, nome from fornecedor order by nome"), this);
    m_filiais->open();
    m_fornecedores->open();
    m_filial->setRecordSet(m_filiais, QStringLiteral("nomefilial"), QStringLiteral("codigofilial"));
    m_fornecedor->setRecordSet(m_fornecedores, QStringLiteral("nome"),
                               QStringLiteral("codigofornecedor"));
    if (!m_filiais->isEmpty())
        m_filial->setKeyValue(m_filiais->valueAt(0, QStringLiteral("codigofilial")));
    if (!m_fornecedores->isEmpty())
        m_fornecedor->setKeyValue(m_fornecedores->valueAt(0, QStringLiteral("codigofornecedor")));
}

FrmResumoquitadoPorFilialFornecedor::~FrmResumoquitadoPorFilialFornecedor() = default;

void FrmResumoquitadoPorFilialFornecedor::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // Nothing of an earlier fill is shown: the copy starts empty.
    Guarded([this] { m_pagarmes.claim(); });
}

void FrmResumoquitadoPorFilialFornecedor::done(int result)
{
    m_filiais->close();
    m_fornecedores->close();
    QDialog::done(result);
}

void FrmResumoquitadoPorFilialFornecedor::confirma()
{
    m_progress->show();
    m_progress->setRange(0, 1);
    m_progress->setValue(0);
    MonthTotals::Selection s;
    std::tie(s.filial, s.filialNome) = chosen(m_filial);
    std::tie(s.fornecedor, s.fornecedorNome) = chosen(m_fornecedor);
    const QDate from = m_dataI->date();
    const QDate to = m_dataF->date();
    m_labelFilial->setText(QStringLiteral("Nome do Filial: ") + m_filial->currentText());
    m_labelFornecedor->setText(QStringLiteral("Nome do Fornecedor:") + m_fornecedor->currentText());
    m_labelTitulo->setText(
        QStringLiteral("Relatorio de Contas a Pagar Por FIlial e Fornecedor Quitado no Periodo ") +
        dateText(from) + QStringLiteral(" à ") + dateText(to));
    for (QLabel *l : {m_labelFilial, m_labelFornecedor, m_labelTitulo})
        l->show();
    const bool ok = Guarded([&] {
        MonthTotals::fill(m_pagarmes, from, to, s, [this](int done, int total) {
            m_progress->setRange(0, std::max(1, total));
            m_progress->setValue(total > 0 ? done : 1);
        });
        m_chart->setSpec(
            SummaryCharts::spec(QStringLiteral("FrmResumoquitadoPorFilialFornecedor"), m_pagarmes));
    });
    m_progress->hide();
    if (!ok) {
        m_imprimir->hide();
        m_chart->setSpec({});
        return;
    }
    m_filled = s;
    m_from = from;
    m_to = to;
    m_imprimir->show();
}

void FrmResumoquitadoPorFilialFornecedor::imprimir()
{
    Reports::Params p;
    p.dataI = m_from;
    p.dataF = m_to;
    p.filialNome = m_filled.filialNome;
    p.fornecedorNome = m_filled.fornecedorNome;
    Guarded([&] {
        SummaryReports::show(QStringLiteral("RptPagarFilialFornecedorGrafico"), m_pagarmes, p,
                             this);
    });
}
