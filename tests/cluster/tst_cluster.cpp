// The program on a replicated cluster of three MariaDB nodes (Galera), started
// by the "cluster" fixture: a row written on one node is read at once on
// another; two workstations on two nodes settling one payable at the same
// moment pay it once; a workstation whose node stops goes on with another;
// the unattended report finds a node when the first host of its list is down.

#include "FaultProxy.h"
#include "TestDb.h"
#include "TestMain.h"
#include "payables/PayablesBook.h"
#include "schema/Schema.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

#include <thread>

namespace {

int nodePort(int node)
{
    const int base = qEnvironmentVariableIntValue("CP_CLUSTER_PORT");
    return (base ? base : 24200) + 10 * (node - 1);
}

int g_made = 0;

ConnectionSettings nodeSettings(const QString &hosts, const QString &database)
{
    ConnectionSettings s = TestDb::serverSettings(database);
    s.unixSocket.clear();
    s.host = hosts;
    s.port = 0;
    s.connectTimeoutSeconds = 3;
    s.readTimeoutSeconds = 30;
    return s;
}

QString node(int k)
{
    return QStringLiteral("127.0.0.1:%1").arg(nodePort(k));
}

std::unique_ptr<Connection> connectTo(const QString &hosts, const QString &database)
{
    auto c = std::make_unique<Connection>(QStringLiteral("cluster_%1").arg(++g_made));
    c->setSettings(nodeSettings(hosts, database));
    c->connectionLostHandler = [](const DbError &) { return Connection::LossAction::Reconnect; };
    c->open();
    return c;
}

// A fresh database made on node 1 and replicated to the others.
struct ClusterDb
{
    QString name;
    QString error;
    ClusterDb()
    {
        name = QStringLiteral("cpc_%1_%2").arg(QCoreApplication::applicationPid()).arg(++g_made);
        try {
            auto admin = connectTo(node(1), QString());
            admin->exec(QStringLiteral("CREATE DATABASE `%1` CHARACTER SET utf8mb4 COLLATE "
                                       "utf8mb4_unicode_ci")
                            .arg(name));
            auto c = connectTo(node(1), name);
            Schema::create(*c);
        } catch (const DbError &e) {
            error = e.message();
        }
    }
    ~ClusterDb()
    {
        try {
            connectTo(node(1) + "," + node(2), QString())
                ->exec(QStringLiteral("DROP DATABASE IF EXISTS `%1`").arg(name));
        } catch (...) {
        }
    }
    QVariant scalar(int k, const QString &sql) { return connectTo(node(k), name)->scalar(sql); }
};

void seedPayable(Connection &c)
{
    c.exec("insert into pagar (Controle, Nota, Nome, Codigofornecedor, Valor, total, Datavenc, "
           "Dataemissao, pago, negociacao, nomefilial, Codigofilial) values (500, 'N500', "
           "'FORNECEDOR', 7, 250, 250, '2026-12-01', '2026-11-01', 'N', 'N', 'MATRIZ', 1)");
}

SettlementRequest settlement(SettlementMode mode, const QString &computer)
{
    SettlementRequest r;
    r.key = 500;
    r.mode = mode;
    r.date = QDate(2026, 12, 10);
    r.valorPago = mode == SettlementMode::Dpc ? 100 : 250;
    r.valorDuplicata = 250;
    r.toCash = mode != SettlementMode::Bank;
    r.user = "ANA";
    r.computer = computer;
    r.at = QDateTime(QDate(2026, 12, 10), QTime(9, 30));
    r.branchCode = 1;
    r.branchName = "MATRIZ";
    return r;
}

int clusterCommand(const QStringList &args)
{
    QProcess p;
    p.start("bash", QStringList{TestDb::sourceDir() + "/scripts/db", "cluster"} + args +
                        QStringList{"--dir", TestDb::binaryDir() + "/var/cluster"});
    p.waitForFinished(180000);
    return p.exitCode();
}

} // namespace

#define REQUIRE_CLUSTER(db) QVERIFY2((db).error.isEmpty(), qPrintable((db).error))

class TstCluster : public QObject
{
    Q_OBJECT
private slots:
    void writtenOnOneNodeReadOnAnother();
    void simultaneousSettlementsPayOnce_data();
    void simultaneousSettlementsPayOnce();
    void unattendedReportSkipsADownHost();
    void stoppedNodeLeavesTheWorkstationWorking(); // last: it stops a node
};

void TstCluster::writtenOnOneNodeReadOnAnother()
{
    ClusterDb db;
    REQUIRE_CLUSTER(db);
    auto one = connectTo(node(1), db.name);
    NewPayableValues v;
    v.emissao = QDate(2026, 12, 1);
    v.codigoFornecedor = 7;
    v.nomeFornecedor = "FORNECEDOR";
    v.parcelas = 3;
    v.total = 900;
    v.nota = "NF-CLUSTER";
    v.valorParcela = 300;
    PayablesBook::generate(*one, v, "ANA", QDateTime(QDate(2026, 12, 1), QTime(8, 0)));
    // At once, on another node: no wait, no retry.
    auto three = connectTo(node(3), db.name);
    QCOMPARE(three->scalar("select count(*) from pagar where Nota = 'NF-CLUSTER'").toInt(), 3);
}

void TstCluster::simultaneousSettlementsPayOnce_data()
{
    QTest::addColumn<int>("mode");
    QTest::newRow("F3") << int(SettlementMode::Full);
    QTest::newRow("cash") << int(SettlementMode::Cash);
    QTest::newRow("bank") << int(SettlementMode::Bank);
    QTest::newRow("DPC") << int(SettlementMode::Dpc);
}

void TstCluster::simultaneousSettlementsPayOnce()
{
    // Workstation A on node 1 has read and written, and its COMMIT is on the
    // way (held by the proxy); workstation B on node 2 settles the same
    // payable and commits first. A's commit then fails certification: it
    // must read the payable again and find it settled, writing nothing.
    QFETCH(int, mode);
    ClusterDb db;
    REQUIRE_CLUSTER(db);
    seedPayable(*connectTo(node(1), db.name));
    FaultProxy toNode1(nodePort(1));
    QVERIFY(toNode1.ok());
    toNode1.hold("COMMIT");
    PayablesBook::SettlementOutcome a, b;
    QString aError;
    std::thread stationA([&] {
        try {
            auto c = connectTo(QStringLiteral("127.0.0.1:%1").arg(toNode1.port()), db.name);
            a = PayablesBook::settle(*c, settlement(SettlementMode(mode), "ESTACAO-A"));
        } catch (const DbError &e) {
            aError = e.message();
        }
    });
    QTRY_COMPARE_WITH_TIMEOUT(toNode1.faultsFired(), 1, 20000);
    auto c2 = connectTo(node(2), db.name);
    b = PayablesBook::settle(*c2, settlement(SettlementMode(mode), "ESTACAO-B"));
    toNode1.resume();
    stationA.join();
    QVERIFY2(aError.isEmpty(), qPrintable(aError));
    using Kind = PayablesBook::SettlementOutcome::Kind;
    QCOMPARE(b.kind, Kind::Settled);
    QCOMPARE(a.kind, Kind::AlreadySettled); // the screens say "Nota já foi Quitada !!!"
    // Paid once, by B, on every node.
    for (int k : {1, 2, 3}) {
        QCOMPARE(db.scalar(k, "select count(*) from pagar where Dataquitacao is not null").toInt(),
                 1);
        QCOMPARE(db.scalar(k, "select nomecomputador from pagar where Controle = 500").toString(),
                 mode == int(SettlementMode::Full) ? QString() : QString("ESTACAO-B"));
        QCOMPARE(db.scalar(k, "select count(*) from caixa").toInt(),
                 mode == int(SettlementMode::Bank) ? 0 : 1);
        QCOMPARE(db.scalar(k, "select count(*) from contacorrente").toInt(),
                 mode == int(SettlementMode::Bank) ? 1 : 0);
        QCOMPARE(db.scalar(k, "select count(*) from pagar").toInt(),
                 mode == int(SettlementMode::Dpc) ? 2 : 1);
    }
}

void TstCluster::unattendedReportSkipsADownHost()
{
    ClusterDb db;
    REQUIRE_CLUSTER(db);
    auto c = connectTo(node(2), db.name);
    c->exec("insert into configuracao (Nome) values ('EMPRESA EM CLUSTER')");
    c->exec("insert into pagar (Nota, Nome, Valor, totalpg, Dataquitacao, Datavenc, pago, "
            "nomefilial, filial, Codigofilial) values ('77', 'FORNECEDOR PAGO', 10, 10, "
            "'2024-04-15', '2024-04-10', 'S', 'MATRIZ', 'MATRIZ', 1)");
    QTemporaryDir dir;
    const QString exe = QDir(dir.path()).filePath("contas-pagar");
    QVERIFY(QFile::copy(CP_PROGRAM, exe));
    QFile::setPermissions(exe, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QFile ini(QDir(dir.path()).filePath("Admin.ini"));
    QVERIFY(ini.open(QIODevice::WriteOnly));
    // Nothing listens on port 1: the first host of the list is down.
    ini.write(QString("[LOCAL]\nSERVIDOR=127.0.0.1:1,%1,%2\nBANCO=%3\nTEMPO_CONEXAO=3\n")
                  .arg(node(2), node(3), db.name)
                  .toUtf8());
    ini.close();
    const QString out = dir.filePath("pagos.pdf");
    QProcess p;
    p.start(exe, {"--relatorio", "RptPagarQuitado", "--de", "01/04/2024", "--ate", "30/04/2024",
                  "--saida", out});
    QVERIFY(p.waitForFinished(60000));
    QVERIFY2(p.exitCode() == 0, p.readAllStandardError().constData());
    QProcess text;
    text.start("pdftotext", {out, "-"});
    QVERIFY(text.waitForFinished());
    const QString pdf = QString::fromUtf8(text.readAllStandardOutput());
    QVERIFY2(pdf.contains("FORNECEDOR PAGO") && pdf.contains("EMPRESA EM CLUSTER"),
             qPrintable(pdf));
}

void TstCluster::stoppedNodeLeavesTheWorkstationWorking()
{
    ClusterDb db;
    REQUIRE_CLUSTER(db);
    auto c = connectTo(node(1) + "," + node(2) + "," + node(3), db.name);
    QCOMPARE(c->serverName(), QString("127.0.0.1"));
    seedPayable(*c);
    QCOMPARE(c->scalar("select count(*) from pagar").toInt(), 1);
    QCOMPARE(clusterCommand({"node-stop", "1"}), 0);
    // The next action finds its node gone and goes on with another one.
    const auto outcome = PayablesBook::settle(*c, settlement(SettlementMode::Cash, "ESTACAO-A"));
    QCOMPARE(outcome.kind, PayablesBook::SettlementOutcome::Kind::Settled);
    QCOMPARE(c->scalar("select count(*) from caixa").toInt(), 1);
    QCOMPARE(db.scalar(3, "select count(*) from pagar where Dataquitacao is not null").toInt(), 1);
    // Node 1 back for whatever runs next.
    QCOMPARE(clusterCommand({"node-start", "1"}), 0);
}

CP_TEST(TstCluster)
#include "tst_cluster.moc"
