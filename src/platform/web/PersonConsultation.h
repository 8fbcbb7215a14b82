#pragma once
// Consultation of a person number (CPF) with the person's birth date, through
// a captcha-protected form service only (see CaptchaForm for the
// conversation). Without both addresses the consultation is "not
// configured": configured() is false and captcha() and consult() answer
// NotConfigured with a message naming the Admin.ini keys that set it.
//
// The query sends "cpf" (the 11 digits without punctuation), "nascimento"
// (dd/mm/aaaa) and "captcha"; a person found comes back as
//   {"Nome": "...", "Situacao": "REGULAR", "Emissao": "...",
//    "CodCtrlControle": "...", "DigitoVerificador": "00",
//    "DataInscricao": "dd/mm/aaaa"}
// with Nome required. A CPF of another shape or an impossible birth date is
// refused without a request.

#include "web/CaptchaForm.h"
#include "web/WebSettings.h"

#include <QString>

struct PersonData
{
    QString Nome;
    QString Situacao;
    QString Emissao;         // when the proof of the consultation was issued
    QString CodCtrlControle; // control code of the proof
    QString DigitoVerificador;
    QString DataInscricao;

    void removeDoubleSpaces();
};

struct PersonAnswer
{
    ConsultStatus status = ConsultStatus::Failed;
    QString message;
    int retryAfterSeconds = -1;
    PersonData data;

    bool found() const { return status == ConsultStatus::Found; }
};

class PersonConsultation
{
public:
    explicit PersonConsultation(const WebSettings &settings);

    bool configured() const { return m_form.configured(); }
    const QString &notConfiguredMessage() const { return m_form.notConfiguredMessage(); }

    CaptchaImage captcha();
    PersonAnswer consult(const QString &cpf, const QString &birthDate, const QString &captcha,
                         bool removeDoubleSpaces = false);

private:
    CaptchaForm m_form;
};
