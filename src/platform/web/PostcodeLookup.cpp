#include "web/PostcodeLookup.h"

#include "web/ConsultText.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

namespace {

PostcodeResult failed(const QString &message)
{
    PostcodeResult r;
    r.message = message;
    return r;
}

} // namespace

PostcodeLookup::PostcodeLookup(const WebSettings &settings)
    : m_base(settings.postcodeBase.trimmed()), m_http(settings.http)
{
    while (m_base.endsWith('/'))
        m_base.chop(1);
}

PostcodeResult PostcodeLookup::lookup(const QString &eightDigits)
{
    static const QRegularExpression shape(QStringLiteral("^[0-9]{8}$"));
    if (!shape.match(eightDigits).hasMatch())
        return failed(
            QStringLiteral("CEP inválido: \"%1\". Informe os 8 dígitos do CEP.").arg(eightDigits));
    const QString shown = eightDigits.left(5) + '-' + eightDigits.mid(5);

    const QUrl url(m_base + QStringLiteral("/ws/%1/json/").arg(eightDigits));
    const HttpReply reply = m_http.get(url);
    if (!reply.ok())
        return failed(reply.error);

    const QJsonDocument doc = QJsonDocument::fromJson(reply.body);
    if (!doc.isObject())
        return failed(
            QStringLiteral("Resposta inválida do serviço de CEP %1: não é um objeto JSON.")
                .arg(HttpSession::hostOf(url)));
    const QJsonObject o = doc.object();
    const QJsonValue erro = o.value(QStringLiteral("erro"));
    if ((erro.isBool() && erro.toBool()) ||
        (erro.isString() && erro.toString().trimmed().compare("true", Qt::CaseInsensitive) == 0)) {
        PostcodeResult r;
        r.status = ConsultStatus::NotFound;
        r.message = QStringLiteral("CEP %1 não encontrado.").arg(shown);
        return r;
    }

    PostcodeResult r;
    PostcodeAddress &a = r.address;
    a.cep = eightDigits;
    a.street = ConsultText::text(o, QStringLiteral("logradouro"));
    a.complement = ConsultText::text(o, QStringLiteral("complemento"));
    a.district = ConsultText::text(o, QStringLiteral("bairro"));
    a.city = ConsultText::text(o, QStringLiteral("localidade"));
    a.state = ConsultText::text(o, QStringLiteral("uf"));
    a.ibgeCode = ConsultText::text(o, QStringLiteral("ibge"));
    // Without a city and a state the answer cannot fill an address; a
    // service that changed its shape must not blank the supplier's fields.
    if (a.city.trimmed().isEmpty() || a.state.trimmed().isEmpty())
        return failed(QStringLiteral("Resposta inválida do serviço de CEP %1: faltam a cidade ou a "
                                     "UF do CEP %2.")
                          .arg(HttpSession::hostOf(url), shown));
    r.status = ConsultStatus::Found;
    return r;
}
