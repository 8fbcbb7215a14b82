// The data layer under real network faults, injected by a proxy between the
// connection and the test server: a lost reply to a COMMIT or to a write, a
// lost request, a stalled server. What the layer reports must be what the
// server holds: done, not written, or unknown — never a row written twice.

#include "FaultProxy.h"
#include "TestDb.h"
#include "TestMain.h"
#include "db/PrivateTable.h"
#include "db/RecordSet.h"

#include <QElapsedTimer>
#include <QSqlQuery>
#include <QtTest>

namespace {

// The program's connection on the test database, through the proxy.
std::unique_ptr<Connection> viaProxy(TestDb &db, FaultProxy &proxy, int readTimeout = 60)
{
    static int made = 0;
    auto c = std::make_unique<Connection>(QStringLiteral("faults_%1").arg(++made));
    ConnectionSettings s = TestDb::serverSettings(db.databaseName());
    s.unixSocket.clear();
    s.host = QStringLiteral("127.0.0.1");
    s.port = proxy.port();
    s.connectTimeoutSeconds = 2;
    s.readTimeoutSeconds = readTimeout;
    c->setSettings(s);
    c->connectionLostHandler = [](const DbError &) { return Connection::LossAction::Reconnect; };
    c->open();
    return c;
}

int branches(TestDb &db, const QString &name)
{
    return db
        .scalar(QStringLiteral("select count(*) from filial where Nomefilial = '%1'").arg(name))
        .toInt();
}

} // namespace

class TstFaults : public QObject
{
    Q_OBJECT
private slots:
    void lostCommit_data();
    void lostCommit();
    void stalledCommitIsUnknown();
    void lostWriteIsNeverSentTwice();
    void lostReadIsRunAgain();
    void stalledServerTimesOut();
    void privateWorkTables();
};

void TstFaults::lostCommit_data()
{
    QTest::addColumn<bool>("replyLost"); // otherwise the COMMIT itself is lost
    QTest::addColumn<int>("rows");
    QTest::newRow("reply to COMMIT lost: done") << true << 2;
    QTest::newRow("COMMIT lost on the way: not written") << false << 0;
}

void TstFaults::lostCommit()
{
    QFETCH(bool, replyLost);
    QFETCH(int, rows);
    TestDb db;
    REQUIRE_DB(db);
    FaultProxy proxy(TestDb::serverSettings().port);
    QVERIFY(proxy.ok());
    auto c = viaProxy(db, proxy);
    if (replyLost)
        proxy.loseReplyTo("COMMIT");
    else
        proxy.loseRequest("COMMIT");
    QString error;
    try {
        c->transaction(QStringLiteral("a geração das parcelas"), [&] {
            c->exec("insert into filial (Nomefilial) values (?)", {"PARCELA"});
            c->exec("insert into filial (Nomefilial) values (?)", {"PARCELA"});
        });
    } catch (const DbError &e) {
        QVERIFY(!e.outcomeUnknown());
        error = e.message();
    }
    QCOMPARE(proxy.faultsFired(), 1);
    QCOMPARE(branches(db, "PARCELA"), rows);
    if (rows == 0)
        QCOMPARE(error, QString("A conexão com o servidor caiu e a geração das parcelas não foi "
                                "gravada. Nada foi gravado; pode repetir."));
    else
        QVERIFY2(error.isEmpty(), qPrintable(error));
    // The connection goes on working for the next operation.
    c->transaction([&] { c->exec("insert into filial (Nomefilial) values (?)", {"DEPOIS"}); });
    QCOMPARE(branches(db, "DEPOIS"), 1);
}

void TstFaults::stalledCommitIsUnknown()
{
    // The server commits but its answer is held and the server cannot be
    // reached to ask: the program must not say that nothing was written.
    TestDb db;
    REQUIRE_DB(db);
    FaultProxy proxy(TestDb::serverSettings().port);
    auto c = viaProxy(db, proxy, 2);
    proxy.stallAfter("COMMIT");
    bool unknown = false;
    QString message;
    try {
        c->transaction(QStringLiteral("a baixa"),
                       [&] { c->exec("insert into filial (Nomefilial) values (?)", {"BAIXA"}); });
    } catch (const DbError &e) {
        unknown = e.outcomeUnknown();
        message = e.message();
    }
    proxy.resume();
    QVERIFY(unknown);
    QCOMPARE(message,
             QString("A conexão com o servidor caiu ao confirmar a baixa e não foi possível "
                     "saber se ela foi concluída. Confira os dados antes de repetir."));
    QCOMPARE(branches(db, "BAIXA"), 1); // it was done, as "unknown" allowed
}

void TstFaults::lostWriteIsNeverSentTwice()
{
    TestDb db;
    REQUIRE_DB(db);
    FaultProxy proxy(TestDb::serverSettings().port);
    auto c = viaProxy(db, proxy);
    // A bare write outside any operation: applied, reply lost, not re-sent.
    proxy.loseReplyTo("insert into filial");
    bool unknown = false;
    QString message;
    try {
        c->exec("insert into filial (Nomefilial) values (?)", {"SOLTA"});
    } catch (const DbError &e) {
        unknown = e.outcomeUnknown();
        message = e.message();
    }
    QVERIFY(unknown);
    QCOMPARE(message, QString("A conexão com o servidor foi perdida durante a gravação (INSERT em "
                              "filial) e não se sabe se ela foi concluída. Confira os dados antes "
                              "de repetir."));
    QCOMPARE(branches(db, "SOLTA"), 1);
    // A record set's post runs as an operation: a lost COMMIT reply is
    // settled, the row is read back, and it exists once.
    RecordSet rs(c.get(), "select * from filial");
    rs.open();
    rs.append();
    rs.setValue("Nomefilial", "DO CADASTRO");
    proxy.loseReplyTo("COMMIT");
    rs.post();
    QCOMPARE(proxy.faultsFired(), 2);
    QCOMPARE(branches(db, "DO CADASTRO"), 1);
    QVERIFY(rs.value("Codigofilial").toInt() > 0);
    // Deleting through a lost COMMIT reply deletes once and says done.
    proxy.loseReplyTo("COMMIT");
    rs.remove();
    QCOMPARE(branches(db, "DO CADASTRO"), 0);
}

void TstFaults::lostReadIsRunAgain()
{
    TestDb db;
    REQUIRE_DB(db);
    db.exec("insert into filial (Nomefilial) values ('MATRIZ')");
    FaultProxy proxy(TestDb::serverSettings().port);
    auto c = viaProxy(db, proxy);
    proxy.loseReplyTo("select Nomefilial");
    QCOMPARE(c->scalar("select Nomefilial from filial where Codigofilial > ?", {0}).toString(),
             QString("MATRIZ"));
    QCOMPARE(proxy.faultsFired(), 1);
}

void TstFaults::stalledServerTimesOut()
{
    TestDb db;
    REQUIRE_DB(db);
    FaultProxy proxy(TestDb::serverSettings().port);
    auto c = viaProxy(db, proxy, 2);
    c->connectionLostHandler = [](const DbError &) { return Connection::LossAction::Raise; };
    proxy.stall();
    QElapsedTimer t;
    t.start();
    bool lost = false;
    try {
        c->scalar("select count(*) from filial");
    } catch (const DbError &e) {
        lost = e.isConnectionLost();
    }
    const qint64 waited = t.elapsed();
    proxy.resume();
    QVERIFY(lost);
    // About the read timeout (the client library may try the read twice).
    QVERIFY2(waited >= 1500 && waited < 8000, qPrintable(QString::number(waited)));
    // Once the server answers again, so does the program.
    QCOMPARE(c->scalar("select count(*) from filial").toInt(), 0);
}

void TstFaults::privateWorkTables()
{
    // Two workstations fill the same work table: each sees its own rows, the
    // shared table none; after a reconnect the copy is gone and nothing reads
    // the shared table in its place.
    TestDb db;
    REQUIRE_DB(db);
    db.exec("insert into pagarmes (descricao, mes01) values ('COMPARTILHADA', 1)");
    FaultProxy proxy(TestDb::serverSettings().port);
    auto a = viaProxy(db, proxy);
    auto b = viaProxy(db, proxy);
    PrivateTable mineA(a.get(), "pagarmes"), mineB(b.get(), "PagarMes");
    mineA.claim();
    mineB.claim();
    a->exec("insert into pagarmes (descricao, mes01) values (?, ?)", {"DA ESTACAO A", 10});
    b->exec("insert into PagarMes (descricao, mes01) values (?, ?)", {"DA ESTACAO B", 20});
    QCOMPARE(a->scalar("select group_concat(descricao) from pagarmes").toString(),
             QString("DA ESTACAO A"));
    QCOMPARE(b->scalar("select group_concat(descricao) from pagarmes").toString(),
             QString("DA ESTACAO B"));
    QCOMPARE(db.scalar("select group_concat(descricao) from pagarmes").toString(),
             QString("COMPARTILHADA"));
    mineA.require();
    // A's read loses its reply: the reconnect ends A's copy, and the read is
    // not run again on the shared table.
    proxy.loseReplyTo("select descricao");
    QString message;
    try {
        a->scalar("select descricao from pagarmes where mes01 > ?", {0});
    } catch (const DbError &e) {
        message = e.message();
    }
    QCOMPARE(message, QString("A conexão com o servidor foi refeita e os dados gerados nesta "
                              "estação se perderam. Clique em \"Gerar\" novamente."));
    QVERIFY(!mineA.valid());
    QVERIFY_THROWS_EXCEPTION(DbError, mineA.require());
    QVERIFY(mineB.valid());
    // A new fill makes a new copy.
    mineA.claim();
    QVERIFY(mineA.valid());
    QCOMPARE(a->scalar("select count(*) from pagarmes").toInt(), 0);
}

CP_TEST(TstFaults)
#include "tst_faults.moc"
