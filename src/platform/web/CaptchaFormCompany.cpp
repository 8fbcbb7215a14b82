#include "web/CaptchaFormCompany.h"

#include "web/ConsultText.h"

#include <QJsonArray>

using ConsultText::text;

CaptchaFormCompany::CaptchaFormCompany(const WebSettings &settings)
    : m_form(settings.http, settings.companyCaptchaUrl, settings.companyQueryUrl,
             QStringLiteral("consulta de CNPJ"),
             QStringLiteral("Nenhum serviço de consulta de CNPJ com captcha está configurado. "
                            "Informe os endereços CNPJ_CAPTCHA (imagem do captcha) e "
                            "CNPJ_CONSULTA (consulta) na seção [%1] do arquivo Admin.ini, ou "
                            "use CNPJ_SERVICO=DADOSABERTOS.")
                 .arg(QString::fromLatin1(WebSettings::Section)))
{
}

CaptchaImage CaptchaFormCompany::captcha()
{
    return m_form.captcha();
}

CompanyAnswer CaptchaFormCompany::consult(const QString &cnpj, const QString &captcha,
                                          bool removeDoubleSpaces)
{
    CompanyAnswer a;
    if (!m_form.configured()) {
        a.status = ConsultStatus::NotConfigured;
        a.message = m_form.notConfiguredMessage();
        return a;
    }
    const QString bare = ConsultText::bareCnpj(cnpj);
    if (bare.isEmpty()) {
        a.message = QStringLiteral("CNPJ inválido: \"%1\". Informe os 14 caracteres do CNPJ.")
                        .arg(cnpj.trimmed());
        return a;
    }
    const CaptchaForm::Answer r =
        m_form.query({{QStringLiteral("cnpj"), bare}}, captcha,
                     QStringLiteral("CNPJ %1 não encontrado no cadastro da Receita Federal.")
                         .arg(ConsultText::punctuatedCnpj(bare)));
    a.status = r.status;
    a.message = r.message;
    a.retryAfterSeconds = r.retryAfterSeconds;
    if (r.status != ConsultStatus::Found)
        return a;

    const QJsonObject &o = r.fields;
    CompanyData &d = a.data;
    d.EmpresaTipo = text(o, "EmpresaTipo");
    const QString opened = text(o, "Abertura").trimmed();
    d.Abertura = QDate::fromString(opened, QStringLiteral("dd/MM/yyyy"));
    if (!d.Abertura.isValid())
        d.Abertura = QDate::fromString(opened.left(10), Qt::ISODate);
    d.RazaoSocial = text(o, "RazaoSocial");
    d.Fantasia = text(o, "Fantasia");
    d.Endereco = text(o, "Endereco");
    d.Numero = text(o, "Numero");
    d.Complemento = text(o, "Complemento");
    d.Bairro = text(o, "Bairro");
    d.Cidade = text(o, "Cidade");
    d.UF = text(o, "UF");
    d.CEP = text(o, "CEP");
    d.Situacao = text(o, "Situacao");
    d.CNAE1 = text(o, "CNAE1");
    const QJsonValue secondary = o.value("CNAE2");
    if (secondary.isArray()) {
        for (const QJsonValue &v : secondary.toArray())
            if (v.isString() && !v.toString().trimmed().isEmpty())
                d.CNAE2 << v.toString();
    } else {
        for (const QString &line : text(o, "CNAE2").split('\n'))
            if (!line.trimmed().isEmpty())
                d.CNAE2 << (line.endsWith('\r') ? line.chopped(1) : line);
    }
    d.EndEletronico = text(o, "EndEletronico");
    d.Telefone = text(o, "Telefone");
    d.Porte = text(o, "Porte");
    d.NaturezaJuridica = text(o, "NaturezaJuridica");
    if (d.RazaoSocial.trimmed().isEmpty()) {
        CompanyAnswer bad;
        bad.message = QStringLiteral("Resposta inválida do serviço de consulta de CNPJ: falta a "
                                     "razão social.");
        return bad;
    }
    if (removeDoubleSpaces)
        d.removeDoubleSpaces();
    return a;
}
