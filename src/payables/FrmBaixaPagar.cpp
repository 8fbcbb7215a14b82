#include "payables/FrmBaixaPagar.h"

#include "app/Application.h"
#include "app/DM.h"
#include "app/Globals.h"
#include "app/Helpers.h"
#include "db/DisplayFormat.h"
#include "payables/PayablesBook.h"
#include "widgets/Clock.h"
#include "widgets/DateEdit.h"
#include "widgets/EnterAsTab.h"
#include "widgets/Messages.h"
#include "widgets/TitleBand.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace {

const QString kAtencao = QStringLiteral("Atenção");

QString codeText(double code)
{
    return QString::number(code, 'f', 0);
}

} // namespace

FrmBaixaPagar::FrmBaixaPagar(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FrmBaixaPagar"));
    setWindowTitle(MakerCaption);
    setWindowFlag(Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(770, 350);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 8);
    auto *title = new TitleBand(QStringLiteral("Baixa Contas a Pagar"), this);
    title->setColor(QColor(0, 104, 210));
    title->setCloseVisible(false);
    layout->addWidget(title);

    auto *grid = new QGridLayout;
    grid->setContentsMargins(8, 4, 8, 4);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(4);
    int row = 0;
    auto field = [&](const char *name, int width = -1) {
        auto *e = new QLineEdit(this);
        e->setObjectName(QString::fromLatin1(name));
        e->setReadOnly(true);
        e->setFocusPolicy(Qt::NoFocus);
        if (width > 0) {
            e->setFixedWidth(width);
            e->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        }
        return e;
    };
    auto pair = [&](const QString &caption, const char *codeName, const char *textName) {
        grid->addWidget(new QLabel(caption, this), row, 0);
        grid->addWidget(field(codeName, 70), row, 1);
        grid->addWidget(field(textName), row, 2, 1, 3);
        ++row;
    };
    pair(QStringLiteral("Codigo/Razão Social da Filial"), "edtCodigoFilial", "edtNomeFilial");
    pair(QStringLiteral("Codigo/Razão Social do Fornecedor"), "edtCodigoFornecedor",
         "edtNomeFornecedor");
    pair(QStringLiteral("Codigo/Descrição da C.Gerencial"), "edtCodigoGerencial", "edtGerencial");
    pair(QStringLiteral("Codigo/Descrição do T.Pagamento"), "edtCodigoTipo", "edtTipo");
    pair(QStringLiteral("Codigo/Descrição do T.Despesa"), "edtCodigoDespesa", "edtDespesa");

    grid->addWidget(new QLabel(QStringLiteral("Nº da Nota"), this), row, 0);
    grid->addWidget(field("edtNota"), row, 1, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Parcela R$"), this), row, 3);
    grid->addWidget(field("edtParcela", 110), row, 4);
    ++row;
    grid->addWidget(new QLabel(QStringLiteral("Data de Emissão"), this), row, 0);
    grid->addWidget(field("edtEmissao", 110), row, 1);
    grid->addWidget(new QLabel(QStringLiteral("Valor R$"), this), row, 3);
    grid->addWidget(field("edtValor", 110), row, 4);
    ++row;
    grid->addWidget(new QLabel(QStringLiteral("Data de Quitação"), this), row, 0);
    m_quitacao = new DateEdit(this);
    m_quitacao->setObjectName(QStringLiteral("DateEdit1"));
    QPalette hp = m_quitacao->palette();
    hp.setColor(QPalette::Base, QColor(255, 255, 160));
    m_quitacao->setPalette(hp);
    QFont bold = m_quitacao->font();
    bold.setBold(true);
    m_quitacao->setFont(bold);
    grid->addWidget(m_quitacao, row, 1, 1, 2);
    m_confirma = new QPushButton(QStringLiteral("&Confirma "), this);
    m_confirma->setObjectName(QStringLiteral("BitBtn1"));
    m_confirma->setAutoDefault(false);
    connect(m_confirma, &QPushButton::clicked, this, &FrmBaixaPagar::BitBtn1Click);
    grid->addWidget(m_confirma, row, 4);
    ++row;
    grid->addWidget(new QLabel(QStringLiteral("Observação : "), this), row, 0, Qt::AlignTop);
    m_obs = new QPlainTextEdit(this);
    m_obs->setObjectName(QStringLiteral("Memo1"));
    m_obs->setReadOnly(true);
    m_obs->setFocusPolicy(Qt::NoFocus);
    grid->addWidget(m_obs, row, 1, 1, 4);
    grid->setColumnStretch(2, 1);
    layout->addLayout(grid, 1);

    EnterAsTab::install(this);
}

FrmBaixaPagar::~FrmBaixaPagar() = default;

FrmBaixaPagar *FrmBaixaPagar::instance()
{
    static QPointer<FrmBaixaPagar> s_instance;
    if (!s_instance) {
        s_instance = new FrmBaixaPagar(nullptr);
        if (QCoreApplication *app = QCoreApplication::instance())
            QObject::connect(app, &QCoreApplication::aboutToQuit, app, [] { delete s_instance; });
    }
    return s_instance;
}

QLineEdit *FrmBaixaPagar::display(const QString &objectName) const
{
    return findChild<QLineEdit *>(objectName);
}

void FrmBaixaPagar::setValues(const NewPayableValues &v)
{
    m_values = v;
    const QList<std::pair<const char *, QString>> shown = {
        {"edtCodigoFilial", codeText(v.codigoFilial)},
        {"edtNomeFilial", v.nomeFilial},
        {"edtCodigoFornecedor", codeText(v.codigoFornecedor)},
        {"edtNomeFornecedor", v.nomeFornecedor},
        {"edtCodigoGerencial", codeText(v.codigoGerencial)},
        {"edtGerencial", v.gerencial},
        {"edtCodigoTipo", codeText(v.codigoTipo)},
        {"edtTipo", v.tipo},
        {"edtCodigoDespesa", codeText(v.codigoDespesa)},
        {"edtDespesa", v.despesa},
        {"edtNota", v.nota},
        {"edtParcela", DisplayFormat::money(v.parcelas)},
        {"edtValor", DisplayFormat::money(v.total)},
        {"edtEmissao", v.emissao.toString(QStringLiteral("dd/MM/yyyy"))},
    };
    for (const auto &[name, text] : shown)
        if (QLineEdit *e = display(QString::fromLatin1(name)))
            e->setText(text.toUpper());
    m_obs->setPlainText(v.obs.toUpper());
    m_quitacao->setDate(QDate());
}

void FrmBaixaPagar::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    m_quitacao->setFocus();
}

void FrmBaixaPagar::BitBtn1Click()
{
    const QDate quitacao = m_quitacao->date();
    if (!m_quitacao->isEmpty() && !quitacao.isValid()) {
        Messages::warning(
            kAtencao, QStringLiteral("Data de Quitação inválida: %1 !!!").arg(m_quitacao->text()));
        m_quitacao->setFocus();
        return;
    }
    // An empty date counts as earlier than the emission.
    if (!quitacao.isValid() || quitacao < m_values.emissao) {
        Messages::warning(kAtencao,
                          QStringLiteral("Data de Quitação menor que Data de Emissão !!!"));
        m_quitacao->setFocus();
        return;
    }
    if (quitacao > Clock::today()) {
        Messages::warning(kAtencao, QStringLiteral("Data de Quitação maior que Data de Hoje !!!"));
        m_quitacao->setFocus();
        return;
    }
    // Written, or perhaps written (a lost reply): the entry ends either way,
    // so nobody settles the same bill a second time.
    DbError::Outcome failure = DbError::Outcome::NotWritten;
    if (Guarded(
            [&] {
                PayablesBook::settleAtEntry(Db(), m_values, quitacao, CurrentUserName(),
                                            Clock::now());
            },
            &failure) ||
        failure == DbError::Outcome::Unknown)
        accept();
}
