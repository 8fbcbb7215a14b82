#include "payables/FrmBaixarNovo.h"

#include "app/Application.h"
#include "app/DM.h"
#include "app/Globals.h"
#include "app/Helpers.h"
#include "widgets/Clock.h"
#include "widgets/DateEdit.h"
#include "widgets/EnterAsTab.h"
#include "widgets/Icons.h"
#include "widgets/Messages.h"
#include "widgets/MoneyEdit.h"
#include "widgets/TitleBand.h"

#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSysInfo>
#include <QVBoxLayout>

namespace {

const QString kAtencao = QStringLiteral("Atenção");
const QString kPergunta = QStringLiteral("Quarvo Sistemas, Atenção");
// Flat, but with a picture and a hand cursor: a bare caption on the grey
// background reads as a label, not as something to press.
QPushButton *flatButton(const QString &caption, const QString &name, const QString &sign,
                        const QColor &color, QWidget *parent)
{
    auto *b = new QPushButton(Icons::tile(sign, color, 24), caption, parent);
    b->setObjectName(name);
    b->setFlat(true);
    b->setAutoDefault(false);
    b->setIconSize(QSize(24, 24));
    b->setCursor(Qt::PointingHandCursor);
    b->setMinimumHeight(32);
    return b;
}

MoneyEdit *moneyField(const QString &name, bool readOnly, QWidget *parent)
{
    auto *e = new MoneyEdit(parent);
    e->setObjectName(name);
    e->setReadOnly(readOnly);
    if (readOnly)
        e->setFocusPolicy(Qt::NoFocus);
    return e;
}

} // namespace

FrmBaixarNovo::FrmBaixarNovo(const Payable &payable, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      m_payable(payable)
{
    setObjectName(QStringLiteral("FrmBaixarNovo"));
    setWindowTitle(MakerCaption);
    setModal(true);
    resize(640, 231);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 8);
    layout->setSpacing(8);

    m_title = new TitleBand(QStringLiteral("BAIXAR CONTAS A PAGAR"), this);
    m_title->setCloseAction([this] { reject(); });
    layout->addWidget(m_title);

    auto *fields = new QGridLayout;
    fields->setContentsMargins(12, 4, 12, 4);
    fields->setHorizontalSpacing(12);
    m_data = new DateEdit(this);
    m_data->setObjectName(QStringLiteral("DateEdit1"));
    m_data->setAllowEmpty(false);
    m_valorDup = moneyField(QStringLiteral("CurrencyEdit1"), true, this);
    m_valorPago = moneyField(QStringLiteral("CurrencyEdit2"), false, this);
    m_diferenca = moneyField(QStringLiteral("CurrencyEdit3"), true, this);
    const QList<QPair<QString, QWidget *>> columns{{QStringLiteral("Data de Quitação"), m_data},
                                                   {QStringLiteral("Valor Duplicata"), m_valorDup},
                                                   {QStringLiteral("Valor Pago"), m_valorPago},
                                                   {QStringLiteral("Diferença"), m_diferenca}};
    for (int i = 0; i < columns.size(); ++i) {
        auto *label = new QLabel(columns[i].first, this);
        label->setBuddy(columns[i].second);
        fields->addWidget(label, 0, i);
        fields->addWidget(columns[i].second, 1, i);
    }
    layout->addLayout(fields);

    auto *buttons = new QHBoxLayout;
    buttons->setContentsMargins(12, 0, 12, 0);
    m_caixa = flatButton(QStringLiteral("Baixa Cai&xa"), QStringLiteral("SpeedButton1"),
                         QStringLiteral("$"), QColor(200, 40, 40), this);
    m_banco = flatButton(QStringLiteral("Baixar P/Banco"), QStringLiteral("SpeedButton2"),
                         QStringLiteral("B"), QColor(230, 130, 0), this);
    m_dpc = flatButton(QStringLiteral("Baixar &Dpc"), QStringLiteral("TSpeedButton7"),
                       QStringLiteral("D"), QColor(0, 104, 210), this);
    buttons->addWidget(m_caixa);
    buttons->addWidget(m_banco);
    buttons->addWidget(m_dpc);
    layout->addLayout(buttons);
    layout->addStretch();

    connect(m_caixa, &QPushButton::clicked, this, &FrmBaixarNovo::SpeedButton1Click);
    connect(m_banco, &QPushButton::clicked, this, &FrmBaixarNovo::SpeedButton2Click);
    connect(m_dpc, &QPushButton::clicked, this, &FrmBaixarNovo::TSpeedButton7Click);
    m_valorPago->installEventFilter(this);

    m_data->setDate(Clock::today());
    m_valorDup->setValue(m_payable.valor);
    m_valorPago->setValue(m_payable.valor);
    m_diferenca->setValue(0);

    EnterAsTab::install(this);
}

FrmBaixarNovo::~FrmBaixarNovo() = default;

void FrmBaixarNovo::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    emit shown();
}

bool FrmBaixarNovo::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_valorPago && event->type() == QEvent::FocusOut &&
        static_cast<QFocusEvent *>(event)->reason() != Qt::PopupFocusReason)
        CurrencyEdit2Exit();
    return QDialog::eventFilter(watched, event);
}

void FrmBaixarNovo::CurrencyEdit2Exit()
{
    if (!m_valorPago->hasValidValue())
        return; // the field is flagged; the modes say what is wrong
    m_diferenca->setValue(
        RoundDecimals(2, RoundDecimals(2, m_valorPago->value()) - m_valorDup->value()));
}

void FrmBaixarNovo::SpeedButton1Click()
{
    run(Mode::Caixa);
}

void FrmBaixarNovo::SpeedButton2Click()
{
    run(Mode::Banco);
}

void FrmBaixarNovo::TSpeedButton7Click()
{
    run(Mode::Dpc);
}

void FrmBaixarNovo::setModeButtonsVisible(bool visible)
{
    m_caixa->setVisible(visible);
    m_banco->setVisible(visible);
    m_dpc->setVisible(visible);
}

void FrmBaixarNovo::run(Mode mode)
{
    if (!m_payable.key.isValid() || m_caixa->isHidden())
        return; // a mode runs once

    // What the person typed is checked before anything else happens, so a
    // mistake costs nothing and the buttons stay available.
    const QDate data = m_data->date();
    if (!data.isValid()) {
        Messages::warning(kAtencao, QStringLiteral("Data de Quitação inválida !!!"));
        m_data->setFocus();
        return;
    }
    if (!m_valorPago->hasValidValue() || m_valorPago->isEmpty()) {
        Messages::warning(kAtencao, QStringLiteral("Valor Pago inválido !!!"));
        m_valorPago->setFocus();
        return;
    }

    setModeButtonsVisible(false);

    SettlementRequest request;
    request.key = m_payable.key;
    request.mode = mode == Mode::Caixa   ? SettlementMode::Cash
                   : mode == Mode::Banco ? SettlementMode::Bank
                                         : SettlementMode::Dpc;
    request.date = data;
    request.valorPago = RoundDecimals(2, m_valorPago->value());
    request.valorDuplicata = RoundDecimals(2, m_valorDup->value());
    // The question comes before anything is written.
    request.toCash = mode != Mode::Banco &&
                     Messages::question(kPergunta, QStringLiteral("Deseja Enviar para o Caixa ?"));
    request.user = CurrentUserName();
    request.computer = QSysInfo::machineHostName();
    request.at = Clock::now();
    request.branchCode = m_payable.branchCode;
    request.branchName = m_payable.branchName;

    PayablesBook::SettlementOutcome outcome;
    DbError::Outcome failure = DbError::Outcome::NotWritten;
    const bool ok = Guarded([&] { outcome = PayablesBook::settle(Db(), request); }, &failure);
    emit modeFinished(ok, outcome);
    if (!ok && failure == DbError::Outcome::Unknown) {
        // It may have been written: no second press; the list shows the
        // payable as the server holds it once this screen closes.
        reject();
        return;
    }
    if (!ok) {
        // Nothing was written: the person may correct and try again.
        setModeButtonsVisible(true);
        return;
    }
    m_outcome = outcome;
    using Kind = PayablesBook::SettlementOutcome::Kind;
    if (outcome.kind == Kind::AlreadySettled)
        Messages::warning(kAtencao, QStringLiteral("Nota já foi Quitada !!!"));
    else if (outcome.kind == Kind::Missing)
        Messages::warning(kAtencao, QStringLiteral("A duplicata não existe mais: foi excluída por "
                                                   "outra estação."));
    if (outcome.kind == Kind::Settled)
        accept();
    else
        reject();
}
