#include "web/CaptchaForm.h"

#include "web/ConsultText.h"

#include <QDateTime>
#include <QJsonDocument>

namespace {

CaptchaForm::Answer answer(ConsultStatus status, const QString &message)
{
    CaptchaForm::Answer a;
    a.status = status;
    a.message = message;
    return a;
}

const QString WrongCaptcha =
    QStringLiteral("O captcha digitado não confere. Digite o novo captcha e consulte outra vez.");

} // namespace

CaptchaForm::CaptchaForm(const HttpSettings &http, const QString &captchaUrl,
                         const QString &queryUrl, const QString &what, const QString &notConfigured)
    : m_http(http), m_captchaUrl(captchaUrl.trimmed()), m_queryUrl(queryUrl.trimmed()),
      m_what(what), m_notConfigured(notConfigured)
{
}

bool CaptchaForm::configured() const
{
    return !m_captchaUrl.isEmpty() && !m_queryUrl.isEmpty();
}

CaptchaImage CaptchaForm::captcha()
{
    CaptchaImage c;
    if (!configured()) {
        c.status = ConsultStatus::NotConfigured;
        c.message = m_notConfigured;
        return c;
    }
    const HttpReply reply = m_http.get(QUrl(m_captchaUrl));
    if (reply.status == 429) {
        c.status = ConsultStatus::RateLimited;
        c.message =
            QStringLiteral("O serviço de %1 recusou o captcha: limite de consultas "
                           "atingido (HTTP 429). %2")
                .arg(m_what, ConsultText::retryAdvice(ConsultText::retryAfterSeconds(
                                 reply.header("Retry-After"), QDateTime::currentDateTimeUtc())));
        return c;
    }
    if (!reply.ok()) {
        c.message = reply.error;
        return c;
    }
    static const QByteArray pngSignature("\x89PNG\r\n\x1a\n", 8);
    if (!reply.body.startsWith(pngSignature)) {
        c.message =
            QStringLiteral("O serviço de %1 não devolveu uma imagem PNG de captcha.").arg(m_what);
        return c;
    }
    c.status = ConsultStatus::Found;
    c.png = reply.body;
    return c;
}

CaptchaForm::Answer CaptchaForm::query(QList<QPair<QString, QString>> fields,
                                       const QString &captcha, const QString &notFound)
{
    if (!configured())
        return answer(ConsultStatus::NotConfigured, m_notConfigured);
    if (captcha.trimmed().isEmpty())
        return answer(ConsultStatus::Failed, QStringLiteral("É necessário digitar o captcha."));
    fields.append({QStringLiteral("captcha"), captcha.trimmed()});
    const HttpReply reply = m_http.postForm(QUrl(m_queryUrl), fields);

    if (reply.status == 429) {
        Answer a = answer(ConsultStatus::RateLimited, {});
        a.retryAfterSeconds = ConsultText::retryAfterSeconds(reply.header("Retry-After"),
                                                             QDateTime::currentDateTimeUtc());
        a.message = QStringLiteral("O serviço de %1 recusou a consulta: limite de consultas "
                                   "atingido (HTTP 429). %2")
                        .arg(m_what, ConsultText::retryAdvice(a.retryAfterSeconds));
        return a;
    }
    if (reply.status == 403)
        return answer(ConsultStatus::WrongCaptcha, WrongCaptcha);
    if (reply.status == 404)
        return answer(ConsultStatus::NotFound, notFound);
    if (reply.status == 0)
        return answer(ConsultStatus::Failed, reply.error);

    const QJsonDocument doc = QJsonDocument::fromJson(reply.body);
    if (!doc.isObject())
        return answer(ConsultStatus::Failed,
                      reply.ok() ? QStringLiteral("Resposta inválida do serviço de %1: não é um "
                                                  "objeto JSON.")
                                       .arg(m_what)
                                 : reply.error);
    const QJsonObject o = doc.object();
    if (o.contains(QStringLiteral("erro"))) {
        const QString code = ConsultText::text(o, QStringLiteral("erro")).trimmed().toLower();
        if (code == QLatin1String("captcha"))
            return answer(ConsultStatus::WrongCaptcha, WrongCaptcha);
        if (code == QLatin1String("nao_encontrado"))
            return answer(ConsultStatus::NotFound, notFound);
        const QString said = ConsultText::text(o, QStringLiteral("mensagem")).trimmed();
        return answer(
            ConsultStatus::Failed,
            said.isEmpty()
                ? QStringLiteral("O serviço de %1 recusou a consulta (%2).").arg(m_what, code)
                : said);
    }
    if (!reply.ok())
        return answer(ConsultStatus::Failed, reply.error);
    Answer a = answer(ConsultStatus::Found, {});
    a.fields = o;
    return a;
}
