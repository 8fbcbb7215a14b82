#include "payables/frmPagarManutencao.h"

#include "app/Application.h"
#include "app/DM.h"
#include "app/Globals.h"
#include "app/Helpers.h"
#include "app/MenuActions.h"
#include "db/LikePattern.h"
#include "payables/FrmBaixarNovo.h"
#include "payables/PayablesBook.h"
#include "payables/frmPagarNovo.h"
#include "registries/SimpleRegistryWindow.h"
#include "registries/frmFornecedor.h"
#include "shell/Calculator.h"
#include "widgets/BigToolBar.h"
#include "widgets/Clock.h"
#include "widgets/DataGrid.h"
#include "widgets/DateEdit.h"
#include "widgets/EnterAsTab.h"
#include "widgets/FieldBinder.h"
#include "widgets/Icons.h"
#include "widgets/Messages.h"
#include "widgets/MoneyEdit.h"
#include "widgets/PendingEdit.h"
#include "widgets/ProgramFace.h"
#include "widgets/TitleBand.h"
#include "widgets/UpperEdit.h"

#include <QButtonGroup>
#include <QClipboard>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QSysInfo>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

const QString kAtencao = QStringLiteral("Atenção");

QLabel *legendPanel(const QColor &color, const QString &text, QWidget *parent)
{
    auto *l = new QLabel(text, parent);
    l->setAutoFillBackground(true);
    QPalette p = l->palette();
    p.setColor(QPalette::Window, color);
    p.setColor(QPalette::WindowText, Qt::black);
    l->setPalette(p);
    l->setContentsMargins(4, 1, 4, 1);
    QFont f = l->font();
    f.setPointSize(7);
    f.setBold(true);
    l->setFont(f);
    return l;
}

const QColor kQuitado(210, 255, 210);
const QColor kHoje(255, 255, 128);
const QColor kVencido(255, 166, 166);
const QColor kNegociacao(119, 210, 255);

} // namespace

QColor frmPagarManutencao::rowColor(const QDate &quitacao, const QDate &venc,
                                    const QString &negociacao, const QDate &today)
{
    // Later rules win over earlier ones. A date on or before 30/12/1899 is no date.
    const bool settled = quitacao.isValid() && quitacao > QDate(1899, 12, 30);
    const bool normal = negociacao == QLatin1String("N");
    QColor c;
    if (settled && normal)
        c = kQuitado;
    if (!settled && venc.isValid() && venc == today && normal)
        c = kHoje;
    if (!settled && venc.isValid() && venc < today && normal)
        c = kVencido;
    if (!settled && negociacao == QLatin1String("S"))
        c = kNegociacao;
    return c;
}

const QList<frmPagarManutencao::ReportEntry> &frmPagarManutencao::reportEntries()
{
    static const QList<ReportEntry> entries = {
        {QStringLiteral("Em Aberto no Periodo")},
        {QStringLiteral("Por Data de Vencimento em Aberto no Periodo com envio de para o Email")},
        {},
        {QStringLiteral("Individual Quitado Por Tipo de Fornecedor no Periodo")},
        {QStringLiteral("Geral de Fornecedor Detalhado Por Data de Quitação no Periodo")},
        {QStringLiteral(
            "Geral Quitado Por Tipo de Central de Custo só no Contas a Pagar no Periodo")},
        {QStringLiteral("Geral Quitado Por Tipo de Fornecedor no Periodo")},
        {QStringLiteral("Geral Quitado Por Tipo de Central de Custo - Contas a Pagar e Conta "
                        "Corrente no Periodo")},
        {QStringLiteral("Encontro de Contas"), true},
        {},
        {QStringLiteral("Grafico e Relatrorio de Contas a  Pagar Já Quitada no Periodo Por Filial "
                        "e Fornecedor"),
         true},
        {QStringLiteral("Grafico e Relatrorio de Contas a  Pagar Já Quitada no Periodo "), true},
        {},
        {QStringLiteral("Geral Sintético por Fornecedor e Data de Quitado no Periodo")},
        {QStringLiteral("Movimentação Anual Sintético Quitado no Periodo ")},
        {},
        {QStringLiteral("Movimentação Aberto e Quitado no Periodo")},
        {},
        {QStringLiteral("Movimentação Anual Quitado no Periodo\n"), true},
        {},
        {QStringLiteral("Individual Sintético por Filial e Data de Quitação no Periodo")},
        {},
        {QStringLiteral("Negociação no Periodo"), true},
    };
    return entries;
}

frmPagarManutencao::frmPagarManutencao(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("frmPagarManutencao"));
    setWindowTitle(QStringLiteral("Manutenção de Contas a Pagar"));
    Connection *conn = DM::instance()->MyConnection1;
    m_tbPagar = new RecordSet(conn, QStringLiteral("select * from pagar"), this);
    m_tbPagar->setKeyField(QStringLiteral("Controle"));
    // The settlements write the user through a 15-character field.
    m_tbPagar->setFieldWidth(QStringLiteral("usuario"), 15);
    m_pagarTemp = new RecordSet(conn, QStringLiteral("select * from pagartemp"), this);
    m_lookups = new PayablesLookups(conn, this);

    buildUi();
    buildMenus();
    EnterAsTab::install(this);

    connect(m_tbPagar, &RecordSet::stateChanged, this, [this](RecordSet::State s) {
        setBrowsing(s != RecordSet::State::Edit && s != RecordSet::State::Insert);
    });

    // Creating the screen: both dates today, the branch list open, the list tab.
    m_dataI->setDate(Clock::today());
    m_dataF->setDate(Clock::today());
    Guarded([this] { m_lookups->tbfilial->open(); });
    m_pages->setCurrentIndex(0);
    setBrowsing(true);
}

frmPagarManutencao::~frmPagarManutencao() = default;

void frmPagarManutencao::buildUi()
{
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    resize(1531, 646);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_menuBar = new QMenuBar(this);
    layout->setMenuBar(m_menuBar);

    auto *title = new TitleBand(QStringLiteral("Manutenção de Contas a Pagar"), this);
    title->setColor(QColor(0, 104, 210));
    title->setCloseWidth(42);
    title->setCloseAction([this] { reject(); });
    layout->addWidget(title);

    // Tool area: the three bars, the legend and the user.
    auto *tools = new QWidget(this);
    tools->setFixedHeight(76);
    auto *toolsLayout = new QHBoxLayout(tools);
    toolsLayout->setContentsMargins(0, 0, 4, 0);
    toolsLayout->setSpacing(2);
    m_saveBar = new BigToolBar(tools);
    m_saveBar->setObjectName(QStringLiteral("saveBar"));
    m_saveBar->addButton(QStringLiteral("Salvar"),
                         Icons::tile(QStringLiteral("OK"), QColor(40, 150, 70), 40), QKeySequence(),
                         this, &frmPagarManutencao::ToolButton7Click);
    m_saveBar->addButton(QStringLiteral("   Cancelar    "),
                         Icons::tile(QStringLiteral("X"), QColor(180, 30, 30), 40), QKeySequence(),
                         this, &frmPagarManutencao::ToolButton8Click);
    toolsLayout->addWidget(m_saveBar);

    m_mainBar = new BigToolBar(tools);
    m_mainBar->setObjectName(QStringLiteral("mainBar"));

    m_mainBar->addButton(QStringLiteral("Inclusão"),
                         Icons::tile(QStringLiteral("+"), QColor(0, 104, 210), 40), QKeySequence(),
                         this, &frmPagarManutencao::ToolButton1Click);
    m_mainBar->addButton(QStringLiteral("Excluir"),
                         Icons::tile(QStringLiteral("-"), QColor(180, 30, 30), 40), QKeySequence(),
                         this, &frmPagarManutencao::ToolButton6Click);
    m_mainBar->addButton(QStringLiteral("    Atualizar    "),
                         Icons::tile(QStringLiteral("@"), QColor(40, 150, 70), 40), QKeySequence(),
                         this, &frmPagarManutencao::ToolButton2Click);
    QAction *relatorio = m_mainBar->addButton(
        QStringLiteral("Relatório"), Icons::tile(QStringLiteral("R"), QColor(200, 120, 0), 40));
    m_mainBar->addButton(QStringLiteral("Fechar"),
                         Icons::tile(QStringLiteral("F"), QColor(90, 90, 90), 40), QKeySequence(),
                         this, &frmPagarManutencao::ToolButton5Click);
    toolsLayout->addWidget(m_mainBar);

    m_registryBar = new BigToolBar(tools);
    m_registryBar->setObjectName(QStringLiteral("registryBar"));

    // The registries; the lookup lists read them again when they close.
    m_registryBar->addButton(QStringLiteral("&Fornecedor"),
                             Icons::tile(QStringLiteral("Fo"), QColor(40, 150, 70), 40),
                             QKeySequence(), [this] {
                                 frmFornecedor::run(this);
                                 m_lookups->reread(m_lookups->tbfornecedor);
                             });
    m_registryBar->addButton(
        QStringLiteral("&C.&Custo "), Icons::tile(QStringLiteral("CC"), QColor(120, 60, 170), 40),
        QKeySequence(), [this] {
            SimpleRegistryWindow::run(SimpleRegistryWindow::Member::FrmGerencial, this);
            m_lookups->reread(m_lookups->tbgerencial);
        });
    m_registryBar->addButton(
        QStringLiteral("&T.Despesa"), Icons::tile(QStringLiteral("TD"), QColor(0, 130, 130), 40),
        QKeySequence(), [this] {
            SimpleRegistryWindow::run(SimpleRegistryWindow::Member::FrmTipoDespesa, this);
            m_lookups->reread(m_lookups->MyTipoDespesa);
        });
    m_registryBar->addButton(QStringLiteral("Primeiro "),
                             Icons::tile(QStringLiteral("|<"), QColor(0, 79, 157), 40),
                             QKeySequence(), this, &frmPagarManutencao::primeiro);
    m_registryBar->addButton(QStringLiteral("Anterior"),
                             Icons::tile(QStringLiteral("<"), QColor(0, 79, 157), 40),
                             QKeySequence(), this, &frmPagarManutencao::anterior);
    m_registryBar->addButton(QStringLiteral("Próximo "),
                             Icons::tile(QStringLiteral(">"), QColor(0, 79, 157), 40),
                             QKeySequence(), this, &frmPagarManutencao::proximo);
    m_registryBar->addButton(QStringLiteral("    Último     "),
                             Icons::tile(QStringLiteral(">|"), QColor(0, 79, 157), 40),
                             QKeySequence(), this, &frmPagarManutencao::ultimo);
    toolsLayout->addWidget(m_registryBar);
    toolsLayout->addStretch();

    auto *legend = new QGridLayout;
    legend->setSpacing(2);
    legend->addWidget(legendPanel(kQuitado, QStringLiteral("JA ESTÁ QUITADO"), tools), 0, 0);
    legend->addWidget(legendPanel(kHoje, QStringLiteral("VENCIMENTO NO DIA CORRENTE"), tools), 0,
                      1);
    legend->addWidget(legendPanel(kVencido, QStringLiteral("JA ESTÁ VENCIDO"), tools), 1, 0);
    legend->addWidget(legendPanel(kNegociacao, QStringLiteral("NEGOCIAÇÃO"), tools), 1, 1);
    toolsLayout->addLayout(legend);
    toolsLayout->addSpacing(12);
    toolsLayout->addWidget(new QLabel(QStringLiteral("Usuário : "), tools));
    m_userLabel = new QLabel(tools);
    m_userLabel->setObjectName(QStringLiteral("lblUsuario"));
    QFont uf = m_userLabel->font();
    uf.setBold(true);
    m_userLabel->setFont(uf);
    toolsLayout->addWidget(m_userLabel);
    layout->addWidget(tools);

    // The report menu drops down from its button and also opens on right-click.
    m_reportMenu = new QMenu(this);
    m_reportMenu->setObjectName(QStringLiteral("reportMenu"));
    const auto &entries = reportEntries();
    for (int i = 0; i < entries.size(); ++i) {
        if (entries[i].caption.isEmpty()) {
            m_reportMenu->addSeparator();
            continue;
        }
        QAction *a = m_reportMenu->addAction(entries[i].caption);
        a->setVisible(!entries[i].hidden);
        a->setData(i + 1);
        connect(a, &QAction::triggered, this, [this, number = i + 1] {
            Guarded([&] { MenuActions::run(MenuActions::PayablesReports, number, this); });
        });
    }
    relatorio->setMenu(m_reportMenu);
    if (QToolButton *b = m_mainBar->button(relatorio)) {
        b->setPopupMode(QToolButton::InstantPopup);
        b->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(b, &QWidget::customContextMenuRequested, this,
                [this, b](const QPoint &p) { m_reportMenu->popup(b->mapToGlobal(p)); });
    }

    // The two pages.
    m_pages = new QTabWidget(this);
    m_pages->setFixedHeight(301);
    m_grid = new DataGrid(m_pages);
    m_grid->setObjectName(QStringLiteral("gridPagar"));
    // The column widths were laid out for a small 8-point face.
    QFont gridFont = ProgramFace::font(8);
    m_grid->setFont(gridFont);
    // A point smaller, the longer titles ("Total Pagto. R$") fit their narrow columns.
    QFont headerFont = gridFont;
    headerFont.setPointSize(7);
    m_grid->horizontalHeader()->setFont(headerFont);
    m_grid->setRecordSet(m_tbPagar);
    const QString money = QStringLiteral("#,##0.00");
    m_grid->setColumns({
        {QStringLiteral("filial"), QStringLiteral("Filial"), 66, {}, {}},
        {QStringLiteral("Nota"), QStringLiteral("Nº Controle"), 76, {}, {}},
        {QStringLiteral("notacontrole"), QStringLiteral("Nº Nota"), 79, {}, {}},
        {QStringLiteral("condicao"), QStringLiteral("Condição"), 88, {}, {}},
        {QStringLiteral("Dataemissao"), QStringLiteral("Dt.Emissão"), 71, {}, {}},
        {QStringLiteral("Datavenc"), QStringLiteral("Dt.Venc."), 72, {}, {}},
        {QStringLiteral("Dataquitacao"), QStringLiteral("Dt.Quitação"), 76, {}, {}},
        {QStringLiteral("Nome"), QStringLiteral("Nome do Fornecedor"), 294, {}, {}},
        {QStringLiteral("Valor"), QStringLiteral("Parcela R$"), 64, money, {}},
        {QStringLiteral("total"), QStringLiteral("Total Nota R$"), 88, money, {}},
        {QStringLiteral("totalpg"), QStringLiteral("Total Pagto. R$"), 79, money, {}},
        {QStringLiteral("gerencial"), QStringLiteral("Central de Custo"), 186, {}, {}},
        {QStringLiteral("despesa"), QStringLiteral("Tipo de Despesas"), 138, {}, {}},
    });
    m_grid->setColorRule([](const RecordSet &rs, int row) {
        RowColors c;
        c.background =
            rowColor(rs.valueAt(row, QStringLiteral("Dataquitacao")).toDate(),
                     rs.valueAt(row, QStringLiteral("Datavenc")).toDate(),
                     rs.valueAt(row, QStringLiteral("negociacao")).toString(), Clock::today());
        if (c.background.isValid())
            c.foreground = Qt::black;
        return c;
    });
    connect(m_grid, &DataGrid::rowDoubleClicked, this, [this] { m_pages->setCurrentIndex(1); });
    connect(m_grid, &DataGrid::contextMenuRequested, this, [this](const QPoint &pos) {
        QMenu menu(this);
        menu.addAction(QStringLiteral("Baixa de Duplicata / Nota"), this,
                       &frmPagarManutencao::BaixaDuplicata);
        menu.exec(pos);
    });
    m_pages->addTab(m_grid, QStringLiteral("Listagem"));
    m_pages->addTab(buildEditPage(), QStringLiteral("Dados da Duplicata"));
    layout->addWidget(m_pages);

    // Notes strip.
    auto *notes = new QWidget(this);
    notes->setFixedHeight(73);
    auto *notesLayout = new QVBoxLayout(notes);
    notesLayout->setContentsMargins(4, 2, 4, 2);
    notesLayout->setSpacing(1);
    m_obs01 = new QLineEdit(notes);
    m_obs01->setObjectName(QStringLiteral("edtObs01"));
    m_obs01->setFrame(false);
    m_obs = new QPlainTextEdit(notes);
    m_obs->setObjectName(QStringLiteral("memoObs"));
    m_obs->setFrameShape(QFrame::NoFrame);
    notesLayout->addWidget(m_obs01);
    notesLayout->addWidget(m_obs);
    m_binder->bindText(m_obs01, QStringLiteral("obs01"), true);
    m_binder->bindMemo(m_obs, QStringLiteral("Obs"), true);
    layout->addWidget(notes);

    layout->addWidget(buildSearchArea());
}

QWidget *frmPagarManutencao::buildEditPage()
{
    auto *page = new QWidget(m_pages);
    QFont f = ProgramFace::font();
    f.setBold(true);
    page->setFont(f);
    m_binder = new FieldBinder(m_tbPagar, this);
    auto *grid = new QGridLayout(page);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(3);

    auto readOnlyPair = [&](int row, const QString &descCaption, const QString &codeField,
                            const QString &descField, const char *name,
                            void (frmPagarManutencao::*slot)(), bool upper) {
        grid->addWidget(new QLabel(QStringLiteral("Código"), page), row, 0);
        auto *code = new QLineEdit(page);
        code->setObjectName(QStringLiteral("edtCodigo_%1").arg(QString::fromLatin1(name)));
        code->setMaximumWidth(70);
        m_binder->bindNumber(code, codeField, true);
        grid->addWidget(code, row, 1);
        grid->addWidget(new QLabel(descCaption, page), row, 2);
        auto *desc = new QLineEdit(page);
        desc->setObjectName(QStringLiteral("edtDesc_%1").arg(QString::fromLatin1(name)));
        m_binder->bindText(desc, descField, true, upper);
        grid->addWidget(desc, row, 3);
        auto *button = new QPushButton(QStringLiteral("..."), page);
        button->setObjectName(QStringLiteral("btnLookup_%1").arg(QString::fromLatin1(name)));
        button->setMaximumWidth(30);
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, slot);
        grid->addWidget(button, row, 4);
    };
    readOnlyPair(0, QStringLiteral("Nome do Fornecedor"), QStringLiteral("CodigoFornecedor"),
                 QStringLiteral("Nome"), "Fornecedor", &frmPagarManutencao::lookupFornecedor, true);
    readOnlyPair(1, QStringLiteral("Razão Social do Filial"), QStringLiteral("Codigofilial"),
                 QStringLiteral("filial"), "Filial", &frmPagarManutencao::lookupFilial, false);
    readOnlyPair(2, QStringLiteral("Descrição da Depesa"), QStringLiteral("codigodespesa"),
                 QStringLiteral("despesa"), "Despesa", &frmPagarManutencao::lookupDespesa, false);
    readOnlyPair(3, QStringLiteral("Descrição da Central de Custo"),
                 QStringLiteral("codigogerencial"), QStringLiteral("gerencial"), "Custo",
                 &frmPagarManutencao::lookupCusto, false);
    readOnlyPair(4, QStringLiteral("Descrição do Tipo de Pagamento"), QStringLiteral("codigotipo"),
                 QStringLiteral("tipo"), "Tipo", &frmPagarManutencao::lookupTipo, false);

    auto *right = new QGridLayout;
    right->setHorizontalSpacing(6);
    right->setVerticalSpacing(3);
    int r = 0;
    // Each editable field: its caption, its control, bound to the column. The
    // eleven fields stand in two columns of six, so each keeps its full height
    // in the page.
    constexpr int rowsPerColumn = 6;
    auto place = [&](const QString &caption, auto *control, const char *name) {
        const int row = r % rowsPerColumn, column = 2 * (r / rowsPerColumn);
        ++r;
        right->addWidget(new QLabel(caption, page), row, column);
        control->setObjectName(QString::fromLatin1(name));
        control->setMinimumWidth(130);
        right->addWidget(control, row, column + 1);
        return control;
    };
    auto text = [&](const QString &caption, const QString &field, const char *name) {
        m_binder->bindText(place(caption, new QLineEdit(page), name), field);
    };
    auto date = [&](const QString &caption, const QString &field, const char *name) {
        m_binder->bindDate(place(caption, new DateEdit(page), name), field);
    };
    auto money = [&](const QString &caption, const QString &field, const char *name) {
        m_binder->bindMoney(place(caption, new MoneyEdit(page), name), field);
    };
    auto choice = [&](const QString &caption, const QString &field, const char *name) {
        m_binder->bindChoice(place(caption, new QComboBox(page), name), field,
                             {{QStringLiteral("Sim"), QStringLiteral("S")},
                              {QStringLiteral("Não"), QStringLiteral("N")}});
    };
    text(QStringLiteral("Nº Controle"), QStringLiteral("Nota"), "edtNota");
    text(QStringLiteral("Nº Nota"), QStringLiteral("notacontrole"), "edtNotaControle");
    date(QStringLiteral("Data Emissão"), QStringLiteral("Dataemissao"), "edtDataEmissao");
    date(QStringLiteral("Dt.Vencimento"), QStringLiteral("Datavenc"), "edtDataVenc");
    date(QStringLiteral("Dt.Quitação"), QStringLiteral("Dataquitacao"), "edtDataQuitacao");
    money(QStringLiteral("Vl. Parcela R$"), QStringLiteral("Valor"), "edtValor");
    money(QStringLiteral("Vl.Nota R$"), QStringLiteral("total"), "edtTotal");
    money(QStringLiteral("Total Pg R$"), QStringLiteral("totalpg"), "edtTotalPg");
    m_binder->bindNumber(place(QStringLiteral("Parcelas"), new QLineEdit(page), "edtParcelas"),
                         QStringLiteral("parcelas"));
    choice(QStringLiteral("Pago Sim/Não"), QStringLiteral("pago"), "cbPago");
    choice(QStringLiteral("Negociação Sim/Não"), QStringLiteral("negociacao"), "cbNegociacao");
    right->setColumnStretch(1, 1);
    right->setColumnStretch(3, 1);
    right->setRowStretch(rowsPerColumn, 1);
    grid->addLayout(right, 0, 5, 8, 1);
    grid->setColumnStretch(3, 1);
    grid->setColumnStretch(5, 1);

    grid->addWidget(new QLabel(QStringLiteral("Observação :"), page), 5, 0);
    auto *obs = new QPlainTextEdit(page);
    obs->setObjectName(QStringLiteral("memoObservacao"));
    m_binder->bindMemo(obs, QStringLiteral("Obs"));
    grid->addWidget(obs, 6, 0, 2, 4);
    auto *calc = new QPushButton(QStringLiteral("Calculadora"), page);
    calc->setObjectName(QStringLiteral("btnCalculadora"));
    calc->setAutoDefault(false);
    connect(calc, &QPushButton::clicked, this, &frmPagarManutencao::calculadora);
    grid->addWidget(calc, 6, 4);

    grid->addWidget(new QLabel(QStringLiteral("Código de Barras / PIX"), page), 8, 0, 1, 2);
    auto *codigo = new QLineEdit(page);
    codigo->setObjectName(QStringLiteral("edtCodigoBarras"));
    m_binder->bindText(codigo, QStringLiteral("codigobarras"), true);
    grid->addWidget(codigo, 8, 2, 1, 2);
    auto *copiar = new QPushButton(QStringLiteral("Copiar"), page);
    copiar->setObjectName(QStringLiteral("btnCopiarCodigo"));
    copiar->setToolTip(QStringLiteral("Copia o código para colar no banco"));
    copiar->setAutoDefault(false);
    connect(copiar, &QPushButton::clicked, this, &frmPagarManutencao::copiarCodigoBarras);
    grid->addWidget(copiar, 8, 4);
    return page;
}

QWidget *frmPagarManutencao::buildSearchArea()
{
    auto *box = new QGroupBox(QStringLiteral("Digite os Dados para a Consultas"), this);
    box->setFixedHeight(160);
    auto *v = new QVBoxLayout(box);
    v->setContentsMargins(4, 2, 4, 2);
    v->setSpacing(2);
    auto line = [&](const QString &text, const QColor &color) {
        auto *l = new QLabel(text, box);
        l->setAlignment(Qt::AlignCenter);
        QFont f = ProgramFace::font();
        f.setBold(true);
        l->setFont(f);
        QPalette p = l->palette();
        p.setColor(QPalette::WindowText, color);
        l->setPalette(p);
        v->addWidget(l);
    };
    line(QStringLiteral("PARA BAIXAR UMA ( DUPLICATA OU NOTA ), É SÓ SELECIONAR O QUE SE QUER "
                        "BAIXAR E CLICAR COM O BOTÃO DIREITO DO MOUSE."),
         Qt::red);
    line(QStringLiteral("APERTANDO A TECLA DE FUNÇÃO ( F3 ), A DUPLICATA SELECIONADA É BAIXADA COM "
                        "A DATA DO DIA CORRENTE E O VALOR DA PARCELA CHEIA, E VAI PARA O CAIXA."),
         QColor(0, 128, 0));

    auto *letters = new QHBoxLayout;
    letters->setSpacing(1);
    for (char c = 'A'; c <= 'Z'; ++c) {
        auto *b = new QPushButton(QStringLiteral("&") + QChar::fromLatin1(c), box);
        b->setObjectName(QStringLiteral("btnLetra%1").arg(QChar::fromLatin1(c)));
        b->setFixedSize(28, 22);
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, [this, c] { letterClick(QChar::fromLatin1(c)); });
        letters->addWidget(b);
        m_letters << b;
    }
    letters->addStretch();
    v->addLayout(letters);

    auto *controls = new QHBoxLayout;
    auto *left = new QVBoxLayout;
    m_search = new UpperEdit(box);
    m_search->setObjectName(QStringLiteral("edtLocalizar"));
    m_search->setFont(ProgramFace::pixelFont(21));
    m_search->setFixedWidth(555);
    left->addWidget(m_search);
    auto *buttons = new QHBoxLayout;
    buttons->setSpacing(2);
    auto button = [&](const QString &caption, const char *name, void (frmPagarManutencao::*slot)(),
                      const QString &hint = {}) {
        auto *b = new QPushButton(caption, box);
        b->setObjectName(QString::fromLatin1(name));
        b->setToolTip(hint);
        b->setFlat(true);
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, slot);
        buttons->addWidget(b);
    };
    button(QStringLiteral("&R.Social"), "SpeedButton1", &frmPagarManutencao::SpeedButton1Click);
    button(QStringLiteral("Nº &Duplicata"), "SpeedButton4", &frmPagarManutencao::SpeedButton4Click,
           QStringLiteral("Localizar Cliente Por Codigo"));
    button(QStringLiteral("Por &Codigo"), "TSpeedButton", &frmPagarManutencao::TSpeedButtonClick);
    button(QStringLiteral("Por &Valor"), "SpeedButton5", &frmPagarManutencao::SpeedButton5Click);
    button(QStringLiteral("Cen&tral Custo"), "TSpeedButton13",
           &frmPagarManutencao::TSpeedButton13Click);
    button(QStringLiteral("Data &Emissão"), "SpeedButton9", &frmPagarManutencao::SpeedButton9Click);
    button(QStringLiteral("Data &Vencimento"), "SpeedButton10",
           &frmPagarManutencao::SpeedButton10Click);
    button(QStringLiteral("Data Quitação"), "SpeedButton2", &frmPagarManutencao::SpeedButton2Click);
    left->addLayout(buttons);
    controls->addLayout(left);

    auto *ordemBox = new QGroupBox(QStringLiteral("Ordem de Apresentação"), box);
    auto *ordemLayout = new QHBoxLayout(ordemBox);
    m_ordem = new QButtonGroup(this);
    const QStringList items{QStringLiteral("Em Aberto"), QStringLiteral("Todas"),
                            QStringLiteral("Quitados"), QStringLiteral("Negociação")};
    for (int i = 0; i < items.size(); ++i) {
        auto *rb = new QRadioButton(items[i], ordemBox);
        rb->setObjectName(QStringLiteral("rbOrdem%1").arg(i));
        m_ordem->addButton(rb, i);
        ordemLayout->addWidget(rb);
    }
    m_ordem->button(EmAberto)->setChecked(true);
    connect(m_ordem, &QButtonGroup::idClicked, this, [this] { RadioGroupClick(); });
    controls->addWidget(ordemBox);

    auto *dates = new QGridLayout;
    dates->addWidget(new QLabel(QStringLiteral("Data Inicial"), box), 0, 0);
    dates->addWidget(new QLabel(QStringLiteral("Data Final"), box), 0, 1);
    m_dataI = new DateEdit(box);
    m_dataI->setObjectName(QStringLiteral("DataInicial"));
    m_dataF = new DateEdit(box);
    m_dataF->setObjectName(QStringLiteral("DataFinal"));
    dates->addWidget(m_dataI, 1, 0);
    dates->addWidget(m_dataF, 1, 1);
    controls->addLayout(dates);
    controls->addStretch();
    v->addLayout(controls);
    return box;
}

void frmPagarManutencao::buildMenus()
{
    // Entries that stand in the menus without an action of their own.
    auto inert = [](QMenu *menu, const QList<QPair<const char *, const char *>> &entries) {
        for (const auto &[caption, keys] : entries)
            menu->addAction(QString::fromUtf8(caption))
                ->setShortcut(QKeySequence(QString::fromLatin1(keys)));
    };
    QMenu *arquivo = m_menuBar->addMenu(QStringLiteral("&Arquivo"));
    inert(arquivo, {{"&Inserir", "Ctrl+I"}, {"&Excluir", "Ctrl+E"}});
    arquivo->addSeparator();
    inert(arquivo, {{"&Salvar", "Ctrl+S"}, {"Ca&ncelar", "Ctrl+N"}, {"&Alterar", "Ctrl+A"}});
    arquivo->addSeparator();
    QAction *f3 = arquivo->addAction(QStringLiteral("&Baixa Automatica"));
    f3->setObjectName(QStringLiteral("actBaixaAutomatica"));
    f3->setShortcut(QKeySequence(Qt::Key_F3));
    connect(f3, &QAction::triggered, this, &frmPagarManutencao::BaixaAutomatica);
    addAction(f3);
    arquivo->addSeparator();
    QAction *fechar = arquivo->addAction(QStringLiteral("&Fechar"));
    fechar->setShortcut(QKeySequence(QStringLiteral("Ctrl+F")));
    connect(fechar, &QAction::triggered, this, &frmPagarManutencao::ToolButton5Click);

    inert(m_menuBar->addMenu(QStringLiteral("&Movimentar")), {{"&Primeiro", "Ctrl+F1"},
                                                              {"&Anterior", "Ctrl+F2"},
                                                              {"&Próximo", "Ctrl+F3"},
                                                              {"&Último", "Ctrl+F4"}});

    QMenu *relatorios = m_menuBar->addMenu(QStringLiteral("&Relatorios"));
    // Numbered after the report menu's 23 entries.
    const QStringList captions{QStringLiteral("Por Data de Vencimento em Aberto no Periodo"),
                               QStringLiteral("Por Data de Quitação no Periodo")};
    for (int i = 0; i < captions.size(); ++i) {
        QAction *a = relatorios->addAction(captions[i]);
        connect(a, &QAction::triggered, this, [this, number = 101 + i] {
            Guarded([&] { MenuActions::run(MenuActions::PayablesReports, number, this); });
        });
    }
}

void frmPagarManutencao::setUserName(const QString &name)
{
    m_userLabel->setText(name);
}

QString frmPagarManutencao::userName() const
{
    return m_userLabel->text();
}

QPushButton *frmPagarManutencao::letterButton(QChar letter) const
{
    const int i = letter.toUpper().unicode() - 'A';
    return (i >= 0 && i < m_letters.size()) ? m_letters[i] : nullptr;
}

frmPagarManutencao::Ordem frmPagarManutencao::ordem() const
{
    return Ordem(qMax(0, m_ordem->checkedId()));
}

void frmPagarManutencao::setOrdem(Ordem o)
{
    m_ordem->button(o)->setChecked(true);
}

void frmPagarManutencao::setBrowsing(bool browsing)
{
    m_saveBar->setVisible(!browsing);
    m_mainBar->setVisible(browsing);
    m_registryBar->setVisible(browsing);
}

void frmPagarManutencao::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    setBrowsing(true);
    RadioGroupClick();
    m_search->setFocus();
}

void frmPagarManutencao::done(int result)
{
    if (!resolvePendingEdit())
        return;
    // Closing closes the screen's data sets and the shared tables but the company.
    m_tbPagar->close();
    m_pagarTemp->close();
    m_lookups->closeAll();
    if (DM::instance())
        DM::instance()->closeSharedTables();
    QDialog::done(result);
}

void frmPagarManutencao::runList(const QString &sql, const QVariantMap &params)
{
    m_tbPagar->close();
    m_tbPagar->setSql(sql);
    for (auto it = params.begin(); it != params.end(); ++it)
        m_tbPagar->setParam(it.key(), it.value());
    m_tbPagar->open();
}

void frmPagarManutencao::RadioGroupClick()
{
    // Cancel keeps the edit, and the list and its choice as they were.
    if (!resolvePendingEdit()) {
        setOrdem(m_ordemShown);
        return;
    }
    m_ordemShown = ordem();
    static const char *conditions[] = {
        "pago <> 'S' and negociacao = 'N' and dataquitacao is null",
        "negociacao = 'N'",
        "pago = 'S' and negociacao = 'N' and dataquitacao is not null",
        "negociacao = 'S'",
    };
    Guarded([this] {
        runList(QStringLiteral("select * from pagar where %1 order by datavenc")
                    .arg(QString::fromLatin1(conditions[ordem()])));
        m_tbPagar->last();
        m_grid->setVisible(true);
    });
}

void frmPagarManutencao::textSearch(const QString &column, const QString &order,
                                    const QString &notFound, const QString &empty)
{
    if (!resolvePendingEdit())
        return;
    QString status;
    if (ordem() == EmAberto)
        status = QStringLiteral(" and pago <> 'S' and dataquitacao is null");
    else if (ordem() == Quitados)
        status = QStringLiteral(" and pago = 'S' and dataquitacao is not null");
    Guarded([&] {
        runList(QStringLiteral("select * from pagar where %1 like :pattern%2 order by %3")
                    .arg(column, status, order),
                {{QStringLiteral("pattern"), LikePattern::prefix(m_search->text())}});
        if (m_tbPagar->isEmpty()) {
            Messages::warning(kAtencao, notFound);
            m_search->setFocus();
        } else if (m_search->text().trimmed().isEmpty()) {
            Messages::warning(kAtencao, empty);
            m_search->setFocus();
        } else {
            m_lookups->openAll();
        }
    });
}

void frmPagarManutencao::SpeedButton1Click()
{
    textSearch(QStringLiteral("Nome"), QStringLiteral("Nome"),
               QStringLiteral("Razão Social do Fornecedor não Encontrado!!!"),
               QStringLiteral("Razão Social do Fornecedor em Branco !!!"));
}

void frmPagarManutencao::SpeedButton4Click()
{
    textSearch(QStringLiteral("Nota"), QStringLiteral("Nome"),
               QStringLiteral("Nº Duplicata não Encontrado!!!"),
               QStringLiteral("Nº Duplicata em Branco !!!"));
}

void frmPagarManutencao::TSpeedButtonClick()
{
    textSearch(QStringLiteral("codigofornecedor"), QStringLiteral("nome"),
               QStringLiteral("Razão Social do Fornecedor não Encontrado!!!"),
               QStringLiteral("Razão Social do Fornecedor em Branco !!!"));
}

void frmPagarManutencao::SpeedButton5Click()
{
    textSearch(QStringLiteral("valor"), QStringLiteral("nome"),
               QStringLiteral("Valor da Duplicata não Encontrado!!!"),
               QStringLiteral("Valor da Duplicata em Branco !!!"));
}

void frmPagarManutencao::TSpeedButton13Click()
{
    textSearch(QStringLiteral("gerencial"), QStringLiteral("gerencial"),
               QStringLiteral("Central de Custo não Encontrado!!!"),
               QStringLiteral("Central de Custo em Branco !!!"));
}

void frmPagarManutencao::periodSearch(const QString &column, bool consultChoice)
{
    QString status;
    if (consultChoice) {
        if (ordem() == Negociacao)
            return; // the button does nothing under "Negociação"
        if (ordem() == EmAberto)
            status = QStringLiteral(" and dataquitacao is null");
        else if (ordem() == Quitados)
            status = QStringLiteral(" and dataquitacao is not null");
    }
    for (DateEdit *d : {m_dataI, m_dataF}) {
        if (!d->isValidInput() || !d->date().isValid()) {
            Messages::warning(kAtencao, QStringLiteral("Data inválida: %1").arg(d->text()));
            d->setFocus();
            return;
        }
    }
    if (!resolvePendingEdit())
        return;
    Guarded([&] {
        runList(
            QStringLiteral("select * from pagar where %1 between :dti and :dtf%2 order by %1")
                .arg(column, status),
            {{QStringLiteral("dti"), m_dataI->date()}, {QStringLiteral("dtf"), m_dataF->date()}});
    });
}

void frmPagarManutencao::SpeedButton9Click()
{
    periodSearch(QStringLiteral("dataEmissao"), true);
}

void frmPagarManutencao::SpeedButton10Click()
{
    periodSearch(QStringLiteral("datavenc"), true);
}

void frmPagarManutencao::SpeedButton2Click()
{
    periodSearch(QStringLiteral("dataquitacao"), false);
}

void frmPagarManutencao::letterClick(QChar letter)
{
    if (!resolvePendingEdit())
        return;
    m_search->setText(QString(letter));
    m_pages->setCurrentIndex(0);
    Guarded([&] {
        runList(QStringLiteral("select * from pagar where Nome like :letra order by Nome"),
                {{QStringLiteral("letra"), QString(letter) + QLatin1Char('%')}});
        m_grid->setVisible(true);
    });
}

void frmPagarManutencao::ToolButton1Click()
{
    auto *screen = new frmPagarNovo(m_lookups, this);
    follow(screen);
    RunScreen(screen);
}

void frmPagarManutencao::follow(frmPagarNovo *screen)
{
    // The entry works on this screen's lists: they are open while it does.
    connect(screen, &frmPagarNovo::entryStarting, this, [this] {
        Guarded([this] {
            if (!m_tbPagar->isOpen())
                m_tbPagar->open();
            m_lookups->openAll();
        });
    });
    // After a generation the list shows the payables of the note, as it was
    // stored (cut to its field), so a long note still finds the rows written.
    connect(screen, &frmPagarNovo::generated, this, [this](const QString &nota) {
        Guarded([&] {
            m_tbPagar->close();
            m_tbPagar->setSql(QStringLiteral("select * from pagar \nwhere nota like(:nota) "));
            m_tbPagar->setParam(QStringLiteral("nota"),
                                LikePattern::prefix(nota.left(EntryPlan::NotaWidth)));
            m_tbPagar->open();
        });
    });
    // "&Manutenção": a further maintenance screen over the entry, for the
    // same user.
    connect(screen, &frmPagarNovo::maintenanceRequested, this, [this, screen] {
        auto *maintenance = new frmPagarManutencao(screen);
        maintenance->setUserName(userName());
        RunScreen(maintenance);
    });
}

void frmPagarManutencao::ToolButton6Click()
{
    if (!m_tbPagar->isOpen() || m_tbPagar->recNo() < 0)
        return;
    if (!Messages::question(QStringLiteral("Exclusão"),
                            QStringLiteral("Deseja excluir o Registro do Contas a Pagar?")))
        return;
    Guarded([this] { m_tbPagar->remove(); });
}

void frmPagarManutencao::ToolButton2Click()
{
    if (m_tbPagar->isOpen() && resolvePendingEdit())
        Guarded([this] { m_tbPagar->refresh(); });
}

void frmPagarManutencao::ToolButton5Click()
{
    reject();
}

void frmPagarManutencao::ToolButton7Click()
{
    save();
}

bool frmPagarManutencao::save()
{
    // Nothing typed is dropped silently: a date or amount that cannot be
    // taken is said, and the edit stays open to be corrected.
    QString message;
    if (QWidget *bad = m_binder->firstInvalid(&message)) {
        Messages::warning(kAtencao, message);
        m_pages->setCurrentIndex(1);
        bad->setFocus();
        return false;
    }
    if (!Guarded([this] {
            m_binder->commit();
            m_tbPagar->post();
        }))
        return false; // the edit stays, so nothing typed is lost
    setBrowsing(true);
    m_pages->setCurrentIndex(0);
    return true;
}

bool frmPagarManutencao::resolvePendingEdit()
{
    return PendingEdit::resolve(m_tbPagar, [this] { return save(); });
}

void frmPagarManutencao::ToolButton8Click()
{
    m_tbPagar->cancel();
    setBrowsing(true);
    m_pages->setCurrentIndex(0);
}

void frmPagarManutencao::primeiro()
{
    GuardedStep(m_tbPagar, &RecordSet::first);
}

void frmPagarManutencao::anterior()
{
    GuardedStep(m_tbPagar, &RecordSet::prior);
}

void frmPagarManutencao::proximo()
{
    GuardedStep(m_tbPagar, &RecordSet::next);
}

void frmPagarManutencao::ultimo()
{
    GuardedStep(m_tbPagar, &RecordSet::last);
}

void frmPagarManutencao::copiarCodigoBarras()
{
    const QString codigo = m_tbPagar->isOpen() && m_tbPagar->recNo() >= 0 &&
                                   m_tbPagar->hasField(QStringLiteral("codigobarras"))
                               ? m_tbPagar->text(QStringLiteral("codigobarras"))
                               : QString();
    if (codigo.isEmpty()) {
        Messages::information(kAtencao,
                              QStringLiteral("Esta duplicata não tem código de barras nem PIX."));
        return;
    }
    QGuiApplication::clipboard()->setText(codigo);
}

void frmPagarManutencao::calculadora()
{
    if (!Calculator::start())
        Messages::warning(kAtencao,
                          QStringLiteral("Nenhuma calculadora está instalada neste computador."));
}

void frmPagarManutencao::BaixaDuplicata()
{
    if (!m_tbPagar->isOpen() || m_tbPagar->recNo() < 0)
        return;
    // The settlement re-reads the payable from the server; a change typed on
    // the edit tab is saved or dropped first, never left over the new row.
    if (!resolvePendingEdit())
        return;
    if (!m_tbPagar->isNull(QStringLiteral("Dataquitacao")) &&
        m_tbPagar->text(QStringLiteral("pago")) == QLatin1String("S")) {
        Messages::warning(kAtencao, QStringLiteral("Nota já foi Quitada !!!"));
        return;
    }
    auto *screen = new FrmBaixarNovo(settlementPayable(), this);
    follow(screen);
    RunScreen(screen);
}

FrmBaixarNovo::Payable frmPagarManutencao::settlementPayable() const
{
    FrmBaixarNovo::Payable p;
    if (m_tbPagar->isOpen() && m_tbPagar->recNo() >= 0) {
        p.key = m_tbPagar->value(QStringLiteral("Controle"));
        p.valor = RoundDecimals(2, m_tbPagar->number(QStringLiteral("Valor")));
    }
    std::tie(p.branchCode, p.branchName) = currentBranch();
    return p;
}

std::pair<QVariant, QVariant> frmPagarManutencao::currentBranch() const
{
    RecordSet *filiais = m_lookups->tbfilial;
    if (filiais->isOpen() && filiais->recNo() >= 0)
        return {filiais->value(QStringLiteral("Codigofilial")),
                filiais->value(QStringLiteral("Nomefilial"))};
    return {};
}

void frmPagarManutencao::follow(FrmBaixarNovo *screen)
{
    // Showing the screen, and every mode it runs, leave this screen browsing.
    connect(screen, &FrmBaixarNovo::shown, this, [this] { setBrowsing(true); });
    const QVariant codigoGerencial = m_tbPagar->isOpen() && m_tbPagar->recNo() >= 0
                                         ? m_tbPagar->value(QStringLiteral("codigogerencial"))
                                         : QVariant();
    connect(screen, &FrmBaixarNovo::modeFinished, this,
            [this, codigoGerencial](bool written, const PayablesBook::SettlementOutcome &o) {
                Guarded([&] {
                    // The cost-centre list narrowed to the payable's cost
                    // centre; the code is bound, so a payable without one
                    // simply narrows it to nothing.
                    RecordSet *gerencial = m_lookups->tbgerencial;
                    gerencial->close();
                    gerencial->setSql(QStringLiteral(
                        "select * from contagerencial where codigogerencial = :codigogerencial"));
                    gerencial->setParam(QStringLiteral("codigogerencial"), codigoGerencial);
                    gerencial->open();
                });
                // The list shows what the server now holds, whatever happened:
                // the remainder alone after a partial settlement, the row
                // itself otherwise.
                if (written && o.remainderKey.isValid())
                    Guarded([&] {
                        runList(QStringLiteral("select * from pagar where Controle = :Controle"),
                                {{QStringLiteral("Controle"), o.remainderKey}});
                    });
                else
                    Guarded([this] { m_tbPagar->refreshRow(); });
                setBrowsing(true);
            });
}

void frmPagarManutencao::BaixaAutomatica()
{
    if (!m_tbPagar->isOpen() || m_tbPagar->recNo() < 0)
        return;
    const QString jaQuitada = QStringLiteral("Duplicata já está Quitada !!!");
    const QString tituloAviso = QStringLiteral("Quarvo Sistemas, Atenção !!!");
    const QString tituloPergunta = QStringLiteral("Quarvo Sistemas, Atenção");
    if (m_tbPagar->text(QStringLiteral("pago")) == QLatin1String("S")) {
        Messages::information(tituloAviso, jaQuitada);
        return;
    }
    if (!Messages::question(tituloPergunta, QStringLiteral("Deseja Quitar esta´Duplicata ?"))) {
        // A change typed on the edit tab stays pending, with its save bar.
        setBrowsing(!m_tbPagar->isEditing());
        return;
    }
    // Both questions come before anything is written, so the settlement is
    // written whole or not at all.
    const bool toCash =
        Messages::question(tituloPergunta, QStringLiteral("Deseja Enviar para o Caixa ?"));
    // What the clerk typed on the edit tab is saved before the settlement
    // re-reads the row, so neither the row's refresh nor a failed settlement
    // throws it away; if it cannot be saved, it stays on screen to be fixed.
    if (m_tbPagar->isEditing() && !Guarded([this] {
            m_binder->commit();
            m_tbPagar->post();
        }))
        return;
    SettlementRequest request;
    request.key = m_tbPagar->value(QStringLiteral("Controle"));
    request.mode = SettlementMode::Full;
    request.date = Clock::today();
    request.toCash = toCash;
    request.user = userName();
    request.computer = QSysInfo::machineHostName();
    request.at = Clock::now();
    std::tie(request.branchCode, request.branchName) = currentBranch();
    PayablesBook::SettlementOutcome outcome;
    const bool ok =
        Guarded([&] { outcome = PayablesBook::settle(*m_tbPagar->connection(), request); });
    // The list shows the row as the server now holds it, whatever happened.
    Guarded([this] { m_tbPagar->refreshRow(); });
    using Kind = PayablesBook::SettlementOutcome::Kind;
    if (ok && outcome.kind == Kind::AlreadySettled)
        Messages::information(tituloAviso, jaQuitada);
    else if (ok && outcome.kind == Kind::Missing)
        Messages::warning(kAtencao, QStringLiteral("A duplicata não existe mais: foi excluída por "
                                                   "outra estação."));
    setBrowsing(true);
}

void frmPagarManutencao::openEditLookup(PickLists::Member member, RecordSet *list)
{
    if (!m_tbPagar->isOpen() || m_tbPagar->recNo() < 0)
        return;
    // The pick list puts the payable into edit mode; the save bar follows.
    PickLists::run(member, list, PickLists::Target(m_tbPagar), this);
}

void frmPagarManutencao::lookupFornecedor()
{
    openEditLookup(PickLists::Member::FrmL_fornecedorPagar, m_lookups->tbfornecedor);
}

void frmPagarManutencao::lookupFilial()
{
    openEditLookup(PickLists::Member::FrmL_filialPagar, m_lookups->tbfilial);
}

void frmPagarManutencao::lookupDespesa()
{
    openEditLookup(PickLists::Member::FrmL_DespesaPagar01, m_lookups->MyTipoDespesa);
}

void frmPagarManutencao::lookupCusto()
{
    openEditLookup(PickLists::Member::FrmL_CustoPagar02, m_lookups->tbgerencial);
}

void frmPagarManutencao::lookupTipo()
{
    openEditLookup(PickLists::Member::FrmL_TipoPagamento, m_lookups->tbTipo);
}
