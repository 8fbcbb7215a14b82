#pragma once
// The company registry through the open company data JSON service:
// GET <base>/api/cnpj/v1/<14 characters>, no captcha. HTTP 404 is NotFound,
// 429 RateLimited (with Retry-After when sent), 400 the service refusing the
// number (its own message is shown); an answer that is not a JSON object
// with the company's name is Failed. The fields read are razao_social,
// nome_fantasia, descricao_tipo_de_logradouro (or descricao_tipo_logradouro)
// and logradouro, numero, complemento, bairro, municipio, uf, cep,
// descricao_situacao_cadastral, data_inicio_atividade (yyyy-mm-dd),
// cnae_fiscal and cnae_fiscal_descricao, cnaes_secundarios (codigo,
// descricao; the empty placeholder entry of companies without secondary
// activities is skipped), ddd_telefone_1, email,
// descricao_identificador_matriz_filial, porte and natureza_juridica.

#include "web/CompanyConsultation.h"

class OpenCompanyData : public CompanyConsultation
{
public:
    explicit OpenCompanyData(const WebSettings &settings);

    bool needsCaptcha() const override { return false; }
    // No image: says that this service needs none.
    CaptchaImage captcha() override;
    CompanyAnswer consult(const QString &cnpj, const QString &captcha,
                          bool removeDoubleSpaces) override;

private:
    QString m_base;
    HttpSession m_http;
};
