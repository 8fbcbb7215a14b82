// The record set's rows come straight from the client library: they must read
// exactly as the Qt driver gives them (types, values, NULLs, zero dates, long
// texts, both protocols), values must bind as the Qt driver binds them, the
// list must see its own session (open transaction, temporary tables), and a
// result abandoned part way (a server error, a killed session) must leave no
// half list behind and the session ready for the next statement.

#include "FaultProxy.h"
#include "TestDb.h"
#include "TestMain.h"
#include "db/PrivateTable.h"
#include "db/RecordSet.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QtTest>

namespace {

// The same statement read through the Qt driver into a record set of rows
// given in memory: what the record set held when the driver fetched for it.
std::unique_ptr<RecordSet> throughQtDriver(Connection &c, const QString &sql,
                                           const QVariantList &params)
{
    QSqlQuery q = c.exec(sql, params);
    QList<QVariantList> rows;
    while (q.next()) {
        QVariantList row;
        for (int i = 0; i < q.record().count(); ++i)
            row << q.value(i);
        rows << row;
    }
    auto rs = std::make_unique<RecordSet>(&c);
    rs->openRows(q.record(), rows);
    return rs;
}

void compareSets(const RecordSet &streamed, const RecordSet &reference)
{
    QCOMPARE(streamed.fieldCount(), reference.fieldCount());
    QCOMPARE(streamed.recordCount(), reference.recordCount());
    for (int f = 0; f < reference.fieldCount(); ++f) {
        const QString name = reference.fieldName(f);
        QCOMPARE(streamed.fieldName(f), name);
        QVERIFY2(streamed.fieldType(f) == reference.fieldType(f),
                 qPrintable(
                     QStringLiteral("%1: %2 / %3")
                         .arg(name, streamed.fieldType(f).name(), reference.fieldType(f).name())));
        for (int r = 0; r < reference.recordCount(); ++r) {
            const QVariant got = streamed.valueAt(r, f), want = reference.valueAt(r, f);
            const QString where = QStringLiteral("%1, linha %2: %3 / %4")
                                      .arg(name)
                                      .arg(r)
                                      .arg(got.toString(), want.toString());
            QVERIFY2(got.isNull() == want.isNull(), qPrintable(where));
            QVERIFY2(got.metaType() == want.metaType(), qPrintable(where));
            if (want.metaType().id() == QMetaType::Double) // bit for bit
                QVERIFY2(got.toDouble() == want.toDouble() ||
                             (std::isnan(got.toDouble()) && std::isnan(want.toDouble())),
                         qPrintable(where));
            else
                QVERIFY2(got == want, qPrintable(where));
        }
    }
}

// Counts rows and starts over when told to; can stop the stream part way.
struct CountingSink : RowSink
{
    int starts = 0;
    int rows = 0;
    std::function<void(int)> afterRow;
    void columns(const std::vector<SinkColumn> &) override
    {
        ++starts;
        rows = 0;
    }
    void row(const SinkCell *) override
    {
        ++rows;
        if (afterRow)
            afterRow(rows);
    }
};

} // namespace

class TstFetch : public QObject
{
    Q_OBJECT
private slots:
    void readsAsTheQtDriver_data();
    void readsAsTheQtDriver();
    void bindsAsTheQtDriver();
    void seesItsOwnSession();
    void abandonedResultLeavesTheSessionReady_data();
    void abandonedResultLeavesTheSessionReady();
    void killedPartWayIsReadAgainFromTheStart();
    void lostReplyToAListIsReadAgain_data();
    void lostReplyToAListIsReadAgain();
};

void TstFetch::readsAsTheQtDriver_data()
{
    QTest::addColumn<bool>("prepared"); // with a bound value: the binary protocol
    QTest::newRow("text protocol") << false;
    QTest::newRow("prepared statement") << true;
}

void TstFetch::readsAsTheQtDriver()
{
    QFETCH(bool, prepared);
    TestDb db;
    REQUIRE_DB(db);
    db.exec("create table tipos_fetch (id int primary key, ti tinyint, tu tinyint unsigned, "
            "si smallint, mi mediumint, bi bigint, bu bigint unsigned, iu int unsigned, "
            "yr year, db double, fl float, dc decimal(20,6), dt date, dtm datetime, "
            "dtf datetime(6), ts timestamp null, tm time, vc varchar(40), vb varchar(10) "
            "collate utf8mb4_bin, ch char(3), lt longtext, bl blob, en enum('A','B'), "
            "st set('X','Y'), bt bit(5), js json)");
    // Zero dates come from old rows of the suite's other programs.
    QSqlQuery q(db.sql());
    q.exec("set session sql_mode = ''");
    QVERIFY2(
        q.exec(QStringLiteral(
                   "insert into tipos_fetch values "
                   "(1, -128, 255, -32768, 8388607, -9223372036854775807, 18446744073709551615, "
                   "4294967295, 2024, 0.1e0 + 0.2e0, 0.3, 123456.123456, '2024-02-29', "
                   "'2024-03-10 23:59:59', '2024-01-02 10:11:12.123456', '2024-05-06 07:08:09', "
                   "'-838:59:59', 'Manutenção ÁGUA ç', 'Bin', 'ab', '%1', x'00ff0041', 'B', "
                   "'X,Y', b'10101', '{\"a\": 1}'),"
                   "(2, 0, 0, 0, 0, 0, 0, 0, 0, -0.0e0, 1e10, -0.000001, '0000-00-00', "
                   "'0000-00-00 00:00:00', '1000-01-01 00:00:00', null, '00:00:00', '', '', '', "
                   "'', '', 'A', '', b'0', null),"
                   "(3, null, null, null, null, null, null, null, null, 1e300, null, null, null, "
                   "null, null, null, null, null, null, null, null, null, null, null, null, null),"
                   "(4, 1, 1, 1, 1, 1, 1, 1, 1, 1234567.891, 3.14159, 1, '2023-02-31', "
                   "'2024-02-30 10:00:00', '9999-12-31 23:59:59', null, '10:11:12', 'x', 'y', "
                   "'z', 'curto', null, null, null, null, null)")
                   .arg(QString(3000, QChar(0x00E7)))),
        qPrintable(q.lastError().text()));
    const QString sql =
        prepared ? QStringLiteral("select * from tipos_fetch where id > :Minimo order by id")
                 : QStringLiteral("select * from tipos_fetch order by id");
    RecordSet rs(&db.connection(), sql);
    rs.setParam("Minimo", 0);
    rs.open();
    compareSets(rs, *throughQtDriver(db.connection(), ParsedSql::parse(sql).sql,
                                     prepared ? QVariantList{0} : QVariantList{}));

    // A few of the values worked out by hand.
    QCOMPARE(rs.recordCount(), 4);
    rs.first();
    QCOMPARE(rs.value("bu").toLongLong(), -1LL); // the unsigned maximum keeps its bits
    QCOMPARE(rs.number("db"), 0.30000000000000004);
    QCOMPARE(rs.number("fl"), 0.3);
    QCOMPARE(rs.text("vc"), QString("Manutenção ÁGUA ç"));
    QCOMPARE(rs.text("lt"), QString(3000, QChar(0x00E7)));
    QCOMPARE(rs.value("bl").toByteArray(), QByteArray("\x00\xff\x00\x41", 4));
    QCOMPARE(rs.value("dtf").toDateTime(), QDateTime(QDate(2024, 1, 2), QTime(10, 11, 12, 123)));
    QCOMPARE(rs.text("tm"), QString("-838:59:59"));
    rs.next();
    QVERIFY(rs.isNull("dt"));  // a zero date is no date
    QVERIFY(!rs.isNull("vc")); // an empty text is not NULL
    QCOMPARE(rs.text("vc"), QString(""));
}

void TstFetch::bindsAsTheQtDriver()
{
    // The Qt driver cannot read back a bare "select ?" (it sizes its buffers
    // before the values are known and gives up on the first long one), so what
    // each side bound is kept by the server in a table of its own: the column
    // types the server gave the values and the values themselves must match.
    TestDb db;
    REQUIRE_DB(db);
    Connection &c = db.connection();
    const QVariantList values{QStringLiteral("D'Ávila \\' OR 1=1 -- %_"),
                              QString(),
                              QStringLiteral(""),
                              42,
                              -7,
                              4000000000u,
                              Q_INT64_C(9007199254740993),
                              0.1,
                              QDate(2024, 2, 29),
                              QDate(),
                              QDateTime(QDate(2024, 5, 6), QTime(7, 8, 9, 250)),
                              QTime(23, 59, 58),
                              true,
                              QByteArray("\x00\x01", 2),
                              QVariant()};
    QStringList marks, named;
    QVariantList params;
    for (int i = 0; i < values.size(); ++i) {
        marks << QStringLiteral("? as p%1, ? is null as n%1").arg(i);
        named << QStringLiteral(":v%1 as p%1, :v%1 is null as n%1").arg(i);
        params << values[i] << values[i];
    }
    const QString select = QStringLiteral("select ") + marks.join(", ");
    c.exec(QStringLiteral("create temporary table binds_qt ") + select, params);
    CountingSink none;
    c.stream(QStringLiteral("create temporary table binds_native ") + select, params, none);
    QCOMPARE(none.starts, 1);
    QCOMPARE(none.rows, 0);
    auto definition = [&](const QString &table) {
        QSqlQuery q = c.exec(QStringLiteral("show create table ") + table);
        q.next();
        return q.value(1).toString().replace(table, QStringLiteral("t"));
    };
    QCOMPARE(definition("binds_native"), definition("binds_qt"));
    const auto boundByQt = throughQtDriver(c, "select * from binds_qt", {});
    compareSets(*throughQtDriver(c, "select * from binds_native", {}), *boundByQt);

    // Read straight back, the values are those the server kept.
    RecordSet rs(&c, QStringLiteral("select ") + named.join(", "));
    for (int i = 0; i < values.size(); ++i)
        rs.setParam(QStringLiteral("v%1").arg(i), values[i]);
    rs.open();
    QCOMPARE(rs.recordCount(), 1);
    QCOMPARE(rs.fieldCount(), boundByQt->fieldCount());
    for (int f = 0; f < rs.fieldCount(); ++f) {
        const QVariant got = rs.valueAt(0, f), kept = boundByQt->valueAt(0, f);
        QVERIFY2(got.isNull() == kept.isNull() && got == kept,
                 qPrintable(QStringLiteral("%1: %2 / %3")
                                .arg(rs.fieldName(f), got.toString(), kept.toString())));
    }
    QCOMPARE(rs.text("p0"), QString("D'Ávila \\' OR 1=1 -- %_"));
    QCOMPARE(rs.value("p5").toLongLong(), 4000000000LL);
    QCOMPARE(rs.value("p6").toLongLong(), Q_INT64_C(9007199254740993));
    QCOMPARE(rs.value("p10").toDateTime(), QDateTime(QDate(2024, 5, 6), QTime(7, 8, 9, 250)));
    QCOMPARE(rs.value("p12").toInt(), 1); // a flag binds as a number
    QCOMPARE(rs.value("n1").toInt(), 1);  // a null text binds as NULL
    QCOMPARE(rs.value("n2").toInt(), 0);  // an empty one does not
    QCOMPARE(rs.value("n9").toInt(), 1);  // an invalid date binds as NULL
}

void TstFetch::seesItsOwnSession()
{
    // The rows are read on the program's own session: its open transaction
    // and its private work tables are what the list shows.
    TestDb db;
    REQUIRE_DB(db);
    Connection &c = db.connection();
    db.exec("insert into pagarmes (descricao, mes01) values ('COMPARTILHADA', 1)");
    PrivateTable mine(&c, "pagarmes");
    mine.claim();
    c.exec("insert into pagarmes (descricao, mes01) values (?, ?)", {"DESTA ESTACAO", 2});
    RecordSet work(&c, "select descricao from pagarmes");
    work.open();
    QCOMPARE(work.recordCount(), 1);
    QCOMPARE(work.text("descricao"), QString("DESTA ESTACAO"));

    c.begin();
    c.exec("insert into filial (Nomefilial) values (?)", {"AINDA NAO GRAVADA"});
    RecordSet branches(&c, "select * from filial where Nomefilial like :n");
    branches.setParam("n", "AINDA%");
    branches.open();
    QCOMPARE(branches.recordCount(), 1);
    QCOMPARE(db.count("filial"), 0); // another session does not see it
    c.rollback();
    branches.refresh();
    QCOMPARE(branches.recordCount(), 0);
    QCOMPARE(c.connectionId(), c.sessionId());
}

void TstFetch::abandonedResultLeavesTheSessionReady_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<bool>("serverError"); // otherwise the reader gives up
    // Five thousand rows arrive, then the server fails the statement.
    QTest::newRow("server error part way")
        << "select seq, (select 1 from dual where seq > 5000 union select 2 from dual where "
           "seq > 5000) as x from seq_1_to_10000"
        << true;
    QTest::newRow("reader stops part way")
        << "select seq, repeat('x', 500) as x from seq_1_to_20000" << false;
}

void TstFetch::abandonedResultLeavesTheSessionReady()
{
    QFETCH(QString, sql);
    QFETCH(bool, serverError);
    TestDb db;
    REQUIRE_DB(db);
    Connection &c = db.connection();
    const qint64 session = c.sessionId();
    if (serverError) {
        RecordSet rs(&c, sql);
        QVERIFY_THROWS_EXCEPTION(DbError, rs.open());
        QVERIFY(!rs.isOpen());
        QCOMPARE(rs.recordCount(), 0);
        QCOMPARE(rs.fieldCount(), 0);
    } else {
        CountingSink sink;
        sink.afterRow = [](int n) {
            if (n == 10)
                throw std::runtime_error("desistiu");
        };
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, c.stream(sql, {}, sink));
        QCOMPARE(sink.rows, 10);
    }
    // Same session, in step: the next statements run normally.
    QCOMPARE(c.scalar("select count(*) from seq_1_to_3").toInt(), 3);
    RecordSet next(&c, "select seq from seq_1_to_5 where seq > :n");
    next.setParam("n", 2);
    next.open();
    QCOMPARE(next.recordCount(), 3);
    QCOMPARE(c.sessionId(), session);
}

void TstFetch::killedPartWayIsReadAgainFromTheStart()
{
    // The session is killed while the rows of a read are still coming (far
    // more than the network buffers hold): the read runs again on a new
    // session, from the start, and no row is counted twice.
    TestDb db;
    REQUIRE_DB(db);
    Connection &c = db.connection();
    c.connectionLostHandler = [](const DbError &) { return Connection::LossAction::Reconnect; };
    const QString sql = QStringLiteral("select seq, repeat('y', 1000) from seq_1_to_40000");
    const qint64 first = c.sessionId();
    CountingSink sink;
    sink.afterRow = [&](int n) {
        if (sink.starts == 1 && n == 1)
            db.exec(QStringLiteral("KILL CONNECTION %1").arg(first));
    };
    c.stream(sql, {}, sink);
    QCOMPARE(sink.starts, 2);
    QCOMPARE(sink.rows, 40000);
    QVERIFY(c.sessionId() != first);

    // Without leave to reconnect the loss is raised, and nothing is kept.
    c.connectionLostHandler = [](const DbError &) { return Connection::LossAction::Raise; };
    const qint64 second = c.sessionId();
    CountingSink raised;
    raised.afterRow = [&](int n) {
        if (n == 1)
            db.exec(QStringLiteral("KILL CONNECTION %1").arg(second));
    };
    bool lost = false;
    try {
        c.stream(sql, {}, raised);
    } catch (const DbError &e) {
        lost = e.isConnectionLost();
    }
    QVERIFY(lost);
    QVERIFY(raised.rows < 40000);
    QVERIFY(!c.isOpen());
    c.open();
}

void TstFetch::lostReplyToAListIsReadAgain_data()
{
    QTest::addColumn<bool>("prepared");
    QTest::newRow("text protocol") << false;
    QTest::newRow("prepared statement") << true;
}

void TstFetch::lostReplyToAListIsReadAgain()
{
    QFETCH(bool, prepared);
    TestDb db;
    REQUIRE_DB(db);
    db.exec("insert into filial (Nomefilial) values ('MATRIZ'), ('LOJA 2')");
    FaultProxy proxy(TestDb::serverSettings().port);
    QVERIFY(proxy.ok());
    Connection c(QStringLiteral("fetch_proxy_%1").arg(prepared));
    ConnectionSettings s = TestDb::serverSettings(db.databaseName());
    s.host = QStringLiteral("127.0.0.1");
    s.port = proxy.port();
    c.setSettings(s);
    c.connectionLostHandler = [](const DbError &) { return Connection::LossAction::Reconnect; };
    c.open();
    RecordSet rs(&c, prepared ? "select Nomefilial from filial where Codigofilial > :c"
                              : "select Nomefilial from filial order by Codigofilial");
    rs.setParam("c", 0);
    proxy.loseReplyTo("select Nomefilial");
    rs.open();
    QCOMPARE(proxy.faultsFired(), 1);
    QCOMPARE(rs.recordCount(), 2);
    QCOMPARE(rs.text("Nomefilial"), QString("MATRIZ"));
}

CP_TEST(TstFetch)
#include "tst_fetch.moc"
