#include "web/HttpSession.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkCookieJar>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSslError>
#include <QTimer>

namespace {

QString seconds(int ms)
{
    const int s = (ms + 999) / 1000;
    return s == 1 ? QStringLiteral("1 segundo") : QStringLiteral("%1 segundos").arg(s);
}

HttpReply failed(HttpFailure failure, const QString &message)
{
    HttpReply r;
    r.failure = failure;
    r.error = message;
    return r;
}

QByteArray formEncode(const QList<QPair<QString, QString>> &fields)
{
    QByteArray body;
    for (const auto &[name, value] : fields) {
        if (!body.isEmpty())
            body += '&';
        body += QUrl::toPercentEncoding(name) + '=' + QUrl::toPercentEncoding(value);
    }
    return body;
}

} // namespace

QByteArray HttpReply::header(const QByteArray &name) const
{
    for (const auto &[key, value] : headers)
        if (key.compare(name, Qt::CaseInsensitive) == 0)
            return value;
    return {};
}

HttpSession::HttpSession(const HttpSettings &settings)
    : m_settings(settings), m_manager(std::make_unique<QNetworkAccessManager>())
{
    // An explicit choice either way: without a configured host the services
    // are reached directly, whatever the environment's proxy variables say.
    if (m_settings.proxyHost.trimmed().isEmpty())
        m_manager->setProxy(QNetworkProxy::NoProxy);
    else
        m_manager->setProxy(QNetworkProxy(QNetworkProxy::HttpProxy, m_settings.proxyHost.trimmed(),
                                          quint16(m_settings.proxyPort)));
    m_manager->setCookieJar(new QNetworkCookieJar(m_manager.get()));
}

HttpSession::~HttpSession() = default;

QString HttpSession::hostOf(const QUrl &url)
{
    const int port = url.port();
    return port < 0 ? url.host() : QStringLiteral("%1:%2").arg(url.host()).arg(port);
}

HttpReply HttpSession::get(const QUrl &url)
{
    return run(url, nullptr);
}

HttpReply HttpSession::postForm(const QUrl &url, const QList<QPair<QString, QString>> &fields)
{
    const QByteArray body = formEncode(fields);
    return run(url, &body);
}

HttpReply HttpSession::run(const QUrl &url, const QByteArray *formBody)
{
    if (m_busy)
        return failed(HttpFailure::Busy,
                      QStringLiteral("Já há uma consulta em andamento; aguarde a resposta."));
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || url.host().isEmpty() || (scheme != "http" && scheme != "https"))
        return failed(HttpFailure::InvalidUrl,
                      QStringLiteral("Endereço de serviço inválido: \"%1\".").arg(url.toString()));

    const QString host = hostOf(url);
    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::UserAgentHeader, QByteArray("ContasPagar/1.0"));
    request.setRawHeader("Accept", formBody ? "application/json" : "*/*");
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    if (formBody)
        request.setHeader(QNetworkRequest::ContentTypeHeader,
                          QByteArray("application/x-www-form-urlencoded"));

    m_busy = true;
    QNetworkReply *reply = formBody ? m_manager->post(request, *formBody) : m_manager->get(request);

    QEventLoop loop;
    QTimer wholeTimer, connectTimer;
    wholeTimer.setSingleShot(true);
    connectTimer.setSingleShot(true);
    bool timedOut = false, connectTimedOut = false, tooLarge = false;
    QList<QSslError> sslErrors;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QObject::connect(&wholeTimer, &QTimer::timeout, reply, [&] {
        timedOut = true;
        reply->abort();
    });
    QObject::connect(&connectTimer, &QTimer::timeout, reply, [&] {
        connectTimedOut = true;
        reply->abort();
    });
    QObject::connect(reply, &QNetworkReply::requestSent, &connectTimer, &QTimer::stop);
    QObject::connect(reply, &QNetworkReply::metaDataChanged, &connectTimer, &QTimer::stop);
    QObject::connect(reply, &QNetworkReply::sslErrors, reply,
                     [&](const QList<QSslError> &errors) { sslErrors = errors; });
    QObject::connect(reply, &QNetworkReply::downloadProgress, reply, [&](qint64 received, qint64) {
        if (received > m_settings.maxBodyBytes && !tooLarge) {
            tooLarge = true;
            reply->abort();
        }
    });
    wholeTimer.start(m_settings.timeoutMs);
    if (m_settings.connectTimeoutMs < m_settings.timeoutMs)
        connectTimer.start(m_settings.connectTimeoutMs);
    if (!reply->isFinished())
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    wholeTimer.stop();
    connectTimer.stop();
    m_busy = false;

    HttpReply r;
    r.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    r.headers = reply->rawHeaderPairs();
    if (reply->isOpen())
        r.body = reply->readAll();
    const QNetworkReply::NetworkError error = reply->error();
    const QString detail = reply->errorString();
    const QString reason =
        reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString().trimmed();
    reply->deleteLater();

    const bool viaProxy = !m_settings.proxyHost.trimmed().isEmpty();
    const QString proxy =
        QStringLiteral("%1:%2").arg(m_settings.proxyHost.trimmed()).arg(m_settings.proxyPort);
    auto fail = [&](HttpFailure failure, const QString &message) {
        r.failure = failure;
        r.error = message;
        return r;
    };
    if (tooLarge)
        return fail(HttpFailure::TooLarge,
                    QStringLiteral("A resposta do servidor %1 excede o tamanho máximo de %2 KB.")
                        .arg(host)
                        .arg(m_settings.maxBodyBytes / 1024));
    if (connectTimedOut)
        return fail(HttpFailure::ConnectTimeout,
                    QStringLiteral("Não foi possível conectar ao servidor %1 em %2. Verifique a "
                                   "conexão com a internet e tente novamente.")
                        .arg(host, seconds(m_settings.connectTimeoutMs)));
    if (timedOut || error == QNetworkReply::TimeoutError)
        return fail(HttpFailure::Timeout,
                    QStringLiteral("O servidor %1 não respondeu em %2. Tente novamente mais tarde.")
                        .arg(host, seconds(m_settings.timeoutMs)));
    if (r.status >= 400) {
        const QString shown = reason.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(reason);
        return fail(HttpFailure::Http,
                    QStringLiteral("O servidor %1 respondeu com o erro HTTP %2%3.")
                        .arg(host)
                        .arg(r.status)
                        .arg(shown));
    }
    switch (error) {
    case QNetworkReply::NoError:
        if (r.status == 0)
            return fail(
                HttpFailure::Network,
                QStringLiteral("O servidor %1 encerrou a conexão sem responder.").arg(host));
        return r;
    case QNetworkReply::ConnectionRefusedError:
        if (viaProxy)
            return fail(
                HttpFailure::Proxy,
                QStringLiteral("O proxy %1 recusou a conexão: verifique o endereço e a porta "
                               "do proxy.")
                    .arg(proxy));
        return fail(HttpFailure::Refused,
                    QStringLiteral("O servidor %1 recusou a conexão: o serviço não está no ar ou o "
                                   "endereço está errado.")
                        .arg(host));
    case QNetworkReply::HostNotFoundError:
        // Through an HTTP proxy only the proxy's own name is resolved here.
        if (viaProxy && scheme == "http")
            return fail(HttpFailure::Proxy,
                        QStringLiteral("Proxy %1 não encontrado (falha na resolução do nome): "
                                       "verifique o endereço do proxy.")
                            .arg(m_settings.proxyHost.trimmed()));
        return fail(HttpFailure::HostNotFound,
                    QStringLiteral("Servidor %1 não encontrado (falha na resolução do nome). "
                                   "Verifique a conexão com a internet e o endereço do serviço.")
                        .arg(url.host()));
    case QNetworkReply::SslHandshakeFailedError:
    case QNetworkReply::UnknownNetworkError:
        if (error == QNetworkReply::SslHandshakeFailedError || !sslErrors.isEmpty()) {
            const QString why = sslErrors.isEmpty() ? detail : sslErrors.first().errorString();
            return fail(HttpFailure::Tls,
                        QStringLiteral("Falha na conexão segura (TLS) com o servidor %1: %2")
                            .arg(host, why));
        }
        return fail(
            HttpFailure::Network,
            QStringLiteral("Sem conexão de rede com o servidor %1 (%2).").arg(host, detail));
    case QNetworkReply::RemoteHostClosedError:
        return fail(HttpFailure::Network,
                    QStringLiteral("O servidor %1 encerrou a conexão sem responder.").arg(host));
    case QNetworkReply::TemporaryNetworkFailureError:
    case QNetworkReply::NetworkSessionFailedError:
    case QNetworkReply::BackgroundRequestNotAllowedError:
        return fail(
            HttpFailure::Network,
            QStringLiteral("Sem conexão de rede com o servidor %1 (%2).").arg(host, detail));
    case QNetworkReply::ProxyConnectionRefusedError:
    case QNetworkReply::ProxyConnectionClosedError:
    case QNetworkReply::ProxyNotFoundError:
    case QNetworkReply::ProxyTimeoutError:
    case QNetworkReply::ProxyAuthenticationRequiredError:
    case QNetworkReply::UnknownProxyError:
        return fail(HttpFailure::Proxy,
                    QStringLiteral("Falha no proxy %1 (%2).").arg(proxy, detail));
    default:
        return fail(
            HttpFailure::Other,
            QStringLiteral("Falha na comunicação com o servidor %1 (%2).").arg(host, detail));
    }
}
