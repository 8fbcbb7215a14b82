#pragma once
// Hands one MailMessage to an SMTP server and says what became of it. The
// call blocks until the server accepted the message, refused it, or the
// network gave up; a dialog that must stay responsive uses MailSendJob, which
// runs this off the user-interface thread.
//
// - Security: plain, STARTTLS (required: a server that cannot upgrade gets
//   nothing, the password included) or TLS from the start; the certificate is
//   checked against the system's authorities or settings.caFile, unless
//   settings.verifyCertificate is off.
// - Waiting: the connection (TLS handshake included) and every reply of the
//   server get settings.timeoutSeconds; a stalled upload fails after the
//   same time without progress, and the whole send after ten times it.
// - Outcome: sent only after the server's positive reply to the end of the
//   data. A refusal carries the server's own reply ("535 5.7.8 ...") and what
//   it refused (login, sender, recipient, message); a network failure says
//   which (refused, timed out, certificate, lost). Every recipient must be
//   accepted, or nothing is sent. A message that went out whole but was
//   never confirmed is a failure that is not retryable: the server may have
//   delivered it, and a second send could deliver it twice.
// - The password goes to the server and nowhere else: what the client sends
//   is never recorded, only the server's replies are kept for the message.
//
// The message's Date is Clock::now(), so tests can fix it.
//
// cancel, when given, is polled while waiting: setting it ends the send
// within a fraction of a second as a failure that is not retryable.

#include "mail/MailMessage.h"
#include "mail/MailOutcome.h"
#include "mail/MailSettings.h"

#include <atomic>

namespace SmtpSender {

// One connection, one try.
MailOutcome send(const MailSettings &settings, const MailMessage &message,
                 const std::atomic_bool *cancel = nullptr);

// Up to attempts tries, waiting pauseMs between them, as long as the failure
// is retryable; the outcome is the last try's, with the number of tries made.
MailOutcome sendWithAttempts(const MailSettings &settings, const MailMessage &message, int attempts,
                             int pauseMs = 2000, const std::atomic_bool *cancel = nullptr);

} // namespace SmtpSender
