#include "reports/MailDeployment.h"

#include "app/Globals.h"
#include "app/IniFile.h"

#include <optional>

namespace {

std::optional<MailDeployment> &stored()
{
    static std::optional<MailDeployment> d;
    return d;
}

} // namespace

MailDeployment MailDeployment::fromIni(const QString &path)
{
    MailDeployment d;
    const IniFile ini(path);
    const QString section = QString::fromLatin1(Section);
    auto read = [&](const char *key, const QString &fallback = {}) {
        const QString v = ini.readString(section, QString::fromLatin1(key)).trimmed();
        return v.isEmpty() ? fallback : v;
    };
    auto number = [&](const char *key, int fallback, int low, int high) {
        const QString text = read(key);
        if (text.isEmpty())
            return fallback;
        bool ok = false;
        const int v = text.toInt(&ok);
        if (ok && v >= low && v <= high)
            return v;
        d.problems << QStringLiteral("%1, seção [%2], chave %3: \"%4\" não é um número de %5 a %6.")
                          .arg(path, section, QString::fromLatin1(key), text)
                          .arg(low)
                          .arg(high);
        return fallback;
    };

    d.server.host = read("SERVIDOR");
    d.server.port = number("PORTA", 465, 1, 65535);
    const QString security = read("SEGURANCA", QStringLiteral("SSL")).toUpper();
    if (security == QLatin1String("SSL") || security == QLatin1String("TLS"))
        d.server.security = MailSettings::Security::ImplicitTls;
    else if (security == QLatin1String("STARTTLS"))
        d.server.security = MailSettings::Security::StartTls;
    else if (security == QLatin1String("NENHUMA"))
        d.server.security = MailSettings::Security::None;
    else
        d.problems << QStringLiteral("%1, seção [%2], chave SEGURANCA: \"%3\" não é SSL, STARTTLS "
                                     "nem NENHUMA.")
                          .arg(path, section, read("SEGURANCA"));
    d.senderAddress = read("REMETENTE");
    d.server.user = read("USUARIO", d.senderAddress);
    // A SENHA key that is present but empty means an account without password.
    d.server.password = ini.hasKey(section, QStringLiteral("SENHA"))
                            ? ini.readString(section, QStringLiteral("SENHA"))
                            : QStringLiteral("kqz7314");
    d.server.timeoutSeconds = number("TEMPO_LIMITE", 30, 1, 600);
    d.server.caFile = read("CERTIFICADOS");
    d.allSenderName = read("NOME_TODAS");
    d.allRecipient = {read("DESTINO_TODAS"), read("CONTATO_TODAS")};
    d.attentionBranch = read("AC_FILIAL", d.attentionBranch);
    d.attentionAll = read("AC_TODAS", d.attentionAll);
    return d;
}

const MailDeployment &MailDeployment::current()
{
    if (!stored())
        stored() = fromIni(Config().path);
    return *stored();
}

void MailDeployment::setCurrent(const MailDeployment &deployment)
{
    stored() = deployment;
}
