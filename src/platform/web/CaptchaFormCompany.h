#pragma once
// The company registry through a captcha-protected form service (see
// CaptchaForm for the conversation). The query sends the fields "cnpj" (the
// 14 characters without punctuation) and "captcha"; a company found comes
// back as a JSON object with the result values under their own names:
//   {"EmpresaTipo": "MATRIZ", "Abertura": "03/10/2013" (or "2013-10-03"),
//    "RazaoSocial": "...", "Fantasia": "...", "Endereco": "...", "Numero": "...",
//    "Complemento": "...", "Bairro": "...", "Cidade": "...", "UF": "SP",
//    "CEP": "01311902", "Situacao": "ATIVA", "CNAE1": "code - description",
//    "CNAE2": ["code - description", ...] (or one text, a line per activity),
//    "EndEletronico": "...", "Telefone": "...", "Porte": "...",
//    "NaturezaJuridica": "..."}
// RazaoSocial must be there; the other values may be missing.

#include "web/CaptchaForm.h"
#include "web/CompanyConsultation.h"

class CaptchaFormCompany : public CompanyConsultation
{
public:
    explicit CaptchaFormCompany(const WebSettings &settings);

    bool needsCaptcha() const override { return true; }
    CaptchaImage captcha() override;
    CompanyAnswer consult(const QString &cnpj, const QString &captcha,
                          bool removeDoubleSpaces) override;

private:
    CaptchaForm m_form;
};
