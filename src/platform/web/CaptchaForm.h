#pragma once
// The conversation with a captcha-protected form service, shared by the
// company and the person consultations.
//
// captcha(): GET <captcha address>; the answer must be a PNG image (checked
// by its signature); the cookies it sets stay in the session and go back
// with the query.
//
// query(): POST <query address>, form-encoded, with the caller's fields and
// "captcha"; the answer is a JSON object:
//   found:           the result values under their own names, e.g.
//                    {"Nome": "...", "Situacao": "...", ...}
//   wrong captcha:   HTTP 403, or {"erro": "captcha"}
//   not found:       HTTP 404, or {"erro": "nao_encontrado"}
//   other refusal:   {"erro": "<code>", "mensagem": "<text to show>"}
//   rate limited:    HTTP 429 (Retry-After optional)
// Anything else (no JSON object, an HTTP error without those shapes, a
// network failure, a timeout) is Failed with its message.

#include "web/ConsultStatus.h"
#include "web/HttpSession.h"

#include <QJsonObject>
#include <QList>
#include <QPair>
#include <QString>
#include <QUrl>

class CaptchaForm
{
public:
    struct Answer
    {
        ConsultStatus status = ConsultStatus::Failed;
        QString message;
        int retryAfterSeconds = -1;
        QJsonObject fields; // when Found
    };

    // what names the service in messages ("consulta de CPF");
    // notConfigured is the message shown while either address is empty.
    CaptchaForm(const HttpSettings &http, const QString &captchaUrl, const QString &queryUrl,
                const QString &what, const QString &notConfigured);

    bool configured() const;
    const QString &notConfiguredMessage() const { return m_notConfigured; }

    CaptchaImage captcha();
    // notFound is the message for a number the service does not know.
    Answer query(QList<QPair<QString, QString>> fields, const QString &captcha,
                 const QString &notFound);

private:
    HttpSession m_http;
    QString m_captchaUrl;
    QString m_queryUrl;
    QString m_what;
    QString m_notConfigured;
};
