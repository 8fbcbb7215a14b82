#include "mail/SmtpSender.h"

#include "mail/MailComposer.h"
#include "widgets/Clock.h"

#include <QDeadlineTimer>
#include <QRegularExpression>
#include <QThread>

#include <curl/curl.h>

#include <cctype>
#include <cerrno>
#include <cstring>
#include <memory>
#include <mutex>
#include <sys/socket.h>
#include <unistd.h>

namespace SmtpSender {
namespace {

void initCurl()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

// What the conversation with the server has reached, kept from the server's
// replies and the names of the commands sent (never their arguments: the
// login's lines carry the password).
struct Conversation
{
    QByteArray payload;
    qsizetype uploaded = 0;

    QByteArray stage = "CONNECT"; // the last command: EHLO, AUTH, MAIL, RCPT, DATA, BODY...
    QByteArray recipient;         // the address of the last RCPT
    QByteArray reply;             // the text of the server's latest reply
    int replyCode = 0;
    bool replyDone = true;      // the latest reply's last line has arrived
    bool answeredStage = false; // the server replied to the last command
    bool inLogin = false;       // lines sent now answer the server's login challenges
    bool quitting = false;      // QUIT sent: its reply says nothing about the message
    int dataReplyCode = 0;      // the reply to the end of the data: 250 means accepted

    QList<curl_socket_t> sockets; // open now, so a cancel can cut them
};

size_t readPayload(char *buffer, size_t size, size_t count, void *user)
{
    auto *c = static_cast<Conversation *>(user);
    if (c->stage != "BODY") {
        c->stage = "BODY";
        c->answeredStage = false;
    }
    const size_t n = qMin(size * count, size_t(c->payload.size() - c->uploaded));
    std::memcpy(buffer, c->payload.constData() + c->uploaded, n);
    c->uploaded += qsizetype(n);
    return n;
}

void serverLine(Conversation &c, const QByteArray &line)
{
    if (c.quitting)
        return;
    if (line.size() < 3 || !std::isdigit(uchar(line[0])) || !std::isdigit(uchar(line[1])) ||
        !std::isdigit(uchar(line[2])))
        return;
    if (c.replyDone)
        c.reply.clear();
    const bool last = line.size() == 3 || line[3] == ' ';
    // A multi-line reply repeats its code on every line; keep it once.
    const QByteArray text = c.reply.isEmpty() ? line : line.mid(4);
    if (c.reply.size() < 600)
        c.reply += (c.reply.isEmpty() ? "" : " ") + text.trimmed();
    c.replyDone = last;
    if (last) {
        c.replyCode = line.left(3).toInt();
        c.answeredStage = true;
        c.inLogin = c.replyCode == 334;
        if (c.stage == "BODY")
            c.dataReplyCode = c.replyCode;
    }
}

void clientLine(Conversation &c, const QByteArray &line)
{
    if (c.inLogin)
        return;
    static const QList<QByteArray> verbs{"EHLO", "HELO", "STARTTLS", "AUTH", "MAIL",
                                         "RCPT", "DATA", "QUIT",     "RSET", "NOOP"};
    const qsizetype blank = line.indexOf(' ');
    const QByteArray verb = (blank < 0 ? line : line.left(blank)).trimmed().toUpper();
    if (!verbs.contains(verb))
        return;
    if (verb == "QUIT") {
        c.quitting = true;
        return;
    }
    c.stage = verb;
    c.answeredStage = false;
    if (verb == "RCPT") {
        const qsizetype open = line.indexOf('<');
        const qsizetype close = line.indexOf('>', open);
        c.recipient =
            open >= 0 && close > open ? line.mid(open + 1, close - open - 1) : QByteArray();
    }
}

int watch(CURL *, curl_infotype type, char *data, size_t size, void *user)
{
    auto *c = static_cast<Conversation *>(user);
    if (type != CURLINFO_HEADER_IN && type != CURLINFO_HEADER_OUT)
        return 0;
    for (const QByteArray &raw : QByteArray(data, qsizetype(size)).split('\n')) {
        const QByteArray line = raw.endsWith('\r') ? raw.chopped(1) : raw;
        if (line.isEmpty())
            continue;
        if (type == CURLINFO_HEADER_IN)
            serverLine(*c, line);
        else
            clientLine(*c, line);
    }
    return 0;
}

int socketOpened(void *user, curl_socket_t fd, curlsocktype)
{
    static_cast<Conversation *>(user)->sockets << fd;
    return CURL_SOCKOPT_OK;
}

int socketClosing(void *user, curl_socket_t fd)
{
    static_cast<Conversation *>(user)->sockets.removeAll(fd);
    return ::close(fd);
}

MailOutcome failure(const QString &text, bool retryable, int code = 0, int attempts = 1)
{
    MailOutcome o;
    o.error = text;
    o.retryable = retryable;
    o.serverCode = code;
    o.attempts = attempts;
    return o;
}

QString settingsProblem(const MailSettings &s)
{
    static const QRegularExpression host(QStringLiteral("^[A-Za-z0-9._:-]+$"));
    if (s.host.trimmed().isEmpty())
        return QStringLiteral("O servidor de e-mail não foi configurado.");
    if (!host.match(s.host.trimmed()).hasMatch())
        return QStringLiteral("O nome do servidor de e-mail \"%1\" não é válido.").arg(s.host);
    if (s.port < 1 || s.port > 65535)
        return QStringLiteral("A porta %1 do servidor de e-mail não é válida.").arg(s.port);
    return {};
}

QByteArray url(const MailSettings &s)
{
    QByteArray host = s.host.trimmed().toLatin1();
    if (host.contains(':'))
        host = '[' + host + ']';
    return (s.security == MailSettings::Security::ImplicitTls ? "smtps://" : "smtp://") + host +
           ':' + QByteArray::number(s.port);
}

// The Portuguese reason for a failed send, from what curl says and what the
// server last replied.
MailOutcome explain(CURLcode code, const Conversation &c, const MailSettings &s, long osErrno,
                    const char *detail)
{
    const QString where = QStringLiteral("%1 porta %2").arg(s.host.trimmed()).arg(s.port);
    const QString why =
        *detail ? QString::fromUtf8(detail).trimmed() : QString::fromUtf8(curl_easy_strerror(code));
    const QString reply = QString::fromUtf8(c.reply);
    const bool refused = c.answeredStage && c.replyCode >= 400;
    const bool temporary = c.replyCode >= 400 && c.replyCode < 500;

    // Everything went out and no verdict came back: the server may well have
    // delivered it, and sending again could deliver it twice.
    if (c.stage == "BODY" && !c.answeredStage && c.uploaded == c.payload.size())
        return failure(QStringLiteral("O servidor de e-mail %1 não confirmou o recebimento da "
                                      "mensagem (%2); ela pode ter sido entregue. Confira com os "
                                      "destinatários antes de enviar de novo.")
                           .arg(where, code == CURLE_OPERATION_TIMEDOUT
                                           ? QStringLiteral("sem resposta em %1 segundos")
                                                 .arg(qMax(1, s.timeoutSeconds))
                                           : why),
                       false);

    if (refused && (code == CURLE_LOGIN_DENIED || code == CURLE_SEND_ERROR ||
                    code == CURLE_RECV_ERROR || code == CURLE_WEIRD_SERVER_REPLY ||
                    code == CURLE_REMOTE_ACCESS_DENIED || code == CURLE_USE_SSL_FAILED)) {
        QString what;
        if (c.stage == "AUTH")
            what = QStringLiteral("o login do usuário \"%1\"").arg(s.user);
        else if (c.stage == "MAIL")
            what = QStringLiteral("o remetente");
        else if (c.stage == "RCPT")
            what = QStringLiteral("o destinatário <%1>").arg(QString::fromLatin1(c.recipient));
        else if (c.stage == "DATA" || c.stage == "BODY")
            what = QStringLiteral("a mensagem");
        else if (c.stage == "STARTTLS")
            what = QStringLiteral("a conexão segura (STARTTLS)");
        else
            what = QStringLiteral("a conexão");
        return failure(
            QStringLiteral("O servidor de e-mail %1 recusou %2: %3").arg(where, what, reply),
            temporary, c.replyCode);
    }
    switch (code) {
    case CURLE_COULDNT_RESOLVE_HOST:
        return failure(QStringLiteral("O servidor de e-mail \"%1\" não foi encontrado; verifique o "
                                      "nome do servidor e a rede.")
                           .arg(s.host.trimmed()),
                       true);
    case CURLE_COULDNT_CONNECT:
        if (osErrno == ECONNREFUSED)
            return failure(QStringLiteral("O servidor de e-mail %1 recusou a conexão (nenhum "
                                          "serviço atende nessa porta).")
                               .arg(where),
                           true);
        if (osErrno == ENETUNREACH || osErrno == EHOSTUNREACH)
            return failure(
                QStringLiteral("O servidor de e-mail %1 não pode ser alcançado pela rede.")
                    .arg(where),
                true);
        return failure(QStringLiteral("Não foi possível conectar ao servidor de e-mail %1 (%2).")
                           .arg(where, why),
                       true);
    case CURLE_OPERATION_TIMEDOUT:
        return failure(QStringLiteral("O servidor de e-mail %1 não respondeu em %2 segundos.")
                           .arg(where)
                           .arg(qMax(1, s.timeoutSeconds)),
                       true);
    case CURLE_USE_SSL_FAILED:
        return failure(QStringLiteral("O servidor de e-mail %1 não oferece conexão segura "
                                      "(STARTTLS); nada foi enviado.")
                           .arg(where),
                       false);
    case CURLE_PEER_FAILED_VERIFICATION:
        return failure(QStringLiteral("O certificado do servidor de e-mail %1 não pôde ser "
                                      "verificado (%2); nada foi enviado.")
                           .arg(where, why),
                       false);
    case CURLE_SSL_CACERT_BADFILE:
        return failure(
            QStringLiteral("O arquivo de certificados \"%1\" não pôde ser lido.").arg(s.caFile),
            false);
    case CURLE_SSL_CONNECT_ERROR:
        return failure(QStringLiteral("A conexão segura (TLS) com o servidor de e-mail %1 falhou "
                                      "(%2); verifique a porta e o tipo de segurança.")
                           .arg(where, why),
                       false);
    case CURLE_LOGIN_DENIED:
        return failure(QStringLiteral("O servidor de e-mail %1 não aceitou nenhuma forma de login "
                                      "deste programa (%2).")
                           .arg(where, why),
                       false);
    case CURLE_ABORTED_BY_CALLBACK:
        return failure(QStringLiteral("O envio do e-mail foi cancelado."), false);
    case CURLE_GOT_NOTHING:
    case CURLE_RECV_ERROR:
    case CURLE_SEND_ERROR:
    case CURLE_WEIRD_SERVER_REPLY:
    case CURLE_PARTIAL_FILE:
        return failure(
            QStringLiteral("A conexão com o servidor de e-mail %1 foi interrompida (%2).")
                .arg(where, why),
            true);
    default:
        return failure(
            QStringLiteral("O e-mail não pôde ser enviado ao servidor %1 (%2).").arg(where, why),
            false);
    }
}

struct EasyDeleter
{
    void operator()(CURL *h) const { curl_easy_cleanup(h); }
};
struct MultiDeleter
{
    void operator()(CURLM *h) const { curl_multi_cleanup(h); }
};
struct ListDeleter
{
    void operator()(curl_slist *l) const { curl_slist_free_all(l); }
};

} // namespace

MailOutcome send(const MailSettings &settings, const MailMessage &message,
                 const std::atomic_bool *cancel)
{
    if (const QString p = settingsProblem(settings); !p.isEmpty())
        return failure(p, false, 0, 0);
    if (const QString p = MailComposer::problem(message); !p.isEmpty())
        return failure(p, false, 0, 0);
    initCurl();

    Conversation c;
    c.payload = MailComposer::compose(message, Clock::now());
    const int timeout = qMax(1, settings.timeoutSeconds);

    std::unique_ptr<CURL, EasyDeleter> easy(curl_easy_init());
    std::unique_ptr<CURLM, MultiDeleter> multi(curl_multi_init());
    if (!easy || !multi)
        return failure(QStringLiteral("Não há memória para enviar o e-mail."), false, 0, 0);
    std::unique_ptr<curl_slist, ListDeleter> recipients;
    for (const MailAddress &to : message.to) {
        curl_slist *grown = curl_slist_append(
            recipients.get(), MailComposer::envelopeAddress(to.address).constData());
        if (!grown)
            return failure(QStringLiteral("Não há memória para enviar o e-mail."), false, 0, 0);
        (void)recipients.release();
        recipients.reset(grown);
    }
    char detail[CURL_ERROR_SIZE] = {};
    CURL *h = easy.get();
    const QByteArray address = url(settings);
    const QByteArray from = MailComposer::envelopeAddress(message.from.address);
    const QByteArray user = settings.user.toUtf8();
    const QByteArray password = settings.password.toUtf8();
    const QByteArray caFile = settings.caFile.toLocal8Bit();

    curl_easy_setopt(h, CURLOPT_URL, address.constData());
    curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "smtp,smtps");
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(h, CURLOPT_ERRORBUFFER, detail);
    curl_easy_setopt(h, CURLOPT_MAIL_FROM, from.constData());
    curl_easy_setopt(h, CURLOPT_MAIL_RCPT, recipients.get());
    curl_easy_setopt(h, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(h, CURLOPT_READFUNCTION, readPayload);
    curl_easy_setopt(h, CURLOPT_READDATA, &c);
    if (!settings.user.isEmpty()) {
        curl_easy_setopt(h, CURLOPT_USERNAME, user.constData());
        curl_easy_setopt(h, CURLOPT_PASSWORD, password.constData());
    }
    if (settings.security == MailSettings::Security::StartTls)
        curl_easy_setopt(h, CURLOPT_USE_SSL, long(CURLUSESSL_ALL));
    curl_easy_setopt(h, CURLOPT_SSL_VERIFYPEER, settings.verifyCertificate ? 1L : 0L);
    curl_easy_setopt(h, CURLOPT_SSL_VERIFYHOST, settings.verifyCertificate ? 2L : 0L);
    if (!settings.caFile.isEmpty())
        curl_easy_setopt(h, CURLOPT_CAINFO, caFile.constData());
    curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT, long(timeout));
    curl_easy_setopt(h, CURLOPT_SERVER_RESPONSE_TIMEOUT, long(timeout));
    curl_easy_setopt(h, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(h, CURLOPT_LOW_SPEED_TIME, long(timeout));
    curl_easy_setopt(h, CURLOPT_TIMEOUT, long(timeout) * 10);
    curl_easy_setopt(h, CURLOPT_FORBID_REUSE, 1L);
    curl_easy_setopt(h, CURLOPT_SOCKOPTFUNCTION, socketOpened);
    curl_easy_setopt(h, CURLOPT_SOCKOPTDATA, &c);
    curl_easy_setopt(h, CURLOPT_CLOSESOCKETFUNCTION, socketClosing);
    curl_easy_setopt(h, CURLOPT_CLOSESOCKETDATA, &c);
    // The conversation is watched through the debug hook; with a hook set,
    // curl writes nothing to the error output.
    curl_easy_setopt(h, CURLOPT_DEBUGFUNCTION, watch);
    curl_easy_setopt(h, CURLOPT_DEBUGDATA, &c);
    curl_easy_setopt(h, CURLOPT_VERBOSE, 1L);

    curl_multi_add_handle(multi.get(), h);
    int running = 1;
    bool cancelled = false;
    QDeadlineTimer giveUp;
    while (running) {
        if (curl_multi_perform(multi.get(), &running) != CURLM_OK || !running)
            break;
        if (!cancelled && cancel && cancel->load()) {
            // Cutting the connection makes curl fail at once, whatever it
            // waits for; leaving mid-send instead would make it wait for the
            // server's reply to an end of data it sends on the way out.
            cancelled = true;
            for (const curl_socket_t fd : c.sockets)
                ::shutdown(fd, SHUT_RDWR);
            giveUp.setRemainingTime(2000);
        }
        if (cancelled && giveUp.hasExpired())
            break; // still resolving the name: nothing to wait for
        curl_multi_poll(multi.get(), nullptr, 0, 100, nullptr);
    }
    CURLcode result = CURLE_FAILED_INIT;
    int left = 0;
    while (CURLMsg *m = curl_multi_info_read(multi.get(), &left))
        if (m->msg == CURLMSG_DONE && m->easy_handle == h)
            result = m->data.result;
    long osErrno = 0;
    curl_easy_getinfo(h, CURLINFO_OS_ERRNO, &osErrno);
    curl_multi_remove_handle(multi.get(), h);
    if (cancelled)
        result = CURLE_ABORTED_BY_CALLBACK;
    if (result == CURLE_OK) {
        MailOutcome o;
        o.sent = true;
        o.serverCode = c.dataReplyCode;
        o.attempts = 1;
        return o;
    }
    return explain(result, c, settings, osErrno, detail);
}

MailOutcome sendWithAttempts(const MailSettings &settings, const MailMessage &message, int attempts,
                             int pauseMs, const std::atomic_bool *cancel)
{
    attempts = qMax(1, attempts);
    MailOutcome outcome;
    for (int i = 1; i <= attempts; ++i) {
        outcome = send(settings, message, cancel);
        if (outcome.attempts == 0)
            return outcome; // refused before connecting: trying again cannot help
        outcome.attempts = i;
        if (outcome.sent || !outcome.retryable || i == attempts)
            return outcome;
        for (int waited = 0; waited < pauseMs; waited += 50) {
            if (cancel && cancel->load())
                return failure(QStringLiteral("O envio do e-mail foi cancelado."), false, 0, i);
            QThread::msleep(ulong(qMin(50, pauseMs - waited)));
        }
    }
    return outcome;
}

} // namespace SmtpSender
