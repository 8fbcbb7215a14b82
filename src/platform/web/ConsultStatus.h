#pragma once
// What became of a request to one of the public services (postcode, company
// or person registry), shared by every answer type of this folder. Every
// status other than Found comes with a Portuguese message that a window can
// show as it is.

#include <QByteArray>
#include <QString>

enum class ConsultStatus {
    Found,         // the answer (or the captcha image) is there
    NotFound,      // the service does not know the number or postcode
    WrongCaptcha,  // the typed captcha was refused; fetch a fresh one
    RateLimited,   // too many requests; see retryAfterSeconds
    NotConfigured, // no address of the service is configured
    Failed         // bad input, network failure, timeout, malformed answer
};

// A captcha image as the service sent it: PNG bytes when status is Found.
struct CaptchaImage
{
    ConsultStatus status = ConsultStatus::Failed;
    QString message;
    QByteArray png;

    bool ok() const { return status == ConsultStatus::Found; }
};
