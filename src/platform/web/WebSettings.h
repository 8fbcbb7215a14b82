#pragma once
// Where the public services live and how they are reached: the postcode
// service, the company registry service (open company data, or a
// captcha-protected form service), the person registry service (a
// captcha-protected form service only), the proxy and the timeouts.
//
// fromIni() maps the keys of one INI section onto these settings; the key
// names are kept here because the messages of the clients name them when a
// service is not configured. Every key may be missing or empty: it then
// takes the default given beside it.
//
//   [WEB]
//   CEP_URL=https://viacep.com.br      postcode service base address
//   CNPJ_SERVICO=DADOSABERTOS          DADOSABERTOS (no captcha) or CAPTCHA
//   CNPJ_URL=https://brasilapi.com.br  base address of the open data service
//   CNPJ_CAPTCHA=                      captcha image address (CNPJ_SERVICO=CAPTCHA)
//   CNPJ_CONSULTA=                     query address (CNPJ_SERVICO=CAPTCHA)
//   CPF_CAPTCHA=                       captcha image address of the CPF service
//   CPF_CONSULTA=                      query address of the CPF service
//   PROXY_HOST=                        empty: no proxy
//   PROXY_PORTA=8080
//   TEMPO_CONEXAO=10                   seconds to connect
//   TEMPO_LIMITE=20                    seconds for a whole request

#include "web/HttpSession.h"

#include <QString>
#include <QStringList>

#include <functional>

struct WebSettings
{
    enum class CompanyService { OpenData, CaptchaForm };

    HttpSettings http;
    QString postcodeBase = QStringLiteral("https://viacep.com.br");
    CompanyService companyService = CompanyService::OpenData;
    QString companyBase = QStringLiteral("https://brasilapi.com.br");
    QString companyCaptchaUrl;
    QString companyQueryUrl;
    QString personCaptchaUrl;
    QString personQueryUrl;

    static constexpr const char *Section = "WEB";

    // Reads the keys above through read(section, key), which returns an empty
    // text for a missing key. A value that cannot be used (a port that is not
    // a number, an unknown service name) keeps the default and adds a
    // Portuguese sentence to *problems.
    static WebSettings
    fromIni(const std::function<QString(const QString &section, const QString &key)> &read,
            QStringList *problems = nullptr);
};
