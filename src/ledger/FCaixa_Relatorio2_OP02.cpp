#include "ledger/FCaixa_Relatorio2_OP02.h"

#include "app/Application.h"
#include "app/DM.h"
#include "db/RecordSet.h"
#include "ledger/LedgerStatement.h"
#include "textprint/TextPreview.h"
#include "widgets/Clock.h"
#include "widgets/DateEdit.h"
#include "widgets/EnterAsTab.h"
#include "widgets/LookupCombo.h"
#include "widgets/Messages.h"

#include <QCalendarWidget>
#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScopeGuard>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

const QString kAtencao = QStringLiteral("Atenção");

const QString kPeriodSql =
    QStringLiteral("select * from contacorrente\n"
                   "where (datalancamento>=:mdatai and datalancamento<=:mdataf) and (conta is not "
                   "null) and (conta =:Mconta)\n"
                   "order by datalancamento,Tipos,fornecedor");
const QString kEarlierSql =
    QStringLiteral("select * from contacorrente\n"
                   "where (datalancamento<:mdatai) and (conta is not null) and (conta =:Mconta)\n"
                   "order by datalancamento,tipos,fornecedor");

// The calendar drops down with the week starting on Sunday and a button for
// each way through it, each with its hint.
void setUpCalendar(DateEdit *edit)
{
    QCalendarWidget *calendar = edit->calendar();
    calendar->setFirstDayOfWeek(Qt::Sunday);
    if (auto *prior = calendar->findChild<QToolButton *>(QStringLiteral("qt_calendar_prevmonth")))
        prior->setToolTip(QStringLiteral("Mês Anterior"));
    if (auto *next = calendar->findChild<QToolButton *>(QStringLiteral("qt_calendar_nextmonth")))
        next->setToolTip(QStringLiteral("Próximo Mês"));
    QWidget *bar = calendar->findChild<QWidget *>(QStringLiteral("qt_calendar_navigationbar"));
    auto *row = bar ? qobject_cast<QHBoxLayout *>(bar->layout()) : nullptr;
    if (!row)
        return;
    auto yearButton = [&](const char *name, const QString &sign, const QString &hint) {
        auto *b = new QToolButton(bar);
        b->setObjectName(QLatin1String(name));
        b->setText(sign);
        b->setToolTip(hint);
        b->setAutoRaise(true);
        return b;
    };
    QToolButton *priorYear =
        yearButton("priorYear", QStringLiteral("«"), QStringLiteral("Ano Anterior"));
    QToolButton *nextYear =
        yearButton("nextYear", QStringLiteral("»"), QStringLiteral("Próximo Ano"));
    QObject::connect(priorYear, &QToolButton::clicked, calendar,
                     &QCalendarWidget::showPreviousYear);
    QObject::connect(nextYear, &QToolButton::clicked, calendar, &QCalendarWidget::showNextYear);
    row->insertWidget(0, priorYear);
    row->addWidget(nextYear);
}

double amount(const RecordSet &rs, const QString &field)
{
    return rs.isNull(field) ? 0 : rs.number(field);
}

} // namespace

FCaixa_Relatorio2_OP02::FCaixa_Relatorio2_OP02(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(QStringLiteral("FCaixa_Relatorio2_OP02"));
    setWindowTitle(QStringLiteral("QUARVO Sistemas - Relatorio do Conta Corrente"));
    Connection *conn = DM::instance()->MyConnection1;
    m_accounts = new RecordSet(conn, QStringLiteral("Select * from conta\nOrder by conta"), this);
    m_period = new RecordSet(conn, kPeriodSql, this);
    m_earlier = new RecordSet(conn, kEarlierSql, this);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(6);
    auto *strip = new QFrame(this);
    strip->setFrameShape(QFrame::StyledPanel);
    auto *grid = new QGridLayout(strip);
    grid->setContentsMargins(6, 4, 6, 4);
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(4);
    grid->addWidget(new QLabel(QStringLiteral("Período:"), strip), 0, 0);
    m_dataI = new DateEdit(strip);
    m_dataI->setObjectName(QStringLiteral("DataI"));
    m_dataF = new DateEdit(strip);
    m_dataF->setObjectName(QStringLiteral("DataF"));
    grid->addWidget(m_dataI, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("a"), strip), 0, 2, Qt::AlignCenter);
    grid->addWidget(m_dataF, 0, 3);
    grid->addWidget(new QLabel(QStringLiteral("Conta:"), strip), 1, 0);
    m_conta = new LookupCombo(strip);
    m_conta->setObjectName(QStringLiteral("cbConta"));
    m_conta->setRecordSet(m_accounts, QStringLiteral("conta"), QStringLiteral("conta"));
    grid->addWidget(m_conta, 1, 1);
    m_saldoAnterior = new QCheckBox(QStringLiteral("Calcular Saldo Anterior"), strip);
    m_saldoAnterior->setObjectName(QStringLiteral("ckSaldoAnterior"));
    m_saldoAnterior->setChecked(true);
    grid->addWidget(m_saldoAnterior, 1, 2, 1, 2);
    layout->addWidget(strip);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    m_imprimir = new QPushButton(QStringLiteral("&Imprimir"), this);
    m_imprimir->setObjectName(QStringLiteral("btnImprimir"));
    m_sair = new QPushButton(QStringLiteral("&Sair"), this);
    m_sair->setObjectName(QStringLiteral("btnSair"));
    for (QPushButton *b : {m_imprimir, m_sair}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    layout->addLayout(buttons);
    connect(m_imprimir, &QPushButton::clicked, this, &FCaixa_Relatorio2_OP02::Imprimir);
    connect(m_sair, &QPushButton::clicked, this, &QDialog::reject);

    setUpCalendar(m_dataI);
    setUpCalendar(m_dataF);
    EnterAsTab::install(this);
    resize(QSize(415, 126).expandedTo(minimumSizeHint()));
    Guarded([this] { m_accounts->open(); });
}

FCaixa_Relatorio2_OP02::~FCaixa_Relatorio2_OP02() = default;

bool FCaixa_Relatorio2_OP02::datesAreUsable()
{
    if (m_dataI->isEmpty() || m_dataF->isEmpty()) {
        Messages::error(kAtencao, QStringLiteral("Selecione o período !"));
        m_dataI->setFocus();
        return false;
    }
    for (DateEdit *d : {m_dataI, m_dataF}) {
        if (!d->date().isValid()) {
            Messages::error(
                kAtencao,
                QStringLiteral("A data %1 não existe. Digite uma data válida.").arg(d->text()));
            d->setFocus();
            return false;
        }
    }
    return true;
}

std::optional<TextPrint::Document> FCaixa_Relatorio2_OP02::statement()
{
    if (!datesAreUsable())
        return std::nullopt;
    LedgerStatement::Request request;
    request.companyName = DM::instance()->companyName();
    request.firstDate = m_dataI->text();
    request.lastDate = m_dataF->text();
    const QVariant key = m_conta->keyValue();
    request.account = key.isNull() ? QString() : key.toString();
    request.today = Clock::today();
    request.carryBalance = m_saldoAnterior->isChecked();

    QList<LedgerStatement::Movement> movements;
    const bool read = Guarded([&] {
        for (RecordSet *rs : {m_period, m_earlier}) {
            rs->close();
            rs->setParam(QStringLiteral("mdatai"), m_dataI->date());
            rs->setParam(QStringLiteral("mdataf"), m_dataF->date());
            rs->setParam(QStringLiteral("Mconta"), request.account);
        }
        m_period->open();
        if (request.carryBalance) {
            m_earlier->open();
            for (m_earlier->first(); !m_earlier->eof(); m_earlier->next())
                request.carriedBalance += amount(*m_earlier, QStringLiteral("valor")) -
                                          amount(*m_earlier, QStringLiteral("debito"));
        }
        for (m_period->first(); !m_period->eof(); m_period->next()) {
            LedgerStatement::Movement m;
            m.datalancamento = m_period->date(QStringLiteral("datalancamento"));
            m.tipos = m_period->text(QStringLiteral("tipos"));
            m.fornecedor = m_period->text(QStringLiteral("fornecedor"));
            m.gerencial = m_period->text(QStringLiteral("gerencial"));
            m.valor = amount(*m_period, QStringLiteral("valor"));
            m.debito = amount(*m_period, QStringLiteral("debito"));
            movements << m;
        }
    });
    m_period->close();
    m_earlier->close();
    if (!read)
        return std::nullopt;
    return LedgerStatement::build(request, movements);
}

void FCaixa_Relatorio2_OP02::Imprimir()
{
    std::optional<TextPrint::Document> document = statement();
    if (!document)
        return;
    TextPrint::preview(*document, this);
    m_dataI->clear();
    m_dataF->clear();
    m_dataI->setFocus();
}
