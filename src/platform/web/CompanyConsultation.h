#pragma once
// Consultation of a company number (CNPJ) in the federal revenue's register,
// behind one interface so the service is chosen by the settings:
//
// - OpenCompanyData (the default): the open company data JSON service, no
//   captcha (needsCaptcha() is false and captcha() is not needed);
// - CaptchaFormCompany: a captcha-protected form service, for offices that
//   use one; captcha() fetches the image and keeps the session cookie that
//   consult() sends back.
//
// consult() takes the CNPJ as typed (punctuation and the mask's blanks are
// dropped; the 12 first characters may be digits or capital letters, the
// last two are digits) and refuses any other shape without a request. With
// removeDoubleSpaces every text of the answer loses its double and outer
// blanks; without it the texts are kept exactly as the service sent them.
// Every status other than Found carries a Portuguese message for the
// standard error box; RateLimited also says how long to wait when the
// service told. Requests run as HttpSession describes.

#include "web/ConsultStatus.h"
#include "web/WebSettings.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <memory>

struct CompanyData
{
    QString EmpresaTipo; // "MATRIZ" or "FILIAL"
    QDate Abertura;      // start of activity; null when the service gave none
    QString RazaoSocial;
    QString Fantasia;
    QString Endereco; // type of street and street: "AVENIDA PAULISTA"
    QString Numero;
    QString Complemento;
    QString Bairro;
    QString Cidade;
    QString UF;
    QString CEP; // 8 digits
    QString Situacao;
    QString CNAE1;     // "94.30-8-00 - Atividades de associações ..."
    QStringList CNAE2; // one line per secondary activity, same shape
    QString EndEletronico;
    QString Telefone; // "(11) 2385-1939"
    QString Porte;    // when the service gives it
    QString NaturezaJuridica;

    // Every text, list lines included, without double and outer blanks.
    void removeDoubleSpaces();
};

struct CompanyAnswer
{
    ConsultStatus status = ConsultStatus::Failed;
    QString message;
    int retryAfterSeconds = -1; // RateLimited: the wait the service asked for
    CompanyData data;

    bool found() const { return status == ConsultStatus::Found; }
};

class CompanyConsultation
{
public:
    virtual ~CompanyConsultation() = default;

    virtual bool needsCaptcha() const = 0;
    virtual CaptchaImage captcha() = 0;
    virtual CompanyAnswer consult(const QString &cnpj, const QString &captcha,
                                  bool removeDoubleSpaces) = 0;

    // The service the settings choose.
    static std::unique_ptr<CompanyConsultation> create(const WebSettings &settings);
};
