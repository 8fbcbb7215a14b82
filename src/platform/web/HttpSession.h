#pragma once
// The program's HTTP client for the public services (postcode, company and
// person registries): GET and form-encoded POST with a connect timeout and a
// whole-request timeout, an optional HTTP proxy, and the cookies of the
// session kept between its requests (a captcha and the query it unlocks must
// travel in one session).
//
// Requests are synchronous for the caller but never freeze the window: the
// call runs a local QEventLoop that excludes user input, so the window keeps
// painting, timers and other sockets keep running, and the clicks and keys a
// person gives meanwhile wait until the answer (or the timeout) is in. While a
// request runs, a second one on the same session (a timer firing meanwhile)
// is refused with a message instead of nesting event loops. The session must
// live on the GUI thread and must not be destroyed while a request runs.
//
// Every failure comes back as a clear Portuguese sentence in HttpReply::error
// with its kind in HttpReply::failure; an HTTP answer of 400 and above is a
// failure too, but its status, headers and body are kept, since services say
// "not found" or "too many requests" that way.

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QUrl>

#include <memory>

class QNetworkAccessManager;
class QNetworkRequest;

struct HttpSettings
{
    QString proxyHost;             // empty: connect directly, no proxy
    int proxyPort = 8080;          // used only with a proxy host
    int connectTimeoutMs = 10000;  // until the request has been sent
    int timeoutMs = 20000;         // the whole request, answer included
    qint64 maxBodyBytes = 8 << 20; // answers beyond this are refused
};

enum class HttpFailure {
    None,
    Busy,           // another request of the session is still running
    InvalidUrl,     // not an http(s) address with a host
    ConnectTimeout, // no connection within connectTimeoutMs
    Timeout,        // no complete answer within timeoutMs
    Refused,        // nothing listens at the address
    HostNotFound,   // the name did not resolve
    Tls,            // the secure connection could not be set up
    Network,        // no network, connection reset or closed early
    Proxy,          // the proxy refused, is unknown or failed
    TooLarge,       // the answer exceeds maxBodyBytes
    Http,           // the server answered with a status of 400 or more
    Other
};

struct HttpReply
{
    int status = 0; // HTTP status; 0 when no answer arrived
    QList<QPair<QByteArray, QByteArray>> headers;
    QByteArray body;
    HttpFailure failure = HttpFailure::None;
    QString error; // empty when the request succeeded

    bool ok() const { return failure == HttpFailure::None; }
    // The first header of that name (compared without regard to case).
    QByteArray header(const QByteArray &name) const;
};

class HttpSession
{
public:
    explicit HttpSession(const HttpSettings &settings = {});
    ~HttpSession();
    HttpSession(const HttpSession &) = delete;
    HttpSession &operator=(const HttpSession &) = delete;

    const HttpSettings &settings() const { return m_settings; }
    bool busy() const { return m_busy; }

    HttpReply get(const QUrl &url);
    // Sends fields as application/x-www-form-urlencoded (UTF-8, every
    // reserved character percent-encoded).
    HttpReply postForm(const QUrl &url, const QList<QPair<QString, QString>> &fields);

    // How a host is named in messages: "viacep.com.br" or "127.0.0.1:8080".
    static QString hostOf(const QUrl &url);

private:
    HttpReply run(const QUrl &url, const QByteArray *formBody);

    HttpSettings m_settings;
    std::unique_ptr<QNetworkAccessManager> m_manager;
    bool m_busy = false;
};
