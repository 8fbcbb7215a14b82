#include "reports/OPFilialAberto1.h"

#include "app/Application.h"
#include "app/DM.h"
#include "app/Helpers.h"
#include "db/RecordSet.h"
#include "mail/MailSendJob.h"
#include "reports/LookupEdit.h"
#include "widgets/Clock.h"
#include "widgets/DateEdit.h"
#include "widgets/EnterAsTab.h"
#include "widgets/Messages.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace {

const QString kAttention = QStringLiteral("Atenção");

} // namespace

OPFilialAberto1::OPFilialAberto1(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("OPFilialAberto1"));
    setWindowTitle(QStringLiteral("Relatorio de Contas a Pagar em Aberto no Periodo por Email"));

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    // Without a title bar the window's edge is this frame.
    auto *frame = new QFrame(this);
    frame->setFrameShape(QFrame::Box);
    frame->setLineWidth(1);
    outer->addWidget(frame);

    auto *grid = new QGridLayout(frame);
    grid->setContentsMargins(14, 14, 14, 12);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(8);

    EdtFilial = new LookupEdit(frame);
    EdtFilial->setObjectName(QStringLiteral("EdtFilial"));
    EdtFilial->setMinimumWidth(300);
    grid->addWidget(new QLabel(QStringLiteral("Nome da Filial"), frame), 0, 0);
    grid->addWidget(EdtFilial, 0, 1, 1, 3);

    DataI = new DateEdit(frame);
    DataI->setObjectName(QStringLiteral("DataI"));
    DataF = new DateEdit(frame);
    DataF->setObjectName(QStringLiteral("DataF"));
    DataI->setDate(Clock::today());
    DataF->setDate(Clock::today());
    grid->addWidget(new QLabel(QStringLiteral("Data Inicial"), frame), 1, 0);
    grid->addWidget(DataI, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("Data Final"), frame), 1, 2);
    grid->addWidget(DataF, 1, 3);

    auto *box = new QDialogButtonBox(frame);
    BtnImprimi = box->addButton(QStringLiteral("&Imprimi"), QDialogButtonBox::AcceptRole);
    BtnImprimi->setObjectName(QStringLiteral("BtnImprimi"));
    BtnEmail = box->addButton(QStringLiteral("Email"), QDialogButtonBox::ActionRole);
    BtnEmail->setObjectName(QStringLiteral("BtnEmail"));
    // The toolkit's caption, written out: the program does not load Qt's own
    // translations, and the clerk reads Portuguese.
    BtnCancelar = box->addButton(QStringLiteral("Cancelar"), QDialogButtonBox::RejectRole);
    BtnCancelar->setObjectName(QStringLiteral("BtnCancelar"));
    for (QPushButton *b : {BtnImprimi, BtnEmail, BtnCancelar})
        b->setAutoDefault(false);
    // The box would close the dialog on its own for the accept role: the
    // buttons do only what their slots say.
    connect(BtnImprimi, &QPushButton::clicked, this, &OPFilialAberto1::imprimir);
    connect(BtnEmail, &QPushButton::clicked, this, &OPFilialAberto1::email);
    connect(BtnCancelar, &QPushButton::clicked, this, &QDialog::reject);
    grid->addWidget(box, 2, 0, 1, 4);

    EnterAsTab::install(this);
    adjustSize();
    if (QScreen *s = screen())
        move(s->availableGeometry().center() - rect().center());

    tbFilial = new RecordSet(DM::instance()->MyConnection1,
                             QStringLiteral("Select * from Filial Order By NomeFilial"), this);
    tbFilial->open();
    EdtFilial->setRecordSet(tbFilial, QStringLiteral("nomefilial"), QStringLiteral("codigofilial"));
}

OPFilialAberto1::~OPFilialAberto1()
{
    stopSending();
    tbFilial->close();
}

int OPFilialAberto1::run(QWidget *parent)
{
    OPFilialAberto1 *dialog = nullptr;
    if (!Guarded([&] { dialog = new OPFilialAberto1(parent); })) {
        delete dialog;
        return QDialog::Rejected;
    }
    return RunScreen(dialog);
}

void OPFilialAberto1::setAttempts(int attempts, int pauseMs)
{
    m_attempts = attempts;
    m_pauseMs = pauseMs;
}

bool OPFilialAberto1::request(OpenPayablesMail::Request *out)
{
    OpenPayablesMail::Request r;
    if (!DataI->isValidInput() || !DataI->date().isValid()) {
        Messages::warning(kAttention, QStringLiteral("Data Inicial inválida: informe dd/mm/aaaa."));
        DataI->setFocus();
        return false;
    }
    if (!DataF->isValidInput() || !DataF->date().isValid()) {
        Messages::warning(kAttention, QStringLiteral("Data Final inválida: informe dd/mm/aaaa."));
        DataF->setFocus();
        return false;
    }
    r.dataI = DataI->date();
    r.dataF = DataF->date();
    if (EdtFilial->text() == OpenPayablesMail::All) {
        r.todas = true;
        r.filialText = OpenPayablesMail::All;
    } else {
        if (EdtFilial->text().trimmed().isEmpty()) {
            Messages::warning(kAttention,
                              QStringLiteral("Informe a filial (ou TODAS para todas as filiais)."));
            EdtFilial->setFocus();
            return false;
        }
        const QVariant code = EdtFilial->locateKey();
        if (code.isNull()) {
            Messages::warning(kAttention,
                              QStringLiteral("A filial \"%1\" não está cadastrada. Escolha uma "
                                             "filial da lista ou digite TODAS para todas as "
                                             "filiais.")
                                  .arg(EdtFilial->text().trimmed()));
            EdtFilial->setFocus();
            return false;
        }
        r.filial = code.toDouble();
        r.filialText = EdtFilial->text();
    }
    *out = r;
    return true;
}

void OPFilialAberto1::imprimir()
{
    if (isSending())
        return;
    OpenPayablesMail::Request r;
    if (!request(&r))
        return;
    // A failing query shows the database's message and leaves the dialog open.
    if (!Guarded([&] {
            Reports::show(OpenPayablesMail::reportName(r), OpenPayablesMail::reportParams(r), this);
        }))
        return;
    accept();
}

void OPFilialAberto1::email()
{
    if (isSending())
        return;
    OpenPayablesMail::Request r;
    if (!request(&r))
        return;
    const MailDeployment &deployment = MailDeployment::current();
    if (const QString why = OpenPayablesMail::problem(r, deployment); !why.isEmpty()) {
        Messages::warning(kAttention, why);
        return;
    }
    MailMessage message;
    QString error;
    bool built = false;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool read =
        Guarded([&] { built = OpenPayablesMail::build(r, deployment, &message, &error); });
    QApplication::restoreOverrideCursor();
    if (!read)
        return;
    if (!built) {
        Messages::error(AppTitle, error);
        return;
    }

    m_job = new MailSendJob(deployment.server, message, this);
    m_job->setAttempts(m_attempts, m_pauseMs);
    connect(m_job, &MailSendJob::finished, this, &OPFilialAberto1::sendEnded);
    BtnEmail->setEnabled(false);
    BtnImprimi->setEnabled(false);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_job->start();
}

void OPFilialAberto1::sendEnded(const MailOutcome &outcome)
{
    stopSending();
    if (outcome.sent)
        Messages::warning(kAttention, QStringLiteral("A Messagem Foi Enviada com Sucesso"));
    else
        Messages::error(AppTitle, outcome.error);
    emit sendFinished(outcome.sent);
}

void OPFilialAberto1::stopSending()
{
    if (!m_job)
        return;
    MailSendJob *job = m_job;
    m_job = nullptr;
    job->disconnect(this);
    // Destroying a running job cancels its send and waits for it.
    job->deleteLater();
    if (job->isRunning())
        job->cancel();
    QApplication::restoreOverrideCursor();
    BtnEmail->setEnabled(true);
    BtnImprimi->setEnabled(true);
}

void OPFilialAberto1::done(int result)
{
    stopSending();
    tbFilial->close();
    QDialog::done(result);
}
