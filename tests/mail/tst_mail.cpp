// The SMTP sender against a real server on loopback: what arrives is read
// back by Python's email package (names, subject, body bytes, attachments),
// refusals carry the server's own words, and a server that is silent, absent
// or untrusted ends in a clear failure within the configured time.

#include "SmtpPeer.h"
#include "TestMain.h"

#include "mail/MailSendJob.h"
#include "mail/SmtpSender.h"
#include "widgets/Clock.h"

#include <QElapsedTimer>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTemporaryFile>
#include <QThread>
#include <QTimer>
#include <QtTest>

#include <cstdio>
#include <memory>
#include <unistd.h>

namespace {

// What the process writes to its error output meanwhile.
class StderrCapture
{
public:
    StderrCapture()
    {
        m_file.open();
        std::fflush(stderr);
        m_saved = dup(STDERR_FILENO);
        dup2(m_file.handle(), STDERR_FILENO);
    }
    ~StderrCapture() { restore(); }
    QByteArray text()
    {
        restore();
        m_file.seek(0);
        return m_file.readAll();
    }

private:
    void restore()
    {
        if (m_saved < 0)
            return;
        std::fflush(stderr);
        dup2(m_saved, STDERR_FILENO);
        close(m_saved);
        m_saved = -1;
    }
    QTemporaryFile m_file;
    int m_saved = -1;
};

QByteArray partData(const QJsonValue &part)
{
    return QByteArray::fromBase64(part.toObject().value("data").toString().toLatin1());
}

QStringList strings(const QJsonValue &array)
{
    QStringList list;
    for (const QJsonValue &v : array.toArray())
        list << v.toString();
    return list;
}

// "address|name" for each parsed address.
QStringList addressList(const QJsonValue &array)
{
    QStringList list;
    for (const QJsonValue &v : array.toArray())
        list << v.toObject().value("address").toString() + '|' +
                    v.toObject().value("name").toString();
    return list;
}

QList<MailAddress> recipients(const QStringList &entries)
{
    QList<MailAddress> list;
    for (const QString &e : entries)
        list << MailAddress{e.section('|', 0, 0), e.section('|', 1)};
    return list;
}

int countEvents(const QStringList &events, const QString &prefix)
{
    int n = 0;
    for (const QString &e : events)
        n += e.startsWith(prefix) ? 1 : 0;
    return n;
}

// An HTML body that trips every naive encoder: accents, a line that is only
// a dot (the end of DATA if not stuffed), "From " opening a line, a line far
// over the 998-byte limit, a trailing blank, a tab, "=", a lone LF and a lone
// CR, and no line end after the last line.
QString awkwardHtml()
{
    return QString("<html>\r\n<head>\r\n\r\n  <meta http-equiv=\"content-type\" "
                   "content=\"text/html; charset=UTF-8\">\r\n</head>\r\n"
                   "<body><p>Ação &amp; preço: R$ 1.234,56 — conferido</p>\r\n"
                   ".\r\n..\r\n.começa com ponto\r\nFrom here on\r\n") +
           QString(1200, 'x') +
           "\r\nblank at the end \r\ntab\t\r\nsinal = igual =3D\r\nlone\nLF, lone\rCR\r\n"
           "</body>\r\n</html>";
}

MailMessage sampleMessage()
{
    MailMessage m;
    m.from = {"relatorios@empresa.com.br", "Distribuidora São João Ltda"};
    m.to = {
        {"ana@filial.com.br", "Ana Conceição"},
        {"bob@filial.com.br", ""},
        {"carla@filial.com.br", "Carla \"Gerente\" <Financeiro>"},
        {"d@filial.com.br", "Departamento Financeiro e Contábil da Filial de São José dos Campos"}};
    m.subject = "CONTAS A PAGAR – Relatório de Março";
    m.html = awkwardHtml();
    return m;
}

MailMessage plainMessage(const QString &from = "relatorios@empresa.com.br",
                         const QStringList &to = {"ana@filial.com.br|Ana"})
{
    MailMessage m;
    m.from = {from, "Empresa"};
    m.to = recipients(to);
    m.subject = "CONTAS A PAGAR";
    m.html = "<p>ok</p>";
    return m;
}

quint16 freePort()
{
    QTcpServer s;
    s.listen(QHostAddress::LocalHost, 0);
    return s.serverPort(); // closed when s goes: nothing listens there any more
}

} // namespace

class TstMail : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup() { Clock::setFixed({}); }

    void deliversTheMessage_data();
    void deliversTheMessage();
    void textAlternativeAndAttachments();
    void subjectsArriveIntact_data();
    void subjectsArriveIntact();
    void lineBreaksCannotAddHeaders();
    void refusedBeforeConnecting_data();
    void refusedBeforeConnecting();
    void loginRefused_data();
    void loginRefused();
    void serverRefusals_data();
    void serverRefusals();
    void securityFailures_data();
    void securityFailures();
    void silentServerTimesOut_data();
    void silentServerTimesOut();
    void unconfirmedMessageIsNotRetried();
    void nothingListening();
    void jobReportsOnTheUiThreadWhileTheLoopRuns();
    void jobCancelAndDestruction();

private:
    std::unique_ptr<SmtpPeer> peer;
};

void TstMail::initTestCase()
{
    peer = std::make_unique<SmtpPeer>();
    QVERIFY2(peer->ok(), qPrintable(peer->error()));
}

void TstMail::cleanupTestCase()
{
    peer.reset();
}

void TstMail::init()
{
    peer->clear();
}

void TstMail::deliversTheMessage_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("verify");
    QTest::addColumn<bool>("tls");
    QTest::addColumn<QString>("mechanism");
    QTest::newRow("STARTTLS, login LOGIN") << "starttls" << true << true << "LOGIN";
    QTest::newRow("TLS implícito, login PLAIN") << "tls" << true << true << "PLAIN";
    QTest::newRow("TLS sem verificar o certificado") << "tls" << false << true << "PLAIN";
    QTest::newRow("sem segurança nem login") << "plain" << true << false << "";
}

void TstMail::deliversTheMessage()
{
    QFETCH(QString, kind);
    QFETCH(bool, verify);
    QFETCH(bool, tls);
    QFETCH(QString, mechanism);
    Clock::setFixed(QDateTime(QDate(2024, 3, 5), QTime(14, 3, 0)));
    MailSettings s = peer->settings(kind);
    if (!verify) {
        s.verifyCertificate = false;
        s.caFile.clear();
    }
    const MailMessage m = sampleMessage();
    const MailOutcome o = SmtpSender::send(s, m);
    QVERIFY2(o.sent, qPrintable(o.error));
    QCOMPARE(o.serverCode, 250);
    QCOMPARE(o.attempts, 1);

    const QList<QJsonObject> got = peer->messages();
    QCOMPARE(got.size(), 1);
    const QJsonObject r = got.first();
    QCOMPARE(r.value("tls").toBool(), tls);
    QCOMPARE(r.value("auth_mechanism").toString(), mechanism);
    QCOMPARE(r.value("auth_user").toString(), mechanism.isEmpty() ? "" : "relatorios");
    QCOMPARE(r.value("mail_from").toString(), "relatorios@empresa.com.br");
    QCOMPARE(strings(r.value("rcpt_tos")), QStringList({"ana@filial.com.br", "bob@filial.com.br",
                                                        "carla@filial.com.br", "d@filial.com.br"}));
    QCOMPARE(addressList(r.value("from")),
             QStringList{"relatorios@empresa.com.br|Distribuidora São João Ltda"});
    QCOMPARE(addressList(r.value("to")),
             QStringList({"ana@filial.com.br|Ana Conceição", "bob@filial.com.br|",
                          "carla@filial.com.br|Carla \"Gerente\" <Financeiro>",
                          "d@filial.com.br|Departamento Financeiro e Contábil da Filial de São "
                          "José dos Campos"}));
    QCOMPARE(r.value("subject").toString(), "CONTAS A PAGAR – Relatório de Março");
    QCOMPARE(r.value("date").toString(), "Tue, 05 Mar 2024 14:03:00 -0300");
    QVERIFY2(QRegularExpression("^<[0-9a-f]{32}\\.[0-9]+@empresa\\.com\\.br>$")
                 .match(r.value("message_id").toString())
                 .hasMatch(),
             qPrintable(r.value("message_id").toString()));
    QCOMPARE(strings(r.value("structure")), QStringList({"multipart/mixed", "text/html"}));
    const QJsonObject html = r.value("parts").toArray().at(0).toObject();
    QCOMPARE(html.value("charset").toString(), "utf-8");
    QCOMPARE(partData(html), m.html.toUtf8());

    // Well-formed on the wire: nothing the parser had to repair, CR LF only,
    // no line over 78 characters.
    QCOMPARE(strings(r.value("defects")).join(", "), QString());
    QCOMPARE(r.value("stray_line_ends").toBool(), false);
    QVERIFY2(r.value("max_line").toInt() <= 78,
             qPrintable(QString::number(r.value("max_line").toInt())));
}

void TstMail::textAlternativeAndAttachments()
{
    MailMessage m = plainMessage();
    m.text = "Relatório em texto\r\nsegunda linha";
    QByteArray pdf;
    for (int i = 0; i < 40000; ++i)
        pdf += char(i * 7 % 256);
    m.attachments = {
        {"Relatório de Março – Filial São José dos Campos.pdf", "application/pdf", pdf},
        {"C:\\Relatorios\\dados.csv", "text/csv", "nota;valor\r\n1;10,00\r\n"},
        {"vazio.bin", "não é um tipo", QByteArray()}};
    const MailOutcome o = SmtpSender::send(peer->settings("tls"), m);
    QVERIFY2(o.sent, qPrintable(o.error));

    const QList<QJsonObject> got = peer->messages();
    QCOMPARE(got.size(), 1);
    const QJsonObject r = got.first();
    QCOMPARE(strings(r.value("structure")),
             QStringList({"multipart/mixed", "multipart/alternative", "text/plain", "text/html",
                          "application/pdf", "text/csv", "application/octet-stream"}));
    const QJsonArray parts = r.value("parts").toArray();
    QCOMPARE(partData(parts.at(0)), QByteArray("Relatório em texto\r\nsegunda linha"));
    QCOMPARE(partData(parts.at(1)), QByteArray("<p>ok</p>"));
    QCOMPARE(parts.at(2).toObject().value("filename").toString(),
             "Relatório de Março – Filial São José dos Campos.pdf");
    QCOMPARE(parts.at(2).toObject().value("disposition").toString(), "attachment");
    QCOMPARE(partData(parts.at(2)), pdf);
    QCOMPARE(parts.at(3).toObject().value("filename").toString(), "dados.csv");
    QCOMPARE(partData(parts.at(3)), QByteArray("nota;valor\r\n1;10,00\r\n"));
    QCOMPARE(parts.at(4).toObject().value("filename").toString(), "vazio.bin");
    QCOMPARE(partData(parts.at(4)), QByteArray());
    QCOMPARE(strings(r.value("defects")).join(", "), QString());
    QVERIFY(r.value("max_line").toInt() <= 78);
}

void TstMail::subjectsArriveIntact_data()
{
    QTest::addColumn<QString>("subject");
    QTest::addColumn<QString>("expected");
    const QString longAscii = "Relatorio Geral de Contas a Pagar no Periodo Por Filial em Aberto "
                              "de 01/03/2024 a 31/03/2024 - Filial Centro e Filial Norte";
    const QString longAccented = "Relatório Geral de Contas a Pagar no Período Por Filial em "
                                 "Aberto – Filial São José dos Campos, Conceição e Açaí 💰✅";
    QTest::newRow("ASCII curto") << "CONTAS A PAGAR"
                                 << "CONTAS A PAGAR";
    QTest::newRow("acentos") << "Contas a Pagar – Março"
                             << "Contas a Pagar – Março";
    QTest::newRow("ASCII longo") << longAscii << longAscii;
    QTest::newRow("acentos e emoji, longo") << longAccented << longAccented;
    QTest::newRow("parece codificado") << "=?UTF-8?B?SGFja2Vk?="
                                       << "=?UTF-8?B?SGFja2Vk?=";
    QTest::newRow("vazio") << ""
                           << "";
}

void TstMail::subjectsArriveIntact()
{
    QFETCH(QString, subject);
    QFETCH(QString, expected);
    MailMessage m = plainMessage();
    m.subject = subject;
    const MailOutcome o = SmtpSender::send(peer->settings("plain"), m);
    QVERIFY2(o.sent, qPrintable(o.error));
    const QList<QJsonObject> got = peer->messages();
    QCOMPARE(got.size(), 1);
    QCOMPARE(got.first().value("subject").toString(), expected);
    QCOMPARE(strings(got.first().value("defects")).join(", "), QString());
    QVERIFY(got.first().value("max_line").toInt() <= 78);
}

void TstMail::lineBreaksCannotAddHeaders()
{
    // A name or subject typed with a line break must not become a header of
    // its own (a hidden Bcc), nor an extra recipient.
    MailMessage m = plainMessage();
    m.subject = "Olá\r\nBcc: intruso@fora.com";
    m.from.name = "Empresa\r\nBcc: intruso@fora.com";
    m.to = {{"ana@filial.com.br", "Ana\nReply-To: intruso@fora.com"}};
    const MailOutcome o = SmtpSender::send(peer->settings("plain"), m);
    QVERIFY2(o.sent, qPrintable(o.error));
    const QJsonObject r = peer->messages().value(0);
    QCOMPARE(strings(r.value("header_names")),
             QStringList(
                 {"From", "To", "Subject", "Date", "Message-ID", "MIME-Version", "Content-Type"}));
    QCOMPARE(strings(r.value("rcpt_tos")), QStringList{"ana@filial.com.br"});
    QCOMPARE(r.value("subject").toString(), "Olá  Bcc: intruso@fora.com");
    QCOMPARE(addressList(r.value("from")),
             QStringList{"relatorios@empresa.com.br|Empresa Bcc: intruso@fora.com"});
    QCOMPARE(addressList(r.value("to")),
             QStringList{"ana@filial.com.br|Ana Reply-To: intruso@fora.com"});
}

void TstMail::refusedBeforeConnecting_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QStringList>("to");
    QTest::addColumn<QString>("host");
    QTest::addColumn<int>("port");
    QTest::addColumn<QString>("expected");
    const QString f = "relatorios@empresa.com.br";
    const QString h = "127.0.0.1";
    const int p = -1; // the plain server's port
    QTest::newRow("nenhum destinatário")
        << f << QStringList() << h << p
        << "Nenhum destinatário foi informado; o e-mail não foi enviado.";
    QTest::newRow("destinatário com nome, sem endereço")
        << f << QStringList{"ana@filial.com.br|Ana", "|Bruno"} << h << p
        << "O destinatário \"Bruno\" está sem endereço de e-mail.";
    QTest::newRow("destinatário em branco")
        << f << QStringList{"  |"} << h << p << "Um destinatário está sem endereço de e-mail.";
    QTest::newRow("sem arroba") << f << QStringList{"fulano|"} << h << p
                                << "O endereço de e-mail \"fulano\" não é válido.";
    QTest::newRow("comando escondido no endereço")
        << f << QStringList{"a@b.com>\nRCPT TO:<x@y.com|"} << h << p
        << "O endereço de e-mail \"a@b.com> RCPT TO:<x@y.com\" não é válido.";
    QTest::newRow("endereço acentuado")
        << f << QStringList{"joão@empresa.com.br|"} << h << p
        << "O endereço de e-mail \"joão@empresa.com.br\" não é válido.";
    QTest::newRow("sem remetente") << "" << QStringList{"ana@filial.com.br|"} << h << p
                                   << "O endereço do remetente não foi informado.";
    QTest::newRow("remetente inválido")
        << "relatorios em empresa" << QStringList{"ana@filial.com.br|"} << h << p
        << "O endereço do remetente \"relatorios em empresa\" não é um endereço de e-mail válido.";
    QTest::newRow("sem servidor") << f << QStringList{"ana@filial.com.br|"} << "" << p
                                  << "O servidor de e-mail não foi configurado.";
    QTest::newRow("servidor com caminho")
        << f << QStringList{"ana@filial.com.br|"} << "smtp.empresa.com.br/x" << p
        << "O nome do servidor de e-mail \"smtp.empresa.com.br/x\" não é válido.";
    QTest::newRow("porta zero") << f << QStringList{"ana@filial.com.br|"} << h << 0
                                << "A porta 0 do servidor de e-mail não é válida.";
}

void TstMail::refusedBeforeConnecting()
{
    QFETCH(QString, from);
    QFETCH(QStringList, to);
    QFETCH(QString, host);
    QFETCH(int, port);
    QFETCH(QString, expected);
    MailSettings s = peer->settings("plain");
    s.host = host;
    if (port >= 0)
        s.port = port;
    const MailOutcome o = SmtpSender::sendWithAttempts(s, plainMessage(from, to), 3, 0);
    QVERIFY(!o.sent);
    QCOMPARE(o.error, expected);
    QCOMPARE(o.retryable, false);
    QCOMPARE(o.attempts, 0);
    QCOMPARE(peer->events(), QStringList()); // the server never heard of it
}

void TstMail::loginRefused_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("mechanism");
    QTest::newRow("STARTTLS") << "starttls"
                              << "LOGIN";
    QTest::newRow("TLS implícito") << "tls"
                                   << "PLAIN";
}

void TstMail::loginRefused()
{
    QFETCH(QString, kind);
    QFETCH(QString, mechanism);
    MailSettings s = peer->settings(kind);
    s.password = "senha-errada-7314";
    MailOutcome o;
    QByteArray printed;
    {
        StderrCapture capture;
        o = SmtpSender::sendWithAttempts(s, plainMessage(), 3, 0);
        printed = capture.text();
    }
    QVERIFY(!o.sent);
    QCOMPARE(o.error, QString("O servidor de e-mail 127.0.0.1 porta %1 recusou o login do usuário "
                              "\"relatorios\": 535 5.7.8 Usuario ou senha invalidos (servidor de "
                              "teste)")
                          .arg(s.port));
    QCOMPARE(o.serverCode, 535);
    QCOMPARE(o.retryable, false);
    QCOMPARE(o.attempts, 1); // a refused login is not tried again
    QCOMPARE(peer->events().filter("AUTH "),
             QStringList{QString("AUTH %1 %2 relatorios").arg(kind, mechanism)});
    QVERIFY(peer->messages().isEmpty());
    // Nothing of the conversation (the login's lines above all) is printed.
    QCOMPARE(printed, QByteArray());
}

void TstMail::serverRefusals_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QStringList>("to");
    QTest::addColumn<QString>("refusal");
    QTest::addColumn<int>("code");
    QTest::addColumn<bool>("retryable");
    QTest::addColumn<int>("attempts");
    const QString f = "relatorios@empresa.com.br";
    QTest::newRow("destinatário ocupado: tentado três vezes")
        << f << QStringList{"ana@filial.com.br|Ana", "tempfail@filial.com.br|"}
        << "o destinatário <tempfail@filial.com.br>: 451 4.3.0 Caixa ocupada, tente mais tarde"
        << 451 << true << 3;
    QTest::newRow("destinatário desconhecido, depois de um aceito")
        << f << QStringList{"ana@filial.com.br|Ana", "reject@filial.com.br|"}
        << "o destinatário <reject@filial.com.br>: 550 5.1.1 Destinatario desconhecido" << 550
        << false << 1;
    QTest::newRow("remetente") << "recusado@empresa.com.br" << QStringList{"ana@filial.com.br|"}
                               << "o remetente: 553 5.7.1 Remetente nao autorizado" << 553 << false
                               << 1;
    QTest::newRow("mensagem") << "semdados@empresa.com.br" << QStringList{"ana@filial.com.br|"}
                              << "a mensagem: 554 5.6.0 Mensagem recusada pelo filtro" << 554
                              << false << 1;
}

void TstMail::serverRefusals()
{
    QFETCH(QString, from);
    QFETCH(QStringList, to);
    QFETCH(QString, refusal);
    QFETCH(int, code);
    QFETCH(bool, retryable);
    QFETCH(int, attempts);
    const MailSettings s = peer->settings("plain");
    const MailOutcome o = SmtpSender::sendWithAttempts(s, plainMessage(from, to), 3, 0);
    QVERIFY(!o.sent);
    QCOMPARE(
        o.error,
        QString("O servidor de e-mail 127.0.0.1 porta %1 recusou %2").arg(s.port).arg(refusal));
    QCOMPARE(o.serverCode, code);
    QCOMPARE(o.retryable, retryable);
    QCOMPARE(o.attempts, attempts);
    QCOMPARE(countEvents(peer->events(), "EHLO plain"), attempts);
    QVERIFY(peer->messages().isEmpty()); // one refused recipient: nobody gets it
}

void TstMail::securityFailures_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("security");
    QTest::addColumn<bool>("trustTestCa");
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("end");
    const int tls = int(MailSettings::Security::ImplicitTls);
    const int starttls = int(MailSettings::Security::StartTls);
    const QString untrusted = "O certificado do servidor de e-mail 127.0.0.1 porta %1 não pôde ser "
                              "verificado (";
    QTest::newRow("certificado não confiável, TLS")
        << "tls" << tls << false << untrusted << "); nada foi enviado.";
    QTest::newRow("certificado não confiável, STARTTLS")
        << "starttls" << starttls << false << untrusted << "); nada foi enviado.";
    QTest::newRow("STARTTLS exigido, servidor não oferece")
        << "plain" << starttls << true
        << "O servidor de e-mail 127.0.0.1 porta %1 não oferece conexão segura (STARTTLS); nada "
           "foi enviado."
        << "";
    QTest::newRow("TLS numa porta sem TLS")
        << "plain" << tls << true
        << "A conexão segura (TLS) com o servidor de e-mail 127.0.0.1 porta %1 falhou ("
        << "); verifique a porta e o tipo de segurança.";
}

void TstMail::securityFailures()
{
    QFETCH(QString, kind);
    QFETCH(int, security);
    QFETCH(bool, trustTestCa);
    QFETCH(QString, start);
    QFETCH(QString, end);
    MailSettings s = peer->settings(kind);
    s.security = MailSettings::Security(security);
    s.user = SmtpPeer::User;
    s.password = SmtpPeer::Password;
    if (!trustTestCa)
        s.caFile.clear(); // the system's authorities do not know the test's certificate
    const MailOutcome o = SmtpSender::sendWithAttempts(s, plainMessage(), 3, 0);
    QVERIFY(!o.sent);
    QVERIFY2(o.error.startsWith(start.arg(s.port)) && o.error.endsWith(end), qPrintable(o.error));
    QCOMPARE(o.retryable, false);
    QCOMPARE(o.attempts, 1);
    QCOMPARE(countEvents(peer->events(), "AUTH"), 0); // the password never left
    QVERIFY(peer->messages().isEmpty());
}

void TstMail::silentServerTimesOut_data()
{
    QTest::addColumn<int>("security");
    QTest::newRow("sem segurança: nenhuma saudação") << int(MailSettings::Security::None);
    QTest::newRow("STARTTLS: nenhuma saudação") << int(MailSettings::Security::StartTls);
    QTest::newRow("TLS: o aperto de mão não termina") << int(MailSettings::Security::ImplicitTls);
}

void TstMail::silentServerTimesOut()
{
    QFETCH(int, security);
    MailSettings s = peer->settings("silent");
    s.security = MailSettings::Security(security);
    s.timeoutSeconds = 2;
    QElapsedTimer clock;
    clock.start();
    const MailOutcome o = SmtpSender::send(s, plainMessage());
    const qint64 elapsed = clock.elapsed();
    QVERIFY(!o.sent);
    QCOMPARE(o.error,
             QString("O servidor de e-mail 127.0.0.1 porta %1 não respondeu em 2 segundos.")
                 .arg(s.port));
    QCOMPARE(o.retryable, true);
    QVERIFY2(elapsed >= 1900 && elapsed < 4000, qPrintable(QString::number(elapsed)));
}

void TstMail::unconfirmedMessageIsNotRetried()
{
    // The server took the whole message and went quiet: it may have
    // delivered it, so this is no success, and no second copy is sent.
    MailSettings s = peer->settings("mute");
    s.timeoutSeconds = 2;
    const MailOutcome o = SmtpSender::sendWithAttempts(s, sampleMessage(), 3, 0);
    QVERIFY(!o.sent);
    QCOMPARE(o.error, QString("O servidor de e-mail 127.0.0.1 porta %1 não confirmou o recebimento "
                              "da mensagem (sem resposta em 2 segundos); ela pode ter sido "
                              "entregue. Confira com os destinatários antes de enviar de novo.")
                          .arg(s.port));
    QCOMPARE(o.retryable, false);
    QCOMPARE(o.attempts, 1);
}

void TstMail::nothingListening()
{
    MailSettings s = peer->settings("plain");
    s.port = freePort();
    QElapsedTimer clock;
    clock.start();
    const MailOutcome o = SmtpSender::send(s, plainMessage());
    QVERIFY(!o.sent);
    QCOMPARE(o.error, QString("O servidor de e-mail 127.0.0.1 porta %1 recusou a conexão (nenhum "
                              "serviço atende nessa porta).")
                          .arg(s.port));
    QCOMPARE(o.retryable, true);
    QVERIFY(clock.elapsed() < 2000);
}

void TstMail::jobReportsOnTheUiThreadWhileTheLoopRuns()
{
    // A silent server keeps the send busy for two seconds; the event loop
    // must go on ticking meanwhile, and the outcome arrive on this thread.
    MailSettings s = peer->settings("silent");
    s.timeoutSeconds = 2;
    MailSendJob job(s, plainMessage());
    job.setAttempts(1);
    int ticks = 0;
    QTimer timer;
    connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    timer.start(20);
    QThread *deliveredOn = nullptr;
    MailOutcome outcome;
    int deliveries = 0;
    connect(&job, &MailSendJob::finished, [&](const MailOutcome &o) {
        deliveredOn = QThread::currentThread();
        outcome = o;
        ++deliveries;
    });
    job.start();
    QVERIFY(job.isRunning());
    QTRY_COMPARE_WITH_TIMEOUT(deliveries, 1, 8000);
    QCOMPARE(deliveredOn, QThread::currentThread());
    QCOMPARE(outcome.error,
             QString("O servidor de e-mail 127.0.0.1 porta %1 não respondeu em 2 segundos.")
                 .arg(s.port));
    QVERIFY2(ticks >= 50, qPrintable(QString::number(ticks))); // about 100 in two seconds
    QVERIFY(!job.isRunning());

    // Another send, to a server that takes it: one delivery each.
    MailSendJob good(peer->settings("tls"), sampleMessage());
    connect(&good, &MailSendJob::finished, [&](const MailOutcome &o) {
        outcome = o;
        ++deliveries;
    });
    good.start();
    QTRY_COMPARE_WITH_TIMEOUT(deliveries, 2, 8000);
    QVERIFY2(outcome.sent, qPrintable(outcome.error));
    QCOMPARE(peer->messages().size(), 1);
    QTest::qWait(100);
    QCOMPARE(deliveries, 2); // once per send
}

void TstMail::jobCancelAndDestruction()
{
    MailSettings s = peer->settings("silent");
    s.timeoutSeconds = 30;

    // cancel(): the send ends at once, as a failure that is not retried.
    MailSendJob job(s, plainMessage());
    QSignalSpy spy(&job, &MailSendJob::finished);
    QElapsedTimer clock;
    clock.start();
    job.start();
    QTest::qWait(300);
    job.cancel();
    QVERIFY(spy.wait(3000));
    QVERIFY(clock.elapsed() < 3000);
    const MailOutcome cancelled = spy.at(0).at(0).value<MailOutcome>();
    QCOMPARE(cancelled.error, "O envio do e-mail foi cancelado.");
    QCOMPARE(cancelled.retryable, false);

    // Destroyed mid-send (the window closed): it returns promptly and says
    // nothing afterwards.
    bool spoke = false;
    auto *doomed = new MailSendJob(s, plainMessage());
    connect(doomed, &MailSendJob::finished, [&] { spoke = true; });
    doomed->start();
    QTest::qWait(300);
    clock.restart();
    delete doomed;
    QVERIFY2(clock.elapsed() < 2000, qPrintable(QString::number(clock.elapsed())));
    QTest::qWait(200);
    QVERIFY(!spoke);
}

CP_TEST(TstMail)
#include "tst_mail.moc"
