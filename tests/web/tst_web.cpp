// The postcode lookup and the company/person registry consultations against a
// real HTTP server on loopback (loopback_services.py): what each answer
// shape, refusal and network failure becomes, the captcha session, and that
// a stalled service costs no more than the timeout while the event loop runs.

#include "LoopbackServices.h"
#include "TestDb.h"
#include "TestMain.h"

#include "web/CompanyConsultation.h"
#include "web/ConsultText.h"
#include "web/HttpSession.h"
#include "web/PersonConsultation.h"
#include "web/PostcodeLookup.h"
#include "web/WebSettings.h"

#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>
#include <QTimeZone>
#include <QTimer>

Q_DECLARE_METATYPE(ConsultStatus)

namespace {

// Counts the turns of the event loop while a request waits.
class Ticker
{
public:
    Ticker()
    {
        m_timer.setInterval(20);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { ++m_ticks; });
        m_timer.start();
    }
    int ticks() const { return m_ticks; }

private:
    QTimer m_timer;
    int m_ticks = 0;
};

} // namespace

class TestWeb : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();

    void postcode_data();
    void postcode();
    void networkFailures_data();
    void networkFailures();
    void proxy();
    void sessionRunsTheLoopAndRefusesNesting();

    void companyFound();
    void companySparseAndAlphanumeric();
    void companyRefusals_data();
    void companyRefusals();

    void captchaFlow();
    void captchaFailures_data();
    void captchaFailures();
    void personFound();
    void personRefusals_data();
    void personRefusals();
    void notConfigured();

    void settingsFromIni();
    void retryAfter_data();
    void retryAfter();

private:
    WebSettings settings() const;
    QString host() const { return QStringLiteral("127.0.0.1:%1").arg(m_server.port()); }
    QString expand(QString text) const;

    LoopbackServices m_server;
    int m_closed = 0;
    StalledListener m_stuck;
};

void TestWeb::initTestCase()
{
    const QString script = TestDb::sourceDir() + QStringLiteral("/tests/web/loopback_services.py");
    QVERIFY2(QFile::exists(script), qPrintable(script));
    QString error;
    QVERIFY2(m_server.start(script, &error), qPrintable(error));
    m_closed = LoopbackServices::closedPort();
    QVERIFY(m_stuck.start());
}

WebSettings TestWeb::settings() const
{
    WebSettings s;
    s.postcodeBase = m_server.base();
    s.companyBase = m_server.base() + '/';
    s.http.connectTimeoutMs = 1000;
    s.http.timeoutMs = 2000;
    return s;
}

// {host}: the test server as messages name it; {closed}: the refusing port.
QString TestWeb::expand(QString text) const
{
    return text.replace("{host}", host())
        .replace("{closed}", QString::number(m_closed))
        .replace("{stuck}", QString::number(m_stuck.port()));
}

void TestWeb::postcode_data()
{
    QTest::addColumn<QString>("cep");
    QTest::addColumn<ConsultStatus>("status");
    QTest::addColumn<QStringList>("address"); // street, complement, district, city, state, ibge
    QTest::addColumn<QString>("message");

    QTest::newRow("encontrado") << "01001000" << ConsultStatus::Found
                                << QStringList{"Praça da Sé", "lado ímpar", "Sé",
                                               "São Paulo",   "SP",         "3550308"}
                                << "";
    QTest::newRow("código IBGE como número")
        << "70040010" << ConsultStatus::Found
        << QStringList{"SBN Quadra 1", "", "Asa Norte", "Brasília", "DF", "5300108"} << "";
    QTest::newRow("erro booleano") << "99999999" << ConsultStatus::NotFound << QStringList{}
                                   << "CEP 99999-999 não encontrado.";
    QTest::newRow("erro como texto") << "99999998" << ConsultStatus::NotFound << QStringList{}
                                     << "CEP 99999-998 não encontrado.";
    QTest::newRow("página HTML")
        << "12345678" << ConsultStatus::Failed << QStringList{}
        << "Resposta inválida do serviço de CEP {host}: não é um objeto JSON.";
    QTest::newRow("lista JSON")
        << "87654321" << ConsultStatus::Failed << QStringList{}
        << "Resposta inválida do serviço de CEP {host}: não é um objeto JSON.";
    QTest::newRow("sem cidade nem UF")
        << "11111110" << ConsultStatus::Failed << QStringList{}
        << "Resposta inválida do serviço de CEP {host}: faltam a cidade ou a UF do CEP 11111-110.";
    QTest::newRow("HTTP 500")
        << "50000000" << ConsultStatus::Failed << QStringList{}
        << "O servidor {host} respondeu com o erro HTTP 500 (Internal Server Error).";
    QTest::newRow("sete dígitos") << "0100100" << ConsultStatus::Failed << QStringList{}
                                  << "CEP inválido: \"0100100\". Informe os 8 dígitos do CEP.";
    QTest::newRow("com hífen") << "01001-000" << ConsultStatus::Failed << QStringList{}
                               << "CEP inválido: \"01001-000\". Informe os 8 dígitos do CEP.";
}

void TestWeb::postcode()
{
    QFETCH(QString, cep);
    QFETCH(ConsultStatus, status);
    QFETCH(QStringList, address);
    QFETCH(QString, message);

    PostcodeLookup lookup(settings());
    const PostcodeResult r = lookup.lookup(cep);
    QCOMPARE(r.message, expand(message));
    QCOMPARE(r.status, status);
    if (status == ConsultStatus::Found) {
        const PostcodeAddress &a = r.address;
        QCOMPARE(a.cep, cep);
        QCOMPARE((QStringList{a.street, a.complement, a.district, a.city, a.state, a.ibgeCode}),
                 address);
    }
}

void TestWeb::networkFailures_data()
{
    QTest::addColumn<QString>("base");
    QTest::addColumn<QString>("cep");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("waitsMs"); // how long the failure must take to come

    QTest::newRow("servidor fora do ar")
        << "http://127.0.0.1:{closed}"
        << "01001000"
        << "O servidor 127.0.0.1:{closed} recusou a conexão: o serviço não está no ar ou o "
           "endereço está errado."
        << 0;
    // The listen queue is full: the connection is never completed.
    QTest::newRow("conexão que não se completa")
        << "http://127.0.0.1:{stuck}"
        << "01001000"
        << "Não foi possível conectar ao servidor 127.0.0.1:{stuck} em 1 segundo. Verifique a "
           "conexão com a internet e tente novamente."
        << 1000;
    QTest::newRow("servidor que não responde")
        << "http://{host}"
        << "55555555"
        << "O servidor {host} não respondeu em 2 segundos. Tente novamente mais tarde." << 2000;
    // The bytes keep coming, so only a limit on the whole request ends it.
    QTest::newRow("resposta a conta-gotas")
        << "http://{host}"
        << "66666666"
        << "O servidor {host} não respondeu em 2 segundos. Tente novamente mais tarde." << 2000;
    QTest::newRow("nome que não existe")
        << "http://cep.exemplo.invalid"
        << "01001000"
        << "Servidor cep.exemplo.invalid não encontrado (falha na resolução do nome). Verifique a "
           "conexão com a internet e o endereço do serviço."
        << 0;
    QTest::newRow("TLS com servidor sem TLS")
        << "https://{host}"
        << "01001000"
        << "Falha na conexão segura (TLS) com o servidor {host}: " << 0;
}

void TestWeb::networkFailures()
{
    QFETCH(QString, base);
    QFETCH(QString, cep);
    QFETCH(QString, message);
    QFETCH(int, waitsMs);

    WebSettings s = settings();
    s.postcodeBase = expand(base);
    PostcodeLookup lookup(s);
    Ticker ticker;
    QElapsedTimer clock;
    clock.start();
    const PostcodeResult r = lookup.lookup(cep);
    const qint64 elapsed = clock.elapsed();

    QCOMPARE(r.status, ConsultStatus::Failed);
    if (message.endsWith(": ")) // the TLS library's own reason follows
        QVERIFY2(r.message.startsWith(expand(message)), qPrintable(r.message));
    else
        QCOMPARE(r.message, expand(message));
    QVERIFY2(elapsed < 3500, qPrintable(QString::number(elapsed)));
    if (waitsMs > 0) {
        QVERIFY2(elapsed >= waitsMs - 100, qPrintable(QString::number(elapsed)));
        // 20 ms ticks: the loop kept turning while the request waited.
        QVERIFY2(ticker.ticks() >= waitsMs / 40, qPrintable(QString::number(ticker.ticks())));
    }
}

void TestWeb::proxy()
{
    // The name does not resolve: only the proxy can answer.
    WebSettings s = settings();
    s.postcodeBase = QStringLiteral("http://cep.exemplo.invalid");
    s.http.proxyHost = QStringLiteral("127.0.0.1");
    s.http.proxyPort = m_server.port();
    PostcodeLookup lookup(s);
    const PostcodeResult r = lookup.lookup("01001000");
    QCOMPARE(r.message, QString());
    QCOMPARE(r.address.city, QStringLiteral("São Paulo"));

    s.http.proxyPort = m_closed;
    PostcodeLookup refused(s);
    const PostcodeResult down = refused.lookup("01001000");
    QCOMPARE(down.status, ConsultStatus::Failed);
    QCOMPARE(down.message, expand("O proxy 127.0.0.1:{closed} recusou a conexão: verifique o "
                                  "endereço e a porta do proxy."));

    s.http.proxyHost = QStringLiteral("proxy.exemplo.invalid");
    PostcodeLookup unknown(s);
    QCOMPARE(unknown.lookup("01001000").message,
             QStringLiteral("Proxy proxy.exemplo.invalid não encontrado (falha na resolução do "
                            "nome): verifique o endereço do proxy."));
}

void TestWeb::sessionRunsTheLoopAndRefusesNesting()
{
    HttpSettings hs;
    hs.timeoutMs = 1000;
    HttpSession session(hs);
    HttpReply nested;
    bool nestedRan = false;
    QTimer::singleShot(200, [&] {
        nested = session.get(QUrl(m_server.base() + "/ws/01001000/json/"));
        nestedRan = true;
    });
    const HttpReply stalled = session.get(QUrl(m_server.base() + "/ws/55555555/json/"));
    QVERIFY(nestedRan);
    QCOMPARE(nested.failure, HttpFailure::Busy);
    QCOMPARE(nested.error, QStringLiteral("Já há uma consulta em andamento; aguarde a resposta."));
    QCOMPARE(stalled.failure, HttpFailure::Timeout);
    QCOMPARE(stalled.status, 0);

    // Free again afterwards, and the answer's parts are there.
    const HttpReply after = session.get(QUrl(m_server.base() + "/ws/01001000/json/"));
    QCOMPARE(after.error, QString());
    QCOMPARE(after.status, 200);
    QCOMPARE(after.header("content-type"), QByteArray("application/json; charset=utf-8"));
    QCOMPARE(QJsonDocument::fromJson(after.body).object().value("uf").toString(), QString("SP"));

    hs.maxBodyBytes = 100 * 1024;
    HttpSession small(hs);
    const HttpReply big = small.get(QUrl(m_server.base() + "/grande"));
    QCOMPARE(big.failure, HttpFailure::TooLarge);
    QCOMPARE(
        big.error,
        QStringLiteral("A resposta do servidor %1 excede o tamanho máximo de 100 KB.").arg(host()));
}

void TestWeb::companyFound()
{
    const auto service = CompanyConsultation::create(settings());
    QVERIFY(!service->needsCaptcha());
    const CaptchaImage none = service->captcha();
    QVERIFY(!none.ok());
    QCOMPARE(none.message, QStringLiteral("Consulta sem captcha"));

    const CompanyAnswer raw = service->consult("19.131.243/0001-97", "", false);
    QCOMPARE(raw.message, QString());
    QCOMPARE(raw.status, ConsultStatus::Found);
    const CompanyData &d = raw.data;
    QCOMPARE(d.EmpresaTipo, QStringLiteral("MATRIZ"));
    QCOMPARE(d.Abertura, QDate(2013, 10, 3));
    QCOMPARE(d.RazaoSocial, QStringLiteral("OPEN  KNOWLEDGE   BRASIL "));
    QCOMPARE(d.Fantasia, QStringLiteral(" REDE PELO CONHECIMENTO LIVRE"));
    QCOMPARE(d.Endereco, QStringLiteral("AVENIDA PAULISTA"));
    QCOMPARE(d.Numero, QStringLiteral("37"));
    QCOMPARE(d.Complemento, QStringLiteral("ANDAR 4  SALA 2"));
    QCOMPARE(d.Bairro, QStringLiteral("BELA  VISTA"));
    QCOMPARE(d.Cidade, QStringLiteral("SAO PAULO"));
    QCOMPARE(d.UF, QStringLiteral("SP"));
    QCOMPARE(d.CEP, QStringLiteral("01311902"));
    QCOMPARE(d.Situacao, QStringLiteral("ATIVA"));
    QCOMPARE(d.CNAE1, QStringLiteral(
                          "94.30-8-00 - Atividades de associações de defesa de direitos sociais"));
    QCOMPARE(d.CNAE2,
             (QStringList{
                 "94.93-6-00 - Atividades de organizações associativas ligadas à cultura e à arte",
                 "62.01-5-01 - Desenvolvimento de programas de computador  sob encomenda"}));
    QCOMPARE(d.EndEletronico, QStringLiteral("contato@ok.org.br"));
    QCOMPARE(d.Telefone, QStringLiteral("(11) 2385-1939"));
    QCOMPARE(d.Porte, QStringLiteral("DEMAIS"));
    QCOMPARE(d.NaturezaJuridica, QStringLiteral("Associação Privada"));

    // Asked to, every text loses its double and outer blanks, list lines too.
    const CompanyAnswer clean = service->consult("19131243000197", "", true);
    QCOMPARE(clean.status, ConsultStatus::Found);
    QCOMPARE(clean.data.RazaoSocial, QStringLiteral("OPEN KNOWLEDGE BRASIL"));
    QCOMPARE(clean.data.Fantasia, QStringLiteral("REDE PELO CONHECIMENTO LIVRE"));
    QCOMPARE(clean.data.Complemento, QStringLiteral("ANDAR 4 SALA 2"));
    QCOMPARE(clean.data.Bairro, QStringLiteral("BELA VISTA"));
    QCOMPARE(
        clean.data.CNAE2.value(1),
        QStringLiteral("62.01-5-01 - Desenvolvimento de programas de computador sob encomenda"));
    QCOMPARE(clean.data.Endereco, QStringLiteral("AVENIDA PAULISTA"));
}

void TestWeb::companySparseAndAlphanumeric()
{
    const auto service = CompanyConsultation::create(settings());
    const CompanyAnswer a = service->consult("06.990.590/0001-23", "", false);
    QCOMPARE(a.status, ConsultStatus::Found);
    const CompanyData &d = a.data;
    QCOMPARE(d.RazaoSocial, QStringLiteral("AGROPECUARIA EXEMPLO LTDA"));
    QCOMPARE(d.EmpresaTipo, QStringLiteral("FILIAL")); // from the bare identifier 2
    QVERIFY(d.Abertura.isNull());
    QCOMPARE(d.Fantasia, QString());
    QCOMPARE(d.Endereco, QStringLiteral("RUA DAS FLORES")); // not "RUA RUA DAS FLORES"
    QCOMPARE(d.Numero, QStringLiteral("S/N"));
    QCOMPARE(d.Complemento, QString());
    QCOMPARE(d.CEP, QStringLiteral("01311000"));                        // was the number 1311000
    QCOMPARE(d.CNAE1, QStringLiteral("01.11-3-01 - Cultivo de arroz")); // was the number 111301
    QCOMPARE(d.CNAE2, QStringList()); // placeholder {0, ""} skipped
    QCOMPARE(d.Telefone, QStringLiteral("(19) 98765-4321"));
    QCOMPARE(d.EndEletronico, QString());
    QCOMPARE(d.Situacao, QStringLiteral("BAIXADA"));

    // Letters in the first twelve places pass through, typed small or capital.
    const CompanyAnswer alpha = service->consult("12.abc.345/01de-35", "", false);
    QCOMPARE(alpha.message, QString());
    QCOMPARE(alpha.data.RazaoSocial, QStringLiteral("ALFANUMERICA SERVICOS LTDA"));
    QCOMPARE(alpha.data.Cidade, QStringLiteral("CURITIBA"));
}

void TestWeb::companyRefusals_data()
{
    QTest::addColumn<QString>("base");
    QTest::addColumn<QString>("cnpj");
    QTest::addColumn<ConsultStatus>("status");
    QTest::addColumn<int>("retryAfter");
    QTest::addColumn<QString>("message");

    const QString server = "http://{host}";
    QTest::newRow("não encontrado (404)")
        << server << "00.000.000/0001-91" << ConsultStatus::NotFound << -1
        << "CNPJ 00.000.000/0001-91 não encontrado no cadastro da Receita Federal.";
    QTest::newRow("429 com Retry-After")
        << server << "11.111.111/0001-11" << ConsultStatus::RateLimited << 30
        << "O serviço de consulta de CNPJ {host} recusou a consulta: limite de consultas atingido "
           "(HTTP 429). Tente novamente em 30 segundos.";
    QTest::newRow("429 sem Retry-After")
        << server << "22.222.222/0001-22" << ConsultStatus::RateLimited << -1
        << "O serviço de consulta de CNPJ {host} recusou a consulta: limite de consultas atingido "
           "(HTTP 429). Tente novamente em alguns minutos.";
    QTest::newRow("JSON truncado")
        << server << "33.333.333/0001-33" << ConsultStatus::Failed << -1
        << "Resposta inválida do serviço de consulta de CNPJ {host}: não é um objeto JSON.";
    QTest::newRow("sem razão social")
        << server << "66.666.666/0001-66" << ConsultStatus::Failed << -1
        << "Resposta inválida do serviço de consulta de CNPJ {host}: falta a razão social.";
    QTest::newRow("número recusado (400)")
        << server << "55.555.555/0001-55" << ConsultStatus::Failed << -1
        << "O serviço de consulta de CNPJ {host} recusou o CNPJ 55.555.555/0001-55: CNPJ "
           "55555555000155 inválido.";
    QTest::newRow("máscara incompleta")
        << server << "19.131.243/0001-__" << ConsultStatus::Failed << -1
        << "CNPJ inválido: \"19.131.243/0001-__\". Informe os 14 caracteres do CNPJ.";
    QTest::newRow("letra nos dígitos verificadores")
        << server << "12.ABC.345/01DE-3A" << ConsultStatus::Failed << -1
        << "CNPJ inválido: \"12.ABC.345/01DE-3A\". Informe os 14 caracteres do CNPJ.";
    QTest::newRow("servidor lento")
        << server << "44.444.444/0001-44" << ConsultStatus::Failed << -1
        << "O servidor {host} não respondeu em 2 segundos. Tente novamente mais tarde.";
    QTest::newRow("sem servidor")
        << "http://127.0.0.1:{closed}"
        << "19.131.243/0001-97" << ConsultStatus::Failed << -1
        << "O servidor 127.0.0.1:{closed} recusou a conexão: o serviço não está no ar ou o "
           "endereço está errado.";
}

void TestWeb::companyRefusals()
{
    QFETCH(QString, base);
    QFETCH(QString, cnpj);
    QFETCH(ConsultStatus, status);
    QFETCH(int, retryAfter);
    QFETCH(QString, message);

    WebSettings s = settings();
    s.companyBase = expand(base);
    const auto service = CompanyConsultation::create(s);
    const CompanyAnswer a = service->consult(cnpj, "", true);
    QCOMPARE(a.message, expand(message));
    QCOMPARE(a.status, status);
    QCOMPARE(a.retryAfterSeconds, retryAfter);
    QCOMPARE(a.data.RazaoSocial, QString());
}

void TestWeb::captchaFlow()
{
    WebSettings s = settings();
    s.companyService = WebSettings::CompanyService::CaptchaForm;
    s.companyCaptchaUrl = m_server.base() + "/captcha";
    s.companyQueryUrl = m_server.base() + "/cnpj/consulta";
    const QString wrong = QStringLiteral(
        "O captcha digitado não confere. Digite o novo captcha e consulte outra vez.");

    const auto service = CompanyConsultation::create(s);
    QVERIFY(service->needsCaptcha());
    // The right text is worthless without the session cookie of a captcha.
    CompanyAnswer a = service->consult("19.131.243/0001-97", "XK7P2", false);
    QCOMPARE(a.status, ConsultStatus::WrongCaptcha);
    QCOMPARE(a.message, wrong);

    const CaptchaImage image = service->captcha();
    QCOMPARE(image.message, QString());
    QVERIFY(image.ok());
    const QImage shown = QImage::fromData(image.png, "PNG");
    QCOMPARE(shown.size(), QSize(120, 40));

    a = service->consult("19.131.243/0001-97", "x+y &z=1", false);
    QCOMPARE(a.status, ConsultStatus::WrongCaptcha);
    QCOMPARE(a.message, wrong);
    // What the server received, reserved characters and all.
    HttpSession probe;
    const QJsonObject sent =
        QJsonDocument::fromJson(probe.get(QUrl(m_server.base() + "/ultimo")).body).object();
    QCOMPARE(sent.value("captcha").toString(), QStringLiteral("x+y &z=1"));
    QCOMPARE(sent.value("cnpj").toString(), QStringLiteral("19131243000197"));

    a = service->consult("19.131.243/0001-97", "XK7P2", true);
    QCOMPARE(a.message, QString());
    QCOMPARE(a.status, ConsultStatus::Found);
    QCOMPARE(a.data.RazaoSocial, QStringLiteral("OPEN KNOWLEDGE BRASIL"));
    QCOMPARE(a.data.Abertura, QDate(2013, 10, 3));
    QCOMPARE(a.data.Endereco, QStringLiteral("AV PAULISTA"));
    QCOMPARE(a.data.CEP, QStringLiteral("01311902"));
    QCOMPARE(
        a.data.CNAE1,
        QStringLiteral("94.30-8-00 - Atividades de associações de defesa de direitos sociais"));
    QCOMPARE(a.data.CNAE2.size(), 2);
    QCOMPARE(a.data.Telefone, QStringLiteral("(11) 2385-1939"));

    // Activities as one text with a line each; the date in ISO form.
    a = service->consult("12.ABC.345/01DE-35", "XK7P2", false);
    QCOMPARE(a.status, ConsultStatus::Found);
    QCOMPARE(a.data.Abertura, QDate(2026, 7, 1));
    QCOMPARE(a.data.CNAE2,
             (QStringList{"62.01-5-01 - Desenvolvimento", "63.11-9-00 - Tratamento de dados"}));

    a = service->consult("00.000.000/0001-91", "XK7P2", false);
    QCOMPARE(a.status, ConsultStatus::NotFound);
    QCOMPARE(
        a.message,
        QStringLiteral("CNPJ 00.000.000/0001-91 não encontrado no cadastro da Receita Federal."));

    a = service->consult("19.131.243/0001-97", "  ", false);
    QCOMPARE(a.status, ConsultStatus::Failed);
    QCOMPARE(a.message, QStringLiteral("É necessário digitar o captcha."));
}

void TestWeb::captchaFailures_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<ConsultStatus>("status");
    QTest::addColumn<QString>("message");

    QTest::newRow("não é PNG")
        << "http://{host}/captcha-texto" << ConsultStatus::Failed
        << "O serviço de consulta de CPF não devolveu uma imagem PNG de captcha.";
    QTest::newRow("429")
        << "http://{host}/captcha-429" << ConsultStatus::RateLimited
        << "O serviço de consulta de CPF recusou o captcha: limite de consultas atingido (HTTP "
           "429). Tente novamente em 5 segundos.";
    QTest::newRow("sem servidor")
        << "http://127.0.0.1:{closed}/captcha" << ConsultStatus::Failed
        << "O servidor 127.0.0.1:{closed} recusou a conexão: o serviço não está no ar ou o "
           "endereço está errado.";
}

void TestWeb::captchaFailures()
{
    QFETCH(QString, address);
    QFETCH(ConsultStatus, status);
    QFETCH(QString, message);

    WebSettings s = settings();
    s.personCaptchaUrl = expand(address);
    s.personQueryUrl = m_server.base() + "/cpf/consulta";
    PersonConsultation person(s);
    const CaptchaImage image = person.captcha();
    QCOMPARE(image.message, expand(message));
    QCOMPARE(image.status, status);
    QVERIFY(image.png.isEmpty());
}

void TestWeb::personFound()
{
    WebSettings s = settings();
    s.personCaptchaUrl = m_server.base() + "/captcha";
    s.personQueryUrl = m_server.base() + "/cpf/consulta";
    PersonConsultation person(s);
    QVERIFY(person.configured());
    QVERIFY(person.captcha().ok());

    PersonAnswer a = person.consult("123.456.789-09", "01/02/1980", "XK7P2");
    QCOMPARE(a.message, QString());
    QCOMPARE(a.status, ConsultStatus::Found);
    QCOMPARE(a.data.Nome, QStringLiteral("FULANO  DE TAL"));
    QCOMPARE(a.data.Situacao, QStringLiteral("REGULAR"));
    QCOMPARE(a.data.Emissao, QStringLiteral("10:15:30 do dia 05/03/2026"));
    QCOMPARE(a.data.CodCtrlControle, QStringLiteral("ABCD.1234.EF56.7890"));
    QCOMPARE(a.data.DigitoVerificador, QStringLiteral("00"));
    QCOMPARE(a.data.DataInscricao, QStringLiteral("01/02/1998"));

    a = person.consult("12345678909", "01/02/1980", "XK7P2", true);
    QCOMPARE(a.data.Nome, QStringLiteral("FULANO DE TAL"));
}

void TestWeb::personRefusals_data()
{
    QTest::addColumn<QString>("cpf");
    QTest::addColumn<QString>("born");
    QTest::addColumn<QString>("captcha");
    QTest::addColumn<ConsultStatus>("status");
    QTest::addColumn<QString>("message");

    QTest::newRow("captcha errado")
        << "123.456.789-09"
        << "01/02/1980"
        << "ABCDE" << ConsultStatus::WrongCaptcha
        << "O captcha digitado não confere. Digite o novo captcha e consulte outra vez.";
    QTest::newRow("não encontrado")
        << "111.444.777-35"
        << "01/02/1980"
        << "XK7P2" << ConsultStatus::NotFound
        << "CPF 111.444.777-35 não encontrado no cadastro da Receita Federal.";
    QTest::newRow("mensagem do serviço")
        << "123.456.789-09"
        << "02/02/1980"
        << "XK7P2" << ConsultStatus::Failed
        << "Data de nascimento divergente da constante na base de dados.";
    QTest::newRow("CPF curto") << "1234567890"
                               << "01/02/1980"
                               << "XK7P2" << ConsultStatus::Failed
                               << "CPF inválido: \"1234567890\". Informe os 11 dígitos do CPF.";
    QTest::newRow("data impossível")
        << "123.456.789-09"
        << "31/02/1980"
        << "XK7P2" << ConsultStatus::Failed
        << "Data de nascimento inválida: \"31/02/1980\". Informe a data no formato dd/mm/aaaa.";
    QTest::newRow("data da máscara vazia")
        << "123.456.789-09"
        << "  /  /    "
        << "XK7P2" << ConsultStatus::Failed
        << "Data de nascimento inválida: \"/  /\". Informe a data no formato dd/mm/aaaa.";
}

void TestWeb::personRefusals()
{
    QFETCH(QString, cpf);
    QFETCH(QString, born);
    QFETCH(QString, captcha);
    QFETCH(ConsultStatus, status);
    QFETCH(QString, message);

    WebSettings s = settings();
    s.personCaptchaUrl = m_server.base() + "/captcha";
    s.personQueryUrl = m_server.base() + "/cpf/consulta";
    PersonConsultation person(s);
    QVERIFY(person.captcha().ok());
    const PersonAnswer a = person.consult(cpf, born, captcha);
    QCOMPARE(a.message, message);
    QCOMPARE(a.status, status);
    QCOMPARE(a.data.Nome, QString());
}

void TestWeb::notConfigured()
{
    const QString personMessage = QStringLiteral(
        "Nenhum serviço de consulta de CPF está configurado. Informe os endereços CPF_CAPTCHA "
        "(imagem do captcha) e CPF_CONSULTA (consulta) na seção [WEB] do arquivo Admin.ini.");
    WebSettings s = settings();
    s.personCaptchaUrl = m_server.base() + "/captcha"; // half configured is not configured
    PersonConsultation person(s);
    QVERIFY(!person.configured());
    QCOMPARE(person.notConfiguredMessage(), personMessage);
    const CaptchaImage image = person.captcha();
    QCOMPARE(image.status, ConsultStatus::NotConfigured);
    QCOMPARE(image.message, personMessage);
    const PersonAnswer a = person.consult("123.456.789-09", "01/02/1980", "XK7P2");
    QCOMPARE(a.status, ConsultStatus::NotConfigured);
    QCOMPARE(a.message, personMessage);

    s.companyService = WebSettings::CompanyService::CaptchaForm;
    const auto company = CompanyConsultation::create(s);
    const CompanyAnswer c = company->consult("19.131.243/0001-97", "XK7P2", false);
    QCOMPARE(c.status, ConsultStatus::NotConfigured);
    QCOMPARE(c.message,
             QStringLiteral("Nenhum serviço de consulta de CNPJ com captcha está configurado. "
                            "Informe os endereços CNPJ_CAPTCHA (imagem do captcha) e CNPJ_CONSULTA "
                            "(consulta) na seção [WEB] do arquivo Admin.ini, ou use "
                            "CNPJ_SERVICO=DADOSABERTOS."));
}

void TestWeb::settingsFromIni()
{
    QHash<QString, QString> ini;
    auto read = [&](const QString &section, const QString &key) {
        return section == "WEB" ? ini.value(key) : QString();
    };

    QStringList problems;
    WebSettings s = WebSettings::fromIni(read, &problems);
    QCOMPARE(problems, QStringList());
    QCOMPARE(s.postcodeBase, QStringLiteral("https://viacep.com.br"));
    QCOMPARE(s.companyBase, QStringLiteral("https://brasilapi.com.br"));
    QCOMPARE(s.companyService, WebSettings::CompanyService::OpenData);
    QCOMPARE(s.http.proxyHost, QString());
    QCOMPARE(s.http.proxyPort, 8080);
    QCOMPARE(s.http.connectTimeoutMs, 10000);
    QCOMPARE(s.http.timeoutMs, 20000);

    ini = {{"CEP_URL", "http://cep.local"},
           {"CNPJ_SERVICO", "captcha"},
           {"CNPJ_CAPTCHA", "http://rf.local/captcha"},
           {"CNPJ_CONSULTA", "http://rf.local/cnpj"},
           {"CPF_CAPTCHA", " http://rf.local/captcha "},
           {"CPF_CONSULTA", "http://rf.local/cpf"},
           {"PROXY_HOST", "proxy.local"},
           {"PROXY_PORTA", "3128"},
           {"TEMPO_CONEXAO", "5"},
           {"TEMPO_LIMITE", "45"}};
    s = WebSettings::fromIni(read, &problems);
    QCOMPARE(problems, QStringList());
    QCOMPARE(s.postcodeBase, QStringLiteral("http://cep.local"));
    QCOMPARE(s.companyService, WebSettings::CompanyService::CaptchaForm);
    QCOMPARE(s.companyCaptchaUrl, QStringLiteral("http://rf.local/captcha"));
    QCOMPARE(s.companyQueryUrl, QStringLiteral("http://rf.local/cnpj"));
    QCOMPARE(s.personCaptchaUrl, QStringLiteral("http://rf.local/captcha"));
    QCOMPARE(s.personQueryUrl, QStringLiteral("http://rf.local/cpf"));
    QCOMPARE(s.http.proxyHost, QStringLiteral("proxy.local"));
    QCOMPARE(s.http.proxyPort, 3128);
    QCOMPARE(s.http.connectTimeoutMs, 5000);
    QCOMPARE(s.http.timeoutMs, 45000);

    ini = {{"CNPJ_SERVICO", "RECEITA"}, {"PROXY_PORTA", "80a"}, {"TEMPO_LIMITE", "0"}};
    s = WebSettings::fromIni(read, &problems);
    QCOMPARE(s.companyService, WebSettings::CompanyService::OpenData);
    QCOMPARE(s.http.proxyPort, 8080);
    QCOMPARE(s.http.timeoutMs, 20000);
    QCOMPARE(
        problems,
        (QStringList{"Admin.ini, seção [WEB]: valor \"80a\" inválido em PROXY_PORTA; usado 8080.",
                     "Admin.ini, seção [WEB]: valor \"0\" inválido em TEMPO_LIMITE; usado 20.",
                     "Admin.ini, seção [WEB]: valor \"RECEITA\" inválido em CNPJ_SERVICO; usado "
                     "DADOSABERTOS."}));
}

void TestWeb::retryAfter_data()
{
    QTest::addColumn<QByteArray>("header");
    QTest::addColumn<int>("seconds");

    QTest::newRow("segundos") << QByteArray("30") << 30;
    QTest::newRow("data HTTP") << QByteArray("Wed, 21 Oct 2015 07:28:00 GMT") << 90;
    QTest::newRow("data HTTP passada") << QByteArray("Wed, 21 Oct 2015 07:00:00 GMT") << 0;
    QTest::newRow("ausente") << QByteArray() << -1;
    QTest::newRow("negativo") << QByteArray("-5") << -1;
    QTest::newRow("ilegível") << QByteArray("logo") << -1;
}

void TestWeb::retryAfter()
{
    QFETCH(QByteArray, header);
    QFETCH(int, seconds);
    const QDateTime now(QDate(2015, 10, 21), QTime(7, 26, 30), QTimeZone::utc());
    QCOMPARE(ConsultText::retryAfterSeconds(header, now), seconds);
}

CP_TEST(TestWeb)
#include "tst_web.moc"
