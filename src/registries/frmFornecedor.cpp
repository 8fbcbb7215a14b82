#include "registries/frmFornecedor.h"

#include "app/Application.h"
#include "app/DM.h"
#include "app/Globals.h"
#include "app/Helpers.h"
#include "db/LikePattern.h"
#include "db/RecordSet.h"
#include "registries/CpfCnpj.h"
#include "registries/F_ConsultaCNPJ.h"
#include "registries/LookupBinding.h"
#include "registries/RadioBinding.h"
#include "registries/RecordShortcuts.h"
#include "registries/RegistryRows.h"
#include "registries/RegistryWidgets.h"
#include "registries/frmConsultaCPF.h"
#include "registries/rptFicha_FO.h"
#include "web/PostcodeLookup.h"
#include "widgets/BigToolBar.h"
#include "widgets/DataGrid.h"
#include "widgets/EnterAsTab.h"
#include "widgets/FieldBinder.h"
#include "widgets/LookupCombo.h"
#include "widgets/Messages.h"
#include "widgets/PendingEdit.h"
#include "widgets/TitleBand.h"
#include "widgets/UpperEdit.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShowEvent>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

using namespace RegistryWidgets;

namespace {

const QString kAtencao = QStringLiteral("Atenção");
const QString kQuarvoAtencao = QStringLiteral("Quarvo Sistemas, Atenção !!!");
const QColor kTeal(0, 128, 128);
const QSize kButton(58, 60);
constexpr int kNavX = 296;

// Text without accents, folded: how a name is compared with the cities list.
QString folded(const QString &s)
{
    QString out;
    const QString d = s.normalized(QString::NormalizationForm_D);
    out.reserve(d.size());
    for (const QChar c : d)
        if (c.category() != QChar::Mark_NonSpacing)
            out += c;
    return out.toCaseFolded();
}

QString postcodeDigits(const QString &typed)
{
    QString digits;
    for (const QChar c : typed)
        if (c.isDigit())
            digits += c;
    return digits;
}

// The postcode column holds 8 characters: a postcode typed with its hyphen
// or dot is kept as its digits, never cut.
QString postcodeStored(const QString &typed)
{
    QString s;
    for (const QChar c : typed)
        if (c != QLatin1Char('-') && c != QLatin1Char('.') && !c.isSpace())
            s += c;
    return s;
}

// The grids' column widths were laid out for a small 8-point face.
void smallFace(DataGrid *grid)
{
    QFont f = grid->font();
    f.setPointSize(8);
    grid->setFont(f);
}

QLabel *caption(const QString &text, QWidget *parent)
{
    auto *l = new QLabel(text, parent);
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
    return l;
}

} // namespace

frmFornecedor::frmFornecedor(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint)
{
    setObjectName(QStringLiteral("frmFornecedor"));
    Connection *db = DM::instance()->MyConnection1;
    tbFornecedor = new RecordSet(db, QStringLiteral("Select * From Fornecedor"), this);
    tbFornecedor->setKeyField(QStringLiteral("CodigoFornecedor"));
    tbTipo = new RecordSet(db, QStringLiteral("Select * from Tipos"), this);
    tbTipo->setOrder(QStringLiteral("DESCTIPO"));
    tbGerencial = new RecordSet(db, QStringLiteral("Select * from ContaGerencial"), this);
    tbGerencial->setOrder(QStringLiteral("Gerencial"));
    myqryNota = new RecordSet(db,
                              QStringLiteral("Select * from Nota where Codigofornecedor = "
                                             ":CodigoFornecedor Order by Codigonota"),
                              this);
    myqryNota->setParam(QStringLiteral("CodigoFornecedor"), QVariant());
    tbEntrada = new RecordSet(db,
                              QStringLiteral("select * from itensNota where Codigonota = "
                                             ":Codigonota and notafiscal = :Notafiscal"),
                              this);
    tbEntrada->setParam(QStringLiteral("Codigonota"), QVariant());
    tbEntrada->setParam(QStringLiteral("Notafiscal"), QVariant());
    myqryMyUf = new RecordSet(
        db, QStringLiteral("Select Ucase(Nomest),NomEst,sigla From Uf Order By Sigla"), this);
    myqryMyMunicipios = new RecordSet(
        db,
        QStringLiteral("Select uf,codigo,Ucase(nome) nome From Municipios_Ibge Order By Uf,Nome"),
        this);
    m_stateCities = new RecordSet(db,
                                  QStringLiteral("Select uf,codigo,Ucase(nome) nome From "
                                                 "Municipios_Ibge Where uf = :uf Order By Nome"),
                                  this);
    m_stateCities->setParam(QStringLiteral("uf"), QString());

    setWindowTitle(QStringLiteral("Atualizado 30-04-2018 / 16:30 - Nome do Usuário : ") +
                   CurrentUserName());
    buildUi();
    buildShortcuts();
    EnterAsTab::install(this);

    connect(tbFornecedor, &RecordSet::stateChanged, this, [this] { followState(); });
    for (auto signal : {&RecordSet::currentRowChanged, &RecordSet::rowChanged})
        connect(tbFornecedor, signal, this, [this] { filterCities(); });
    connect(tbFornecedor, &RecordSet::reset, this, [this] { filterCities(); });

    m_pages->setCurrentIndex(0);
    setBrowsing();
    m_previousWindow = SetCurrentSupplierWindow(this);
}

frmFornecedor::~frmFornecedor()
{
    if (CurrentSupplierWindow() == this)
        SetCurrentSupplierWindow(m_previousWindow);
}

int frmFornecedor::run(QWidget *parent)
{
    return RunScreen(new frmFornecedor(parent));
}

void frmFornecedor::buildUi()
{
    setFixedSize(875, 687);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);

    auto *title = new TitleBand(QStringLiteral("Cadastro de Fornecedor"), this);
    title->setColor(kTeal);
    title->setBandHeight(36);
    title->setFontPixelSize(21);
    title->setCloseVisible(false);
    layout->addWidget(title);

    // The three bars share one row; each is placed where the window's states
    // put it.
    auto *tools = new QWidget(this);
    tools->setObjectName(QStringLiteral("toolArea"));
    tools->setFixedHeight(kButton.height() + 6);
    m_mainBar = toolBar(QStringLiteral("mainBar"), kButton, tools);
    addButton(m_mainBar, QStringLiteral("ToolButton1"), QStringLiteral("Incluir"),
              QStringLiteral("+"), QColor(0, 104, 210), [this] { incluir(); });
    addButton(m_mainBar, QStringLiteral("ToolButton2"), QStringLiteral("Atualizar"),
              QStringLiteral("@"), QColor(40, 150, 70), [this] { atualizar(); });
    addButton(m_mainBar, QStringLiteral("ToolButton3"), QStringLiteral("Excluir"),
              QStringLiteral("-"), QColor(180, 30, 30), [this] { excluir(); });
    QAction *relatorio =
        addButton(m_mainBar, QStringLiteral("ToolButton4"), QStringLiteral("Relatório"),
                  QStringLiteral("R"), QColor(200, 120, 0), {});
    m_reportMenu = new QMenu(this);
    m_reportMenu->setObjectName(QStringLiteral("reportMenu"));
    m_reportMenu->addAction(QStringLiteral("Por Ordem Alfabética"), this,
                            &frmFornecedor::relatorioPorNome);
    relatorio->setMenu(m_reportMenu);
    if (QToolButton *b = m_mainBar->button(relatorio))
        b->setPopupMode(QToolButton::InstantPopup);
    addButton(m_mainBar, QStringLiteral("ToolButton5"), QStringLiteral("   Fechar   "),
              QStringLiteral("F"), QColor(90, 90, 90), [this] { fechar(); });
    m_mainBar->move(0, 2);

    m_navBar = toolBar(QStringLiteral("navigationBar"), kButton, tools);
    addButton(m_navBar, QStringLiteral("ToolButton6"), QStringLiteral("Primeiro "),
              QStringLiteral("|<"), QColor(0, 79, 157), [this] { primeiro(); });
    addButton(m_navBar, QStringLiteral("ToolButton7"), QStringLiteral("Anterior"),
              QStringLiteral("<"), QColor(0, 79, 157), [this] { anterior(); });
    addButton(m_navBar, QStringLiteral("ToolButton8"), QStringLiteral("Próximo "),
              QStringLiteral(">"), QColor(0, 79, 157), [this] { proximo(); });
    addButton(m_navBar, QStringLiteral("ToolButton9"), QStringLiteral("   Último    "),
              QStringLiteral(">|"), QColor(0, 79, 157), [this] { ultimo(); });
    m_navBar->move(kNavX, 2);

    m_editBar = toolBar(QStringLiteral("editBar"), kButton, tools);
    addButton(m_editBar, QStringLiteral("ToolButton10"), QStringLiteral("Salvar"),
              QStringLiteral("OK"), QColor(40, 150, 70), [this] { salvar(); });
    addButton(m_editBar, QStringLiteral("ToolButton11"), QStringLiteral(" Cancelar  "),
              QStringLiteral("X"), QColor(180, 30, 30), [this] { cancelar(); });
    m_editBar->move(kNavX, 2);
    layout->addWidget(tools);

    // Identity of the current supplier.
    m_binder = new FieldBinder(tbFornecedor, this);
    auto *identity = new QGroupBox(this);
    auto *id = new QGridLayout(identity);
    id->setContentsMargins(6, 2, 6, 4);
    id->setVerticalSpacing(1);
    id->addWidget(caption(QStringLiteral("Código"), identity), 0, 0);
    auto *codigo = new QLineEdit(identity);
    codigo->setObjectName(QStringLiteral("edtCodigo"));
    codigo->setFixedWidth(80);
    codigo->setFocusPolicy(Qt::NoFocus);
    QFont cf = codigo->font();
    cf.setBold(true);
    codigo->setFont(cf);
    QPalette cp = codigo->palette();
    cp.setColor(QPalette::Text, Qt::red);
    codigo->setPalette(cp);
    m_binder->bindNumber(codigo, QStringLiteral("CodigoFornecedor"), true);
    id->addWidget(codigo, 1, 0);
    id->addWidget(caption(QStringLiteral("Razão Social do Fornecedor"), identity), 0, 1);
    m_nome = new UpperEdit(50, identity);
    m_nome->setObjectName(QStringLiteral("edtNome"));
    m_binder->bindText(m_nome, QStringLiteral("Nome"));
    id->addWidget(m_nome, 1, 1);
    id->addWidget(caption(QStringLiteral("Nome Fantasia do Fornecedor"), identity), 0, 2);
    auto *fantasia = new UpperEdit(50, identity);
    fantasia->setObjectName(QStringLiteral("edtNomeFan"));
    m_binder->bindText(fantasia, QStringLiteral("nomefan"));
    id->addWidget(fantasia, 1, 2);
    id->setColumnStretch(1, 1);
    id->setColumnStretch(2, 1);
    layout->addWidget(identity);

    m_pages = new QTabWidget(this);
    m_pages->setObjectName(QStringLiteral("PageControl1"));
    m_pages->addTab(buildListPage(), QStringLiteral("Listagem"));
    m_pages->addTab(buildDataPage(), QStringLiteral("Dados"));
    m_pages->addTab(buildEntryPage(), QStringLiteral("Entrada"));
    connect(m_pages, &QTabWidget::currentChanged, this, [this](int index) {
        if (index == 2)
            m_invoiceGrid->setFocus();
    });
    layout->addWidget(m_pages, 1);
    layout->addWidget(buildSearchArea());
}

QWidget *frmFornecedor::buildListPage()
{
    m_grid = new DataGrid(this);
    m_grid->setObjectName(QStringLiteral("gridFornecedor"));
    m_grid->setRecordSet(tbFornecedor);
    smallFace(m_grid);
    m_grid->setColumns(
        {{QStringLiteral("CodigoFornecedor"), QStringLiteral("Codigo"), 49, {}, {}},
         {QStringLiteral("Nome"), QStringLiteral("Razão Social do Fornecedor"), 339, {}, {}},
         {QStringLiteral("nomefan"), QStringLiteral("Nome Fantasia"), 270, {}, {}},
         {QStringLiteral("Cgccpf"), QStringLiteral("Cnpj"), 109, {}, {}},
         {QStringLiteral("ie"), QStringLiteral("Insc.Estadual"), 109, {}, {}},
         {QStringLiteral("Telefone1"), QStringLiteral("Telefone"), 109, {}, {}}});
    connect(m_grid, &DataGrid::rowDoubleClicked, this, [this] { m_pages->setCurrentIndex(1); });
    return m_grid;
}

QWidget *frmFornecedor::buildDataPage()
{
    auto *page = new QWidget(this);
    auto *grid = new QGridLayout(page);
    grid->setContentsMargins(6, 4, 6, 4);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(1);

    auto edit = [&](const QString &name, const QString &field, int width, bool upper) {
        QLineEdit *e = upper ? new UpperEdit(width, page) : new QLineEdit(page);
        if (!upper && width > 0)
            e->setMaxLength(width);
        e->setObjectName(name);
        m_binder->bindText(e, field);
        return e;
    };
    // A labelled control in a row of its own layout.
    auto labelled = [&](QHBoxLayout *row, const QString &label, QWidget *control, int stretch) {
        auto *box = new QVBoxLayout;
        box->setSpacing(0);
        box->addWidget(caption(label, page));
        box->addWidget(control);
        row->addLayout(box, stretch);
    };
    int r = 0;
    auto newRow = [&] {
        auto *row = new QHBoxLayout;
        row->setSpacing(6);
        grid->addLayout(row, r++, 0);
        return row;
    };

    // Row 1: the consultations, the number, the registrations, the taxpayer kind.
    QHBoxLayout *row = newRow();
    auto *cpf = picture(QStringLiteral("imgConsultaCpf"), QStringLiteral("Consulta de CPF"),
                        QStringLiteral("CPF"), QColor(0, 104, 210), page, 30);
    connect(cpf, &QToolButton::clicked, this, &frmFornecedor::consultaCpf);
    row->addWidget(cpf, 0, Qt::AlignBottom);
    auto *cnpjPic = picture(QStringLiteral("imgConsultaCnpj"), QStringLiteral("Consulta de CNPJ"),
                            QStringLiteral("CNPJ"), QColor(0, 128, 128), page, 30);
    connect(cnpjPic, &QToolButton::clicked, this, &frmFornecedor::consultaCnpj);
    row->addWidget(cnpjPic, 0, Qt::AlignBottom);
    m_cnpj = edit(QStringLiteral("edtCgccpf"), QStringLiteral("Cgccpf"), 18, true);
    m_cnpj->setMinimumWidth(
        m_cnpj->fontMetrics().horizontalAdvance(QStringLiteral("00.000.000/0000-00")) + 14);
    labelled(row, QStringLiteral("Cnpj / Cpf"), m_cnpj, 3);
    // The column holds 15 characters: the edit takes no more, so nothing is cut.
    auto *ie = edit(QStringLiteral("edtIe"), QStringLiteral("Ie"), 15, false);
    makeLowerCase(ie);
    ie->setMinimumWidth(ie->fontMetrics().horizontalAdvance(QStringLiteral("000.000.000.000")) +
                        14);
    labelled(row, QStringLiteral("Insc.Estadual"), ie, 3);
    labelled(row, QStringLiteral("Rg"),
             edit(QStringLiteral("edtRg"), QStringLiteral("Rg"), 18, true), 2);
    auto *contribuinte = new QGroupBox(QStringLiteral("Tipo Contribuinte"), page);
    contribuinte->setObjectName(QStringLiteral("rgTipoContribuinte"));
    auto *cl = new QHBoxLayout(contribuinte);
    cl->setContentsMargins(4, 0, 4, 0);
    QList<QPair<QAbstractButton *, QVariant>> kinds;
    const QList<QPair<QString, int>> captions{{QStringLiteral("1 - CONTRIBUINTE ICMS"), 1},
                                              {QStringLiteral("2 - ISENTO"), 2},
                                              {QStringLiteral("9 - NÃO CONTRIBUINTE"), 9}};
    for (const auto &[text, value] : captions) {
        auto *rb = new QRadioButton(text, contribuinte);
        rb->setObjectName(QStringLiteral("rbContribuinte%1").arg(value));
        cl->addWidget(rb);
        kinds.append({rb, value});
    }
    m_contribuinte =
        new RadioBinding(tbFornecedor, QStringLiteral("TipoContribuinte"), kinds, this);
    row->addWidget(contribuinte, 5);

    // Row 2: the street.
    row = newRow();
    labelled(row, QStringLiteral("Endereço"),
             edit(QStringLiteral("edtEndereco"), QStringLiteral("Endereco"), 40, true), 6);
    labelled(row, QStringLiteral("Numero"),
             edit(QStringLiteral("edtNumero"), QStringLiteral("Numero"), 10, true), 1);
    labelled(row, QStringLiteral("Complemento"),
             edit(QStringLiteral("edtComplemento"), QStringLiteral("ICompletCliFor"), 25, true), 3);

    // Row 3: district, state, city, postcode.
    row = newRow();
    labelled(row, QStringLiteral("Bairro"),
             edit(QStringLiteral("edtBairro"), QStringLiteral("Bairro"), 30, true), 3);
    m_estado = new LookupCombo(page);
    m_estado->setObjectName(QStringLiteral("cbEstado"));
    m_estado->setRecordSet(myqryMyUf, QStringLiteral("NomEst"), QStringLiteral("sigla"));
    labelled(row, QStringLiteral("Estado"), m_estado, 2);
    m_cidade = new LookupCombo(page);
    m_cidade->setObjectName(QStringLiteral("cbCidade"));
    m_cidade->setRecordSet(m_stateCities, QStringLiteral("nome"), QStringLiteral("codigo"));
    labelled(row, QStringLiteral("Cidade"), m_cidade, 3);
    m_cep = new QLineEdit(page);
    m_cep->setObjectName(QStringLiteral("edtCep"));
    m_cep->setMaxLength(10);
    m_cep->setFixedWidth(90);
    // The postcode is written without its hyphen, dots and blanks as it is
    // typed (the column holds 8 characters); the edit keeps what is typed.
    auto showCep = [this] {
        if (m_cepWriting)
            return;
        const bool has = tbFornecedor->isOpen() && tbFornecedor->recNo() >= 0;
        m_cep->setText(has ? tbFornecedor->text(QStringLiteral("Cep")) : QString());
    };
    for (auto signal : {&RecordSet::currentRowChanged, &RecordSet::rowChanged})
        connect(tbFornecedor, signal, this, showCep);
    connect(tbFornecedor, &RecordSet::stateChanged, this, showCep);
    connect(tbFornecedor, &RecordSet::reset, this, showCep);
    connect(m_cep, &QLineEdit::textEdited, this, [this](const QString &typed) {
        if (!tbFornecedor->isOpen() || tbFornecedor->recNo() < 0)
            return;
        m_cepWriting = true;
        const bool ok = Guarded([&] {
            if (!tbFornecedor->isEditing())
                tbFornecedor->edit();
            tbFornecedor->setValue(QStringLiteral("Cep"), postcodeStored(typed));
        });
        m_cepWriting = false;
        if (!ok)
            m_cep->undo();
    });
    labelled(row, QStringLiteral("Cep"), m_cep, 0);
    m_cepPicture = picture(QStringLiteral("imgCep"), QStringLiteral("Consultar o CEP"),
                           QStringLiteral("CEP"), QColor(200, 120, 0), page, 30);
    connect(m_cepPicture, &QToolButton::clicked, this, &frmFornecedor::consultaCep);
    row->addWidget(m_cepPicture, 0, Qt::AlignBottom);

    m_estadoBinding = new LookupBinding(tbFornecedor, m_estado, QStringLiteral("Estado"), this);
    m_estadoBinding->chosen = [this](const QVariant &) {
        // A city of another state no longer goes with the row.
        filterCities();
        const QVariant city = tbFornecedor->value(QStringLiteral("codigocidade"));
        if (!city.isNull() && LookupBinding::nameOf(m_stateCities, QStringLiteral("codigo"),
                                                    QStringLiteral("nome"), city)
                                  .isEmpty())
            tbFornecedor->setValue(QStringLiteral("codigocidade"), QVariant());
    };
    m_cidadeBinding =
        new LookupBinding(tbFornecedor, m_cidade, QStringLiteral("codigocidade"), this);
    m_cidadeBinding->chosen = [this](const QVariant &code) {
        const QString name = LookupBinding::nameOf(m_stateCities, QStringLiteral("codigo"),
                                                   QStringLiteral("nome"), code);
        if (!name.isEmpty())
            tbFornecedor->setValue(QStringLiteral("Cidade"), name);
    };

    // Row 4: telephones, e-mail, contact.
    row = newRow();
    labelled(row, QStringLiteral("Telefone "),
             edit(QStringLiteral("edtTelefone1"), QStringLiteral("Telefone1"), 15, false), 2);
    labelled(row, QStringLiteral("Telefone"),
             edit(QStringLiteral("edtTelefone2"), QStringLiteral("Telefone2"), 15, false), 2);
    labelled(row, QStringLiteral("email"),
             edit(QStringLiteral("edtEmail"), QStringLiteral("email"), 50, false), 4);
    labelled(row, QStringLiteral("Contato"),
             edit(QStringLiteral("edtContato"), QStringLiteral("contato"), 50, false), 3);
    labelled(row, QStringLiteral("Tel.Contato"),
             edit(QStringLiteral("edtTelContato"), QStringLiteral("Telcontato"), 15, false), 2);

    // Rows 5 and 6: the supplier's usual payment type and cost centre.
    row = newRow();
    m_tipo = new LookupCombo(page);
    m_tipo->setObjectName(QStringLiteral("cbTipo"));
    m_tipo->setRecordSet(tbTipo, QStringLiteral("DESCTIPO"), QStringLiteral("CODIGOTIPO"));
    labelled(row, QStringLiteral("Descrição do Tipo"), m_tipo, 1);
    m_tipoBinding = new LookupBinding(tbFornecedor, m_tipo, QStringLiteral("CodigoTipo"), this);
    m_tipoBinding->chosen = [this](const QVariant &) { beforePost(); };
    row = newRow();
    m_gerencial = new LookupCombo(page);
    m_gerencial->setObjectName(QStringLiteral("cbGerencial"));
    m_gerencial->setRecordSet(tbGerencial, QStringLiteral("Gerencial"),
                              QStringLiteral("codigogerencial"));
    labelled(row, QStringLiteral("Centro de Custo"), m_gerencial, 1);
    m_gerencialBinding =
        new LookupBinding(tbFornecedor, m_gerencial, QStringLiteral("CodigoGerencial"), this);
    m_gerencialBinding->chosen = [this](const QVariant &) { beforePost(); };
    auto *incluirCusto = new QPushButton(QStringLiteral("&Incluir"), page);
    incluirCusto->setObjectName(QStringLiteral("btnIncluirCusto"));
    incluirCusto->setAutoDefault(false);
    row->addWidget(incluirCusto, 0, Qt::AlignBottom);

    // Rows 7 and 8: the memos, in which Enter moves on like everywhere else.
    auto memo = [&](const QString &name, const QString &label, const QString &field) {
        grid->addWidget(caption(label, page), r++, 0);
        auto *m = new TabbingMemo(page);
        m->setObjectName(name);
        m->setTabChangesFocus(true);
        m_binder->bindMemo(m, field);
        grid->addWidget(m, r, 0);
        grid->setRowStretch(r++, 1);
        return m;
    };
    m_obs = memo(QStringLiteral("memoObs"), QStringLiteral("Obs.:"), QStringLiteral("Obs"));
    m_cnae = memo(QStringLiteral("memoCnae"), QStringLiteral("CNAE Secundário(s)"),
                  QStringLiteral("CNAE"));
    return page;
}

QWidget *frmFornecedor::buildEntryPage()
{
    auto *page = new QWidget(this);
    auto *v = new QVBoxLayout(page);
    v->setContentsMargins(2, 2, 2, 2);
    const QString money = QStringLiteral("#,##0.00");
    const QColor cancelled(255, 166, 166);
    const QColor notImported(255, 255, 147);

    m_invoiceGrid = new DataGrid(page);
    m_invoiceGrid->setObjectName(QStringLiteral("gridNota"));
    m_invoiceGrid->setRecordSet(myqryNota);
    smallFace(m_invoiceGrid);
    m_invoiceGrid->setColumns(
        {{QStringLiteral("NFCancelada"), QStringLiteral("Posição"), 42, {}, {}},
         {QStringLiteral("Codigonota"), QStringLiteral("Nº Controle"), 74, {}, {}},
         {QStringLiteral("Notafiscal"), QStringLiteral("Nº Nota Fiscal"), 71, {}, {}},
         {QStringLiteral("Data"), QStringLiteral("Data"), 64, {}, {}},
         {QStringLiteral("dataentrada"), QStringLiteral("Dt.Entrada"), 74, {}, {}},
         {QStringLiteral("chave"), QStringLiteral("Chave"), 273, {}, {}},
         {QStringLiteral("operacao"), QStringLiteral("Operação"), 144, {}, {}},
         {QStringLiteral("vProd"), QStringLiteral("Valor Produto"), 86, money, {}},
         {QStringLiteral("valor"), QStringLiteral("Valor Nota R$"), 88, money, {}},
         {QStringLiteral("totalfrete"), QStringLiteral("Total Frete"), 74, money, {}},
         {QStringLiteral("vTotTrib"), QStringLiteral("Valor Tributos"), 88, money, {}},
         {QStringLiteral("vNF"), QStringLiteral("Valor Nota"), 74, money, {}}});
    m_invoiceGrid->setColorRule([cancelled](const RecordSet &rs, int row) {
        if (rs.valueAt(row, QStringLiteral("NFCancelada")).toString() == QLatin1String("S"))
            return RowColors{Qt::black, cancelled};
        return RowColors{};
    });
    v->addWidget(m_invoiceGrid, 1);

    m_itemGrid = new DataGrid(page);
    m_itemGrid->setObjectName(QStringLiteral("gridItens"));
    m_itemGrid->setRecordSet(tbEntrada);
    smallFace(m_itemGrid);
    m_itemGrid->setColumns(
        {{QStringLiteral("NFCancelada"), QStringLiteral("Posição"), 54, {}, {}},
         {QStringLiteral("Codigonota"), QStringLiteral("Nº Controle"), 74, {}, {}},
         {QStringLiteral("notafiscal"), QStringLiteral("Nº Nota Fiscal"), 64, {}, {}},
         {QStringLiteral("Codigoproduto"), QStringLiteral("Código"), 64, {}, {}},
         {QStringLiteral("produto"), QStringLiteral("Descrição do Produto"), 430, {}, {}},
         {QStringLiteral("Preco"), QStringLiteral("Preço"), 64, money, {}},
         {QStringLiteral("Qt"), QStringLiteral("Qtd."), 64, money, {}}});
    m_itemGrid->setColorRule([cancelled, notImported](const RecordSet &rs, int row) {
        if (rs.valueAt(row, QStringLiteral("importacao")).toString() == QLatin1String("N"))
            return RowColors{Qt::black, notImported};
        if (rs.valueAt(row, QStringLiteral("NFCancelada")).toString() == QLatin1String("S"))
            return RowColors{Qt::black, cancelled};
        return RowColors{};
    });
    v->addWidget(m_itemGrid, 1);
    return page;
}

QWidget *frmFornecedor::buildSearchArea()
{
    auto *box = new QGroupBox(QStringLiteral("Digite os Dados para a Consulta:"), this);
    box->setObjectName(QStringLiteral("grpConsulta"));
    box->setFixedHeight(87);
    auto *v = new QVBoxLayout(box);
    v->setContentsMargins(4, 2, 4, 4);
    v->setSpacing(2);
    // Alt+C, R, N and J search, Alt+I is the "&Incluir" beside the cost centre.
    QWidget *letters = letterStrip(
        box, [this](QChar c) { letterClick(c); }, &m_letters, QStringLiteral("CRNJI"));
    v->addWidget(letters);
    auto *row = new QHBoxLayout;
    m_search = new UpperEdit(box);
    m_search->setObjectName(QStringLiteral("edtLocalizar"));
    m_search->setFixedWidth(418);
    row->addWidget(m_search);
    auto button = [&](const QString &text, const QString &name, void (frmFornecedor::*slot)(),
                      const QString &hint = {}) {
        auto *b = new QPushButton(text, box);
        b->setObjectName(name);
        b->setToolTip(hint);
        b->setFlat(true);
        b->setAutoDefault(false);
        b->setCursor(Qt::PointingHandCursor);
        connect(b, &QPushButton::clicked, this, slot);
        row->addWidget(b);
    };
    button(QStringLiteral("&Codigo"), QStringLiteral("btnCodigo"), &frmFornecedor::searchByCodigo,
           QStringLiteral("Localizar Cliente Por Codigo"));
    button(QStringLiteral("&Razão Social"), QStringLiteral("btnRazaoSocial"),
           &frmFornecedor::searchByRazaoSocial);
    button(QStringLiteral("&Nome Fantasia"), QStringLiteral("btnNomeFantasia"),
           &frmFornecedor::searchByFantasia);
    button(QStringLiteral("Por Cnp&j"), QStringLiteral("btnCnpj"), &frmFornecedor::searchByCnpj);
    row->addStretch();
    v->addLayout(row);
    return box;
}

void frmFornecedor::buildShortcuts()
{
    auto *keys = new RecordShortcuts(this);
    keys->add(Qt::Key_I, [this] {
        if (tbFornecedor->isEditing() && !quickSave())
            return;
        tbFornecedor->append();
    });
    keys->add(Qt::Key_A, [this] { tbFornecedor->edit(); });
    keys->add(Qt::Key_S, [this] { quickSave(); });
    keys->add(Qt::Key_N, [this] { tbFornecedor->cancel(); });
    keys->add(Qt::Key_E, [this] { RegistryRows::remove(tbFornecedor); });
    keys->addSteps([this](RecordStep step) { goTo(step); });
    keys->add(Qt::Key_F, [this] { fechar(); });
}

QPushButton *frmFornecedor::letterButton(QChar letter) const
{
    const int i = letter.toUpper().unicode() - 'A';
    return (i >= 0 && i < m_letters.size()) ? m_letters[i] : nullptr;
}

void frmFornecedor::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    if (QScreen *s = screen())
        QWidget::move(s->availableGeometry().center() - rect().center());
    m_search->setFocus();
}

void frmFornecedor::done(int result)
{
    if (!resolvePending())
        return;
    if (tbFornecedor->isEditing())
        tbFornecedor->cancel();
    tbFornecedor->close();
    tbEntrada->close();
    myqryNota->close();
    QDialog::done(result);
}

bool frmFornecedor::resolvePending()
{
    if (!PendingEdit::resolve(tbFornecedor, [this] { return save(); }))
        return false;
    setBrowsing();
    return true;
}

void frmFornecedor::setBrowsing()
{
    m_editBar->hide();
    m_editBar->QWidget::move(kNavX, 2);
    m_mainBar->show();
    m_navBar->show();
}

void frmFornecedor::setEditing()
{
    m_editBar->QWidget::move(2, 2);
    m_editBar->show();
    m_mainBar->hide();
    m_navBar->hide();
}

void frmFornecedor::followState()
{
    // A stored supplier entering edit mode, however it happens, shows the
    // edit bar; the copies of the boxes' texts go in at once, so a save made
    // by moving to another row carries them too.
    if (tbFornecedor->state() == RecordSet::State::Edit) {
        setEditing();
        beforePost();
    } else if (tbFornecedor->state() == RecordSet::State::Insert) {
        beforePost();
    }
}

void frmFornecedor::openLists()
{
    for (RecordSet *rs : {tbTipo, tbGerencial, myqryMyUf})
        if (!rs->isOpen())
            rs->open();
}

void frmFornecedor::openSuppliers()
{
    openLists();
    tbFornecedor->open();
}

void frmFornecedor::linkDetails()
{
    if (!m_detailsLinked) {
        m_detailsLinked = true;
        myqryNota->setMaster(tbFornecedor, {QStringLiteral("CodigoFornecedor")},
                             {QStringLiteral("CodigoFornecedor")});
        tbEntrada->setMaster(myqryNota,
                             {QStringLiteral("Codigonota"), QStringLiteral("Notafiscal")},
                             {QStringLiteral("Codigonota"), QStringLiteral("Notafiscal")});
    }
    // The items first, then the invoices, which make the items follow them.
    const bool has = tbFornecedor->isOpen() && tbFornecedor->recNo() >= 0;
    tbEntrada->setParam(QStringLiteral("Codigonota"), QVariant());
    tbEntrada->setParam(QStringLiteral("Notafiscal"), QVariant());
    tbEntrada->open();
    myqryNota->setParam(QStringLiteral("CodigoFornecedor"),
                        has ? tbFornecedor->value(QStringLiteral("CodigoFornecedor")) : QVariant());
    myqryNota->open();
}

void frmFornecedor::filterCities()
{
    const bool has = tbFornecedor->isOpen() && tbFornecedor->recNo() >= 0;
    const QString uf =
        has ? tbFornecedor->text(QStringLiteral("Estado")).trimmed().toUpper() : QString();
    if (m_stateCities->isOpen() && m_stateCities->param(QStringLiteral("uf")).toString() == uf)
        return;
    if (uf.isEmpty() && !m_stateCities->isOpen())
        return;
    m_stateCities->setParam(QStringLiteral("uf"), uf);
    Guarded([this] { m_stateCities->open(); });
}

void frmFornecedor::search(const QString &column, const QString &order, const QString &emptyMessage)
{
    m_pages->setCurrentIndex(0);
    if (!resolvePending())
        return;
    const QString typed = m_search->text();
    // column and order are the program's own names; the text is bound.
    tbFornecedor->setSql(
        QStringLiteral("SELECT * FROM fornecedor WHERE %1 LIKE(:pattern) ORDER BY %2")
            .arg(column, order));
    tbFornecedor->setParam(QStringLiteral("pattern"), LikePattern::prefix(typed));
    if (typed.isEmpty()) {
        Messages::warning(kAtencao, emptyMessage);
        m_search->setFocus();
        return;
    }
    Guarded([this] {
        openSuppliers();
        linkDetails();
    });
}

void frmFornecedor::searchByCodigo()
{
    search(QStringLiteral("codigofornecedor"), QStringLiteral("CodigoFornecedor"),
           QStringLiteral("Codigo do Fornecedor em Branco !!!"));
}

void frmFornecedor::searchByRazaoSocial()
{
    search(QStringLiteral("Nome"), QStringLiteral("Nome"),
           QStringLiteral("Razão Social do Fornecedor em Branco !!!"));
}

void frmFornecedor::searchByFantasia()
{
    search(QStringLiteral("Nomefan"), QStringLiteral("Nomefan"),
           QStringLiteral("Nome Fanatasia do Fornecedor em Branco !!!"));
}

void frmFornecedor::searchByCnpj()
{
    search(QStringLiteral("Cgccpf"), QStringLiteral("Cgccpf"),
           QStringLiteral("Cnpj do Fornecedor em Branco !!!"));
}

void frmFornecedor::letterClick(QChar letter)
{
    m_search->setText(QString(letter));
    m_pages->setCurrentIndex(0);
    if (!resolvePending())
        return;
    tbFornecedor->setSql(
        QStringLiteral("SELECT * FROM Fornecedor WHERE NOME LIKE(:pattern) ORDER BY NOME"));
    tbFornecedor->setParam(QStringLiteral("pattern"), QString(letter) + QLatin1Char('%'));
    Guarded([this] { openSuppliers(); });
    m_grid->setVisible(true);
}

void frmFornecedor::incluir()
{
    if (!resolvePending())
        return;
    if (!Guarded([this] {
            if (!tbFornecedor->isOpen())
                openSuppliers();
            else
                openLists();
            tbFornecedor->append();
        }))
        return;
    setEditing();
    m_pages->setCurrentIndex(1);
    m_nome->setFocus();
}

void frmFornecedor::atualizar()
{
    if (!tbFornecedor->isOpen())
        return;
    if (!resolvePending())
        return;
    Guarded([this] { tbFornecedor->refresh(); });
}

void frmFornecedor::excluir()
{
    if (!tbFornecedor->isOpen() || tbFornecedor->recNo() < 0)
        return;
    int payables = 0;
    if (!Guarded([&] {
            payables = RegistryRows::payablesReferring(
                *tbFornecedor->connection(), QStringLiteral("CodigoFornecedor"),
                tbFornecedor->value(QStringLiteral("CodigoFornecedor")));
        }))
        return;
    if (!Messages::question(
            QStringLiteral("Exclusão"),
            RegistryRows::deleteQuestion(QStringLiteral("Deseja excluir o Registro do Fornecedor?"),
                                         payables)))
        return;
    RegistryRows::remove(tbFornecedor);
    if (!tbFornecedor->isEditing())
        setBrowsing();
}

void frmFornecedor::beforePost()
{
    if (!tbFornecedor->isEditing())
        return;
    // The texts the boxes show (empty when the key is not in their list);
    // with a list not read there is nothing to copy.
    if (tbTipo->isOpen())
        tbFornecedor->setValue(
            QStringLiteral("Tipos"),
            LookupBinding::nameOf(tbTipo, QStringLiteral("CODIGOTIPO"), QStringLiteral("DESCTIPO"),
                                  tbFornecedor->value(QStringLiteral("CodigoTipo"))));
    if (tbGerencial->isOpen())
        tbFornecedor->setValue(
            QStringLiteral("Gerencial"),
            LookupBinding::nameOf(tbGerencial, QStringLiteral("codigogerencial"),
                                  QStringLiteral("Gerencial"),
                                  tbFornecedor->value(QStringLiteral("CodigoGerencial"))));
}

bool frmFornecedor::quickSave()
{
    if (!tbFornecedor->isEditing())
        return true;
    m_binder->commit();
    beforePost();
    return RegistryRows::post(tbFornecedor);
}

bool frmFornecedor::save()
{
    const CpfCnpj::Verdict verdict = CpfCnpj::check(m_cnpj->text());
    if (!CpfCnpj::accepted(verdict)) {
        Messages::plain(AppTitle, CpfCnpj::message(verdict));
        m_pages->setCurrentIndex(1);
        m_cnpj->setFocus();
        return false;
    }
    return quickSave();
}

void frmFornecedor::salvar()
{
    if (!save() && tbFornecedor->isEditing())
        return; // the edit bar stays with what was typed
    setBrowsing();
}

void frmFornecedor::cancelar()
{
    tbFornecedor->cancel();
    setBrowsing();
}

void frmFornecedor::fechar()
{
    reject();
}

void frmFornecedor::goTo(void (RecordSet::*step)())
{
    if (!tbFornecedor->isOpen())
        return;
    if (tbFornecedor->isEditing() && !quickSave())
        return;
    GuardedStep(tbFornecedor, step);
}

void frmFornecedor::primeiro()
{
    goTo(&RecordSet::first);
}

void frmFornecedor::anterior()
{
    goTo(&RecordSet::prior);
}

void frmFornecedor::proximo()
{
    goTo(&RecordSet::next);
}

void frmFornecedor::ultimo()
{
    goTo(&RecordSet::last);
}

void frmFornecedor::relatorioPorNome()
{
    Guarded([this] { rptFicha_FO::previewByName(this); });
}

void frmFornecedor::startEdit()
{
    if (!tbFornecedor->isOpen() || tbFornecedor->recNo() < 0)
        throw DbError(QStringLiteral("Não há fornecedor para preencher: faça uma consulta ou "
                                     "inclua um fornecedor."));
    if (!tbFornecedor->isEditing())
        tbFornecedor->edit();
    setEditing();
}

void frmFornecedor::setEstado(const QString &sigla)
{
    startEdit();
    m_estadoBinding->choose(sigla.trimmed().toUpper());
}

bool frmFornecedor::setCidade(const QString &uf, const QString &name)
{
    if (!myqryMyMunicipios->isOpen())
        myqryMyMunicipios->open();
    const QString u = folded(uf.trimmed());
    const QString n = folded(name.trimmed());
    for (int row = 0; row < myqryMyMunicipios->recordCount(); ++row) {
        if (folded(myqryMyMunicipios->valueAt(row, QStringLiteral("uf")).toString())
                .startsWith(u) &&
            folded(myqryMyMunicipios->valueAt(row, QStringLiteral("nome")).toString())
                .startsWith(n))
            return setCodigoCidade(myqryMyMunicipios->valueAt(row, QStringLiteral("codigo")));
    }
    return false;
}

bool frmFornecedor::setCodigoCidade(const QVariant &ibgeCode)
{
    if (!myqryMyMunicipios->isOpen())
        myqryMyMunicipios->open();
    const QString name = LookupBinding::nameOf(myqryMyMunicipios, QStringLiteral("codigo"),
                                               QStringLiteral("nome"), ibgeCode);
    if (name.isEmpty())
        return false;
    startEdit();
    tbFornecedor->setValue(QStringLiteral("codigocidade"), ibgeCode.toLongLong());
    tbFornecedor->setValue(QStringLiteral("Cidade"), name);
    filterCities();
    m_cidadeBinding->refresh();
    return true;
}

void frmFornecedor::consultaCep()
{
    const QString digits = postcodeDigits(m_cep->text());
    if (digits.size() != 8) {
        Messages::warning(kQuarvoAtencao, QStringLiteral("Preencher com Cep Valido !!!"));
        return;
    }
    if (!tbFornecedor->isOpen() || tbFornecedor->recNo() < 0) {
        Messages::warning(kQuarvoAtencao,
                          QStringLiteral("Faça uma consulta ou inclua um fornecedor antes de "
                                         "buscar o endereço pelo CEP."));
        return;
    }
    PostcodeLookup lookup(Config().web);
    const PostcodeResult found = lookup.lookup(digits);
    if (!found.found()) {
        Messages::warning(kQuarvoAtencao, found.message);
        return;
    }
    const PostcodeAddress &a = found.address;
    Guarded([&] {
        startEdit();
        // What was typed in other controls stays; the address replaces its
        // own columns only.
        m_binder->commit();
        auto set = [this](const char *column, const QString &text) {
            tbFornecedor->setValue(QString::fromLatin1(column), text.trimmed().toUpper());
        };
        set("Endereco", a.street);
        set("Bairro", a.district);
        set("Cidade", a.city);
        set("Cep", digits);
        m_estadoBinding->choose(a.state.trimmed().toUpper());
        bool ok = false;
        const qlonglong ibge = a.ibgeCode.trimmed().toLongLong(&ok);
        tbFornecedor->setValue(QStringLiteral("codigocidade"), ok ? QVariant(ibge) : QVariant());
        filterCities();
        m_cidadeBinding->refresh();
    });
}

void frmFornecedor::consultaCpf()
{
    frmConsultaCPF::run(this);
}

void frmFornecedor::consultaCnpj()
{
    F_ConsultaCNPJ::run(this);
}
