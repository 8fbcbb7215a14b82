// The e-mailed list of open payables, from the dialog and unattended, sent to
// a real SMTP server on loopback (implicit TLS and STARTTLS) and read back as
// a mail reader reads it: recipients, sender, subject, the HTML body line by
// line, the PDF attached; refusals, silence and missing settings end in a
// clear message and never in the success message.

#include "../mail/SmtpPeer.h"
#include "../reports/ReportsFixture.h"
#include "ScriptedMessages.h"
#include "TestMain.h"

#include "app/Globals.h"
#include "app/MenuActions.h"
#include "report/ReportPreview.h"
#include "reports/LookupEdit.h"
#include "reports/MailDeployment.h"
#include "reports/OPFilialAberto1.h"
#include "reports/Reports.h"
#include "widgets/DateEdit.h"
#include "widgets/Modal.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTimer>
#include <QtTest>

#include <memory>

using namespace ReportsTest;

namespace {

const QString kSender = "contas@boavista.com.br";

QByteArray partData(const QJsonObject &part)
{
    return QByteArray::fromBase64(part.value("data").toString().toLatin1());
}

// The message's parts of one content type.
QList<QJsonObject> parts(const QJsonObject &message, const QString &type)
{
    QList<QJsonObject> list;
    for (const QJsonValue &v : message.value("parts").toArray())
        if (v.toObject().value("type").toString() == type)
            list << v.toObject();
    return list;
}

QString html(const QJsonObject &message)
{
    const QList<QJsonObject> p = parts(message, "text/html");
    return p.size() == 1 ? QString::fromUtf8(partData(p.first())) : QString();
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

QString pdfText(const QByteArray &pdf)
{
    QTemporaryDir dir;
    QFile f(dir.filePath("anexo.pdf"));
    if (!f.open(QIODevice::WriteOnly) || f.write(pdf) != pdf.size())
        return {};
    f.close();
    QProcess p;
    p.start("pdftotext", {"-layout", f.fileName(), "-"});
    if (!p.waitForFinished(30000))
        return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

// The data rows' openers, in order.
QStringList rowOpeners(const QString &body)
{
    QStringList openers;
    for (const QString &line : body.split("\r\n"))
        if (line.startsWith("<tr style="))
            openers << line;
    return openers;
}

const QString kWhite = "<tr style='background-color:#FFFFFF;'>";
const QString kGrey = "<tr style='background-color:#D3D3D3;'>";

} // namespace

class TstEmail : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    void branchMessageLineByLine();
    void allBranchesOverStartTls();
    void branchEditIsChecked_data();
    void branchEditIsChecked();
    void valuesAreEscaped();
    void noRecipientSaysSoBeforeConnecting();
    void loginRefusedIsNoSuccess();
    void silentServerKeepsTheDialogAlive();
    void printPreviewsTheMatchingReport_data();
    void printPreviewsTheMatchingReport();
    void unattended_data();
    void unattended();
    void unattendedBadArguments_data();
    void unattendedBadArguments();
    void programSendsFromAdminIni();
    void deploymentFromAdminIni();

private:
    MailDeployment deployment(const QString &kind) const;
    void setRecipients(const QStringList &emails, const QStringList &names);
    // Presses "Email" with the edit's text and the April period; waits for the end.
    bool sendFromDialog(OPFilialAberto1 &dialog, const QString &filial, int waitMs = 20000);

    std::unique_ptr<SmtpPeer> peer;
    AdminConfig savedConfig;
};

void TstEmail::initTestCase()
{
    peer = std::make_unique<SmtpPeer>();
    QVERIFY2(peer->ok(), qPrintable(peer->error()));
    savedConfig = Config();
}

void TstEmail::cleanupTestCase()
{
    peer.reset();
}

void TstEmail::init()
{
    peer->clear();
    MailDeployment::setCurrent(deployment("tls"));
    setRecipients({"gerente@centro.com.br", "", "caixa@centro.com.br"},
                  {"Ana Conceição", "Ninguém", ""});
}

void TstEmail::cleanup()
{
    Config() = savedConfig;
    Clock::setFixed({});
}

MailDeployment TstEmail::deployment(const QString &kind) const
{
    MailDeployment d;
    d.server = peer->settings(kind);
    d.senderAddress = kSender;
    d.allSenderName = "Grupo Boa Vista";
    d.allRecipient = {"diretoria@boavista.com.br", "Diretoria"};
    d.attentionBranch = "Sr. João Gerente";
    d.attentionAll = "Diretoria Financeira";
    return d;
}

void TstEmail::setRecipients(const QStringList &emails, const QStringList &names)
{
    for (int i = 0; i < 3; ++i) {
        Config().email[i] = emails.value(i);
        Config().contato[i] = names.value(i);
    }
}

bool TstEmail::sendFromDialog(OPFilialAberto1 &dialog, const QString &filial, int waitMs)
{
    dialog.EdtFilial->setText(filial);
    dialog.DataI->setDate(kFrom);
    dialog.DataF->setDate(kTo);
    QSignalSpy ended(&dialog, &OPFilialAberto1::sendFinished);
    dialog.BtnEmail->click();
    if (!dialog.isSending())
        return false; // refused before sending
    return ended.wait(waitMs);
}

void TstEmail::branchMessageLineByLine()
{
    Fixture f;
    REQUIRE_DB(f.db);
    QVERIFY(f.ok);
    ScriptedMessages boxes;
    OPFilialAberto1 dialog;
    dialog.show();
    QVERIFY(sendFromDialog(dialog, "CENTRO"));
    if (const QString dir = qEnvironmentVariable("CP_EMAIL_SHOT"); !dir.isEmpty()) {
        QTest::qWait(200); // the buttons enabled again are painted
        dialog.screen()->grabWindow(0).save(QDir(dir).filePath("dialogo.png"));
    }
    QCOMPARE(boxes.boxes.size(), 1);
    QCOMPARE(boxes.boxes[0].title, QString("Atenção"));
    QCOMPARE(boxes.boxes[0].text, QString("A Messagem Foi Enviada com Sucesso"));
    QCOMPARE(boxes.boxes[0].icon, QMessageBox::Warning);
    QVERIFY(dialog.BtnEmail->isEnabled());
    QVERIFY(dialog.isVisible()); // the dialog stays open

    const QList<QJsonObject> got = peer->messages();
    QCOMPARE(got.size(), 1);
    const QJsonObject m = got.first();
    QVERIFY(m.value("tls").toBool());
    // EMAIL2 is empty: skipped. A recipient without a name is the bare address.
    QCOMPARE(addressList(m.value("to")),
             (QStringList{"gerente@centro.com.br|Ana Conceição", "caixa@centro.com.br|"}));
    QCOMPARE(m.value("rcpt_tos").toVariant().toStringList(),
             (QStringList{"gerente@centro.com.br", "caixa@centro.com.br"}));
    QCOMPARE(addressList(m.value("from")),
             QStringList{"contas@boavista.com.br|ÓTICAS BOA VISTA LTDA"});
    QCOMPARE(m.value("subject").toString(), QString("CONTAS A PAGAR"));
    QCOMPARE(m.value("defects").toArray().size(), 0);

    // Three rows, the renegotiated A4 included; white, grey, white.
    const QStringList expected{
        "<html>",
        "<head>",
        "",
        "  <meta http-equiv=\"content-type\" content=\"text/html; charset=UTF-8\">",
        "</head>",
        "<body text=\"#000000\" bgcolor=\"#FFFFFF\">",
        "",
        "<p><b>A/C.: Sr. João Gerente</b></p>",
        "<p><b>Relatorio Geral de Contas a Pagar no Periodo Por Filial em Aberto 01/04/2024 à "
        "30/04/2024</b></p>",
        "<table>",
        "<tr>",
        "<th align='left'>",
        "Nome da Filial = CENTRO",
        "</th>",
        "<td>",
        "</td>",
        "</tr>",
        "<tr>",
        "<td align='left'>",
        "<table>",
        "<tr bgcolor='yellow'>",
        "<th>",
        "Nº Nota",
        "</th>",
        "<th>",
        "Dt.Emissao",
        "</th>",
        "<th>",
        "Dt.Venc.",
        "</th>",
        "<th>",
        "Nome do Fornecedor",
        "</th>",
        "<th>",
        "Central de Custo",
        "</th>",
        "<th>",
        "Valor R$",
        "</th>",
        "<th>",
        "Obs.:",
        "</th>",
        "<th>",
        "Obs01.:",
        "</th>",
        "</tr>",
        "<tr style='background-color:#FFFFFF;'>",
        "<td>",
        "A1",
        "</td>",
        "<td>",
        "01/03/2024",
        "</td>",
        "<td>",
        "01/04/2024",
        "</td>",
        "<td>",
        "ALFA LENTES",
        "</td>",
        "<td>",
        "ALUGUEL",
        "</td>",
        "<td align='right'>",
        "100,00",
        "</td>",
        "<td>",
        "obs01 de A1",
        "</td>",
        "<td>",
        "obs01 de A1",
        "</td>",
        "</tr>",
        "<tr style='background-color:#D3D3D3;'>",
        "<td>",
        "A2",
        "</td>",
        "<td>",
        "01/03/2024",
        "</td>",
        "<td>",
        "01/04/2024",
        "</td>",
        "<td>",
        "BETA ARMAÇÕES",
        "</td>",
        "<td>",
        "ENERGIA",
        "</td>",
        "<td align='right'>",
        "50,25",
        "</td>",
        "<td>",
        "obs01 de A2",
        "</td>",
        "<td>",
        "obs01 de A2",
        "</td>",
        "</tr>",
        "<tr style='background-color:#FFFFFF;'>",
        "<td>",
        "A4",
        "</td>",
        "<td>",
        "01/03/2024",
        "</td>",
        "<td>",
        "15/04/2024",
        "</td>",
        "<td>",
        "ALFA LENTES",
        "</td>",
        "<td>",
        "ALUGUEL",
        "</td>",
        "<td align='right'>",
        "30,00",
        "</td>",
        "<td>",
        "obs01 de A4",
        "</td>",
        "<td>",
        "obs01 de A4",
        "</td>",
        "</tr>",
        "<tr bgcolor='yellow'>",
        "<th colspan='4' align='left'>",
        "Total do Relatorio R$ :",
        "</th>",
        "<th align='right'>",
        "180,25",
        "</th>",
        "</tr>",
        "</table>",
        "</td>",
        "</tr>",
        "<tr>",
        "<td colspan='2'>",
        "&nbsp;",
        "</td>",
        "</tr>",
        "</table>",
        "<br />",
        "</body>",
        "</html>",
        "",
    };
    QCOMPARE(html(m), expected.join("\r\n") + "\r\n");
    QCOMPARE(parts(m, "text/html").first().value("charset").toString(), QString("utf-8"));

    // The printed report of the branch, as "&Imprimi" shows it, goes along.
    const QList<QJsonObject> pdfs = parts(m, "application/pdf");
    QCOMPARE(pdfs.size(), 1);
    QCOMPARE(pdfs.first().value("filename").toString(),
             QString("ContasPagarEmAberto_01-04-2024_30-04-2024.pdf"));
    const QString text = pdfText(partData(pdfs.first()));
    QVERIFY2(text.contains("Relatório Geral de Contas a Pagar Por Filial em Aberta no Período: "
                           "01/04/2024 à 30/04/2024"),
             qPrintable(text));
    QVERIFY(text.contains("Nome da Filial : CENTRO"));
    QVERIFY(text.contains("A1") && text.contains("A2") && !text.contains("A3"));
    QVERIFY2(text.contains("150,25"), qPrintable(text)); // the printed list leaves A4 out

    // What a reader sees (saved, with the screen showing the dialog, when
    // CP_EMAIL_SHOT names a folder).
    QTextBrowser browser;
    browser.resize(900, 420);
    browser.setHtml(html(m));
    QVERIFY(browser.toPlainText().contains("Total do Relatorio R$ :"));
    if (const QString dir = qEnvironmentVariable("CP_EMAIL_SHOT"); !dir.isEmpty())
        browser.grab().save(QDir(dir).filePath("email-filial.png"));
}

void TstEmail::allBranchesOverStartTls()
{
    Fixture f;
    REQUIRE_DB(f.db);
    QVERIFY(f.ok);
    MailDeployment::setCurrent(deployment("starttls"));
    ScriptedMessages boxes;
    OPFilialAberto1 dialog;
    QVERIFY(sendFromDialog(dialog, "TODAS"));
    QCOMPARE(boxes.texts(), QStringList{"A Messagem Foi Enviada com Sucesso"});
    const QList<QJsonObject> got = peer->messages();
    QCOMPARE(got.size(), 1);
    const QJsonObject m = got.first();
    QCOMPARE(m.value("kind").toString(), QString("starttls"));
    QVERIFY(m.value("tls").toBool());
    QCOMPARE(addressList(m.value("to")), QStringList{"diretoria@boavista.com.br|Diretoria"});
    QCOMPARE(addressList(m.value("from")), QStringList{"contas@boavista.com.br|Grupo Boa Vista"});
    const QString body = html(m);
    QVERIFY(body.contains("\r\n<p><b>A/C.: Diretoria Financeira</b></p>\r\n"));
    QVERIFY(body.contains("\r\nNome da Filial = TODAS\r\n"));
    QVERIFY(body.contains("<th>\r\nNome do Fornecedor\r\n</th>\r\n<th>\r\nVl.Valor R$\r\n</th>\r\n"
                          "</tr>\r\n"));
    QVERIFY(!body.contains("Central de Custo"));
    // Every branch: A1, A2, A4 (renegotiated) and A3; five cells a row.
    QVERIFY2(body.contains(kWhite +
                           "\r\n<td>\r\nA1\r\n</td>\r\n<td>\r\n01/03/2024\r\n</td>\r\n"
                           "<td>\r\n01/04/2024\r\n</td>\r\n<td>\r\nALFA LENTES\r\n</td>"
                           "\r\n<td align='right'>\r\n100,00\r\n</td>\r\n</tr>\r\n" +
                           kGrey + "\r\n<td>\r\nA2\r\n"),
             qPrintable(body));
    QCOMPARE(rowOpeners(body), (QStringList{kWhite, kGrey, kWhite, kGrey}));
    QVERIFY(body.indexOf("\r\nA4\r\n") < body.indexOf("\r\nA3\r\n"));
    QVERIFY(body.contains("<th align='right'>\r\n380,35\r\n</th>"));

    const QString text = pdfText(partData(parts(m, "application/pdf").value(0)));
    QVERIFY(text.contains("Nome da Filial : TODAS"));
    QVERIFY2(text.contains("A3") && text.contains("350,35"), qPrintable(text));
}

void TstEmail::branchEditIsChecked_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("todasLojas"); // a branch "Todas as Lojas" is registered
    QTest::addColumn<QString>("box");     // the message box, "" for the success only
    QTest::addColumn<QString>("line");    // the branch line of the message sent
    QTest::addColumn<QStringList>("notas");

    QTest::newRow("vazio") << "" << false << "Informe a filial (ou TODAS para todas as filiais)."
                           << "" << QStringList();
    QTest::newRow("só brancos") << "   " << false
                                << "Informe a filial (ou TODAS para todas as filiais)."
                                << "" << QStringList();
    QTest::newRow("todas em minúsculas, sem filial assim")
        << "todas" << false
        << "A filial \"todas\" não está cadastrada. Escolha uma filial da lista ou digite TODAS "
           "para todas as filiais."
        << "" << QStringList();
    QTest::newRow("todas em minúsculas é um nome de filial")
        << "todas" << true << ""
        << "Nome da Filial = Todas as Lojas" << QStringList{"T1"};
    QTest::newRow("começo de um nome") << "shop" << false << ""
                                       << "Nome da Filial = SHOPPING" << QStringList{"A3"};
    QTest::newRow("filial sem contas: total 0,00") << "VAZIA" << false << ""
                                                   << "Nome da Filial = VAZIA" << QStringList();
}

void TstEmail::branchEditIsChecked()
{
    QFETCH(QString, typed);
    QFETCH(bool, todasLojas);
    QFETCH(QString, box);
    QFETCH(QString, line);
    QFETCH(QStringList, notas);
    Fixture f;
    REQUIRE_DB(f.db);
    QVERIFY(f.ok);
    if (todasLojas) {
        f.exec("insert into filial (codigofilial, nomefilial) values (4, 'Todas as Lojas')");
        QVariantMap r = Fixture::row("T1", 4, 12, 7, QDate(2024, 4, 10), 12.5, "N");
        r["nomefilial"] = "Todas as Lojas";
        f.payable(r);
    }
    ScriptedMessages boxes;
    OPFilialAberto1 dialog;
    const bool sent = sendFromDialog(dialog, typed);
    if (!box.isEmpty()) {
        QVERIFY(!sent);
        QCOMPARE(boxes.texts(), QStringList{box});
        QCOMPARE(boxes.boxes[0].title, QString("Atenção"));
        QVERIFY(peer->events().isEmpty()); // no connection made
        return;
    }
    QVERIFY(sent);
    QCOMPARE(boxes.texts(), QStringList{"A Messagem Foi Enviada com Sucesso"});
    const QList<QJsonObject> got = peer->messages();
    QCOMPARE(got.size(), 1);
    const QString body = html(got.first());
    QVERIFY2(body.contains("\r\n" + line + "\r\n"), qPrintable(body));
    QVERIFY(body.contains("Central de Custo")); // the one-branch columns
    QCOMPARE(dialog.EdtFilial->text(), line.mid(QString("Nome da Filial = ").size()));
    QStringList listed;
    for (const char *n : {"A1", "A2", "A3", "A4", "T1"})
        if (body.contains(QString("<td>\r\n%1\r\n</td>").arg(n)))
            listed << n;
    QCOMPARE(listed, notas);
    if (notas.isEmpty()) {
        // The header row, no data rows, a total of 0,00.
        QVERIFY(body.contains("<tr bgcolor='yellow'>\r\n<th>\r\nNº Nota\r\n</th>"));
        QVERIFY(rowOpeners(body).isEmpty());
        QVERIFY(body.contains("<th align='right'>\r\n0,00\r\n</th>"));
    }
}

void TstEmail::valuesAreEscaped()
{
    Fixture f(false);
    REQUIRE_DB(f.db);
    QVERIFY(f.ok);
    f.exec("insert into filial (codigofilial, nomefilial) values (9, 'Loja & Cia <Sul>')");
    QVariantMap r = Fixture::row("N<1>", 9, 10, 5, QDate(2024, 4, 10), 1234.5, "N");
    r["nome"] = "A & B <Ltda>";
    r["gerencial"] = "Frete \"expresso\"";
    r["obs01"] = "<script>alert(1)</script> & 5 < 6";
    f.payable(r);
    ScriptedMessages boxes;
    OPFilialAberto1 dialog;
    QVERIFY(sendFromDialog(dialog, "Loja & Cia <Sul>"));
    QCOMPARE(boxes.texts(), QStringList{"A Messagem Foi Enviada com Sucesso"});
    const QString body = html(peer->messages().value(0));
    QVERIFY2(body.contains("\r\nNome da Filial = Loja &amp; Cia &lt;Sul&gt;\r\n"),
             qPrintable(body));
    QVERIFY(body.contains("\r\nN&lt;1&gt;\r\n"));
    QVERIFY(body.contains("\r\nA &amp; B &lt;Ltda&gt;\r\n"));
    QVERIFY(body.contains("\r\nFrete &quot;expresso&quot;\r\n"));
    QVERIFY(body.contains("\r\n&lt;script&gt;alert(1)&lt;/script&gt; &amp; 5 &lt; 6\r\n"));
    QVERIFY(!body.contains("<script>") && !body.contains("<Ltda>") && !body.contains("<Sul>"));
    QVERIFY(body.contains("\r\n1.234,50\r\n"));
    // A mail reader shows the values as they were typed.
    QTextBrowser browser;
    browser.setHtml(body);
    const QString shown = browser.toPlainText();
    QVERIFY(shown.contains("Nome da Filial = Loja & Cia <Sul>"));
    QVERIFY(shown.contains("A & B <Ltda>"));
    QVERIFY(shown.contains("<script>alert(1)</script> & 5 < 6"));
}

void TstEmail::noRecipientSaysSoBeforeConnecting()
{
    Fixture f;
    REQUIRE_DB(f.db);
    QVERIFY(f.ok);
    setRecipients({"", " ", ""}, {"Ana", "Bia", ""});
    Config().path = "/etc/contas/Admin.ini";
    ScriptedMessages boxes;
    OPFilialAberto1 dialog;
    QVERIFY(!sendFromDialog(dialog, "CENTRO"));
    QCOMPARE(boxes.texts(),
             QStringList{"Nenhum destinatário de e-mail: informe o endereço em EMAIL1, EMAIL2 ou "
                         "EMAIL3 da seção [GERAL] de /etc/contas/Admin.ini. O e-mail não foi "
                         "enviado."});
    QVERIFY(dialog.BtnEmail->isEnabled());

    // The fixed recipient of TODAS missing, on the command line: exit 5.
    MailDeployment d = deployment("tls");
    d.allRecipient = {};
    MailDeployment::setCurrent(d);
    QString messages;
    QCOMPARE(
        Reports::runCommandLine(
            {"--enviar-email", "--todas", "--de", "01/04/2024", "--ate", "30/04/2024"}, &messages),
        5);
    QVERIFY2(messages.contains("Nenhum destinatário para o relatório de TODAS as filiais: informe "
                               "o endereço na chave DESTINO_TODAS da seção [EMAIL]"),
             qPrintable(messages));
    QVERIFY(peer->events().isEmpty());
}

void TstEmail::loginRefusedIsNoSuccess()
{
    Fixture f;
    REQUIRE_DB(f.db);
    QVERIFY(f.ok);
    MailDeployment d = deployment("tls");
    d.server.password = "senha-errada";
    MailDeployment::setCurrent(d);
    ScriptedMessages boxes;
    OPFilialAberto1 dialog;
    QVERIFY(sendFromDialog(dialog, "CENTRO"));
    const QString reason = QString("O servidor de e-mail 127.0.0.1 porta %1 recusou o login do "
                                   "usuário \"relatorios\": 535 5.7.8 Usuario ou senha invalidos "
                                   "(servidor de teste)")
                               .arg(d.server.port);
    QCOMPARE(boxes.texts(), QStringList{reason});
    QCOMPARE(boxes.boxes[0].icon, QMessageBox::Critical);
    QCOMPARE(boxes.boxes[0].title, AppTitle);
    QVERIFY(peer->messages().isEmpty());
    QVERIFY(dialog.BtnEmail->isEnabled());
    QVERIFY(!QApplication::overrideCursor());

    QString messages;
    QCOMPARE(Reports::runCommandLine(
                 {"--enviar-email", "--filial", "1", "--de", "01/04/2024", "--ate", "30/04/2024"},
                 &messages),
             5);
    QCOMPARE(messages, "O e-mail não foi enviado: " + reason + "\n");
    QVERIFY(!messages.contains("senha-errada"));
}

void TstEmail::silentServerKeepsTheDialogAlive()
{
    Fixture f;
    REQUIRE_DB(f.db);
    QVERIFY(f.ok);
    MailDeployment d = deployment("silent");
    d.server.timeoutSeconds = 1;
    MailDeployment::setCurrent(d);
    ScriptedMessages boxes;
    OPFilialAberto1 dialog;
    dialog.setAttempts(3, 100);
    dialog.show();

    int ticks = 0;
    bool busyWhileSending = true;
    QTimer timer;
    connect(&timer, &QTimer::timeout, [&] {
        ++ticks;
        if (dialog.isSending())
            busyWhileSending = busyWhileSending && !dialog.BtnEmail->isEnabled() &&
                               !dialog.BtnImprimi->isEnabled() && QApplication::overrideCursor() &&
                               QApplication::overrideCursor()->shape() == Qt::WaitCursor;
    });
    timer.start(50);
    QElapsedTimer clock;
    clock.start();
    QVERIFY(sendFromDialog(dialog, "CENTRO"));
    const qint64 elapsed = clock.elapsed();
    timer.stop();

    // Three tries of a second each, 0.1 s apart; the window served its
    // events all along.
    QVERIFY2(elapsed >= 2900 && elapsed < 8000, qPrintable(QString::number(elapsed)));
    QVERIFY2(ticks >= 30, qPrintable(QString::number(ticks)));
    QVERIFY(busyWhileSending);
    QCOMPARE(boxes.texts(), QStringList{QString("O servidor de e-mail 127.0.0.1 porta %1 não "
                                                "respondeu em 1 segundos.")
                                            .arg(d.server.port)});
    QVERIFY(dialog.BtnEmail->isEnabled() && dialog.BtnImprimi->isEnabled());
    QVERIFY(!QApplication::overrideCursor());

    // Closing the dialog during a send cancels it at once.
    dialog.EdtFilial->setText("CENTRO");
    dialog.BtnEmail->click();
    QVERIFY(dialog.isSending());
    clock.restart();
    dialog.BtnCancelar->click();
    QVERIFY(!dialog.isSending());
    QVERIFY(clock.elapsed() < 1500);
    QVERIFY(!QApplication::overrideCursor());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
}

void TstEmail::printPreviewsTheMatchingReport_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("sum");
    QTest::newRow("filial") << "centro"
                            << "Nome da Filial : CENTRO"
                            << "150,25";
    QTest::newRow("TODAS") << "TODAS"
                           << "Nome da Filial : TODAS"
                           << "350,35";
}

void TstEmail::printPreviewsTheMatchingReport()
{
    QFETCH(QString, typed);
    QFETCH(QString, line);
    QFETCH(QString, sum);
    Fixture f;
    REQUIRE_DB(f.db);
    QVERIFY(f.ok);
    Reports::registerHubEntries();
    ScriptedMessages boxes;
    int result = -1;
    bool listOpen = false;
    OPFilialAberto1 *seen = nullptr;
    {
        Modal::ScopedHandler modal([&](QDialog *d) {
            auto *dialog = qobject_cast<OPFilialAberto1 *>(d);
            if (!dialog)
                return int(QDialog::Rejected);
            seen = dialog;
            listOpen = dialog->tbFilial->isOpen();
            dialog->EdtFilial->setText(typed);
            dialog->DataI->setDate(kFrom);
            dialog->DataF->setDate(kTo);
            dialog->BtnImprimi->click();
            result = dialog->result();
            return result;
        });
        QVERIFY(MenuActions::run(MenuActions::PayablesReports, 2, nullptr));
    }
    QVERIFY(seen && listOpen);
    QCOMPARE(result, int(QDialog::Accepted));
    QVERIFY(boxes.boxes.isEmpty());

    Report::ReportPreview *preview = nullptr;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *p = qobject_cast<Report::ReportPreview *>(w); p && p->isVisible())
            preview = p;
    QVERIFY(preview);
    QVERIFY(!preview->report().pages.empty());
    const QStringList texts = preview->report().pages.front().texts();
    preview->close();
    QVERIFY(texts.contains("Relatório Geral de Contas a Pagar Por Filial em Aberta no Período: "
                           "01/04/2024 à 30/04/2024"));
    QVERIFY(texts.contains(line));
    QVERIFY2(texts.contains(sum), qPrintable(texts.join(" | ")));
}

void TstEmail::unattended_data()
{
    QTest::addColumn<QStringList>("selection");
    QTest::addColumn<QStringList>("to");
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("total");
    QTest::newRow("filial") << QStringList{"--filial", "2"}
                            << QStringList{"gerente@centro.com.br", "caixa@centro.com.br"}
                            << "Nome da Filial = SHOPPING"
                            << "200,10";
    QTest::newRow("todas") << QStringList{"--todas"} << QStringList{"diretoria@boavista.com.br"}
                           << "Nome da Filial = TODAS"
                           << "380,35";
}

void TstEmail::unattended()
{
    QFETCH(QStringList, selection);
    QFETCH(QStringList, to);
    QFETCH(QString, line);
    QFETCH(QString, total);
    Fixture f;
    REQUIRE_DB(f.db);
    QVERIFY(f.ok);
    QString messages;
    QCOMPARE(Reports::runCommandLine(QStringList{"contas-pagar", "--enviar-email"} + selection +
                                         QStringList{"--de", "01/04/2024", "--ate=30/04/2024"},
                                     &messages),
             0);
    QCOMPARE(messages, "E-mail \"CONTAS A PAGAR\" enviado a " + to.join(", ") + "\n");
    const QList<QJsonObject> got = peer->messages();
    QCOMPARE(got.size(), 1);
    QCOMPARE(got.first().value("rcpt_tos").toVariant().toStringList(), to);
    const QString body = html(got.first());
    QVERIFY(body.contains("\r\n" + line + "\r\n"));
    QVERIFY(body.contains("<th align='right'>\r\n" + total + "\r\n</th>"));
    QCOMPARE(parts(got.first(), "application/pdf").size(), 1);
}

void TstEmail::unattendedBadArguments_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("message");
    const QStringList period{"--de", "01/04/2024", "--ate", "30/04/2024"};
    QTest::newRow("sem filial nem todas")
        << (QStringList{"--enviar-email"} + period) << 2
        << "O envio de e-mail exige --filial N ou --todas (um dos dois).";
    QTest::newRow("filial e todas")
        << (QStringList{"--enviar-email", "--todas", "--filial", "1"} + period) << 2
        << "O envio de e-mail exige --filial N ou --todas";
    QTest::newRow("todas sem enviar-email")
        << (QStringList{"--relatorio", "RptPagarAberto01", "--todas", "--saida", "/tmp/x.pdf"} +
            period)
        << 2 << "--todas só vale com --enviar-email.";
    QTest::newRow("saída não se aplica")
        << (QStringList{"--enviar-email", "--todas", "--saida", "/tmp/x.pdf"} + period) << 2
        << "O envio de e-mail (--enviar-email) não usa --saida.";
    QTest::newRow("flag com valor") << (QStringList{"--enviar-email=sim", "--todas"} + period) << 2
                                    << "--enviar-email não leva valor.";
    QTest::newRow("data inválida")
        << QStringList{"--enviar-email", "--todas", "--de", "32/04/2024", "--ate", "30/04/2024"}
        << 2 << "Data inválida em --de: 32/04/2024";
    QTest::newRow("filial não cadastrada")
        << (QStringList{"--enviar-email", "--filial", "77"} + period) << 2
        << "O código 77 de --filial não está cadastrado.";
    QTest::newRow("filial não numérica")
        << (QStringList{"--enviar-email", "--filial", "1 or 1=1"} + period) << 2
        << "Código inválido em --filial: 1 or 1=1";
    QTest::newRow("servidor não configurado")
        << (QStringList{"--enviar-email", "--filial", "1"} + period) << 5
        << "O servidor de e-mail não está configurado: informe-o na chave SERVIDOR da seção "
           "[EMAIL]";
}

void TstEmail::unattendedBadArguments()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, code);
    QFETCH(QString, message);
    Fixture f;
    REQUIRE_DB(f.db);
    QVERIFY(f.ok);
    MailDeployment d = deployment("tls");
    if (code == 5)
        d.server.host.clear();
    MailDeployment::setCurrent(d);
    QString messages;
    QCOMPARE(Reports::runCommandLine(arguments, &messages), code);
    QVERIFY2(messages.contains(message), qPrintable(messages));
    QVERIFY(peer->events().isEmpty());
}

void TstEmail::programSendsFromAdminIni()
{
    // The program itself, as cron runs it: Admin.ini beside it names the
    // database, the recipients and the mail account.
    Fixture f;
    REQUIRE_DB(f.db);
    QVERIFY(f.ok);
    QTemporaryDir dir;
    const QString exe = dir.filePath("contas-pagar");
    QVERIFY(QFile::copy(CP_PROGRAM, exe));
    QFile::setPermissions(exe, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    auto writeIni = [&](const QString &password) {
        QFile ini(dir.filePath("Admin.ini"));
        QVERIFY(ini.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ini.write(QString("[LOCAL]\r\nSERVIDOR=127.0.0.1\r\nPORTA=%1\r\nBANCO=%2\r\n"
                          "[GERAL]\r\nEMAIL1=gerente@centro.com.br\r\nCONTATO1=Ana Conceição\r\n"
                          "[EMAIL]\r\nSERVIDOR=127.0.0.1\r\nPORTA=%3\r\nSEGURANCA=STARTTLS\r\n"
                          "REMETENTE=contas@boavista.com.br\r\nUSUARIO=relatorios\r\n"
                          "SENHA=%4\r\nTEMPO_LIMITE=5\r\nCERTIFICADOS=%5\r\n"
                          "AC_FILIAL=Sra. Conceição\r\n")
                      .arg(TestDb::serverSettings().port)
                      .arg(f.db.databaseName())
                      .arg(peer->port("starttls"))
                      .arg(password, peer->certificate())
                      .toUtf8());
    };
    auto run = [&](QByteArray *out, QByteArray *err) {
        QProcess p;
        p.start(exe,
                {"--enviar-email", "--filial", "1", "--de", "01/04/2024", "--ate", "30/04/2024"});
        if (!p.waitForFinished(60000))
            return -1;
        *out = p.readAllStandardOutput();
        *err = p.readAllStandardError();
        return p.exitCode();
    };
    QByteArray out, err;
    writeIni(SmtpPeer::Password);
    QCOMPARE(run(&out, &err), 0);
    QCOMPARE(QString::fromUtf8(out),
             QString("E-mail \"CONTAS A PAGAR\" enviado a gerente@centro.com.br\n"));
    const QList<QJsonObject> got = peer->messages();
    QCOMPARE(got.size(), 1);
    QCOMPARE(addressList(got.first().value("to")),
             QStringList{"gerente@centro.com.br|Ana Conceição"});
    QCOMPARE(got.first().value("auth_user").toString(), QString("relatorios"));
    QVERIFY(html(got.first()).contains("\r\n<p><b>A/C.: Sra. Conceição</b></p>\r\n"));
    QVERIFY(pdfText(partData(parts(got.first(), "application/pdf").value(0)))
                .contains("Nome da Filial : CENTRO"));

    // A refused login: exit 5, the server's reason on the error output, the
    // password nowhere.
    writeIni("errada-kqz");
    QCOMPARE(run(&out, &err), 5);
    QVERIFY2(err.contains("535 5.7.8 Usuario ou senha invalidos"), err.constData());
    QVERIFY(!err.contains("errada-kqz") && !out.contains("errada-kqz"));
    QCOMPARE(peer->messages().size(), 1);
}

void TstEmail::deploymentFromAdminIni()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Admin.ini");
    // No file, or no [EMAIL] section: the defaults, the password included.
    MailDeployment d = MailDeployment::fromIni(path);
    QCOMPARE(d.server.port, 465);
    QCOMPARE(d.server.security, MailSettings::Security::ImplicitTls);
    QCOMPARE(d.server.password, QString("kqz7314"));
    QCOMPARE(d.server.timeoutSeconds, 30);
    QVERIFY(d.server.host.isEmpty() && d.server.user.isEmpty() && d.problems.isEmpty());
    QCOMPARE(d.attentionBranch, QString("Gerente da Filial"));
    QCOMPARE(d.attentionAll, QString("Diretoria Financeira"));

    // Keys in any case; the login defaults to the sender; values that
    // cannot be used are named, the password never.
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("[email]\r\nservidor=smtp.exemplo.com.br\r\nRemetente=contas@exemplo.com.br\r\n"
            "Porta=porta\r\nSEGURANCA=tls-sim\r\nSENHA=segredo 1\r\nTEMPO_LIMITE=0\r\n"
            "DESTINO_TODAS=dir@exemplo.com.br\r\nNOME_TODAS=Grupo\r\n");
    f.close();
    d = MailDeployment::fromIni(path);
    QCOMPARE(d.server.host, QString("smtp.exemplo.com.br"));
    QCOMPARE(d.senderAddress, QString("contas@exemplo.com.br"));
    QCOMPARE(d.server.user, QString("contas@exemplo.com.br"));
    QCOMPARE(d.server.password, QString("segredo 1"));
    QCOMPARE(d.server.port, 465);
    QCOMPARE(d.server.timeoutSeconds, 30);
    QCOMPARE(d.allRecipient.address, QString("dir@exemplo.com.br"));
    QCOMPARE(d.allSenderName, QString("Grupo"));
    QCOMPARE(d.problems,
             (QStringList{path + ", seção [EMAIL], chave PORTA: \"porta\" não é um número de 1 a "
                                 "65535.",
                          path + ", seção [EMAIL], chave SEGURANCA: \"tls-sim\" não é SSL, "
                                 "STARTTLS nem NENHUMA.",
                          path + ", seção [EMAIL], chave TEMPO_LIMITE: \"0\" não é um número de "
                                 "1 a 600."}));
    // The dialog and the command line refuse to send with such a file.
    OpenPayablesMail::Request r;
    r.todas = true;
    QCOMPARE(OpenPayablesMail::problem(r, d), d.problems.join('\n'));
}

CP_TEST(TstEmail)
#include "tst_email.moc"
