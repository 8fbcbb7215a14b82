#include "registries/FrmConta.h"

#include "app/Application.h"
#include "app/DM.h"
#include "app/Globals.h"
#include "app/Helpers.h"
#include "db/LikePattern.h"
#include "db/RecordSet.h"
#include "registries/AccountOpening.h"
#include "registries/LookupBinding.h"
#include "registries/RadioBinding.h"
#include "registries/RegistryRows.h"
#include "registries/RegistryWidgets.h"
#include "widgets/BigToolBar.h"
#include "widgets/Clock.h"
#include "widgets/DataGrid.h"
#include "widgets/DateEdit.h"
#include "widgets/EnterAsTab.h"
#include "widgets/FieldBinder.h"
#include "widgets/LookupCombo.h"
#include "widgets/Messages.h"
#include "widgets/MoneyEdit.h"
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
const QSize kButton(58, 60);
constexpr int kNavX = 290;
const QString kAllAccounts = QStringLiteral("SELECT * FROM Conta");

QLabel *caption(const QString &text, QWidget *parent)
{
    auto *l = new QLabel(text, parent);
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
    return l;
}

} // namespace

FrmConta::FrmConta(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("FrmConta"));
    setWindowTitle(MakerCaption);
    Connection *db = DM::instance()->MyConnection1;
    m_contas = new RecordSet(db, kAllAccounts, this);
    m_contas->setKeyField(QStringLiteral("codigoconta"));
    m_filiais = new RecordSet(db, QStringLiteral("Select * from Filial order by nomefilial"), this);
    m_tipos = new RecordSet(db, QStringLiteral("Select * from tipos Order by Desctipo"), this);
    m_gerenciais =
        new RecordSet(db, QStringLiteral("Select * from contagerencial Order by Gerencial"), this);
    m_despesas =
        new RecordSet(db, QStringLiteral("Select * from TipoDespesa Order by Despesa"), this);
    buildUi();
    EnterAsTab::install(this);
    // An account entering edit mode by any way (a choice in a box) shows the edit bar.
    connect(m_contas, &RecordSet::stateChanged, this, [this](RecordSet::State s) {
        if (s == RecordSet::State::Edit)
            setEditing();
    });
    lockAccount(true);
    setBrowsing();
}

FrmConta::~FrmConta() = default;

int FrmConta::run(QWidget *parent)
{
    return RunScreen(new FrmConta(parent));
}

void FrmConta::buildUi()
{
    setFixedSize(782, 569);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);

    auto *title = new TitleBand(QStringLiteral("Controle de Conta"), this);
    title->setColor(QColor(0, 79, 157));
    title->setBandHeight(36);
    title->setFontPixelSize(21);
    title->setCloseAction([this] { fechar(); });
    layout->addWidget(title);

    auto *tools = new QWidget(this);
    tools->setObjectName(QStringLiteral("toolArea"));
    tools->setFixedHeight(kButton.height() + 4);
    m_mainBar = toolBar(QStringLiteral("mainBar"), kButton, tools);
    addButton(m_mainBar, QStringLiteral("ToolButton1"), QStringLiteral("Incluir"),
              QStringLiteral("+"), QColor(0, 104, 210), [this] { incluir(); });
    addButton(m_mainBar, QStringLiteral("ToolButton2"), QStringLiteral("Alterar"),
              QStringLiteral("A"), QColor(0, 130, 130), [this] { alterar(); });
    addButton(m_mainBar, QStringLiteral("ToolButton3"), QStringLiteral("Excluir"),
              QStringLiteral("-"), QColor(180, 30, 30), [this] { excluir(); });
    QAction *relatorios =
        addButton(m_mainBar, QStringLiteral("ToolButton4"), QStringLiteral("Relatórios"),
                  QStringLiteral("R"), QColor(200, 120, 0), {});
    // A drop-down without entries.
    auto *menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("reportMenu"));
    relatorios->setMenu(menu);
    if (QToolButton *b = m_mainBar->button(relatorios))
        b->setPopupMode(QToolButton::InstantPopup);
    addButton(m_mainBar, QStringLiteral("ToolButton5"), QStringLiteral("   Fechar   "),
              QStringLiteral("F"), QColor(90, 90, 90), [this] { fechar(); });
    m_mainBar->move(0, 2);
    m_navBar = toolBar(QStringLiteral("navigationBar"), kButton, tools);
    addButton(m_navBar, QStringLiteral("ToolButton6"), QStringLiteral("Primeiro"),
              QStringLiteral("|<"), QColor(0, 79, 157), [this] { primeiro(); });
    addButton(m_navBar, QStringLiteral("ToolButton7"), QStringLiteral("Anterior"),
              QStringLiteral("<"), QColor(0, 79, 157), [this] { anterior(); });
    addButton(m_navBar, QStringLiteral("ToolButton8"), QStringLiteral("Próximo"),
              QStringLiteral(">"), QColor(0, 79, 157), [this] { proximo(); });
    addButton(m_navBar, QStringLiteral("ToolButton9"), QStringLiteral("   Último   "),
              QStringLiteral(">|"), QColor(0, 79, 157), [this] { ultimo(); });
    m_navBar->move(kNavX, 2);
    m_editBar = toolBar(QStringLiteral("editBar"), kButton, tools);
    addButton(m_editBar, QStringLiteral("ToolButton10"), QStringLiteral("Salvar"),
              QStringLiteral("OK"), QColor(40, 150, 70), [this] { salvar(); });
    addButton(m_editBar, QStringLiteral("ToolButton11"), QStringLiteral("  Cancelar  "),
              QStringLiteral("X"), QColor(180, 30, 30), [this] { cancelar(); });
    m_editBar->move(218, 2);
    layout->addWidget(tools);

    // The account: two rows of labelled controls.
    m_binder = new FieldBinder(m_contas, this);
    auto *group = new QGroupBox(this);
    group->setObjectName(QStringLiteral("grpConta"));
    // Eleven labelled controls in two rows of 782 pixels: the small face
    // they were laid out for, so no caption is cut.
    QFont small = group->font();
    small.setPointSize(8);
    group->setFont(small);
    auto *g = new QVBoxLayout(group);
    g->setContentsMargins(6, 2, 6, 4);
    g->setSpacing(2);
    auto labelled = [&](QHBoxLayout *row, const QString &label, QWidget *control, int stretch) {
        auto *box = new QVBoxLayout;
        box->setSpacing(0);
        box->addWidget(caption(label, group));
        box->addWidget(control);
        row->addLayout(box, stretch);
    };
    auto *row1 = new QHBoxLayout;
    m_banco = new UpperEdit(30, group);
    m_banco->setObjectName(QStringLiteral("edtBanco"));
    m_binder->bindText(m_banco, QStringLiteral("banco"));
    labelled(row1, QStringLiteral("Banco"), m_banco, 4);
    m_agencia = new QLineEdit(group);
    m_agencia->setObjectName(QStringLiteral("edtAgencia"));
    m_agencia->setMaxLength(4);
    m_binder->bindText(m_agencia, QStringLiteral("agencia"));
    labelled(row1, QStringLiteral("Agência"), m_agencia, 1);
    m_conta = new QLineEdit(group);
    m_conta->setObjectName(QStringLiteral("edtConta"));
    m_conta->setMaxLength(15);
    m_binder->bindText(m_conta, QStringLiteral("conta"));
    labelled(row1, QStringLiteral("Nº Conta"), m_conta, 2);
    m_data = new DateEdit(group);
    m_data->setObjectName(QStringLiteral("edtData"));
    m_binder->bindDate(m_data, QStringLiteral("data"));
    labelled(row1, QStringLiteral("Data do Lançamento"), m_data, 2);
    m_filial = new LookupCombo(group);
    m_filial->setObjectName(QStringLiteral("cbFilial"));
    m_filial->setRecordSet(m_filiais, QStringLiteral("Nomefilial"), QStringLiteral("Codigofilial"));
    labelled(row1, QStringLiteral("Razão Social da Filial"), m_filial, 4);
    g->addLayout(row1);

    auto *row2 = new QHBoxLayout;
    auto *es = new QGroupBox(QStringLiteral("Tipo de Entrada"), group);
    es->setObjectName(QStringLiteral("rgTipoEntrada"));
    auto *esLayout = new QHBoxLayout(es);
    esLayout->setContentsMargins(4, 0, 4, 0);
    m_esCredito = new QRadioButton(QStringLiteral("Credito"), es);
    m_esCredito->setObjectName(QStringLiteral("rbCredito"));
    m_esDebito = new QRadioButton(QStringLiteral("Debito"), es);
    m_esDebito->setObjectName(QStringLiteral("rbDebito"));
    esLayout->addWidget(m_esCredito);
    esLayout->addWidget(m_esDebito);
    m_es = new RadioBinding(m_contas, QStringLiteral("ES"),
                            {{m_esCredito, QStringLiteral("E")}, {m_esDebito, QStringLiteral("S")}},
                            this);
    row2->addWidget(es, 2);
    m_credito = new MoneyEdit(group);
    m_credito->setObjectName(QStringLiteral("edtCredito"));
    m_binder->bindMoney(m_credito, QStringLiteral("valor"));
    labelled(row2, QStringLiteral("Credito R$"), m_credito, 2);
    m_debito = new MoneyEdit(group);
    m_debito->setObjectName(QStringLiteral("edtDebito"));
    m_binder->bindMoney(m_debito, QStringLiteral("debito"));
    labelled(row2, QStringLiteral("Debito R$"), m_debito, 2);
    auto box = [&](const QString &name, RecordSet *list, const QString &shown, const QString &key) {
        auto *b = new LookupCombo(group);
        b->setObjectName(name);
        b->setRecordSet(list, shown, key);
        return b;
    };
    m_tipo = box(QStringLiteral("cbTipo"), m_tipos, QStringLiteral("DESCTIPO"),
                 QStringLiteral("CODIGOTIPO"));
    labelled(row2, QStringLiteral("Descrição do Tipo"), m_tipo, 3);
    m_gerencial = box(QStringLiteral("cbGerencial"), m_gerenciais, QStringLiteral("Gerencial"),
                      QStringLiteral("codigogerencial"));
    labelled(row2, QStringLiteral("Descrição Central de Custo"), m_gerencial, 3);
    m_despesa = box(QStringLiteral("cbDespesa"), m_despesas, QStringLiteral("despesa"),
                    QStringLiteral("codigodespesa"));
    labelled(row2, QStringLiteral("Tipo de Despesas"), m_despesa, 3);
    g->addLayout(row2);
    layout->addWidget(group);

    m_filialBinding = new LookupBinding(m_contas, m_filial, QStringLiteral("codigofilial"), this);
    m_tipoBinding = new LookupBinding(m_contas, m_tipo, QStringLiteral("codigotipo"), this);
    m_gerencialBinding =
        new LookupBinding(m_contas, m_gerencial, QStringLiteral("codigogerencial"), this);
    m_despesaBinding =
        new LookupBinding(m_contas, m_despesa, QStringLiteral("codigodespesa"), this);

    m_pages = new QTabWidget(this);
    m_pages->setObjectName(QStringLiteral("PageControl1"));
    m_grid = new DataGrid(m_pages);
    m_grid->setObjectName(QStringLiteral("gridConta"));
    m_grid->setRecordSet(m_contas);
    const QString money = QStringLiteral("#,##0.00");
    m_grid->setColumns({{QStringLiteral("agencia"), QStringLiteral("Agencia"), 57, {}, {}},
                        {QStringLiteral("conta"), QStringLiteral("Conta"), 106, {}, {}},
                        {QStringLiteral("banco"), QStringLiteral("Banco"), 140, {}, {}},
                        {QStringLiteral("data"), QStringLiteral("Data"), 84, {}, {}},
                        {QStringLiteral("valor"), QStringLiteral("Credito R$"), 95, money, {}},
                        {QStringLiteral("debito"), QStringLiteral("Debito R$"), 64, money, {}}});
    m_pages->addTab(m_grid, QStringLiteral("Listagem"));
    layout->addWidget(m_pages, 1);

    auto *search = new QGroupBox(QStringLiteral("Digite os Dados para a Consulta:"), this);
    search->setObjectName(QStringLiteral("grpConsulta"));
    auto *s = new QHBoxLayout(search);
    s->setContentsMargins(4, 2, 4, 4);
    m_search = new UpperEdit(search);
    m_search->setObjectName(QStringLiteral("edtLocalizar"));
    m_search->setFixedWidth(439);
    s->addWidget(m_search);
    auto button = [&](const QString &text, const QString &name, void (FrmConta::*slot)()) {
        auto *b = new QPushButton(text, search);
        b->setObjectName(name);
        b->setAutoDefault(false);
        b->setCursor(Qt::PointingHandCursor);
        connect(b, &QPushButton::clicked, this, slot);
        s->addWidget(b);
    };
    button(QStringLiteral("&Agência"), QStringLiteral("btnAgencia"), &FrmConta::searchByAgencia);
    button(QStringLiteral("&Conta"), QStringLiteral("btnConta"), &FrmConta::searchByConta);
    button(QStringLiteral("&Banco"), QStringLiteral("btnBanco"), &FrmConta::searchByBanco);
    s->addStretch();
    layout->addWidget(search);
}

void FrmConta::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    if (QScreen *s = screen())
        QWidget::move(s->availableGeometry().center() - rect().center());
    m_search->setFocus();
    Guarded([this] {
        for (RecordSet *list : {m_filiais, m_tipos, m_gerenciais, m_despesas})
            list->open();
        m_contas->open();
    });
    setBrowsing();
}

void FrmConta::done(int result)
{
    if (!PendingEdit::resolve(m_contas, [this] { return save(); }))
        return;
    m_pages->setCurrentIndex(0);
    if (m_contas->isEditing())
        m_contas->cancel();
    m_contas->close();
    QDialog::done(result);
}

void FrmConta::setBrowsing()
{
    m_editBar->hide();
    m_mainBar->show();
    m_navBar->move(kNavX, 2);
    m_navBar->show();
}

void FrmConta::setEditing()
{
    m_mainBar->hide();
    m_navBar->hide();
    m_editBar->move(2, 2);
    m_editBar->show();
}

void FrmConta::lockAccount(bool locked)
{
    m_unlocked = !locked;
    for (QLineEdit *e :
         {static_cast<QLineEdit *>(m_banco), m_agencia, m_conta, static_cast<QLineEdit *>(m_data),
          static_cast<QLineEdit *>(m_credito), static_cast<QLineEdit *>(m_debito)})
        e->setReadOnly(locked);
    m_filial->setEnabled(!locked);
    m_es->setReadOnly(locked);
}

void FrmConta::incluir()
{
    if (!Guarded([this] {
            if (!m_contas->isOpen())
                m_contas->open();
            m_contas->append();
        }))
        return;
    setEditing();
    lockAccount(false);
    m_banco->setFocus();
}

void FrmConta::alterar()
{
    if (!m_contas->isOpen() || m_contas->recNo() < 0)
        return;
    if (!Guarded([this] { m_contas->edit(); }))
        return;
    setEditing();
    m_banco->setFocus();
}

void FrmConta::excluir()
{
    if (!m_contas->isOpen() || m_contas->recNo() < 0)
        return;
    if (!Messages::question(QStringLiteral("Exclusão"),
                            QStringLiteral("Deseja excluir o Registro da Conta?")))
        return;
    RegistryRows::remove(m_contas);
}

void FrmConta::fechar()
{
    reject();
}

void FrmConta::beforePost()
{
    if (!m_contas->isEditing())
        return;
    m_contas->setValue(QStringLiteral("usuario"), CurrentUserName());
    m_contas->setValue(QStringLiteral("filial"), m_filialBinding->shownName("Nomefilial"));
    m_contas->setValue(QStringLiteral("gerencial"), m_gerencialBinding->shownName("Gerencial"));
    m_contas->setValue(QStringLiteral("descricaodespesa"), m_despesaBinding->shownName("despesa"));
}

bool FrmConta::saveNewAccount()
{
    // The account as typed, with the copies; its code comes from the server.
    RowValues row;
    for (int i = 0; i < m_contas->fieldCount(); ++i) {
        const QString name = m_contas->fieldName(i);
        const QVariant v = m_contas->value(name);
        if (name.compare(QStringLiteral("codigoconta"), Qt::CaseInsensitive) != 0 && !v.isNull())
            row.append({name, v});
    }
    OpeningAccount a;
    auto value = [this](const char *column) {
        return m_contas->value(QString::fromLatin1(column));
    };
    a.banco = value("banco");
    a.agencia = value("agencia");
    a.conta = value("conta");
    a.codigofilial = value("codigofilial");
    a.filial = value("filial");
    a.data = value("data");
    a.es = value("ES");
    a.codigogerencial = value("codigogerencial");
    a.gerencial = value("gerencial");
    a.codigotipo = value("codigotipo");
    a.tipo = m_tipoBinding->shownName(QStringLiteral("DESCTIPO"));
    a.codigodespesa = value("codigodespesa");
    a.despesa = m_despesaBinding->shownName(QStringLiteral("despesa"));
    a.valor = value("valor");
    a.debito = value("debito");

    QVariant key;
    DbError::Outcome outcome = DbError::Outcome::NotWritten;
    const bool written = Guarded(
        [&] { key = AccountOpening::create(*m_contas->connection(), row, a, Clock::now().time()); },
        &outcome);
    if (!written && outcome != DbError::Outcome::Unknown)
        return false; // nothing written: the new account stays on screen as typed
    // Written, or not known: the typed row gives way to what the server holds,
    // so the same account is never sent a second time blindly.
    m_contas->cancel();
    Guarded([&] {
        m_contas->refresh();
        if (written && !m_contas->locate(QStringLiteral("codigoconta"), key)) {
            // The search in force does not list it: the whole list does.
            m_contas->setSql(kAllAccounts);
            m_contas->open();
            m_contas->locate(QStringLiteral("codigoconta"), key);
        }
    });
    return true;
}

bool FrmConta::save()
{
    if (!m_contas->isEditing())
        return true;
    QString message;
    if (QWidget *bad = m_binder->firstInvalid(&message)) {
        Messages::warning(kAtencao, message);
        bad->setFocus();
        return false;
    }
    m_binder->commit();
    beforePost();
    if (m_contas->state() == RecordSet::State::Insert)
        return saveNewAccount();
    // A changed account is written alone: its opening movement was booked
    // when it was created.
    return RegistryRows::post(m_contas) || !m_contas->isEditing();
}

void FrmConta::salvar()
{
    if (!save())
        return; // the edit bar stays with what was typed
    setBrowsing();
    lockAccount(true);
}

void FrmConta::cancelar()
{
    m_contas->cancel();
    m_editBar->move(218, 2);
    setBrowsing();
    lockAccount(true);
    m_pages->setCurrentIndex(0);
}

void FrmConta::goTo(void (RecordSet::*step)())
{
    GuardedStep(m_contas, step);
}

void FrmConta::primeiro()
{
    goTo(&RecordSet::first);
}

void FrmConta::anterior()
{
    goTo(&RecordSet::prior);
}

void FrmConta::proximo()
{
    goTo(&RecordSet::next);
}

void FrmConta::ultimo()
{
    goTo(&RecordSet::last);
}

void FrmConta::search(const QString &column, const QString &emptyMessage)
{
    if (!PendingEdit::resolve(m_contas, [this] { return save(); }))
        return;
    if (!m_contas->isEditing()) {
        setBrowsing();
        lockAccount(true);
    }
    const QString typed = m_search->text();
    m_contas->setSql(
        QStringLiteral("SELECT * FROM Conta WHERE %1 LIKE(:pattern) ORDER BY %1").arg(column));
    m_contas->setParam(QStringLiteral("pattern"), LikePattern::prefix(typed));
    if (typed.isEmpty()) {
        Messages::warning(kAtencao, emptyMessage);
        m_search->setFocus();
        return;
    }
    Guarded([this] { m_contas->open(); });
}

void FrmConta::searchByAgencia()
{
    search(QStringLiteral("Agencia"), QStringLiteral("Agência em Branco !!!"));
}

void FrmConta::searchByConta()
{
    search(QStringLiteral("Conta"), QStringLiteral("Nº da Conta em Branco !!!"));
}

void FrmConta::searchByBanco()
{
    search(QStringLiteral("Banco"), QStringLiteral("Banco em Branco !!!"));
}
