#include "registries/SimpleRegistryWindow.h"

#include "app/Application.h"
#include "app/DM.h"
#include "app/Helpers.h"
#include "db/LikePattern.h"
#include "db/RecordSet.h"
#include "registries/RecordShortcuts.h"
#include "registries/RegistryRows.h"
#include "registries/RegistryWidgets.h"
#include "widgets/BigToolBar.h"
#include "widgets/DataGrid.h"
#include "widgets/EnterAsTab.h"
#include "widgets/FieldBinder.h"
#include "widgets/Messages.h"
#include "widgets/PendingEdit.h"
#include "widgets/TitleBand.h"
#include "widgets/UpperEdit.h"

#include <QApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QTimer>
#include <QVBoxLayout>

using namespace RegistryWidgets;

namespace {

const QString kAtencao = QStringLiteral("Atenção");
const QSize kButton(58, 60);
constexpr int kNavX = 174;

QList<SimpleRegistryWindow::Spec> buildMembers()
{
    using M = SimpleRegistryWindow::Member;
    QList<SimpleRegistryWindow::Spec> m;

    SimpleRegistryWindow::Spec filial;
    filial.member = M::FrmFilial;
    filial.objectName = QStringLiteral("FrmFilial");
    filial.table = QStringLiteral("filial");
    filial.codeColumn = QStringLiteral("Codigofilial");
    filial.nameColumn = QStringLiteral("Nomefilial");
    filial.openSql = QStringLiteral("select * from filial order by nomefilial");
    filial.title = QStringLiteral("Cadastro de Filial / Loja");
    filial.nameLabel = QStringLiteral("Nome da Filial");
    filial.gridNameTitle = QStringLiteral("Nome da Filial");
    filial.fixedFrame = true;
    filial.size = QSize(560, 522);
    filial.codeSql = QStringLiteral(
        "select * from filial where codigofilial like(:pattern) ORDER BY codigofilial");
    filial.nameSql =
        QStringLiteral("select * from filial where nomefilial LIKE(:pattern) order by nomefilial");
    filial.codeNotFound = QStringLiteral("Codigo da filial não Encontrado!!!");
    filial.nameNotFound = QStringLiteral("Descrição da Filial não Encontrado!!!");
    filial.nameEmpty = QStringLiteral("Descrição da Filial em Branco !!!");
    filial.deleteQuestion = QStringLiteral("Deseja excluir o Registro da Filial?");
    filial.payablesColumn = QStringLiteral("Codigofilial");
    m << filial;

    SimpleRegistryWindow::Spec gerencial;
    gerencial.member = M::FrmGerencial;
    gerencial.objectName = QStringLiteral("FrmGerencial");
    gerencial.table = QStringLiteral("contagerencial");
    gerencial.codeColumn = QStringLiteral("codigogerencial");
    gerencial.nameColumn = QStringLiteral("Gerencial");
    gerencial.openSql = QStringLiteral("select * from contagerencial");
    gerencial.clientOrder = QStringLiteral("Gerencial");
    gerencial.title = QStringLiteral("CENTRAL DE CUSTO");
    gerencial.nameLabel = QStringLiteral("Descrição da Central de Custo");
    gerencial.gridNameTitle = QStringLiteral("Descrição da Central de Custo");
    gerencial.size = QSize(576, 561);
    gerencial.codeSql = QStringLiteral("SELECT * FROM contagerencial WHERE Codigogerencial "
                                       "LIKE(:pattern) ORDER BY Codigogerencial");
    gerencial.nameSql = QStringLiteral(
        "SELECT * FROM contagerencial WHERE gerencial LIKE(:pattern) ORDER BY gerencial");
    gerencial.codeNotFound = QStringLiteral("Codigo da Central de Custo não Encontrado!!!");
    gerencial.nameNotFound = QStringLiteral("Descrição da Central de Custo não Encontrado!!!");
    gerencial.nameEmpty = QStringLiteral("Descrição da Central de Custo em Branco !!!");
    gerencial.deleteQuestion = QStringLiteral("Deseja excluir o Registro da Cetral de Custo?");
    gerencial.payablesColumn = QStringLiteral("codigogerencial");
    m << gerencial;

    SimpleRegistryWindow::Spec despesa;
    despesa.member = M::FrmTipoDespesa;
    despesa.objectName = QStringLiteral("FrmTipoDespesa");
    despesa.table = QStringLiteral("tipodespesa");
    despesa.codeColumn = QStringLiteral("codigodespesa");
    despesa.nameColumn = QStringLiteral("despesa");
    despesa.openSql = QStringLiteral("select * from tipodespesa");
    despesa.title = QStringLiteral("TIPO DE DESPESA");
    despesa.nameLabel = QStringLiteral("Descrição do Tipo de Despesa");
    despesa.gridNameTitle = QStringLiteral("Descrição do Tipo Despesa");
    despesa.size = QSize(576, 561);
    despesa.codeSql = QStringLiteral(
        "select * from tipodespesa where codigodespesa like(:pattern) order by codigodespesa");
    despesa.nameSql =
        QStringLiteral("select * from tipodespesa where despesa like(:pattern) order by despesa");
    despesa.codeNotFound = QStringLiteral("Codigo do Tipo de Despesa não Encontrado!!!");
    despesa.nameNotFound = QStringLiteral("Descrição do Tipo de Despesa não Encontrado!!!");
    despesa.nameEmpty = QStringLiteral("Descrição do Tipo de Despesa em Branco !!!");
    despesa.deleteQuestion = QStringLiteral("Deseja excluir o Registro do Tipo de Despesa?");
    despesa.payablesColumn = QStringLiteral("codigodespesa");
    m << despesa;
    return m;
}

} // namespace

const QList<SimpleRegistryWindow::Spec> &SimpleRegistryWindow::members()
{
    static const QList<Spec> all = buildMembers();
    return all;
}

const SimpleRegistryWindow::Spec &SimpleRegistryWindow::spec(Member member)
{
    return members().at(int(member));
}

SimpleRegistryWindow::SimpleRegistryWindow(const Spec &spec, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), m_spec(spec),
      m_rows(new RecordSet(DM::instance()->MyConnection1, spec.openSql, this)),
      m_timer(new QTimer(this))
{
    setObjectName(spec.objectName);
    setWindowTitle(spec.title);
    m_rows->setKeyField(spec.codeColumn);
    m_rows->setOrder(spec.clientOrder);
    m_timer->setInterval(5000);
    connect(m_timer, &QTimer::timeout, this, &SimpleRegistryWindow::reread);
    buildUi();
    buildShortcuts();
    EnterAsTab::install(this);
}

SimpleRegistryWindow::~SimpleRegistryWindow() = default;

int SimpleRegistryWindow::run(Member member, QWidget *parent)
{
    return RunScreen(new SimpleRegistryWindow(spec(member), parent));
}

void SimpleRegistryWindow::setRereadInterval(int ms)
{
    m_timer->setInterval(ms);
}

void SimpleRegistryWindow::buildUi()
{
    if (m_spec.fixedFrame)
        setFixedSize(m_spec.size);
    else
        resize(m_spec.size.width() - 16, m_spec.size.height() - 39);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);

    m_title = new TitleBand(m_spec.title, this);
    m_title->setColor(QColor(0, 105, 210));
    m_title->setBandHeight(41);
    m_title->setFontPixelSize(24);
    m_title->setCloseWidth(42);
    m_title->setCloseAction([this] { fechar(); });
    layout->addWidget(m_title);

    auto *tools = new QWidget(this);
    tools->setObjectName(QStringLiteral("toolArea"));
    tools->setFixedHeight(kButton.height() + 4);
    m_mainBar = toolBar(QStringLiteral("mainBar"), kButton, tools);
    addButton(m_mainBar, QStringLiteral("ToolButton1"), QStringLiteral("Incluir"),
              QStringLiteral("+"), QColor(0, 104, 210), [this] { incluir(); });
    addButton(m_mainBar, QStringLiteral("ToolButton2"), QStringLiteral("Excluir"),
              QStringLiteral("-"), QColor(180, 30, 30), [this] { excluir(); });
    addButton(m_mainBar, QStringLiteral("ToolButton3"), QStringLiteral("   Fechar   "),
              QStringLiteral("F"), QColor(90, 90, 90), [this] { fechar(); });
    m_mainBar->move(0, 2);
    m_navBar = toolBar(QStringLiteral("navigationBar"), kButton, tools);
    addButton(m_navBar, QStringLiteral("ToolButton4"), QStringLiteral("Primeiro"),
              QStringLiteral("|<"), QColor(0, 79, 157), [this] { primeiro(); });
    addButton(m_navBar, QStringLiteral("ToolButton5"), QStringLiteral("Anterior"),
              QStringLiteral("<"), QColor(0, 79, 157), [this] { anterior(); });
    addButton(m_navBar, QStringLiteral("ToolButton6"), QStringLiteral("Próximo"),
              QStringLiteral(">"), QColor(0, 79, 157), [this] { proximo(); });
    addButton(m_navBar, QStringLiteral("ToolButton7"), QStringLiteral("   Último   "),
              QStringLiteral(">|"), QColor(0, 79, 157), [this] { ultimo(); });
    m_navBar->move(kNavX, 2);
    m_editBar = toolBar(QStringLiteral("editBar"), kButton, tools);
    addButton(m_editBar, QStringLiteral("ToolButton8"), QStringLiteral("Salvar"),
              QStringLiteral("OK"), QColor(40, 150, 70), [this] { salvar(); });
    addButton(m_editBar, QStringLiteral("ToolButton9"), QStringLiteral("  Cancelar  "),
              QStringLiteral("X"), QColor(180, 30, 30), [this] { cancelar(); });
    m_editBar->move(218, 2);
    m_editBar->hide();
    layout->addWidget(tools);

    // Identity of the current row.
    m_binder = new FieldBinder(m_rows, this);
    auto *identity = new QGroupBox(this);
    auto *id = new QGridLayout(identity);
    id->setContentsMargins(6, 2, 6, 4);
    id->setVerticalSpacing(1);
    auto bold = [](QLabel *l) {
        QFont f = l->font();
        f.setBold(true);
        l->setFont(f);
        return l;
    };
    id->addWidget(bold(new QLabel(QStringLiteral("Código"), identity)), 0, 0);
    m_code = new QLineEdit(identity);
    m_code->setObjectName(QStringLiteral("edtCodigo"));
    m_code->setFocusPolicy(Qt::NoFocus);
    m_code->setFixedWidth(60);
    m_binder->bindNumber(m_code, m_spec.codeColumn, true);
    id->addWidget(m_code, 1, 0);
    id->addWidget(bold(new QLabel(m_spec.nameLabel, identity)), 0, 1);
    m_name = new UpperEdit(50, identity);
    m_name->setObjectName(QStringLiteral("edtNome"));
    m_name->setFixedWidth(477);
    m_binder->bindText(m_name, m_spec.nameColumn);
    id->addWidget(m_name, 1, 1);
    id->setColumnStretch(2, 1);
    layout->addWidget(identity);

    m_grid = new DataGrid(this);
    m_grid->setObjectName(QStringLiteral("grid"));
    m_grid->setRecordSet(m_rows);
    m_grid->setColumns({{m_spec.codeColumn, QStringLiteral("Codigo"), 64, {}, {}},
                        {m_spec.nameColumn, m_spec.gridNameTitle, 437, {}, {}}});
    m_grid->setMinimumHeight(120);
    layout->addWidget(m_grid, 1);

    auto *box = new QGroupBox(QStringLiteral("Digite os Dados para a Consultas"), this);
    box->setObjectName(QStringLiteral("grpConsulta"));
    box->setFixedHeight(87);
    auto *v = new QVBoxLayout(box);
    v->setContentsMargins(4, 2, 4, 4);
    v->setSpacing(2);
    // Alt+P is "&Por Codigo".
    v->addWidget(letterStrip(
        box, [this](QChar c) { letterClick(c); }, &m_letters, QStringLiteral("P")));
    auto *row = new QHBoxLayout;
    m_search = new UpperEdit(box);
    m_search->setObjectName(QStringLiteral("edtLocalizar"));
    QFont sf(QStringLiteral("Arial Narrow"));
    sf.setPointSize(16);
    m_search->setFont(sf);
    m_search->setFixedWidth(351);
    row->addWidget(m_search);
    m_byCode = new QPushButton(QStringLiteral("&Por Codigo"), box);
    m_byCode->setObjectName(QStringLiteral("btnPorCodigo"));
    m_byName = new QPushButton(QStringLiteral("Descrição"), box);
    m_byName->setObjectName(QStringLiteral("btnDescricao"));
    for (QPushButton *b : {m_byCode, m_byName}) {
        b->setAutoDefault(false);
        b->setCursor(Qt::PointingHandCursor);
        row->addWidget(b);
    }
    connect(m_byCode, &QPushButton::clicked, this, &SimpleRegistryWindow::searchByCode);
    connect(m_byName, &QPushButton::clicked, this, &SimpleRegistryWindow::searchByName);
    row->addStretch();
    v->addLayout(row);
    layout->addWidget(box);
}

void SimpleRegistryWindow::buildShortcuts()
{
    // On the window's own list; the bars stay as they are.
    auto *keys = new RecordShortcuts(this);
    keys->add(Qt::Key_I, [this] {
        if (m_rows->isEditing() && !RegistryRows::post(m_rows))
            return;
        m_rows->append();
    });
    keys->add(Qt::Key_A, [this] { m_rows->edit(); });
    keys->add(Qt::Key_S, [this] { RegistryRows::post(m_rows); });
    keys->add(Qt::Key_N, [this] { m_rows->cancel(); });
    keys->add(Qt::Key_E, [this] { RegistryRows::remove(m_rows); });
    keys->addSteps([this](RecordStep step) { goTo(step); });
    keys->add(Qt::Key_F, [this] { fechar(); });
}

QPushButton *SimpleRegistryWindow::letterButton(QChar letter) const
{
    const int i = letter.toUpper().unicode() - 'A';
    return (i >= 0 && i < m_letters.size()) ? m_letters[i] : nullptr;
}

void SimpleRegistryWindow::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    if (QScreen *s = screen())
        QWidget::move(s->availableGeometry().center() - rect().center());
    Guarded([this] { m_rows->open(); });
    setBrowsing();
    m_timer->start();
}

void SimpleRegistryWindow::done(int result)
{
    if (!PendingEdit::resolve(m_rows, [this] { return RegistryRows::post(m_rows); }))
        return;
    m_timer->stop();
    if (m_rows->isEditing())
        m_rows->cancel();
    m_rows->close();
    QDialog::done(result);
}

void SimpleRegistryWindow::setBrowsing()
{
    m_editBar->hide();
    m_mainBar->show();
    m_navBar->move(kNavX, 2);
    m_navBar->show();
}

void SimpleRegistryWindow::setEditing()
{
    m_mainBar->hide();
    m_navBar->hide();
    m_editBar->move(2, 2);
    m_editBar->show();
}

void SimpleRegistryWindow::reread()
{
    if (!m_rows->isOpen() || m_rows->state() != RecordSet::State::Browse)
        return;
    // Never under a question or message the clerk is answering.
    if (QWidget *modal = QApplication::activeModalWidget(); modal && modal != this)
        return;
    if (!Guarded([this] { m_rows->refresh(); }))
        m_timer->stop(); // said once; the next search starts it again
}

bool SimpleRegistryWindow::replaceRows(const QString &sql, const QString &pattern)
{
    if (!PendingEdit::resolve(m_rows, [this] { return RegistryRows::post(m_rows); }))
        return false;
    setBrowsing();
    m_rows->close();
    m_rows->setSql(sql);
    m_rows->setParam(QStringLiteral("pattern"), pattern);
    if (!Guarded([this] { m_rows->open(); }))
        return false;
    m_timer->start();
    return true;
}

void SimpleRegistryWindow::searchByCode()
{
    if (!replaceRows(m_spec.codeSql, LikePattern::exact(m_search->text())))
        return;
    if (m_rows->isEmpty()) {
        Messages::warning(kAtencao, m_spec.codeNotFound);
        m_search->setFocus();
    }
}

void SimpleRegistryWindow::searchByName()
{
    if (!replaceRows(m_spec.nameSql, LikePattern::prefix(m_search->text())))
        return;
    if (m_rows->isEmpty()) {
        Messages::warning(kAtencao, m_spec.nameNotFound);
        m_search->setFocus();
    } else if (m_search->text().isEmpty()) {
        // Every row is listed, and the clerk is told the text was empty.
        Messages::warning(kAtencao, m_spec.nameEmpty);
        m_search->setFocus();
    }
}

void SimpleRegistryWindow::letterClick(QChar letter)
{
    m_search->setText(QString(letter));
    replaceRows(m_spec.nameSql, QString(letter) + QLatin1Char('%'));
    m_grid->setVisible(true);
}

void SimpleRegistryWindow::incluir()
{
    // A stored row edited in place is saved first, as leaving it would.
    if (m_rows->isEditing() && !RegistryRows::post(m_rows))
        return;
    if (!Guarded([this] {
            if (!m_rows->isOpen())
                m_rows->open();
            m_rows->append();
        }))
        return;
    setEditing();
}

void SimpleRegistryWindow::excluir()
{
    if (!m_rows->isOpen() || m_rows->recNo() < 0)
        return;
    int payables = 0;
    if (!Guarded([&] {
            payables = RegistryRows::payablesReferring(*m_rows->connection(), m_spec.payablesColumn,
                                                       m_rows->value(m_spec.codeColumn));
        }))
        return;
    if (!Messages::question(QStringLiteral("Exclusão"),
                            RegistryRows::deleteQuestion(m_spec.deleteQuestion, payables)))
        return;
    RegistryRows::remove(m_rows);
    if (!m_rows->isEditing())
        setBrowsing();
}

void SimpleRegistryWindow::fechar()
{
    reject();
}

void SimpleRegistryWindow::salvar()
{
    m_binder->commit();
    if (!RegistryRows::post(m_rows) && m_rows->isEditing())
        return; // the edit bar stays with what was typed
    setBrowsing();
}

void SimpleRegistryWindow::cancelar()
{
    m_rows->cancel();
    m_editBar->move(218, 2);
    setBrowsing();
}

void SimpleRegistryWindow::goTo(void (RecordSet::*step)())
{
    if (!m_rows->isOpen())
        return;
    // Leaving a row under an edit saves it.
    if (m_rows->isEditing() && !RegistryRows::post(m_rows))
        return;
    GuardedStep(m_rows, step);
}

void SimpleRegistryWindow::primeiro()
{
    goTo(&RecordSet::first);
}

void SimpleRegistryWindow::anterior()
{
    goTo(&RecordSet::prior);
}

void SimpleRegistryWindow::proximo()
{
    goTo(&RecordSet::next);
}

void SimpleRegistryWindow::ultimo()
{
    goTo(&RecordSet::last);
}
