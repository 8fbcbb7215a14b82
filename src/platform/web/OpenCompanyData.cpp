#include "web/OpenCompanyData.h"

#include "web/ConsultText.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

using ConsultText::text;

namespace {

CompanyAnswer answer(ConsultStatus status, const QString &message)
{
    CompanyAnswer a;
    a.status = status;
    a.message = message;
    return a;
}

QString activity(const QString &code, const QString &description)
{
    const QString shown = ConsultText::cnaeCode(code);
    if (shown.isEmpty())
        return description;
    if (description.isEmpty())
        return shown;
    return shown + QStringLiteral(" - ") + description;
}

CompanyData read(const QJsonObject &o)
{
    CompanyData d;
    d.EmpresaTipo = text(o, "descricao_identificador_matriz_filial");
    if (d.EmpresaTipo.isEmpty()) {
        const QString id = text(o, "identificador_matriz_filial");
        d.EmpresaTipo = id == "1"   ? QStringLiteral("MATRIZ")
                        : id == "2" ? QStringLiteral("FILIAL")
                                    : QString();
    }
    d.Abertura = QDate::fromString(text(o, "data_inicio_atividade").left(10), Qt::ISODate);
    d.RazaoSocial = text(o, "razao_social");
    d.Fantasia = text(o, "nome_fantasia");

    QString kind = text(o, "descricao_tipo_de_logradouro");
    if (kind.isEmpty())
        kind = text(o, "descricao_tipo_logradouro");
    const QString street = text(o, "logradouro");
    // Some registers already start the street with its type.
    if (kind.trimmed().isEmpty() ||
        street.trimmed().startsWith(kind.trimmed() + ' ', Qt::CaseInsensitive))
        d.Endereco = street;
    else if (street.isEmpty())
        d.Endereco = kind;
    else
        d.Endereco = kind + ' ' + street;

    d.Numero = text(o, "numero");
    d.Complemento = text(o, "complemento");
    d.Bairro = text(o, "bairro");
    d.Cidade = text(o, "municipio");
    d.UF = text(o, "uf");
    QString cep = text(o, "cep");
    cep.remove('.').remove('-');
    bool digits = !cep.isEmpty() && cep.size() <= 8;
    for (const QChar ch : cep)
        digits = digits && ch >= '0' && ch <= '9';
    // A postcode sent as a number has lost its leading zero.
    d.CEP = digits ? cep.rightJustified(8, '0') : cep;
    d.Situacao = text(o, "descricao_situacao_cadastral");
    d.CNAE1 = activity(text(o, "cnae_fiscal"), text(o, "cnae_fiscal_descricao"));
    for (const QJsonValue &v : o.value("cnaes_secundarios").toArray()) {
        const QJsonObject item = v.toObject();
        const QString code = text(item, "codigo");
        const QString description = text(item, "descricao");
        if ((code.isEmpty() || code.toLongLong() == 0) && description.trimmed().isEmpty())
            continue;
        d.CNAE2 << activity(code, description);
    }
    d.EndEletronico = text(o, "email");
    d.Telefone = ConsultText::telephone(text(o, "ddd_telefone_1"));
    d.Porte = text(o, "porte");
    if (d.Porte.isEmpty())
        d.Porte = text(o, "descricao_porte");
    d.NaturezaJuridica = text(o, "natureza_juridica");
    return d;
}

} // namespace

OpenCompanyData::OpenCompanyData(const WebSettings &settings)
    : m_base(settings.companyBase.trimmed()), m_http(settings.http)
{
    while (m_base.endsWith('/'))
        m_base.chop(1);
}

CaptchaImage OpenCompanyData::captcha()
{
    CaptchaImage c;
    c.status = ConsultStatus::NotConfigured;
    c.message = QStringLiteral("Consulta sem captcha");
    return c;
}

CompanyAnswer OpenCompanyData::consult(const QString &cnpj, const QString &,
                                       bool removeDoubleSpaces)
{
    const QString bare = ConsultText::bareCnpj(cnpj);
    if (bare.isEmpty())
        return answer(ConsultStatus::Failed,
                      QStringLiteral("CNPJ inválido: \"%1\". Informe os 14 caracteres do CNPJ.")
                          .arg(cnpj.trimmed()));
    const QString shown = ConsultText::punctuatedCnpj(bare);
    const QUrl url(m_base + QStringLiteral("/api/cnpj/v1/") + bare);
    const HttpReply reply = m_http.get(url);
    const QString service =
        QStringLiteral("serviço de consulta de CNPJ %1").arg(HttpSession::hostOf(url));

    if (reply.status == 404)
        return answer(
            ConsultStatus::NotFound,
            QStringLiteral("CNPJ %1 não encontrado no cadastro da Receita Federal.").arg(shown));
    if (reply.status == 429) {
        CompanyAnswer a = answer(ConsultStatus::RateLimited, {});
        a.retryAfterSeconds = ConsultText::retryAfterSeconds(reply.header("Retry-After"),
                                                             QDateTime::currentDateTimeUtc());
        a.message =
            QStringLiteral("O %1 recusou a consulta: limite de consultas atingido (HTTP 429). %2")
                .arg(service, ConsultText::retryAdvice(a.retryAfterSeconds));
        return a;
    }
    if (reply.status == 400) {
        const QString said =
            text(QJsonDocument::fromJson(reply.body).object(), "message").trimmed();
        return answer(ConsultStatus::Failed,
                      QStringLiteral("O %1 recusou o CNPJ %2%3")
                          .arg(service, shown, said.isEmpty() ? QStringLiteral(".") : ": " + said));
    }
    if (!reply.ok())
        return answer(ConsultStatus::Failed, reply.error);

    const QJsonDocument doc = QJsonDocument::fromJson(reply.body);
    if (!doc.isObject())
        return answer(
            ConsultStatus::Failed,
            QStringLiteral("Resposta inválida do %1: não é um objeto JSON.").arg(service));
    CompanyAnswer a = answer(ConsultStatus::Found, {});
    a.data = read(doc.object());
    if (a.data.RazaoSocial.trimmed().isEmpty())
        return answer(
            ConsultStatus::Failed,
            QStringLiteral("Resposta inválida do %1: falta a razão social.").arg(service));
    if (removeDoubleSpaces)
        a.data.removeDoubleSpaces();
    return a;
}
