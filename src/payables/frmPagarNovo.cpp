#include "payables/frmPagarNovo.h"

#include "app/Application.h"
#include "app/DM.h"
#include "app/Globals.h"
#include "app/Helpers.h"
#include "db/DisplayFormat.h"
#include "payables/FrmBaixaPagar.h"
#include "payables/PayablesBook.h"
#include "payables/PayablesLookups.h"
#include "paymentcodes/PaymentCodeReader.h"
#include "registries/PickLists.h"
#include "registries/SimpleRegistryWindow.h"
#include "registries/frmFornecedor.h"
#include "shell/Calculator.h"
#include "widgets/BigToolBar.h"
#include "widgets/Clock.h"
#include "widgets/DateEdit.h"
#include "widgets/EnterAsTab.h"
#include "widgets/Icons.h"
#include "widgets/InputFlag.h"
#include "widgets/Messages.h"
#include "widgets/ProgramFace.h"
#include "widgets/TitleBand.h"

#include <QFocusEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <cmath>
#include <functional>

// A number field that keeps the value exactly as typed (a total of 123,456
// stays 123.456 although it is shown as 123,46 away from the focus). Text
// that is no number is kept as typed so the screen can say so, and flagged
// pink like every other amount field; an empty field is 0.
class EntryNumberEdit : public QLineEdit
{
public:
    using Formatter = std::function<QString(double)>;

    EntryNumberEdit(Formatter shown, QWidget *parent) : QLineEdit(parent), m_shown(std::move(shown))
    {
        setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        connect(this, &QLineEdit::textChanged, this, [this] {
            if (!m_setting)
                m_formatted = false;
            bool ok = false;
            value(&ok);
            InputFlag::set(this, !ok);
        });
    }

    double value(bool *ok) const
    {
        if (m_formatted) {
            *ok = true;
            return m_value;
        }
        const QString t = text().trimmed();
        if (t.isEmpty()) {
            *ok = true;
            return 0;
        }
        return DisplayFormat::parseNumber(t, ok);
    }

    void setValue(double v)
    {
        m_value = v;
        put(hasFocus() ? typed(v) : m_shown(v), !hasFocus());
    }

protected:
    void focusInEvent(QFocusEvent *event) override
    {
        if (m_formatted)
            put(typed(m_value), false);
        QLineEdit::focusInEvent(event);
        if (event->reason() != Qt::PopupFocusReason)
            QTimer::singleShot(0, this, &QLineEdit::selectAll);
    }
    void focusOutEvent(QFocusEvent *event) override
    {
        QLineEdit::focusOutEvent(event);
        if (event->reason() == Qt::PopupFocusReason || text().trimmed().isEmpty())
            return;
        bool ok = false;
        const double v = DisplayFormat::parseNumber(text(), &ok);
        if (ok) {
            m_value = v;
            put(m_shown(v), true);
        }
    }

private:
    static QString typed(double v)
    {
        QLocale loc(QLocale::Portuguese, QLocale::Brazil);
        loc.setNumberOptions(QLocale::OmitGroupSeparator);
        return loc.toString(v, 'f', QLocale::FloatingPointShortest);
    }
    void put(const QString &t, bool formatted)
    {
        m_setting = true;
        setText(t);
        m_setting = false;
        m_formatted = formatted;
    }

    Formatter m_shown;
    double m_value = 0;
    bool m_formatted = false;
    bool m_setting = false;
};

namespace {

const QString kAtencao = QStringLiteral("Atenção");

QString countShown(double v)
{
    // Display format "00"; a count with decimals is shown with them.
    if (std::isfinite(v) && v == std::floor(v) && std::fabs(v) < 1e9)
        return QStringLiteral("%1").arg(qint64(v), 2, 10, QLatin1Char('0'));
    return QLocale(QLocale::Portuguese, QLocale::Brazil)
        .toString(v, 'f', QLocale::FloatingPointShortest);
}

QToolButton *pictureButton(const QString &name, const QString &hint, const QString &sign,
                           const QColor &color, int size, QWidget *parent)
{
    auto *b = new QToolButton(parent);
    b->setObjectName(name);
    b->setToolTip(hint);
    b->setIcon(Icons::tile(sign, color, size));
    b->setIconSize(QSize(size, size));
    b->setAutoRaise(true);
    b->setCursor(Qt::PointingHandCursor);
    return b;
}

QLineEdit *readOnlyField(const QString &name, QWidget *parent, int width = -1)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setReadOnly(true);
    e->setFocusPolicy(Qt::NoFocus);
    QPalette p = e->palette();
    p.setColor(QPalette::Base, QColor(240, 240, 240));
    e->setPalette(p);
    if (width > 0) {
        e->setFixedWidth(width);
        e->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    return e;
}

} // namespace

frmPagarNovo::frmPagarNovo(PayablesLookups *lookups, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), m_lookups(lookups)
{
    setObjectName(QStringLiteral("frmPagarNovo"));
    setWindowTitle(MakerCaption);
    buildUi();
    buildMenus();
    EnterAsTab::install(this);
    // The cost-centre code outlives "Incluir"; it starts as a code too, not blank.
    setCode(m_codGerencial, 0);
    // Hidden until the window is shown.
    m_page->hide();
}

frmPagarNovo::~frmPagarNovo() = default;

QLineEdit *frmPagarNovo::valorEdit() const
{
    return m_valor;
}

QLineEdit *frmPagarNovo::parcelasEdit() const
{
    return m_parcelas;
}

void frmPagarNovo::buildUi()
{
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    resize(930, 625);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto *menuBar = new QMenuBar(this);
    menuBar->setObjectName(QStringLiteral("menuBar"));
    layout->setMenuBar(menuBar);

    auto *title = new TitleBand(QStringLiteral("INCLUSÃO DE CONTAS A PAGAR"), this);
    title->setColor(QColor(0, 104, 210));
    title->setCloseAction([this] { reject(); });
    layout->addWidget(title);

    auto *tools = new QWidget(this);
    tools->setFixedHeight(76);
    auto *toolsLayout = new QHBoxLayout(tools);
    toolsLayout->setContentsMargins(0, 0, 0, 0);
    toolsLayout->setSpacing(2);
    auto bar = [&](const char *name) {
        auto *b = new BigToolBar(tools);
        b->setObjectName(QString::fromLatin1(name));
        toolsLayout->addWidget(b);
        return b;
    };
    // Tool bar 2 comes first so that, shown alone, it sits at the left end.
    m_bar2 = bar("toolBar2");
    m_bar1 = bar("toolBar1");
    m_bar3 = bar("toolBar3");
    toolsLayout->addStretch();

    auto named = [](QAction *a, const char *name) {
        a->setObjectName(QString::fromLatin1(name));
        return a;
    };
    named(m_bar1->addButton(QStringLiteral("Incluir"),
                            Icons::tile(QStringLiteral("+"), QColor(0, 104, 210), 40),
                            QKeySequence(), this, &frmPagarNovo::ToolButton1Click),
          "ToolButton1");
    named(m_bar1->addButton(QStringLiteral("Fec&har"),
                            Icons::tile(QStringLiteral("F"), QColor(90, 90, 90), 40),
                            QKeySequence(), this, &frmPagarNovo::ToolButton5Click),
          "ToolButton5");
    m_gerarAction =
        named(m_bar2->addButton(QStringLiteral("&Gerar"),
                                Icons::tile(QStringLiteral("G"), QColor(40, 150, 70), 40),
                                QKeySequence(), this, &frmPagarNovo::BitBtn1Click),
              "ToolButton7");
    named(m_bar2->addButton(QStringLiteral("   Canc&elar    "),
                            Icons::tile(QStringLiteral("X"), QColor(180, 30, 30), 40),
                            QKeySequence(), this, &frmPagarNovo::ToolButton8Click),
          "ToolButton8");
    named(m_bar3->addButton(QStringLiteral("&Fornecedor"),
                            Icons::tile(QStringLiteral("Fo"), QColor(40, 150, 70), 40),
                            QKeySequence(), this, &frmPagarNovo::cadastroFornecedor),
          "ToolButton3");
    named(m_bar3->addButton(QStringLiteral("&C.&Custo "),
                            Icons::tile(QStringLiteral("CC"), QColor(120, 60, 170), 40),
                            QKeySequence(), this, &frmPagarNovo::cadastroCusto),
          "ToolButton4");
    named(m_bar3->addButton(QStringLiteral("&T.Despesa"),
                            Icons::tile(QStringLiteral("TD"), QColor(0, 130, 130), 40),
                            QKeySequence(), this, &frmPagarNovo::cadastroDespesa),
          "ToolButton9");
    named(m_bar3->addButton(QStringLiteral("&Manutenção"),
                            Icons::tile(QStringLiteral("M"), QColor(0, 79, 157), 40),
                            QKeySequence(), this, &frmPagarNovo::ToolButton2Click),
          "ToolButton2");
    layout->addWidget(tools);

    m_page = new QTabWidget(this);
    m_page->setObjectName(QStringLiteral("PageControl1"));
    auto *sheet = new QWidget(m_page);
    QFont f = ProgramFace::font();
    f.setBold(true);
    sheet->setFont(f);
    auto *grid = new QGridLayout(sheet);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(4);

    // One row per pick list: the button, the code, the description and,
    // where there is one, the registry button.
    int row = 0;
    auto pickRow = [&](const char *pickName, const QString &pickHint, void (frmPagarNovo::*pick)(),
                       const char *codeName, const char *descName, const QString &descCaption,
                       const char *registryName, const QString &registryHint,
                       void (frmPagarNovo::*registry)(), QLineEdit *&code, QLineEdit *&desc) {
        QToolButton *p = pictureButton(QString::fromLatin1(pickName), pickHint, QStringLiteral("?"),
                                       QColor(0, 104, 210), 24, sheet);
        connect(p, &QToolButton::clicked, this, pick);
        grid->addWidget(p, row, 0);
        grid->addWidget(new QLabel(QStringLiteral("Código"), sheet), row, 1);
        code = readOnlyField(QString::fromLatin1(codeName), sheet, 70);
        grid->addWidget(code, row, 2);
        grid->addWidget(new QLabel(descCaption, sheet), row, 3);
        desc = readOnlyField(QString::fromLatin1(descName), sheet);
        grid->addWidget(desc, row, 4);
        if (registryName) {
            QToolButton *r = pictureButton(QString::fromLatin1(registryName), registryHint,
                                           QStringLiteral("+"), QColor(40, 150, 70), 16, sheet);
            connect(r, &QToolButton::clicked, this, registry);
            grid->addWidget(r, row, 5);
        }
        ++row;
    };
    pickRow("SpeedButton3", QStringLiteral("Localizar Fornecedor"),
            &frmPagarNovo::SpeedButton3Click, "CurrencyEdit3", "Edit4",
            QStringLiteral("Razão Social do Fornecedor"), "TSpeedButton11",
            QStringLiteral("Cadastro e Manutenção de Fornecedor"),
            &frmPagarNovo::cadastroFornecedor, m_codFornecedor, m_nomeFornecedor);
    pickRow("SpeedButton2", QStringLiteral("Localizar Dados do Central de Custo"),
            &frmPagarNovo::SpeedButton2Click, "CurrencyEdit5", "Edit3",
            QStringLiteral("Descrição da Central de Custo"), "TSpeedButton13",
            QStringLiteral("Cadastro e Manutenção Central de Custo"), &frmPagarNovo::cadastroCusto,
            m_codGerencial, m_descGerencial);
    pickRow("SpeedButton1", QStringLiteral("Localizar Dados da Filial"),
            &frmPagarNovo::SpeedButton1Click, "CurrencyEdit4", "Edit2",
            QStringLiteral("Razão Social do Filial"), "SpeedButton6",
            QStringLiteral("Cadastro e Manutenção de Filial"), &frmPagarNovo::cadastroFilial,
            m_codFilial, m_nomeFilial);
    pickRow("SpeedButton4", QStringLiteral("Localizar a Descrição do Tipo de Pagamento"),
            &frmPagarNovo::SpeedButton4Click, "CurrencyEdit6", "Edit5",
            QStringLiteral("Descrição do Tipo de Pagamento"), nullptr, {}, nullptr, m_codTipo,
            m_descTipo);
    pickRow("SpeedButton5", QStringLiteral("Localizar Dados da Despesa ou Tipo de Serviço"),
            &frmPagarNovo::SpeedButton5Click, "CurrencyEdit7", "Edit6",
            QStringLiteral("Descrição da Depesa"), "TSpeedButton12",
            QStringLiteral("Cadastro e Manutenção de Tipo de Despesa"),
            &frmPagarNovo::cadastroDespesa, m_codDespesa, m_descDespesa);

    // The payment code, above the amounts it fills.
    auto *code = new QGridLayout;
    code->setHorizontalSpacing(6);
    code->setVerticalSpacing(2);
    code->addWidget(new QLabel(QStringLiteral("Código de Barras / Linha Digitável / PIX"), sheet),
                    0, 0);
    m_codigo = new QLineEdit(sheet);
    m_codigo->setObjectName(QStringLiteral("edtCodigoBarras"));
    m_codigo->setToolTip(
        QStringLiteral("Cole ou leia o código de barras, a linha digitável ou o PIX copia e cola"));
    // Enter ends a reader's digits: the code is read here, then the focus moves on.
    EnterAsTab::exclude(m_codigo);
    connect(m_codigo, &QLineEdit::returnPressed, this, [this] {
        if (readPaymentCode())
            focusNextChild();
    });
    connect(m_codigo, &QLineEdit::editingFinished, this, [this] {
        if (m_codigo->text() != m_codigoLido)
            readPaymentCode();
    });
    code->addWidget(m_codigo, 1, 0);
    m_codigoInfo = new QLabel(sheet);
    m_codigoInfo->setObjectName(QStringLiteral("lblCodigoBarras"));
    m_codigoInfo->setWordWrap(true);
    m_codigoInfo->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // Room for what the code is and what it filled, so reading one does not
    // move the fields under the clerk's eyes.
    m_codigoInfo->setMinimumHeight(2 * m_codigoInfo->fontMetrics().lineSpacing());
    m_codigoInfo->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    code->addWidget(m_codigoInfo, 2, 0);
    grid->addLayout(code, row++, 0, 1, 6);

    // The bill itself.
    auto *bill = new QGridLayout;
    bill->setHorizontalSpacing(6);
    bill->addWidget(new QLabel(QStringLiteral("Nº da Nota"), sheet), 0, 0);
    m_nota = new QLineEdit(sheet);
    m_nota->setObjectName(QStringLiteral("Edit1"));
    bill->addWidget(m_nota, 1, 0);
    bill->addWidget(new QLabel(QStringLiteral("Data Emissão"), sheet), 0, 1);
    m_data = new DateEdit(sheet);
    m_data->setObjectName(QStringLiteral("DateEdit1"));
    bill->addWidget(m_data, 1, 1);
    bill->addWidget(new QLabel(QStringLiteral("1º Vencimento"), sheet), 0, 2);
    m_vencimento = new DateEdit(sheet);
    m_vencimento->setObjectName(QStringLiteral("DateEditVencimento"));
    m_vencimento->setToolTip(QStringLiteral("Em branco: 30 dias após a emissão"));
    bill->addWidget(m_vencimento, 1, 2);
    bill->addWidget(new QLabel(QStringLiteral("Valor R$"), sheet), 0, 3);
    m_valor = new EntryNumberEdit([](double v) { return DisplayFormat::money(v); }, sheet);
    m_valor->setObjectName(QStringLiteral("CurrencyEdit2"));
    bill->addWidget(m_valor, 1, 3);
    QToolButton *calc = pictureButton(QStringLiteral("TSpeedButton"), QStringLiteral("Calculadora"),
                                      QStringLiteral("="), QColor(90, 90, 90), 24, sheet);
    connect(calc, &QToolButton::clicked, this, &frmPagarNovo::TSpeedButtonClick);
    bill->addWidget(calc, 1, 4);
    bill->addWidget(new QLabel(QStringLiteral("Parcelas"), sheet), 0, 5);
    m_parcelas = new EntryNumberEdit(countShown, sheet);
    m_parcelas->setObjectName(QStringLiteral("CurrencyEdit1"));
    m_parcelas->setFixedWidth(60);
    bill->addWidget(m_parcelas, 1, 5);
    m_gerar = new QPushButton(QStringLiteral("&Gerar"), sheet);
    m_gerar->setObjectName(QStringLiteral("BitBtn1"));
    m_gerar->setAutoDefault(false);
    connect(m_gerar, &QPushButton::clicked, this, &frmPagarNovo::BitBtn1Click);
    bill->addWidget(m_gerar, 1, 6);
    bill->setColumnStretch(0, 1);
    grid->addLayout(bill, row++, 0, 1, 6);

    grid->addWidget(new QLabel(QStringLiteral("Observação :"), sheet), row++, 0, 1, 6);
    m_obs = new QPlainTextEdit(sheet);
    m_obs->setObjectName(QStringLiteral("Memo1"));
    grid->addWidget(m_obs, row++, 0, 1, 6);

    for (const QString &text : {QStringLiteral("PARA LANÇAR DESPESA QUE VENCE NO MESMO DIA"),
                                QStringLiteral("É SÓ DIGITAR NO CAMPO PARCELAS  ' 00  ', QUE  O"),
                                QStringLiteral("SERÁ QUITADO AUTOMATICO")}) {
        auto *l = new QLabel(text, sheet);
        l->setObjectName(QStringLiteral("lblInstrucao"));
        QPalette p = l->palette();
        p.setColor(QPalette::WindowText, Qt::red);
        l->setPalette(p);
        grid->addWidget(l, row++, 0, 1, 6);
    }
    grid->setColumnStretch(4, 1);
    m_page->addTab(sheet, QStringLiteral("Dados da Duplicata"));
    layout->addWidget(m_page, 1);
}

void frmPagarNovo::buildMenus()
{
    auto *menuBar = findChild<QMenuBar *>(QStringLiteral("menuBar"));
    QMenu *arquivo = menuBar->addMenu(QStringLiteral("&Arquivo"));
    for (const auto &[caption, keys] :
         {std::pair{"&Inserir", "Ctrl+I"}, std::pair{"&Excluir", "Ctrl+E"},
          std::pair{"&Salvar", "Ctrl+S"}, std::pair{"Ca&ncelar", "Ctrl+N"},
          std::pair{"&Alterar", "Ctrl+A"}, std::pair{"&Localizar", "F3"}})
        arquivo->addAction(QString::fromUtf8(caption))
            ->setShortcut(QKeySequence(QString::fromLatin1(keys)));
    arquivo->addSeparator();
    QAction *fechar = arquivo->addAction(QStringLiteral("&Fechar"));
    fechar->setObjectName(QStringLiteral("actFechar"));
    fechar->setShortcut(QKeySequence(QStringLiteral("Ctrl+F")));
    connect(fechar, &QAction::triggered, this, &frmPagarNovo::ToolButton5Click);

    QMenu *mover = menuBar->addMenu(QStringLiteral("&Movimentar"));
    for (const auto &[caption, keys] :
         {std::pair{"&Primeiro", "Ctrl+F1"}, std::pair{"&Anterior", "Ctrl+F2"},
          std::pair{"&Próximo", "Ctrl+F3"}, std::pair{"&Último", "Ctrl+F4"}})
        mover->addAction(QString::fromUtf8(caption))
            ->setShortcut(QKeySequence(QString::fromLatin1(keys)));
}

void frmPagarNovo::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    prepareEntry();
    // The supplier pick list comes up once the window is on the screen.
    QTimer::singleShot(0, this, [this] {
        if (isVisible())
            SpeedButton3Click();
    });
}

void frmPagarNovo::setCode(QLineEdit *edit, double code)
{
    edit->setText(QString::number(code, 'f', 0));
}

void frmPagarNovo::setEntering(bool entering)
{
    m_bar2->setVisible(entering);
    m_bar1->setVisible(!entering);
    m_bar3->setVisible(!entering);
}

void frmPagarNovo::prepareEntry()
{
    m_page->show();
    m_page->setCurrentIndex(0);
    emit entryStarting();
    m_gerar->setEnabled(true);
    setEntering(true);

    m_data->setDate(QDate());
    m_nota->clear();
    for (QLineEdit *e :
         {m_nomeFornecedor, m_descGerencial, m_nomeFilial, m_descTipo, m_descDespesa})
        e->clear();
    m_obs->clear();
    m_parcelas->setValue(0);
    m_valor->setValue(0);
    clearPaymentCode();
    // The cost-centre code keeps its value.
    for (QLineEdit *e : {m_codFornecedor, m_codFilial, m_codTipo, m_codDespesa})
        setCode(e, 0);
}

void frmPagarNovo::setEntryField(const QString &name, const QVariant &value)
{
    using namespace PickLists::Entry;
    const QList<std::pair<QString, QLineEdit *>> codes = {{CodigoFornecedor, m_codFornecedor},
                                                          {CodigoTipo, m_codTipo},
                                                          {CodigoGerencial, m_codGerencial},
                                                          {CodigoFilial, m_codFilial},
                                                          {CodigoDespesa, m_codDespesa}};
    const QList<std::pair<QString, QLineEdit *>> texts = {{NomeFornecedor, m_nomeFornecedor},
                                                          {DescTipo, m_descTipo},
                                                          {DescGerencial, m_descGerencial},
                                                          {NomeFilial, m_nomeFilial},
                                                          {DescDespesa, m_descDespesa}};
    for (const auto &[n, edit] : codes)
        if (n == name)
            setCode(edit, value.toDouble());
    for (const auto &[n, edit] : texts)
        if (n == name)
            edit->setText(value.toString());
}

void frmPagarNovo::SpeedButton3Click()
{
    PickLists::run(
        PickLists::Member::frmL_Fornecedor, m_lookups->tbfornecedor,
        PickLists::EntrySink([this](const QString &n, const QVariant &v) { setEntryField(n, v); }),
        this);
}

void frmPagarNovo::SpeedButton2Click()
{
    PickLists::run(
        PickLists::Member::FrmL_CustoPagar01, m_lookups->tbgerencial,
        PickLists::EntrySink([this](const QString &n, const QVariant &v) { setEntryField(n, v); }),
        this);
}

void frmPagarNovo::SpeedButton1Click()
{
    PickLists::run(
        PickLists::Member::FrmL_FilialPagar02, m_lookups->tbfilial,
        PickLists::EntrySink([this](const QString &n, const QVariant &v) { setEntryField(n, v); }),
        this);
}

void frmPagarNovo::SpeedButton4Click()
{
    PickLists::run(
        PickLists::Member::FrmL_TipoDespesa, m_lookups->tbTipo,
        PickLists::EntrySink([this](const QString &n, const QVariant &v) { setEntryField(n, v); }),
        this);
}

void frmPagarNovo::SpeedButton5Click()
{
    PickLists::run(
        PickLists::Member::FrmL_DespesaPagar, m_lookups->MyTipoDespesa,
        PickLists::EntrySink([this](const QString &n, const QVariant &v) { setEntryField(n, v); }),
        this);
}

// A registry opened from the entry, and afterwards its pick list's list read
// again, so what was just registered can be picked.
void frmPagarNovo::cadastroFornecedor()
{
    frmFornecedor::run(this);
    m_lookups->reread(m_lookups->tbfornecedor);
}

void frmPagarNovo::cadastroCusto()
{
    SimpleRegistryWindow::run(SimpleRegistryWindow::Member::FrmGerencial, this);
    m_lookups->reread(m_lookups->tbgerencial);
}

void frmPagarNovo::cadastroFilial()
{
    SimpleRegistryWindow::run(SimpleRegistryWindow::Member::FrmFilial, this);
    m_lookups->reread(m_lookups->tbfilial);
}

void frmPagarNovo::cadastroDespesa()
{
    SimpleRegistryWindow::run(SimpleRegistryWindow::Member::FrmTipoDespesa, this);
    m_lookups->reread(m_lookups->MyTipoDespesa);
}

void frmPagarNovo::TSpeedButtonClick()
{
    if (!Calculator::start())
        Messages::warning(kAtencao,
                          QStringLiteral("Nenhuma calculadora está instalada neste computador."));
}

void frmPagarNovo::ToolButton1Click()
{
    prepareEntry();
    SpeedButton3Click();
}

void frmPagarNovo::ToolButton5Click()
{
    reject();
}

void frmPagarNovo::ToolButton8Click()
{
    if (DM *dm = DM::instance(); dm && dm->tbPagar->isEditing())
        dm->tbPagar->cancel();
    setEntering(false);
    m_data->setDate(QDate());
    m_nota->clear();
    for (QLineEdit *e : {m_nomeFornecedor, m_descTipo, m_descDespesa})
        e->clear();
    m_obs->clear();
    m_parcelas->setValue(0);
    m_valor->setValue(0);
    clearPaymentCode();
    // The branch and the cost centre stay for the next entry.
    for (QLineEdit *e : {m_codFornecedor, m_codTipo, m_codDespesa})
        setCode(e, 0);
    m_page->hide();
}

void frmPagarNovo::ToolButton2Click()
{
    emit maintenanceRequested();
}

bool frmPagarNovo::validate()
{
    // A code typed but not read yet (the tool button takes no focus) is read
    // now; the clerk then sees what it filled before generating. A code that
    // did not read keeps the bill from being written until it is mended or
    // cleared.
    const bool unread = m_codigo->text() != m_codigoLido;
    if (unread || (!m_codigo->text().trimmed().isEmpty() && !m_paymentCode)) {
        const bool hadCode = !m_codigo->text().trimmed().isEmpty();
        if (!readPaymentCode() || hadCode)
            return false;
    }
    const std::pair<bool, const char *> checks[] = {
        {m_nomeFornecedor->text().isEmpty(), "Razão Social do Fornecedor em Branco !!!"},
        {m_nomeFilial->text().isEmpty(), "Razão Social da Filial em Branco !!!"},
        {m_descDespesa->text().isEmpty(), "Descrição da Despesa em Branco !!!"},
        {m_descGerencial->text().isEmpty(), "Descrição da Central de Custo em Branco !!!"},
        {m_descTipo->text().isEmpty(), "Descrição do Tipo de Pagamento em Branco !!!"},
        {m_nota->text().isEmpty(), "Nº da Nota em Branco !!!"},
        {m_data->text().isEmpty(), "Data de Emissão em Branco !!!"},
    };
    for (const auto &[failed, message] : checks) {
        if (failed) {
            Messages::warning(kAtencao, QString::fromUtf8(message));
            return false;
        }
    }
    bool ok = false;
    const double total = m_valor->value(&ok);
    if (!ok) {
        Messages::warning(
            kAtencao,
            QStringLiteral("Valor da Nota inválido: %1 !!!").arg(m_valor->text().trimmed()));
        m_valor->setFocus();
        return false;
    }
    if (total == 0) {
        Messages::warning(kAtencao, QStringLiteral("Valor da Nota em Branco !!!"));
        return false;
    }
    return true;
}

bool frmPagarNovo::copyValues()
{
    const QDate emissao = m_data->date();
    if (!emissao.isValid()) {
        Messages::warning(kAtencao,
                          QStringLiteral("Data de Emissão inválida: %1 !!!").arg(m_data->text()));
        m_data->setFocus();
        return false;
    }
    if (!m_vencimento->text().isEmpty() && !m_vencimento->date().isValid()) {
        Messages::warning(
            kAtencao,
            QStringLiteral("Data do 1º Vencimento inválida: %1 !!!").arg(m_vencimento->text()));
        m_vencimento->setFocus();
        return false;
    }
    bool ok = false;
    const double parcelas = m_parcelas->value(&ok);
    if (!ok || !std::isfinite(parcelas)) {
        Messages::warning(kAtencao, QStringLiteral("Quantidade de Parcelas inválida: %1 !!!")
                                        .arg(m_parcelas->text().trimmed()));
        m_parcelas->setFocus();
        return false;
    }
    NewPayableValues v;
    v.emissao = emissao;
    v.codigoFornecedor = m_codFornecedor->text().toDouble();
    v.nomeFornecedor = m_nomeFornecedor->text();
    v.codigoGerencial = m_codGerencial->text().toDouble();
    v.gerencial = m_descGerencial->text();
    v.codigoFilial = m_codFilial->text().toDouble();
    v.nomeFilial = m_nomeFilial->text();
    v.codigoTipo = m_codTipo->text().toDouble();
    v.tipo = m_descTipo->text();
    v.parcelas = parcelas;
    v.total = m_valor->value(&ok);
    v.nota = m_nota->text();
    v.codigoDespesa = m_codDespesa->text().toDouble();
    v.despesa = m_descDespesa->text();
    v.obs = m_obs->toPlainText();
    v.valorParcela = EntryPlan::instalmentValue(v.total, v.parcelas);
    v.primeiroVencimento = m_vencimento->date();
    if (m_paymentCode)
        v.codigoBarras = m_paymentCode->text;
    m_values = v;
    return true;
}

void frmPagarNovo::BitBtn1Click()
{
    if (!validate())
        return;
    m_gerar->setEnabled(false);
    // A refused emission date or count writes nothing: the button comes back
    // for the corrected entry.
    if (!copyValues()) {
        m_gerar->setEnabled(true);
        return;
    }

    // After a failure that wrote nothing the clerk may press "&Gerar" again;
    // when it is not known whether it was written, the entry ends as after a
    // generation, so the list shows what the server holds for the note.
    DbError::Outcome failure = DbError::Outcome::NotWritten;
    if (EntryPlan::instalmentCount(m_values.parcelas) > 0) {
        if (!Guarded(
                [this] { PayablesBook::generate(Db(), m_values, CurrentUserName(), Clock::now()); },
                &failure) &&
            failure != DbError::Outcome::Unknown) {
            m_gerar->setEnabled(true);
            return;
        }
    } else if (m_values.parcelas == 0) {
        if (Messages::question(QStringLiteral("Data da Baixao"),
                               QStringLiteral("Deseja Baixa o Documento com a Data de Hoje?"))) {
            if (!Guarded(
                    [this] {
                        const QDateTime now = Clock::now();
                        PayablesBook::settleAtEntry(Db(), m_values, now.date(), CurrentUserName(),
                                                    now);
                    },
                    &failure) &&
                failure != DbError::Outcome::Unknown) {
                m_gerar->setEnabled(true);
                return;
            }
        } else {
            auto *dialog = new FrmBaixaPagar(this);
            dialog->setValues(m_values);
            RunScreen(dialog);
        }
    }

    setEntering(false);
    emit generated(m_values.nota);
    accept();
}

void frmPagarNovo::clearPaymentCode()
{
    m_codigo->clear();
    m_codigoLido.clear();
    m_paymentCode.reset();
    m_vencimento->setDate(QDate());
    showCodeInfo(QString(), false);
}

void frmPagarNovo::showCodeInfo(const QString &text, bool error)
{
    QPalette p = m_codigoInfo->palette();
    p.setColor(QPalette::WindowText, error ? QColor(180, 30, 30) : QColor(0, 104, 210));
    m_codigoInfo->setPalette(p);
    m_codigoInfo->setText(text);
}

bool frmPagarNovo::readPaymentCode()
{
    const QString text = m_codigo->text();
    m_codigoLido = text;
    m_paymentCode.reset();
    if (text.trimmed().isEmpty()) {
        showCodeInfo(QString(), false);
        return true;
    }
    PaymentCodeReading reading = PaymentCodeReader::read(text, Clock::today());
    // Kept whole or not at all: a cut PIX code would be refused by the bank.
    if (reading.ok() && reading.code.text.size() > EntryPlan::CodigoBarrasWidth)
        reading = PaymentCodeReading::failure(
            QStringLiteral("Código com %1 caracteres; o máximo guardado é %2")
                .arg(reading.code.text.size())
                .arg(EntryPlan::CodigoBarrasWidth));
    if (!reading.ok()) {
        showCodeInfo(reading.error, true);
        Messages::warning(kAtencao, reading.error);
        m_codigo->setFocus();
        m_codigo->selectAll();
        return false;
    }

    const PaymentCode &code = reading.code;
    m_paymentCode = code;
    QStringList filled;
    if (code.amountCents) {
        m_valor->setValue(code.amount());
        filled << QStringLiteral("Valor %1").arg(formatMoneyCents(*code.amountCents));
    }
    if (code.dueDate) {
        m_vencimento->setDate(*code.dueDate);
        filled << QStringLiteral("1º Vencimento %1").arg(code.dueDate->toString("dd/MM/yyyy"));
    }
    QString info =
        code.displayText() + QLatin1Char('\n') +
        (filled.isEmpty()
             ? QStringLiteral("O código não traz valor nem vencimento: preencha-os.")
             : QStringLiteral("Preenchido: %1.").arg(filled.join(QStringLiteral(" e "))));
    const QString supplier = proposeSupplier(code.pixKeyDocument());
    if (!supplier.isEmpty())
        info += QLatin1Char(' ') + supplier;
    showCodeInfo(info, false);
    return true;
}

QString frmPagarNovo::proposeSupplier(const QString &document)
{
    if (document.isEmpty() || !DM::instance())
        return QString();
    // The registry keeps CNPJs and CPFs as typed, with or without their dots,
    // slash and dash: only the digits are compared.
    RecordSet found(&Db(),
                    QStringLiteral("select * from fornecedor where "
                                   "REGEXP_REPLACE(COALESCE(Cgccpf, ''), '[^0-9]', '') = :doc1 or "
                                   "REGEXP_REPLACE(COALESCE(Cgc, ''), '[^0-9]', '') = :doc2 or "
                                   "REGEXP_REPLACE(COALESCE(Cpf, ''), '[^0-9]', '') = :doc3 "
                                   "order by CodigoFornecedor"));
    found.setParam(QStringLiteral("doc1"), document);
    found.setParam(QStringLiteral("doc2"), document);
    found.setParam(QStringLiteral("doc3"), document);
    if (!Guarded([&found] { found.open(); }) || found.isEmpty())
        return QString();
    found.first();
    const double codigo = found.number(QStringLiteral("CodigoFornecedor"));
    const QString nome = found.text(QStringLiteral("Nome"));
    const QString kind = document.size() == 14 ? QStringLiteral("CNPJ") : QStringLiteral("CPF");
    if (!m_nomeFornecedor->text().isEmpty()) {
        if (m_codFornecedor->text().toDouble() == codigo)
            return QStringLiteral("A chave PIX é o %1 do fornecedor escolhido.").arg(kind);
        if (!Messages::question(
                QStringLiteral("Fornecedor"),
                QStringLiteral("A chave PIX %1 é o %2 do fornecedor %3 - %4, e não de %5.\n\n"
                               "Deseja usar este fornecedor?")
                    .arg(document, kind, QString::number(codigo, 'f', 0), nome,
                         m_nomeFornecedor->text())))
            return QString();
    }
    Pick::copyCurrentRow(
        PickLists::spec(PickLists::Member::frmL_Fornecedor), &found,
        PickLists::EntrySink([this](const QString &n, const QVariant &v) { setEntryField(n, v); }));
    return QStringLiteral("Fornecedor pela chave PIX (%1): %2.").arg(kind, nome);
}
