// Start-up, configuration, the reconnect policy, rounding, the main menu and
// the sibling programs, the single instance with real processes.

#include "ScriptedMessages.h"
#include "TestDb.h"
#include "TestMain.h"
#include "app/DM.h"
#include "app/Globals.h"
#include "app/Helpers.h"
#include "payables/frmPagarManutencao.h"
#include "program/FrmPrincipal.h"
#include "report/ReportDefinition.h"
#include "widgets/Clock.h"
#include "widgets/Messages.h"
#include "widgets/Modal.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QScopeGuard>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include <clocale>
#include <cstdio>
#include <memory>

namespace {

void writeFile(const QString &path, const QByteArray &content)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(content);
}

// A copy of the program in dir with an Admin.ini pointing at database: it
// reads its configuration and finds its siblings beside itself.
QString installProgram(const QString &dir, const QString &database)
{
    const QString exe = QDir(dir).filePath("contas-pagar");
    if (!QFile::copy(CP_PROGRAM, exe))
        return QString();
    QFile::setPermissions(exe, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QFile ini(QDir(dir).filePath("Admin.ini"));
    if (!ini.open(QIODevice::WriteOnly))
        return QString();
    ini.write(QString("[LOCAL]\nSERVIDOR=127.0.0.1\nPORTA=%1\nBANCO=%2\n")
                  .arg(TestDb::serverSettings().port)
                  .arg(database)
                  .toUtf8());
    return exe;
}

// Waits until the server has let a killed connection go.
bool untilGone(TestDb &db, qint64 id)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 10000) {
        QSqlQuery q(db.sql());
        q.prepare("select count(*) from information_schema.processlist where id = ?");
        q.addBindValue(id);
        if (q.exec() && q.next() && q.value(0).toInt() == 0)
            return true;
        QTest::qWait(5);
    }
    return false;
}

} // namespace

class TstApp : public QObject
{
    Q_OBJECT
private slots:
    // The program's globals as a fresh start leaves them.
    void cleanup()
    {
        SetCurrentUserName(QString());
        SetLauncherFirstArgument(QString());
        ConnectionLossCount = 0;
    }
    void adminIni_data();
    void adminIni();
    void startupWithoutIniShowsErrorAndGoesOn();
    void reconnectPolicyOnKilledConnection();
    void lostConnectionInsideTransactionIsNotRetried();
    void startupQuietWhenServerFoldsTableNames();
    void olderDatabaseGetsThePaymentCodeColumn();
    void mainWindowCaptionAndButtons();
    void missingSiblingProgram_data();
    void missingSiblingProgram();
    void presentSiblingProgramIsWaitedForWithEventsRunning();
    void secondInstanceBringsFirstForward();
    void unattendedReportCommand_data();
    void unattendedReportCommand();
    void standardDialogsSpeakPortuguese();
    void programFaceIsNamedNotGuessed();
    void closePanelTerminates(); // last: it asks the application to end
};

void TstApp::adminIni_data()
{
    QTest::addColumn<QByteArray>("content"); // empty: no file at all
    QTest::addColumn<int>("porta");
    QTest::addColumn<QString>("servidor");
    QTest::addColumn<QString>("banco");
    QTest::addColumn<QString>("usuario");
    QTest::addColumn<QString>("email2");
    QTest::newRow("absent") << QByteArray() << 0 << ""
                            << ""
                            << "root"
                            << "";
    QTest::newRow("no port") << QByteArray("[LOCAL]\nSERVIDOR=srv01\nBANCO=loja\n") << 0 << "srv01"
                             << "loja"
                             << "root"
                             << "";
    QTest::newRow("full, keys in any case")
        << QByteArray(
               "[local]\r\nPorta=3307\r\nservidor = 10.0.0.5\r\nBANCO=matriz\r\n"
               "USUARIO=caixa\r\nSENHA=x\r\n[GERAL]\r\nEMAIL2=a@b.com.br\r\n[OUTRA]\r\nPORTA=1\r\n")
        << 3307 << "10.0.0.5"
        << "matriz"
        << "caixa"
        << "a@b.com.br";
    QTest::newRow("latin-1 file") << QByteArray("[GERAL]\nEMAIL2=jos\xe9@x.com\n") << 0 << ""
                                  << ""
                                  << "root" << QString::fromUtf8("josé@x.com");
}

void TstApp::adminIni()
{
    QFETCH(QByteArray, content);
    QTemporaryDir dir;
    if (!content.isEmpty())
        writeFile(dir.filePath("Admin.ini"), content);
    const AdminConfig c = ReadAdminIni(dir.path());
    QCOMPARE(c.fileFound, !content.isEmpty());
    QTEST(c.porta, "porta");
    QTEST(c.servidor, "servidor");
    QTEST(c.banco, "banco");
    QTEST(c.usuario, "usuario");
    QTEST(c.email[1], "email2");
}

void TstApp::startupWithoutIniShowsErrorAndGoesOn()
{
    QTemporaryDir dir;
    ScriptedMessages boxes;
    DM dm;
    dm.DataModuleCreate(dir.path());
    QCOMPARE(dm.MyConnection1->settings().port, 0);
    QCOMPARE(dm.MyConnection1->settings().host, QString());
    QCOMPARE(boxes.boxes.size(), 1);
    QCOMPARE(boxes.boxes[0].title, AppTitle);
    QCOMPARE(boxes.boxes[0].icon, QMessageBox::Critical);
    QVERIFY(!boxes.boxes[0].text.isEmpty());
    SetCurrentUserName("JOSE");
    FrmPrincipal w;
    QCOMPARE(w.windowTitle(),
             QString("Atualizado 29-04-2024 / 19:30  - Nome do Usuario : JOSE -  - "));
}

void TstApp::reconnectPolicyOnKilledConnection()
{
    TestDb db;
    REQUIRE_DB(db);
    DM dm;
    QVERIFY(dm.connectWith(TestDb::serverSettings(db.databaseName())));
    ConnectionLossCount = 0;
    Connection &c = *dm.MyConnection1;
    QSqlQuery killer(db.sql());
    for (int loss = 1; loss <= 7; ++loss) {
        const qint64 id = c.connectionId();
        QVERIFY(killer.exec(QString("KILL %1").arg(id)));
        QVERIFY(untilGone(db, id));
        if (loss == 6) {
            try {
                c.exec("SELECT 1");
                QFAIL("the sixth loss must raise the database error");
            } catch (const DbError &e) {
                QVERIFY(e.isConnectionLost());
            }
            QCOMPARE(ConnectionLossCount, 0);
        } else {
            QCOMPARE(c.scalar("SELECT 41 + 1").toInt(), 42);
            QCOMPARE(ConnectionLossCount, loss < 6 ? loss : loss - 6);
            QVERIFY(c.connectionId() != id);
        }
    }
}

void TstApp::lostConnectionInsideTransactionIsNotRetried()
{
    TestDb db;
    REQUIRE_DB(db);
    DM dm;
    QVERIFY(dm.connectWith(TestDb::serverSettings(db.databaseName())));
    ConnectionLossCount = 0;
    Connection &c = *dm.MyConnection1;
    QSqlQuery killer(db.sql());
    QVERIFY_THROWS_EXCEPTION(DbError, c.transaction([&] {
        c.exec("insert into filial (Nomefilial) values ('A')");
        const qint64 id = c.connectionId();
        killer.exec(QString("KILL %1").arg(id));
        if (!untilGone(db, id))
            qFatal("the killed connection %lld stayed on the server", id);
        c.exec("insert into filial (Nomefilial) values ('B')");
    }));
    QSqlQuery q(db.sql());
    QVERIFY(q.exec("select count(*) from filial") && q.next());
    QCOMPARE(q.value(0).toInt(), 0); // neither row: the first went with the session
    QCOMPARE(c.scalar("select count(*) from filial").toInt(), 0); // reconnects by itself
}

void TstApp::startupQuietWhenServerFoldsTableNames()
{
    TestDb db;
    REQUIRE_DB(db);
    DM dm;
    QVERIFY(dm.connectWith(TestDb::serverSettings(db.databaseName())));
    QCOMPARE(dm.tableNameCaseProblem(), QString()); // the test server folds names
    QVERIFY(dm.MyConnection1->exec("Select * From Fornecedor").isActive());
}

void TstApp::olderDatabaseGetsThePaymentCodeColumn()
{
    TestDb db;
    REQUIRE_DB(db);
    QSqlQuery q(db.sql());
    QVERIFY(q.exec("ALTER TABLE pagar DROP COLUMN codigobarras"));
    QVERIFY(q.exec("insert into pagar (Nota, Valor) values ('VELHA', 10)"));
    const QString column =
        "select CHARACTER_MAXIMUM_LENGTH, IS_NULLABLE from information_schema.COLUMNS where "
        "TABLE_SCHEMA = database() and TABLE_NAME = 'pagar' and COLUMN_NAME = 'codigobarras'";
    for (int connection = 1; connection <= 2; ++connection) { // the second finds it there
        DM dm;
        QVERIFY(dm.connectWith(TestDb::serverSettings(db.databaseName())));
        QVERIFY(q.exec(column) && q.next());
        QCOMPARE(q.value(0).toInt(), 512);
        QCOMPARE(q.value(1).toString(), QString("YES"));
        QVERIFY(q.exec("select Nota, Valor, codigobarras from pagar") && q.next());
        QCOMPARE(q.value(0).toString(), QString("VELHA"));
        QCOMPARE(q.value(1).toDouble(), 10.0);
        QVERIFY(q.value(2).isNull());
        QVERIFY(!q.next());
    }
}

void TstApp::mainWindowCaptionAndButtons()
{
    TestDb db;
    REQUIRE_DB(db);
    QSqlQuery(db.sql()).exec("insert into configuracao (Nome) values ('COMERCIAL HORIZONTE LTDA')");
    QTemporaryDir dir;
    writeFile(dir.filePath("Admin.ini"),
              QString("[LOCAL]\nSERVIDOR=127.0.0.1\nPORTA=%1\nBANCO=%2\n")
                  .arg(TestDb::serverSettings().port)
                  .arg(db.databaseName())
                  .toUtf8());
    ScriptedMessages boxes;
    DM dm;
    dm.DataModuleCreate(dir.path());
    QCOMPARE(boxes.boxes.size(), 0);
    SetCurrentUserName("MARIA");
    FrmPrincipal w;
    QCOMPARE(w.windowTitle(), QString("Atualizado 29-04-2024 / 19:30  - Nome do Usuario : MARIA"
                                      " - COMERCIAL HORIZONTE LTDA - 127.0.0.1"));
    QVERIFY(w.windowFlags() & Qt::FramelessWindowHint);
    const QStringList captions{"Contas a &Pagar", "&Fornecedor", "&Banco/Conta", "Conta &Corrente",
                               "Cai&xa"};
    const QStringList hints{"Meutanção de Contas a Pagar", "MAnutenção de Fornecedor", "", "", ""};
    for (int i = 1; i <= 5; ++i) {
        QCOMPARE(w.button(i)->text(), captions[i - 1]);
        QCOMPARE(w.button(i)->toolTip(), hints[i - 1]);
        QCOMPARE(w.button(i)->size(), QSize(100, 100));
        QCOMPARE(w.button(i)->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
    }
    QCOMPARE(qobject_cast<QLabel *>(w.closePanel())->text(), QString("X"));
    QCOMPARE(w.closePanel()->width(), 49);

    // The payables button opens the hub with the user's name on it.
    QStringList shown;
    Modal::ScopedHandler modal([&](QDialog *d) {
        if (auto *hub = qobject_cast<frmPagarManutencao *>(d))
            shown << hub->userName();
        return int(QDialog::Rejected);
    });
    w.button(1)->click();
    QCOMPARE(shown, QStringList{"MARIA"});
}

void TstApp::missingSiblingProgram_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<QString>("text");
    QTest::newRow("Fornecedor") << 2 << QString("Cadastro de Fornecedor não instalado");
    QTest::newRow("Caixa") << 5 << QString("Manutenção do Caixa não instalado");
}

void TstApp::missingSiblingProgram()
{
    QFETCH(int, button);
    ScriptedMessages boxes;
    FrmPrincipal w;
    w.button(button)->click();
    QCOMPARE(boxes.boxes.size(), 1);
    QCOMPARE(boxes.boxes[0].title, QString("ERRO"));
    QTEST(boxes.boxes[0].text, "text");
    QCOMPARE(boxes.boxes[0].icon, QMessageBox::Critical);
}

void TstApp::presentSiblingProgramIsWaitedForWithEventsRunning()
{
    // The sibling is looked for beside the running executable.
    const QString path = QDir(ExecutableDir()).filePath("ModuloFornecedor");
    // Gone whatever happens below, so no later case finds the sibling present.
    const auto removeSibling = qScopeGuard([&] { QFile::remove(path); });
    QTemporaryDir out;
    const QString record = out.filePath("args.txt");
    writeFile(path,
              QString("#!/bin/sh\nfor a in \"$@\"; do echo \"[$a]\"; done > '%1'\nsleep 0.6\n")
                  .arg(record)
                  .toUtf8());
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    SetLauncherFirstArgument("LAUNCHER");
    SetCurrentUserName("ANA PAULA");
    ScriptedMessages boxes;
    FrmPrincipal w;
    int ticks = 0;
    QTimer timer;
    connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    timer.start(50);
    QElapsedTimer clock;
    clock.start();
    w.button(2)->click(); // returns when the sibling has ended
    const qint64 waited = clock.elapsed();
    QCOMPARE(boxes.boxes.size(), 0);
    QVERIFY2(waited >= 500, qPrintable(QString::number(waited)));
    QVERIFY2(ticks >= 5, "events must keep running while the sibling runs");
    QFile f(record);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(f.readAll()), QString("[LAUNCHER]\n[ANA PAULA]\n"));
}

void TstApp::secondInstanceBringsFirstForward()
{
    TestDb db;
    REQUIRE_DB(db);
    QTemporaryDir dir;
    const QString exe = installProgram(dir.path(), db.databaseName());
    QVERIFY(!exe.isEmpty());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    // The instances meet in a temporary folder of their own, so a program
    // another person runs on this machine for the same user is not found.
    env.insert("TMPDIR", dir.path());
    QProcess first;
    first.setProcessEnvironment(env);
    first.start(exe, {"x", "ANA"});
    QVERIFY(first.waitForStarted());
    // Up and listening: its socket is in the folder.
    QTRY_VERIFY_WITH_TIMEOUT(
        !QDir(dir.path()).entryList({"contas-pagar-*"}, QDir::System).isEmpty(), 20000);
    QCOMPARE(first.state(), QProcess::Running);
    QProcess second;
    second.setProcessEnvironment(env);
    QElapsedTimer t;
    t.start();
    second.start(exe, {"x", "ANA"});
    QVERIFY(second.waitForFinished(5000));
    QCOMPARE(second.exitCode(), 0);
    QVERIFY(t.elapsed() < 3000);
    QByteArray firstErr;
    QTRY_VERIFY_WITH_TIMEOUT(
        (firstErr += first.readAllStandardError()).contains("trazida para a frente"), 3000);
    QCOMPARE(first.state(), QProcess::Running);
    first.kill();
    first.waitForFinished();
}

void TstApp::unattendedReportCommand_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("adminIni"); // "default": the working file; "none": no file
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("output"); // expected in the PDF or on the error output
    const QStringList paid{"--relatorio", "RptPagarQuitado", "--de",    "01/04/2024",
                           "--ate",       "30/04/2024",      "--saida", "OUT/pagos.pdf"};
    QTest::newRow("paid report to PDF") << paid << "default" << 0 << "FORNECEDOR PAGO";
    QTest::newRow("unknown report")
        << QStringList{"--relatorio", "RptNada",    "--de",    "01/04/2024",
                       "--ate",       "30/04/2024", "--saida", "OUT/x.pdf"}
        << "default" << 2 << "Relatório desconhecido: RptNada";
    QTest::newRow("impossible date")
        << QStringList{"--relatorio", "RptPagarQuitado", "--de",    "31/02/2024",
                       "--ate",       "30/04/2024",      "--saida", "OUT/x.pdf"}
        << "default" << 2 << "Data inválida em --de: 31/02/2024";
    QTest::newRow("period backwards")
        << QStringList{"--relatorio", "RptPagarQuitado", "--de",    "30/04/2024",
                       "--ate",       "01/04/2024",      "--saida", "OUT/x.pdf"}
        << "default" << 2 << "A data de --de (30/04/2024) é posterior à de --ate (01/04/2024).";
    QTest::newRow("branch nobody registered")
        << QStringList{"--relatorio", "RptPagarAberto", "--de", "01/04/2024", "--ate",
                       "30/04/2024",  "--filial",       "77",   "--saida",    "OUT/x.pdf"}
        << "default" << 2 << "O código 77 de --filial não está cadastrado.";
    QTest::newRow("no Admin.ini") << paid << "none" << 3 << "Admin.ini não foi encontrado.";
    QTest::newRow("port not a number")
        << paid << "[LOCAL]\nSERVIDOR=127.0.0.1\nPORTA=abc\n"
        << 3
        << "seção [LOCAL], chave PORTA: \"abc\" não é uma porta válida (use um número de 1 a "
           "65535).";
    QTest::newRow("port out of range") << paid << "[LOCAL]\nSERVIDOR=127.0.0.1\nPORTA=99999\n"
                                       << 3 << "chave PORTA: \"99999\" não é uma porta válida";
    QTest::newRow("timeout not a number")
        << paid << "[local]\nservidor=127.0.0.1\ntempo_leitura=muito\n"
        << 3 << "chave TEMPO_LEITURA: \"muito\" não é um tempo em segundos válido";
}

void TstApp::unattendedReportCommand()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, adminIni);
    QFETCH(int, exitCode);
    QFETCH(QString, output);
    TestDb db;
    REQUIRE_DB(db);
    db.exec("insert into configuracao (Nome) values ('EMPRESA TESTE')");
    db.exec("insert into pagar (Nota, Nome, Valor, totalpg, Dataquitacao, Datavenc, pago, "
            "nomefilial, filial, Codigofilial) values ('77', 'FORNECEDOR PAGO', 10, 10, "
            "'2024-04-15', '2024-04-10', 'S', 'MATRIZ', 'MATRIZ', 1)");
    QTemporaryDir dir;
    const QString exe = installProgram(dir.path(), db.databaseName());
    QVERIFY(!exe.isEmpty());
    QDir(dir.path()).mkdir("OUT");
    if (adminIni == "none")
        QVERIFY(QFile::remove(dir.filePath("Admin.ini")));
    else if (adminIni != "default")
        writeFile(dir.filePath("Admin.ini"), adminIni.toUtf8());
    for (QString &a : arguments)
        a.replace("OUT/", dir.path() + "/OUT/");
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("QT_QPA_PLATFORM"); // the program must manage without a display
    env.remove("DISPLAY");
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(exe, arguments);
    QVERIFY(p.waitForFinished(60000));
    const QString err = QString::fromUtf8(p.readAllStandardError());
    QVERIFY2(p.exitCode() == exitCode, qPrintable(QString("%1: %2").arg(p.exitCode()).arg(err)));
    if (exitCode != 0) {
        QVERIFY2(err.contains(output), qPrintable(err));
        QCOMPARE(err.count(output), 1); // said once
        QVERIFY(!QFile::exists(dir.filePath("OUT/x.pdf")) &&
                !QFile::exists(dir.filePath("OUT/pagos.pdf")));
        return;
    }
    QProcess text;
    text.start("pdftotext", {dir.filePath("OUT/pagos.pdf"), "-"});
    QVERIFY(text.waitForFinished());
    QVERIFY(QString::fromUtf8(text.readAllStandardOutput()).contains(output));
}

void TstApp::standardDialogsSpeakPortuguese()
{
    QDialogButtonBox box(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Save |
                         QDialogButtonBox::Yes | QDialogButtonBox::No);
    QCOMPARE(box.button(QDialogButtonBox::Cancel)->text(), QString("Cancelar"));
    QCOMPARE(box.button(QDialogButtonBox::Save)->text(), QString("Salvar"));
    QCOMPARE(box.button(QDialogButtonBox::Yes)->text(), QString("&Sim"));
    QCOMPARE(box.button(QDialogButtonBox::No)->text(), QString("&Não"));

    QLineEdit edit;
    std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
    QStringList entries;
    for (QAction *a : menu->actions())
        entries << a->text().section(QLatin1Char('\t'), 0, 0);
    QVERIFY2(entries.contains("&Copiar") && entries.contains("C&olar"),
             qPrintable(entries.join(", ")));

    // The save dialog the previews open (Qt's own, as on every workstation).
    QFileDialog save(nullptr, "Salvar Relatório");
    save.setOption(QFileDialog::DontUseNativeDialog);
    save.setAcceptMode(QFileDialog::AcceptSave);
    QStringList labels;
    for (QLabel *l : save.findChildren<QLabel *>())
        labels << l->text();
    for (const char *caption : {"Procurar em:", "&Nome do arquivo:", "Arquivos do tipo:"})
        QVERIFY2(labels.contains(QString::fromUtf8(caption)), qPrintable(labels.join(", ")));
    QCOMPARE(save.findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Save)->text(),
             QString("&Salvar"));
}

void TstApp::programFaceIsNamedNotGuessed()
{
    // The windows' and reports' face whatever else is installed, and the
    // Windows names the layouts were drawn with resolve to it too.
    QCOMPARE(QFontInfo(QApplication::font()).family(), QString("Liberation Sans"));
    for (const char *name : {"Arial", "Tahoma", "MS Sans Serif", "Arial Narrow", "Arial Black"})
        QCOMPARE(QFontInfo(QFont(QString::fromLatin1(name))).family(), QString("Liberation Sans"));
    QCOMPARE(QFontInfo(Report::ReportDefinition().font).family(), QString("Liberation Sans"));
}

void TstApp::closePanelTerminates()
{
    FrmPrincipal w;
    QVERIFY(!ApplicationTerminating());
    QTest::mouseClick(w.closePanel(), Qt::LeftButton);
    QVERIFY(ApplicationTerminating());
}

CP_TEST(TstApp)
#include "tst_app.moc"
