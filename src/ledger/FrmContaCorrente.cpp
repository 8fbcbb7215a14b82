#include "ledger/FrmContaCorrente.h"

#include "app/Application.h"
#include "app/DM.h"
#include "app/Globals.h"
#include "app/MenuActions.h"
#include "db/LikePattern.h"
#include "db/RecordSet.h"
#include "registries/PickLists.h"
#include "widgets/BigToolBar.h"
#include "widgets/Clock.h"
#include "widgets/DataGrid.h"
#include "widgets/DateEdit.h"
#include "widgets/EnterAsTab.h"
#include "widgets/FieldBinder.h"
#include "widgets/Icons.h"
#include "widgets/LookupCombo.h"
#include "widgets/Messages.h"
#include "widgets/MoneyEdit.h"
#include "widgets/PendingEdit.h"
#include "widgets/TitleBand.h"
#include "widgets/UpperEdit.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShowEvent>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

const QString kAtencao = QStringLiteral("Atenção");
const QString kInitialSql =
    QStringLiteral("select * from contacorrente\norder by conta,datalancamento");

// The kinds of movement the radio group offers, and the one the statement
// import books credits as, which the group shows as a credit.
const QString kCredito = QStringLiteral("CREDITO");
const QString kDebito = QStringLiteral("DEBITO");
const QString kEntrada = QStringLiteral("ENTRADA");
enum Kind { KindCredito = 0, KindDebito = 1 };

int kindOf(const QString &tipos)
{
    if (tipos == kCredito || tipos == kEntrada)
        return KindCredito;
    if (tipos == kDebito)
        return KindDebito;
    return -1;
}

// The list column "Tipo de Despesa" shows the name of the expense type the
// movement points to, as the registry has it now.
constexpr int kDespesaColumn = 11;

QString lookupName(const RecordSet *list, const QString &keyField, const QString &nameField,
                   const QVariant &key)
{
    if (!list || !list->isOpen() || key.isNull())
        return {};
    const int k = list->fieldIndex(keyField);
    const int n = list->fieldIndex(nameField);
    if (k < 0 || n < 0)
        return {};
    bool ok = false;
    const double code = key.toDouble(&ok);
    if (!ok)
        return {};
    for (int row = 0; row < list->recordCount(); ++row) {
        const QVariant v = list->valueAt(row, k);
        if (!v.isNull() && v.toDouble() == code)
            return list->valueAt(row, n).toString();
    }
    return {};
}

class DespesaDelegate : public QStyledItemDelegate
{
public:
    DespesaDelegate(const FrmContaCorrente *window, QObject *parent)
        : QStyledItemDelegate(parent), m_window(window)
    {
    }

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        option->text = m_window->listText(index.row(), index.column());
    }

private:
    const FrmContaCorrente *m_window;
};

// What a box shows, as the text column stores it: "" when nothing is chosen.
QString shown(const LookupCombo *box)
{
    const QString text = box->currentText();
    return text.isNull() ? QStringLiteral("") : text;
}

QWidget *labelled(const QString &caption, QWidget *control, QWidget *parent)
{
    auto *box = new QWidget(parent);
    auto *v = new QVBoxLayout(box);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(1);
    v->addWidget(new QLabel(caption, box));
    control->setParent(box);
    v->addWidget(control);
    return box;
}

} // namespace

QStringList FrmContaCorrente::reportCaptions()
{
    return {QStringLiteral("Período"),
            QStringLiteral("Geral Quitado Por Tipo de Central de Custo - Contas a Pagar e Conta "
                           "Corrente no Periodo"),
            QStringLiteral("&Importar Extrato")};
}

FrmContaCorrente::FrmContaCorrente(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("FrmContaCorrente"));
    setWindowTitle(MakerCaption);
    Connection *conn = DM::instance()->MyConnection1;
    m_movements = new RecordSet(conn, kInitialSql, this);
    m_movements->setBaseTable(QStringLiteral("contacorrente"));
    m_movements->setKeyField(QStringLiteral("controle"));
    m_accounts = new RecordSet(conn, QStringLiteral("select * from conta\nOrder by conta"), this);
    m_branches =
        new RecordSet(conn, QStringLiteral("Select * from Filial\norder by nomefilial"), this);
    m_suppliers =
        new RecordSet(conn, QStringLiteral("Select * from fornecedor\nOrder by nome"), this);
    m_costCentres = new RecordSet(
        conn, QStringLiteral("select * from contagerencial\nOrder by gerencial"), this);
    m_paymentTypes =
        new RecordSet(conn, QStringLiteral("select * from tipos\norder by Desctipo"), this);
    m_expenseTypes =
        new RecordSet(conn, QStringLiteral("Select * from Tipodespesa\nOrder by Despesa"), this);

    buildUi();
    EnterAsTab::install(this);
    connect(m_movements, &RecordSet::stateChanged, this, [this](RecordSet::State s) {
        setBrowsing(s != RecordSet::State::Edit && s != RecordSet::State::Insert);
    });
    // The boxes and the radio group show the current movement, and the
    // names of the lists once these are read.
    auto show = [this] {
        showLookups();
        showKind();
    };
    connect(m_movements, &RecordSet::currentRowChanged, this, show);
    connect(m_movements, &RecordSet::rowChanged, this, show);
    connect(m_movements, &RecordSet::reset, this, show);
    connect(m_movements, &RecordSet::stateChanged, this, show);
    for (RecordSet *list : {m_branches, m_suppliers, m_costCentres, m_paymentTypes, m_expenseTypes})
        connect(list, &RecordSet::reset, this, [this] { showLookups(); });

    m_dataI->setDate(Clock::today());
    m_dataF->setDate(Clock::today());
    m_pages->setCurrentIndex(0);
    setBrowsing(true);
    resize(1250, 611);
    setWindowState(windowState() | Qt::WindowMaximized);
}

FrmContaCorrente::~FrmContaCorrente()
{
    // The lists go before the boxes that show them: nothing they signal on
    // the way out may reach the movements.
    for (LookupCombo *box : m_lookups)
        box->disconnect(this);
    m_movements->disconnect(this);
}

void FrmContaCorrente::buildUi()
{
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);

    m_title = new TitleBand(QStringLiteral("Conta Corrente"), this);
    m_title->setColor(QColor(0, 74, 149));
    m_title->setBandHeight(30);
    m_title->setFontPixelSize(21); // Arial 16 pt
    m_title->setCloseWidth(42);
    m_title->setCloseAction([this] { Fechar(); });
    layout->addWidget(m_title);
    layout->addWidget(buildToolArea());
    layout->addWidget(buildAccountGroup());

    m_pages = new QTabWidget(this);
    m_pages->setObjectName(QStringLiteral("pages"));
    m_grid = new DataGrid(m_pages);
    m_grid->setObjectName(QStringLiteral("gridContaCorrente"));
    // The column widths were laid out for a small face with Arial's metrics.
    QFont gridFont(QStringLiteral("Arial"));
    gridFont.setPointSize(8);
    m_grid->setFont(gridFont);
    m_grid->setRecordSet(m_movements);
    const QString money = QStringLiteral("#,##0.00");
    m_grid->setColumns({
        {QStringLiteral("documento"), QStringLiteral("Nº Doc."), 94, {}, {}},
        {QStringLiteral("tiposaida"), QStringLiteral("Tipo"), 80, {}, {}},
        {QStringLiteral("agencia"), QStringLiteral("Agência"), 57, {}, {}},
        {QStringLiteral("conta"), QStringLiteral("Conta"), 106, {}, {}},
        {QStringLiteral("banco"), QStringLiteral("Banco"), 131, {}, {}},
        {QStringLiteral("datalancamento"), QStringLiteral("Dt.Emissao"), 64, {}, {}},
        {QStringLiteral("valor"), QStringLiteral("Credito R$"), 64, money, {}},
        {QStringLiteral("debito"), QStringLiteral("Debito R$]"), 59, money, {}},
        {QStringLiteral("especie"), QStringLiteral("Especie"), 122, {}, {}},
        {QStringLiteral("es"), QStringLiteral("E/S"), 70, {}, {}},
        {QStringLiteral("fornecedor"), QStringLiteral("Descrição "), 288, {}, {}},
        {QStringLiteral("codigotipodespesa"),
         QStringLiteral("Tipo de Despesa"),
         142,
         {},
         Qt::AlignLeft},
        {QStringLiteral("gerencial"), QStringLiteral("Central de Custo"), 166, {}, {}},
        {QStringLiteral("importado"), QStringLiteral("Importado"), 51, {}, {}},
        {QStringLiteral("dataimportado"), QStringLiteral("Dt.Importado"), 65, {}, {}},
    });
    m_grid->setItemDelegateForColumn(kDespesaColumn, new DespesaDelegate(this, m_grid));
    // A click on a movement shows it on the data tab.
    connect(m_grid, &QAbstractItemView::clicked, this, [this] { m_pages->setCurrentIndex(1); });
    connect(m_grid, &DataGrid::rowDoubleClicked, this, [this] { m_pages->setCurrentIndex(1); });
    m_pages->addTab(m_grid, QStringLiteral("Listagem"));
    m_pages->addTab(buildDataPage(), QStringLiteral("Dados "));
    layout->addWidget(m_pages, 1);
    layout->addWidget(buildSearchGroup());
}

QWidget *FrmContaCorrente::buildToolArea()
{
    m_tools = new QWidget(this);
    m_tools->setObjectName(QStringLiteral("toolArea"));
    m_tools->setFixedHeight(64);
    // The captions in the small face the bar's pixel layout was made for.
    QFont small(QStringLiteral("Arial"));
    small.setPointSize(8);
    m_tools->setFont(small);
    auto tile = [](const char *sign, const QColor &color) {
        return Icons::tile(QString::fromUtf8(sign), color, 32);
    };
    auto bar = [&](const char *name) {
        auto *b = new BigToolBar(m_tools);
        b->setObjectName(QLatin1String(name));
        b->setIconSize(QSize(32, 32));
        return b;
    };
    auto tall = [](BigToolBar *b, QAction *a) {
        if (QToolButton *button = b->button(a))
            button->setFixedHeight(60);
        return a;
    };

    m_mainBar = bar("mainBar");
    tall(m_mainBar, m_mainBar->addButton(QStringLiteral("&Incluir"), tile("+", QColor(0, 104, 210)),
                                         QKeySequence(), this, &FrmContaCorrente::Incluir));
    tall(m_mainBar, m_mainBar->addButton(QStringLiteral("&Alterar"), tile("A", QColor(200, 120, 0)),
                                         QKeySequence(), this, &FrmContaCorrente::Alterar));
    tall(m_mainBar, m_mainBar->addButton(QStringLiteral("&Excluir"), tile("-", QColor(180, 30, 30)),
                                         QKeySequence(), this, &FrmContaCorrente::Excluir));
    QAction *relatorios = tall(m_mainBar, m_mainBar->addButton(QStringLiteral("Relatórios"),
                                                               tile("R", QColor(40, 150, 70))));
    tall(m_mainBar,
         m_mainBar->addButton(QStringLiteral("   Fechar   "), tile("F", QColor(90, 90, 90)),
                              QKeySequence(), this, &FrmContaCorrente::Fechar));

    m_navBar = bar("navigationBar");
    tall(m_navBar, m_navBar->addButton(QStringLiteral("Primeiro"), tile("|<", QColor(0, 79, 157)),
                                       QKeySequence(), this, &FrmContaCorrente::Primeiro));
    tall(m_navBar, m_navBar->addButton(QStringLiteral("Anterior"), tile("<", QColor(0, 79, 157)),
                                       QKeySequence(), this, &FrmContaCorrente::Anterior));
    tall(m_navBar, m_navBar->addButton(QStringLiteral("Próximo"), tile(">", QColor(0, 79, 157)),
                                       QKeySequence(), this, &FrmContaCorrente::Proximo));
    tall(m_navBar,
         m_navBar->addButton(QStringLiteral("   Último   "), tile(">|", QColor(0, 79, 157)),
                             QKeySequence(), this, &FrmContaCorrente::Ultimo));

    m_editBar = bar("editBar");
    tall(m_editBar, m_editBar->addButton(QStringLiteral("&Salvar"), tile("OK", QColor(40, 150, 70)),
                                         QKeySequence(), this, [this] { Salvar(); }));
    tall(m_editBar,
         m_editBar->addButton(QStringLiteral("&Cancelar  "), tile("X", QColor(180, 30, 30)),
                              QKeySequence(), this, &FrmContaCorrente::Cancelar));

    buildReportMenu();
    relatorios->setMenu(m_reportMenu);
    if (QToolButton *b = m_mainBar->button(relatorios))
        b->setPopupMode(QToolButton::InstantPopup);
    placeBars();
    return m_tools;
}

void FrmContaCorrente::buildReportMenu()
{
    m_reportMenu = new QMenu(this);
    m_reportMenu->setObjectName(QStringLiteral("reportMenu"));
    const QStringList captions = reportCaptions();
    for (int i = 0; i < captions.size(); ++i) {
        QAction *a = m_reportMenu->addAction(captions[i]);
        a->setData(i + 1);
        connect(a, &QAction::triggered, this, [this, number = i + 1] {
            Guarded([&] { MenuActions::run(MenuActions::LedgerReports, number, this); });
        });
    }
    // An entry whose window is not part of this build stays in its place,
    // disabled.
    connect(m_reportMenu, &QMenu::aboutToShow, this, [this] {
        for (QAction *a : m_reportMenu->actions())
            a->setEnabled(MenuActions::has(MenuActions::LedgerReports, a->data().toInt()));
    });
}

void FrmContaCorrente::placeBars()
{
    for (BigToolBar *b : {m_mainBar, m_navBar, m_editBar})
        b->adjustSize();
    m_mainBar->move(0, 2);
    // The navigation bar stands at x = 294, or just after the main bar
    // where the captions make that one wider.
    m_navBar->move(qMax(294, m_mainBar->width() + 4), 2);
    m_editBar->move(2, 2);
}

QWidget *FrmContaCorrente::buildAccountGroup()
{
    auto *group = new QGroupBox(this);
    group->setObjectName(QStringLiteral("accountGroup"));
    auto *row = new QHBoxLayout(group);
    row->setContentsMargins(6, 2, 6, 4);
    row->setSpacing(8);
    m_accountButton = new QPushButton(group);
    m_accountButton->setObjectName(QStringLiteral("btnConta"));
    m_accountButton->setIcon(Icons::tile(QStringLiteral("B"), QColor(200, 120, 0), 24));
    m_accountButton->setIconSize(QSize(24, 24));
    m_accountButton->setFixedSize(36, 36);
    m_accountButton->setToolTip(QStringLiteral("Localizar Conta"));
    m_accountButton->setAutoDefault(false);
    connect(m_accountButton, &QPushButton::clicked, this, &FrmContaCorrente::escolherConta);
    row->addWidget(m_accountButton, 0, Qt::AlignBottom);

    m_binder = new FieldBinder(m_movements, this);
    m_banco = new QLineEdit;
    m_banco->setObjectName(QStringLiteral("edtBanco"));
    m_banco->setMinimumWidth(220);
    m_agencia = new QLineEdit;
    m_agencia->setObjectName(QStringLiteral("edtAgencia"));
    m_agencia->setFixedWidth(70);
    m_conta = new QLineEdit;
    m_conta->setObjectName(QStringLiteral("edtConta"));
    m_conta->setMinimumWidth(160);
    m_binder->bindText(m_banco, QStringLiteral("banco"), true, true);
    m_binder->bindText(m_agencia, QStringLiteral("agencia"), true);
    m_binder->bindText(m_conta, QStringLiteral("conta"), true);
    row->addWidget(labelled(QStringLiteral("Banco"), m_banco, group));
    row->addWidget(labelled(QStringLiteral("Agência"), m_agencia, group));
    row->addWidget(labelled(QStringLiteral("Nº Conta"), m_conta, group));
    row->addStretch();
    return group;
}

QWidget *FrmContaCorrente::buildDataPage()
{
    auto *page = new QWidget(m_pages);
    page->setObjectName(QStringLiteral("pageDados"));
    auto *grid = new QGridLayout(page);
    grid->setContentsMargins(8, 6, 8, 6);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(6);

    auto lookup = [&](const char *name) {
        auto *box = new LookupCombo;
        box->setObjectName(QLatin1String(name));
        box->setMinimumWidth(220);
        m_lookups << box;
        return box;
    };
    m_filial = lookup("cbFilial");
    m_fornecedor = lookup("cbFornecedor");
    m_gerencial = lookup("cbGerencial");
    m_tipo = lookup("cbTipo");
    m_despesa = lookup("cbDespesa");
    bindLookup(m_filial, m_branches, QStringLiteral("Nomefilial"), QStringLiteral("Codigofilial"),
               QStringLiteral("codigofilial"));
    bindLookup(m_fornecedor, m_suppliers, QStringLiteral("Nome"),
               QStringLiteral("CodigoFornecedor"), QStringLiteral("codigofornecedor"));
    bindLookup(m_gerencial, m_costCentres, QStringLiteral("Gerencial"),
               QStringLiteral("codigogerencial"), QStringLiteral("codigogerencial"));
    bindLookup(m_tipo, m_paymentTypes, QStringLiteral("DESCTIPO"), QStringLiteral("CODIGOTIPO"),
               QStringLiteral("codigotipo"));
    bindLookup(m_despesa, m_expenseTypes, QStringLiteral("despesa"),
               QStringLiteral("codigodespesa"), QStringLiteral("codigotipodespesa"));
    grid->addWidget(labelled(QStringLiteral("Nome da Filial"), m_filial, page), 0, 0);
    grid->addWidget(labelled(QStringLiteral("Razão Socal Fornecedor"), m_fornecedor, page), 0, 1);
    grid->addWidget(labelled(QStringLiteral("Central de Custo"), m_gerencial, page), 0, 2);
    grid->addWidget(labelled(QStringLiteral("Tipo de Pagamento"), m_tipo, page), 0, 3);

    m_dataEmissao = new DateEdit;
    m_dataEmissao->setObjectName(QStringLiteral("edtDataEmissao"));
    m_binder->bindDate(m_dataEmissao, QStringLiteral("datalancamento"));
    m_descricao = new UpperEdit;
    m_descricao->setObjectName(QStringLiteral("edtDescricao"));
    m_binder->bindText(m_descricao, QStringLiteral("fornecedor"), false, true);
    grid->addWidget(labelled(QStringLiteral("Tipo de Despesas"), m_despesa, page), 1, 0);
    grid->addWidget(labelled(QStringLiteral("Data de Emissão"), m_dataEmissao, page), 1, 1);
    grid->addWidget(labelled(QStringLiteral("Descrição"), m_descricao, page), 1, 2, 1, 2);

    auto *kindBox = new QGroupBox(QStringLiteral("Tipo "), page);
    kindBox->setObjectName(QStringLiteral("rgTipo"));
    auto *kindRow = new QHBoxLayout(kindBox);
    kindRow->setContentsMargins(8, 2, 8, 2);
    m_kind = new QButtonGroup(this);
    auto *credito = new QRadioButton(QStringLiteral("Credito"), kindBox);
    credito->setObjectName(QStringLiteral("rbCredito"));
    auto *debito = new QRadioButton(QStringLiteral("Debito"), kindBox);
    debito->setObjectName(QStringLiteral("rbDebito"));
    m_kind->addButton(credito, KindCredito);
    m_kind->addButton(debito, KindDebito);
    kindRow->addWidget(credito);
    kindRow->addWidget(debito);
    // Without the stretch the buttons widen past their captions and a click
    // to the right of a caption falls outside the button's click area.
    kindRow->addStretch(1);
    connect(m_kind, &QButtonGroup::idClicked, this,
            [this](int id) { Guarded([&] { chooseKind(id); }); });
    m_credito = new MoneyEdit;
    m_credito->setObjectName(QStringLiteral("edtCredito"));
    m_debito = new MoneyEdit;
    m_debito->setObjectName(QStringLiteral("edtDebito"));
    m_binder->bindMoney(m_credito, QStringLiteral("valor"));
    m_binder->bindMoney(m_debito, QStringLiteral("debito"));
    grid->addWidget(kindBox, 2, 0);
    grid->addWidget(labelled(QStringLiteral("Credito"), m_credito, page), 2, 1);
    grid->addWidget(labelled(QStringLiteral("Debito"), m_debito, page), 2, 2);

    m_obs = new QPlainTextEdit;
    m_obs->setObjectName(QStringLiteral("memoObs"));
    m_binder->bindMemo(m_obs, QStringLiteral("obs"));
    grid->addWidget(labelled(QStringLiteral("Observação :"), m_obs, page), 3, 0, 1, 4);
    for (int c = 0; c < 4; ++c)
        grid->setColumnStretch(c, 1);
    grid->setRowStretch(3, 1);
    return page;
}

QWidget *FrmContaCorrente::buildSearchGroup()
{
    auto *box = new QGroupBox(QStringLiteral("Digite os Dados para a Consulta:"), this);
    box->setObjectName(QStringLiteral("searchGroup"));
    auto *row = new QHBoxLayout(box);
    row->setContentsMargins(6, 4, 6, 6);
    row->setSpacing(6);
    m_search = new UpperEdit(box);
    m_search->setObjectName(QStringLiteral("edtLocalizar"));
    QFont sf(QStringLiteral("Arial"));
    sf.setPixelSize(18);
    m_search->setFont(sf);
    m_search->setMinimumWidth(360);
    row->addWidget(m_search, 1, Qt::AlignBottom);
    auto button = [&](const QString &caption, const char *name, void (FrmContaCorrente::*slot)()) {
        auto *b = new QPushButton(caption, box);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, slot);
        row->addWidget(b, 0, Qt::AlignBottom);
        return b;
    };
    button(QStringLiteral("&Fornecedor"), "btnFornecedor", &FrmContaCorrente::buscaFornecedor);
    button(QStringLiteral("&Conta"), "btnBuscaConta", &FrmContaCorrente::buscaConta);
    button(QStringLiteral("C&heque"), "btnCheque", &FrmContaCorrente::buscaCheque);
    row->addSpacing(12);
    m_dataI = new DateEdit;
    m_dataI->setObjectName(QStringLiteral("DataInicial"));
    m_dataF = new DateEdit;
    m_dataF->setObjectName(QStringLiteral("DataFinal"));
    row->addWidget(labelled(QStringLiteral("Data Inicial"), m_dataI, box));
    row->addWidget(labelled(QStringLiteral("Data Final"), m_dataF, box));
    button(QStringLiteral("Data &Lançamento"), "btnLancamento", &FrmContaCorrente::buscaLancamento);
    row->addStretch();
    return box;
}

void FrmContaCorrente::bindLookup(LookupCombo *box, RecordSet *list, const QString &listField,
                                  const QString &keyField, const QString &field)
{
    box->setRecordSet(list, listField, keyField);
    box->setProperty("field", field);
    // A choice of the person stores the key; showing a row does not.
    connect(box, &LookupCombo::keyChanged, this, [this, box, field](QVariant key) {
        if (m_showing || !m_movements->isOpen() || m_movements->recNo() < 0)
            return;
        const QVariant stored = m_movements->value(field);
        if (stored.isNull() ? key.isNull() : (!key.isNull() && stored.toDouble() == key.toDouble()))
            return;
        // Starting the edit shows the row again; the box keeps the choice.
        m_writing = box;
        Guarded([&] {
            if (!m_movements->isEditing())
                m_movements->edit();
            m_movements->setValue(field, key);
        });
        m_writing = nullptr;
    });
}

void FrmContaCorrente::showLookups()
{
    m_showing = true;
    const bool has = m_movements->isOpen() && m_movements->recNo() >= 0;
    for (LookupCombo *box : m_lookups) {
        if (box == m_writing)
            continue;
        const QString field = box->property("field").toString();
        box->setKeyValue(has && m_movements->hasField(field) ? m_movements->value(field)
                                                             : QVariant());
    }
    m_showing = false;
    m_grid->viewport()->update();
}

void FrmContaCorrente::showKind()
{
    const bool has = m_movements->isOpen() && m_movements->recNo() >= 0;
    const int kind = has ? kindOf(m_movements->text(QStringLiteral("tipos"))) : -1;
    if (kind >= 0) {
        m_kind->button(kind)->setChecked(true);
        return;
    }
    m_kind->setExclusive(false);
    for (QAbstractButton *b : m_kind->buttons())
        b->setChecked(false);
    m_kind->setExclusive(true);
}

void FrmContaCorrente::chooseKind(int id)
{
    if (!m_movements->isOpen() || m_movements->recNo() < 0) {
        showKind();
        return;
    }
    // A credit booked by the statement import stays as it was booked unless
    // the person changes it into a debit.
    if (kindOf(m_movements->text(QStringLiteral("tipos"))) == id)
        return;
    if (!m_movements->isEditing())
        m_movements->edit();
    m_movements->setValue(QStringLiteral("tipos"), id == KindCredito ? kCredito : kDebito);
}

QRadioButton *FrmContaCorrente::creditoRadio() const
{
    return static_cast<QRadioButton *>(m_kind->button(KindCredito));
}

QRadioButton *FrmContaCorrente::debitoRadio() const
{
    return static_cast<QRadioButton *>(m_kind->button(KindDebito));
}

QString FrmContaCorrente::listText(int row, int column) const
{
    if (column == kDespesaColumn) {
        if (!m_movements->isOpen() || row < 0 || row >= m_movements->recordCount())
            return {};
        return lookupName(m_expenseTypes, QStringLiteral("codigodespesa"),
                          QStringLiteral("despesa"),
                          m_movements->valueAt(row, QStringLiteral("codigotipodespesa")));
    }
    return m_grid->gridModel()->displayText(row, column);
}

LedgerWindow::Account FrmContaCorrente::currentAccount() const
{
    Account a;
    if (!m_movements->isOpen() || m_movements->recNo() < 0)
        return a;
    a.codigoconta = m_movements->value(QStringLiteral("codigoconta"));
    a.conta = m_movements->text(QStringLiteral("conta"));
    a.banco = m_movements->text(QStringLiteral("banco"));
    a.agencia = m_movements->text(QStringLiteral("agencia"));
    return a;
}

void FrmContaCorrente::rereadMovements()
{
    m_movements->close();
    m_movements->open();
    m_movements->last();
}

void FrmContaCorrente::setBrowsing(bool browsing)
{
    m_editBar->setVisible(!browsing);
    m_mainBar->setVisible(browsing);
    m_navBar->setVisible(browsing);
    // The list cannot move away from a movement being edited: moving would
    // save it without its completion.
    m_grid->setEnabled(browsing);
}

void FrmContaCorrente::openLists()
{
    for (RecordSet *rs :
         {m_branches, m_accounts, m_costCentres, m_paymentTypes, m_suppliers, m_expenseTypes})
        if (!rs->isOpen())
            rs->open();
}

void FrmContaCorrente::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    // Maximised, also where no window manager does it.
    if (QScreen *s = screen(); s && (windowState() & Qt::WindowMaximized))
        setGeometry(s->availableGeometry());
    m_search->setFocus();
    Guarded([this] {
        if (!m_movements->isOpen())
            m_movements->open();
        openLists();
    });
    setBrowsing(!m_movements->isEditing());
    placeBars();
}

void FrmContaCorrente::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    placeBars();
}

void FrmContaCorrente::startEdit(bool append)
{
    m_pages->setCurrentIndex(1);
    const bool ready = Guarded([&] {
        if (!m_movements->isOpen())
            m_movements->open();
        openLists();
        if (append)
            m_movements->append();
        else if (m_movements->recNo() >= 0)
            m_movements->edit();
    });
    if (!ready)
        return;
    setBrowsing(!m_movements->isEditing());
    m_banco->setFocus();
}

void FrmContaCorrente::Incluir()
{
    startEdit(true);
}

void FrmContaCorrente::Alterar()
{
    startEdit(false);
}

void FrmContaCorrente::complete()
{
    RecordSet *rs = m_movements;
    const QString tipos = rs->text(QStringLiteral("tipos"));
    rs->setValue(QStringLiteral("es"),
                 kindOf(tipos) == KindCredito ? QStringLiteral("E") : QStringLiteral("S"));
    rs->setValue(QStringLiteral("especie"), QStringLiteral("DINHEIRO"));
    rs->setValue(QStringLiteral("dataquitacao"), Clock::today());
    rs->setValue(QStringLiteral("datavencimento"), Clock::today());
    rs->setValue(QStringLiteral("filial"), shown(m_filial));
    // Without a supplier the column holds the description typed (or the
    // bank's history text of an imported movement).
    if (!m_fornecedor->keyValue().isNull())
        rs->setValue(QStringLiteral("fornecedor"), shown(m_fornecedor));
    rs->setValue(QStringLiteral("gerencial"), shown(m_gerencial));
    rs->setValue(QStringLiteral("tipo"), shown(m_tipo));
    rs->setValue(QStringLiteral("tipodespesa"), shown(m_despesa));
    rs->setValue(QStringLiteral("usuario"), CurrentUserName());
}

bool FrmContaCorrente::Salvar()
{
    if (m_movements->isEditing()) {
        // What cannot be taken (an impossible date, an amount that is no
        // number) is said, and the edit stays to be corrected.
        QString message;
        if (QWidget *bad = m_binder->firstInvalid(&message)) {
            Messages::warning(kAtencao, message);
            m_pages->setCurrentIndex(1);
            bad->setFocus();
            return false;
        }
        const bool saved = Guarded([this] {
            m_binder->commit();
            complete();
            m_movements->post();
        });
        if (!saved)
            return false;
    }
    setBrowsing(true);
    m_pages->setCurrentIndex(0);
    return true;
}

void FrmContaCorrente::Cancelar()
{
    m_movements->cancel();
    setBrowsing(true);
    m_pages->setCurrentIndex(0);
}

void FrmContaCorrente::Excluir()
{
    if (!m_movements->isOpen() || m_movements->recNo() < 0)
        return;
    if (!Messages::question(QStringLiteral("Exclusão"), QStringLiteral("Deseja excluir o cheque?")))
        return;
    Guarded([this] { m_movements->remove(); });
}

void FrmContaCorrente::Fechar()
{
    reject();
}

void FrmContaCorrente::done(int result)
{
    if (!PendingEdit::resolve(m_movements, [this] { return Salvar(); }))
        return;
    m_pages->setCurrentIndex(0);
    m_movements->close();
    m_branches->close();
    m_accounts->close();
    QDialog::done(result);
}

void FrmContaCorrente::Primeiro()
{
    GuardedStep(m_movements, &RecordSet::first);
}

void FrmContaCorrente::Anterior()
{
    GuardedStep(m_movements, &RecordSet::prior);
}

void FrmContaCorrente::Proximo()
{
    GuardedStep(m_movements, &RecordSet::next);
}

void FrmContaCorrente::Ultimo()
{
    GuardedStep(m_movements, &RecordSet::last);
}

void FrmContaCorrente::escolherConta()
{
    if (!m_movements->isOpen() || m_movements->recNo() < 0)
        return;
    // The pick list puts the movement into edit mode; the tool bars follow.
    PickLists::run(PickLists::Member::frmL_Conta, m_accounts, PickLists::Target(m_movements), this);
}

bool FrmContaCorrente::runMovements(const QString &sql, const QVariantMap &params)
{
    if (!PendingEdit::resolve(m_movements, [this] { return Salvar(); }))
        return false;
    Guarded([&] {
        m_movements->close();
        m_movements->setSql(sql);
        for (auto it = params.begin(); it != params.end(); ++it)
            m_movements->setParam(it.key(), it.value());
        m_movements->open();
    });
    return true;
}

void FrmContaCorrente::textSearch(const QString &column, const QString &emptyMessage)
{
    m_pages->setCurrentIndex(1);
    if (m_search->text().isEmpty()) {
        Messages::warning(kAtencao, emptyMessage);
        m_search->setFocus();
        return;
    }
    // The pattern is bound: quotes and backslashes typed stay text, "%" and
    // "_" stay wildcards.
    runMovements(QStringLiteral("SELECT * FROM Contacorrente WHERE %1 LIKE(:pattern) ORDER BY %1")
                     .arg(column),
                 {{QStringLiteral("pattern"), LikePattern::prefix(m_search->text())}});
}

void FrmContaCorrente::buscaFornecedor()
{
    textSearch(QStringLiteral("Fornecedor"), QStringLiteral("Nome do Emitente em Branco !!!"));
}

void FrmContaCorrente::buscaConta()
{
    textSearch(QStringLiteral("Conta"), QStringLiteral("Nº da Conta em Branco !!!"));
}

void FrmContaCorrente::buscaCheque()
{
    textSearch(QStringLiteral("Cheque"), QStringLiteral("Nº do Cheque em Branco !!!"));
}

void FrmContaCorrente::buscaLancamento()
{
    for (DateEdit *d : {m_dataI, m_dataF}) {
        if (!d->date().isValid()) {
            Messages::warning(
                kAtencao, d->isEmpty() ? QStringLiteral("Digite a data do período.")
                                       : QStringLiteral("Data inválida: %1 !!!").arg(d->text()));
            d->setFocus();
            return;
        }
    }
    runMovements(
        QStringLiteral("SELECT * from ContaCorrente \n"
                       "where (dataLancamento >= :dti and dataLancamento <= :dtf)\n"
                       "ORDER BY dataLancamento"),
        {{QStringLiteral("dti"), m_dataI->date()}, {QStringLiteral("dtf"), m_dataF->date()}});
}
