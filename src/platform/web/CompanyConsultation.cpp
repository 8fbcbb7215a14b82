#include "web/CompanyConsultation.h"

#include "web/CaptchaFormCompany.h"
#include "web/ConsultText.h"
#include "web/OpenCompanyData.h"

std::unique_ptr<CompanyConsultation> CompanyConsultation::create(const WebSettings &settings)
{
    if (settings.companyService == WebSettings::CompanyService::CaptchaForm)
        return std::make_unique<CaptchaFormCompany>(settings);
    return std::make_unique<OpenCompanyData>(settings);
}

void CompanyData::removeDoubleSpaces()
{
    for (QString *t :
         {&EmpresaTipo, &RazaoSocial, &Fantasia, &Endereco, &Numero, &Complemento, &Bairro, &Cidade,
          &UF, &CEP, &Situacao, &CNAE1, &EndEletronico, &Telefone, &Porte, &NaturezaJuridica})
        *t = ConsultText::removeDoubleSpaces(*t);
    for (QString &line : CNAE2)
        line = ConsultText::removeDoubleSpaces(line);
}
