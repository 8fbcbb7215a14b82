#include "web/WebSettings.h"

WebSettings
WebSettings::fromIni(const std::function<QString(const QString &section, const QString &key)> &read,
                     QStringList *problems)
{
    WebSettings s;
    const QString section = QString::fromLatin1(Section);
    auto value = [&](const char *key) { return read(section, QString::fromLatin1(key)).trimmed(); };
    auto complain = [&](const char *key, const QString &found, const QString &kept) {
        if (problems)
            *problems << QStringLiteral("Admin.ini, seção [%1]: valor \"%2\" inválido em %3; "
                                        "usado %4.")
                             .arg(section, found, QString::fromLatin1(key), kept);
    };
    auto text = [&](const char *key, QString &target) {
        const QString v = value(key);
        if (!v.isEmpty())
            target = v;
    };
    auto number = [&](const char *key, int &target, int scale, int max) {
        const QString v = value(key);
        if (v.isEmpty())
            return;
        bool ok = false;
        const int n = v.toInt(&ok);
        if (ok && n > 0 && n <= max)
            target = n * scale;
        else
            complain(key, v, QString::number(target / scale));
    };

    text("CEP_URL", s.postcodeBase);
    text("CNPJ_URL", s.companyBase);
    text("CNPJ_CAPTCHA", s.companyCaptchaUrl);
    text("CNPJ_CONSULTA", s.companyQueryUrl);
    text("CPF_CAPTCHA", s.personCaptchaUrl);
    text("CPF_CONSULTA", s.personQueryUrl);
    text("PROXY_HOST", s.http.proxyHost);
    number("PROXY_PORTA", s.http.proxyPort, 1, 65535);
    number("TEMPO_CONEXAO", s.http.connectTimeoutMs, 1000, 600);
    number("TEMPO_LIMITE", s.http.timeoutMs, 1000, 600);

    const QString service = value("CNPJ_SERVICO").toUpper();
    if (service == QLatin1String("CAPTCHA"))
        s.companyService = CompanyService::CaptchaForm;
    else if (!service.isEmpty() && service != QLatin1String("DADOSABERTOS"))
        complain("CNPJ_SERVICO", service, QStringLiteral("DADOSABERTOS"));
    return s;
}
