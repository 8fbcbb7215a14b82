#pragma once
// Sending an e-mail without freezing the window: start() runs
// SmtpSender::sendWithAttempts on a thread of its own and finished() arrives
// on the thread that owns the job (the user-interface thread), once, with the
// outcome, while the event loop goes on serving the window.
//
// The job works on copies of the settings and the message. Destroying it (the
// dialog closed mid-send) or cancel() stops the send within a fraction of a
// second; a destroyed job emits nothing.

#include "mail/MailMessage.h"
#include "mail/MailOutcome.h"
#include "mail/MailSettings.h"

#include <QObject>

#include <atomic>
#include <memory>

class QThread;

class MailSendJob : public QObject
{
    Q_OBJECT
public:
    MailSendJob(const MailSettings &settings, const MailMessage &message,
                QObject *parent = nullptr);
    ~MailSendJob() override;

    // Tries and the pause between them (defaults: 3 tries, 2 seconds apart).
    void setAttempts(int attempts, int pauseMs = 2000);
    bool isRunning() const { return m_thread != nullptr; }

public slots:
    // Starts the send; ignored while one is running.
    void start();
    // Ends a running send as a failure ("cancelado"); finished() still comes.
    void cancel();

signals:
    void finished(const MailOutcome &outcome);

private:
    void threadEnded();

    struct Shared
    {
        std::atomic_bool cancel{false};
        MailOutcome outcome;
    };

    MailSettings m_settings;
    MailMessage m_message;
    int m_attempts = 3;
    int m_pauseMs = 2000;
    std::shared_ptr<Shared> m_shared;
    QThread *m_thread = nullptr;
};
