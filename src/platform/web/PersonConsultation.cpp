#include "web/PersonConsultation.h"

#include "web/ConsultText.h"

#include <QDate>

using ConsultText::text;

void PersonData::removeDoubleSpaces()
{
    for (QString *t :
         {&Nome, &Situacao, &Emissao, &CodCtrlControle, &DigitoVerificador, &DataInscricao})
        *t = ConsultText::removeDoubleSpaces(*t);
}

PersonConsultation::PersonConsultation(const WebSettings &settings)
    : m_form(settings.http, settings.personCaptchaUrl, settings.personQueryUrl,
             QStringLiteral("consulta de CPF"),
             QStringLiteral("Nenhum serviço de consulta de CPF está configurado. Informe os "
                            "endereços CPF_CAPTCHA (imagem do captcha) e CPF_CONSULTA (consulta) "
                            "na seção [%1] do arquivo Admin.ini.")
                 .arg(QString::fromLatin1(WebSettings::Section)))
{
}

CaptchaImage PersonConsultation::captcha()
{
    return m_form.captcha();
}

PersonAnswer PersonConsultation::consult(const QString &cpf, const QString &birthDate,
                                         const QString &captcha, bool removeDoubleSpaces)
{
    PersonAnswer a;
    if (!m_form.configured()) {
        a.status = ConsultStatus::NotConfigured;
        a.message = m_form.notConfiguredMessage();
        return a;
    }
    const QString bare = ConsultText::bareCpf(cpf);
    if (bare.isEmpty()) {
        a.message = QStringLiteral("CPF inválido: \"%1\". Informe os 11 dígitos do CPF.")
                        .arg(cpf.trimmed());
        return a;
    }
    const QDate born = QDate::fromString(birthDate.trimmed(), QStringLiteral("dd/MM/yyyy"));
    if (!born.isValid()) {
        a.message = QStringLiteral("Data de nascimento inválida: \"%1\". Informe a data no "
                                   "formato dd/mm/aaaa.")
                        .arg(birthDate.trimmed());
        return a;
    }
    const QString shown = QStringLiteral("%1.%2.%3-%4")
                              .arg(bare.mid(0, 3), bare.mid(3, 3), bare.mid(6, 3), bare.mid(9));
    const CaptchaForm::Answer r = m_form.query(
        {{QStringLiteral("cpf"), bare},
         {QStringLiteral("nascimento"), born.toString(QStringLiteral("dd/MM/yyyy"))}},
        captcha,
        QStringLiteral("CPF %1 não encontrado no cadastro da Receita Federal.").arg(shown));
    a.status = r.status;
    a.message = r.message;
    a.retryAfterSeconds = r.retryAfterSeconds;
    if (r.status != ConsultStatus::Found)
        return a;

    const QJsonObject &o = r.fields;
    a.data.Nome = text(o, "Nome");
    a.data.Situacao = text(o, "Situacao");
    a.data.Emissao = text(o, "Emissao");
    a.data.CodCtrlControle = text(o, "CodCtrlControle");
    a.data.DigitoVerificador = text(o, "DigitoVerificador");
    a.data.DataInscricao = text(o, "DataInscricao");
    if (a.data.Nome.trimmed().isEmpty()) {
        PersonAnswer bad;
        bad.message =
            QStringLiteral("Resposta inválida do serviço de consulta de CPF: falta o nome.");
        return bad;
    }
    if (removeDoubleSpaces)
        a.data.removeDoubleSpaces();
    return a;
}
