#include "mail/MailSendJob.h"

#include "mail/SmtpSender.h"

#include <QThread>

MailSendJob::MailSendJob(const MailSettings &settings, const MailMessage &message, QObject *parent)
    : QObject(parent), m_settings(settings), m_message(message)
{
}

MailSendJob::~MailSendJob()
{
    if (m_thread) {
        m_shared->cancel = true;
        m_thread->wait();
        delete m_thread;
    }
}

void MailSendJob::setAttempts(int attempts, int pauseMs)
{
    m_attempts = qMax(1, attempts);
    m_pauseMs = qMax(0, pauseMs);
}

void MailSendJob::start()
{
    if (m_thread)
        return;
    m_shared = std::make_shared<Shared>();
    // The thread sees only its own copies and the shared state, never this
    // object, so it may end after the job is gone without harm.
    m_thread = QThread::create([shared = m_shared, settings = m_settings, message = m_message,
                                attempts = m_attempts, pause = m_pauseMs] {
        shared->outcome =
            SmtpSender::sendWithAttempts(settings, message, attempts, pause, &shared->cancel);
    });
    // QThread::finished is emitted by the worker; queued to this object's
    // thread, the outcome is read after the worker wrote it.
    connect(m_thread, &QThread::finished, this, &MailSendJob::threadEnded, Qt::QueuedConnection);
    m_thread->start();
}

void MailSendJob::cancel()
{
    if (m_shared)
        m_shared->cancel = true;
}

void MailSendJob::threadEnded()
{
    if (!m_thread)
        return;
    m_thread->wait();
    delete m_thread;
    m_thread = nullptr;
    const MailOutcome outcome = m_shared->outcome;
    emit finished(outcome);
}
