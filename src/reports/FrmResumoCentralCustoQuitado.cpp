#include "reports/FrmResumoCentralCustoQuitado.h"

#include "app/DM.h"
#include "app/Globals.h"
#include "app/Helpers.h"
#include "db/DisplayFormat.h"
#include "db/RecordSet.h"
#include "reports/ResumoFill.h"
#include "reports/SummaryCharts.h"
#include "reports/SummaryReports.h"
#include "widgets/Clock.h"
#include "widgets/DataGrid.h"
#include "widgets/DateEdit.h"
#include "widgets/Messages.h"
#include "widgets/TitleBand.h"

#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QSqlField>
#include <QSqlRecord>
#include <QVBoxLayout>

using ResumoViews::View;

namespace {

constexpr View kViews[] = {View::CostCentre, View::ExpenseType, View::Supplier};

int index(View v)
{
    return int(v);
}

const char *kReports[] = {"RptResumoPagarCorrente", "RptResumoPagarCorrenteDespesa",
                          "RptResumoPagarCorrenteFornecedor"};
const char *kCreditCharts[] = {"FrmGraficoCentralCusto", "FrmGraficoDespesa",
                               "FrmGraficoFornecedor"};
const char *kDebitCharts[] = {"FrmGraficoCentralCustoDebito", "FrmGraficoDespesaDebito",
                              "FrmGraficoFornecedorDebito"};

QLineEdit *readOnlyMoney(const QString &name, QWidget *parent)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setReadOnly(true);
    e->setFocusPolicy(Qt::NoFocus);
    e->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    e->setFixedWidth(130);
    return e;
}

QSqlRecord listColumns()
{
    QSqlRecord r;
    r.append(QSqlField(QStringLiteral("Codigo"), QMetaType::fromType<double>()));
    r.append(QSqlField(QStringLiteral("descricao"), QMetaType::fromType<QString>()));
    r.append(QSqlField(QStringLiteral("Valor"), QMetaType::fromType<double>()));
    r.append(QSqlField(QStringLiteral("Credito"), QMetaType::fromType<double>()));
    return r;
}

} // namespace

FrmResumoCentralCustoQuitado::FrmResumoCentralCustoQuitado(QWidget *parent)
    : QDialog(parent), m_resumo(DM::instance()->MyConnection1, QStringLiteral("resumo"))
{
    setObjectName(QStringLiteral("FrmResumoCentralCustoQuitado"));
    setWindowTitle(MakerCaption);
    m_list = new RecordSet(DM::instance()->MyConnection1, this);
    m_list->openRows(listColumns(), {});
    buildUi();
    // Only the cost-centre list at first, and nothing to open from it yet.
    showOnly(View::CostCentre);
    for (QPushButton *b : m_buttons)
        b->hide();
    showTotals({});
}

FrmResumoCentralCustoQuitado::~FrmResumoCentralCustoQuitado() = default;

void FrmResumoCentralCustoQuitado::buildUi()
{
    resize(520, 780);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(6);

    m_panel =
        new TitleBand(QStringLiteral("Central de Custo Contas a Pagar e Contaa Receber"), this);
    m_panel->setFontPixelSize(15);
    m_panel->setBandHeight(30);
    m_panel->setCloseWidth(30);
    m_panel->captionLabel()->setStyleSheet(QStringLiteral("font-weight: bold;"));
    m_panel->setCloseAction([this] { reject(); });
    layout->addWidget(m_panel);

    auto *period = new QWidget(this);
    auto *pg = new QGridLayout(period);
    pg->setContentsMargins(0, 0, 0, 0);
    m_dataI = new DateEdit(period);
    m_dataI->setObjectName(QStringLiteral("DataI"));
    m_dataF = new DateEdit(period);
    m_dataF->setObjectName(QStringLiteral("DataF"));
    m_dataI->setDate(Clock::today());
    m_dataF->setDate(Clock::today());
    m_dataI->setFixedWidth(110);
    m_dataF->setFixedWidth(110);
    pg->addWidget(new QLabel(QStringLiteral("Data Inicial"), period), 0, 0);
    pg->addWidget(new QLabel(QStringLiteral("Data Final"), period), 0, 1);
    pg->addWidget(m_dataI, 1, 0);
    pg->addWidget(m_dataF, 1, 1);
    auto *hint = new QLabel(QStringLiteral("Nas Opções de Relatorios, \nClick com o Botão Direito "
                                           "do Mouse \ne Selecione a Opção desejada"),
                            period);
    hint->setObjectName(QStringLiteral("hint"));
    QFont hf = hint->font();
    hf.setBold(true);
    hint->setFont(hf);
    hint->setStyleSheet(QStringLiteral("color: rgb(0, 0, 160);"));
    pg->addWidget(hint, 0, 2, 2, 1);
    pg->setColumnStretch(2, 1);
    layout->addWidget(period);
    // A click on the first date, or any change of the period, asks for a new fill.
    m_dataI->installEventFilter(this);
    connect(m_dataI, &DateEdit::dateChanged, this, [this] { periodTouched(); });
    connect(m_dataF, &DateEdit::dateChanged, this, [this] { periodTouched(); });

    auto *buttons = new QWidget(this);
    auto *bl = new QHBoxLayout(buttons);
    bl->setContentsMargins(0, 0, 0, 0);
    m_gerar = new QPushButton(QStringLiteral("&Gerar"), buttons);
    m_gerar->setObjectName(QStringLiteral("gerar"));
    m_close = new QPushButton(QStringLiteral("&Close"), buttons);
    m_close->setObjectName(QStringLiteral("close"));
    bl->addWidget(m_gerar);
    bl->addWidget(m_close);
    const QString captions[] = {QStringLiteral("C.&Custo"), QStringLiteral("T.&Despesa"),
                                QStringLiteral("&Fornecedor")};
    const QString names[] = {QStringLiteral("custo"), QStringLiteral("despesa"),
                             QStringLiteral("fornecedor")};
    for (View v : kViews) {
        auto *b = new QPushButton(captions[index(v)], buttons);
        b->setObjectName(names[index(v)]);
        b->setAutoDefault(false);
        m_buttons[index(v)] = b;
        m_menus[index(v)] = makeMenu(v);
        // The menu opens with the right button, as the hint says, and with
        // a plain click too.
        b->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(b, &QWidget::customContextMenuRequested, this,
                [this, b, v](const QPoint &p) { m_menus[index(v)]->popup(b->mapToGlobal(p)); });
        connect(b, &QPushButton::clicked, this,
                [this, b, v] { m_menus[index(v)]->popup(b->mapToGlobal(QPoint(0, b->height()))); });
        bl->addWidget(b);
    }
    bl->addStretch(1);
    for (QPushButton *b : {m_gerar, m_close})
        b->setAutoDefault(false);
    connect(m_gerar, &QPushButton::clicked, this, &FrmResumoCentralCustoQuitado::gerar);
    connect(m_close, &QPushButton::clicked, this, &QDialog::reject);
    layout->addWidget(buttons);

    m_progressPagar = new QProgressBar(this);
    m_progressPagar->setObjectName(QStringLiteral("progressPagar"));
    m_progressReceber = new QProgressBar(this);
    m_progressReceber->setObjectName(QStringLiteral("progressReceber"));
    for (QProgressBar *p : {m_progressPagar, m_progressReceber}) {
        p->setRange(0, 1);
        p->setValue(0);
        p->setFixedHeight(16);
        layout->addWidget(p);
    }

    const QString nameCaptions[] = {QStringLiteral("Descrição  Central de Custo"),
                                    QStringLiteral("Tipo Despesa"),
                                    QStringLiteral("Razão Social do Fornecedor")};
    const QString gridNames[] = {QStringLiteral("gridCusto"), QStringLiteral("gridDespesa"),
                                 QStringLiteral("gridFornecedor")};
    for (View v : kViews) {
        auto *g = new DataGrid(this);
        g->setObjectName(gridNames[index(v)]);
        g->setRecordSet(m_list);
        g->setColumns({{QStringLiteral("Codigo"), QStringLiteral("Codigo"), 50, {}},
                       {QStringLiteral("descricao"), nameCaptions[index(v)], 220, {}},
                       {QStringLiteral("Credito"), QStringLiteral("Credito R$"), 95,
                        QStringLiteral("#,##0.00")},
                       {QStringLiteral("Valor"), QStringLiteral("Debito R$"), 95,
                        QStringLiteral("#,##0.00")}});
        m_grids[index(v)] = g;
        layout->addWidget(g, 1);
    }

    auto *box = new QGroupBox(this);
    box->setObjectName(QStringLiteral("totais"));
    auto *tl = new QGridLayout(box);
    m_totalC = readOnlyMoney(QStringLiteral("totalCredito"), box);
    m_totalD = readOnlyMoney(QStringLiteral("totalDebito"), box);
    m_diferenca = readOnlyMoney(QStringLiteral("diferenca"), box);
    tl->addWidget(new QLabel(QStringLiteral("Total Listados Creditos R$ "), box), 0, 0);
    tl->addWidget(m_totalC, 0, 1);
    tl->addWidget(new QLabel(QStringLiteral("Total Listados Debitos R$ "), box), 1, 0);
    tl->addWidget(m_totalD, 1, 1);
    tl->addWidget(new QLabel(QStringLiteral("Diferença R$"), box), 2, 0);
    tl->addWidget(m_diferenca, 2, 1);
    tl->setColumnStretch(2, 1);
    layout->addWidget(box);
}

QMenu *FrmResumoCentralCustoQuitado::makeMenu(View v)
{
    auto *menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("menu%1").arg(index(v)));
    menu->addAction(QStringLiteral("Tela"), this, [this, v] { tela(v); });
    menu->addAction(QStringLiteral("Relatorio"), this, [this, v] { relatorio(v); });
    QMenu *chart = menu->addMenu(QStringLiteral("Grafico"));
    chart->addAction(QStringLiteral("Credito"), this, [this, v] { grafico(v, true); });
    chart->addAction(QStringLiteral("Debito"), this, [this, v] { grafico(v, false); });
    return menu;
}

QPushButton *FrmResumoCentralCustoQuitado::viewButton(View view) const
{
    return m_buttons[index(view)];
}

QMenu *FrmResumoCentralCustoQuitado::viewMenu(View view) const
{
    return m_menus[index(view)];
}

DataGrid *FrmResumoCentralCustoQuitado::grid(View view) const
{
    return m_grids[index(view)];
}

bool FrmResumoCentralCustoQuitado::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_dataI && event->type() == QEvent::MouseButtonPress)
        periodTouched();
    return QDialog::eventFilter(watched, event);
}

void FrmResumoCentralCustoQuitado::periodTouched()
{
    m_ready = false;
    m_grids[index(View::ExpenseType)]->hide();
    m_grids[index(View::Supplier)]->hide();
    for (QPushButton *b : m_buttons)
        b->hide();
}

void FrmResumoCentralCustoQuitado::forgetFill()
{
    periodTouched();
    m_list->openRows(listColumns(), {});
    showOnly(View::CostCentre);
    showTotals({});
}

bool FrmResumoCentralCustoQuitado::guarded(const std::function<void()> &f)
{
    try {
        f();
        return true;
    } catch (const DbError &e) {
        if (m_resumo.lost()) {
            // Whatever the statement said, what matters is that this
            // workstation's rows are gone: nothing from them stays offered.
            forgetFill();
            Messages::error(AppTitle, Connection::privateCopyLostMessage());
        } else {
            Messages::error(AppTitle, e.message());
        }
    }
    return false;
}

void FrmResumoCentralCustoQuitado::gerar()
{
    forgetFill();
    m_progressPagar->setRange(0, 1);
    m_progressPagar->setValue(0);
    m_progressReceber->setRange(0, 1);
    m_progressReceber->setValue(0);
    const QDate from = m_dataI->date();
    const QDate to = m_dataF->date();
    const bool ok = guarded([&] {
        ResumoFill::fill(m_resumo, from, to, [this](int pass, int done, int total) {
            QProgressBar *bar = pass == 0 ? m_progressPagar : m_progressReceber;
            bar->setRange(0, std::max(1, total));
            bar->setValue(total > 0 ? done : 1);
        });
        m_from = from;
        m_to = to;
        showList(View::CostCentre);
    });
    if (!ok)
        return;
    m_ready = true;
    for (QPushButton *b : m_buttons)
        b->show();
}

void FrmResumoCentralCustoQuitado::showList(View view)
{
    const std::vector<ResumoViews::Row> rows = ResumoViews::list(m_resumo, view);
    const ResumoViews::Totals totals = ResumoViews::totals(m_resumo, view);
    QList<QVariantList> values;
    values.reserve(qsizetype(rows.size()));
    for (const ResumoViews::Row &r : rows)
        values << QVariantList{r.codigo, r.descricao, r.valor, r.credito};
    m_list->openRows(listColumns(), values);
    showTotals(totals);
    showOnly(view);
}

void FrmResumoCentralCustoQuitado::showTotals(const ResumoViews::Totals &totals)
{
    m_totals = totals;
    m_totalC->setText(DisplayFormat::money(totals.credito));
    m_totalD->setText(DisplayFormat::money(totals.debito));
    // The colour follows the difference as shown: a rounding residue below
    // zero still reads 0,00 and is green.
    const double shown = RoundDecimals(2, totals.diferenca()) + 0.0;
    m_diferenca->setText(DisplayFormat::money(shown == 0 ? 0.0 : shown));
    QPalette p = m_diferenca->palette();
    p.setColor(QPalette::Text, shown >= 0 ? QColor(0, 128, 0) : QColor(220, 0, 0));
    m_diferenca->setPalette(p);
}

void FrmResumoCentralCustoQuitado::showOnly(View view)
{
    for (View v : kViews)
        m_grids[index(v)]->setVisible(v == view);
}

void FrmResumoCentralCustoQuitado::tela(View view)
{
    if (!m_ready)
        return;
    guarded([&] { showList(view); });
}

void FrmResumoCentralCustoQuitado::relatorio(View view)
{
    if (!m_ready)
        return;
    Reports::Params p;
    p.dataI = m_from;
    p.dataF = m_to;
    guarded([&] {
        SummaryReports::show(QString::fromLatin1(kReports[index(view)]), m_resumo, p, this);
    });
}

void FrmResumoCentralCustoQuitado::grafico(View view, bool credit)
{
    if (!m_ready)
        return;
    SummaryCharts::Context c;
    c.creditTotal = m_totals.credito;
    c.debitTotal = m_totals.debito;
    c.dataI = m_from;
    c.dataF = m_to;
    const char *name = credit ? kCreditCharts[index(view)] : kDebitCharts[index(view)];
    guarded([&] { SummaryCharts::open(QString::fromLatin1(name), m_resumo, c, this); });
}
