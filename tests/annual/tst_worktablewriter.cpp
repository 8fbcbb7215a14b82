// The writer of the fills: full statements (prepared once, re-run) and the
// last short one write every row in order, texts cut to their column; a
// session lost between two statements sends nothing more and says the
// clerk must fill again, never writing into the shared table.

#include "AnnualFixture.h"
#include "TestMain.h"
#include "db/PrivateTable.h"
#include "reports/WorkTableWriter.h"

#include <QTest>

using namespace AnnualTest;

class TstWorkTableWriter : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { Clock::setFixed({}); }
    void fullAndShortStatements();
    void lostSessionBetweenStatements();
};

void TstWorkTableWriter::fullAndShortStatements()
{
    Fixture f;
    REQUIRE_DB(f.db);
    QVERIFY(f.ok);
    PrivateTable resumo02(&f.conn(), QStringLiteral("resumo02"));
    resumo02.claim();
    WorkTableWriter out(
        f.conn(), resumo02,
        {QStringLiteral("CodigoNota"), QStringLiteral("Credito"), QStringLiteral("es")}, 2);
    QList<int> ticks;
    out.onWritten = [&](int rows) { ticks << rows; };
    out.add({QStringLiteral("N1"), 1.5, QStringLiteral("E")});
    out.add({QStringLiteral("NOTA-COMPRIDA-12"), -2.25, QStringLiteral("D")});
    out.add({QStringLiteral("N3"), QVariant(), QStringLiteral("E")});
    out.add({QStringLiteral("N4"), 4.0, QStringLiteral("D")});
    out.add({QStringLiteral("N5"), 0.1, QStringLiteral("E")});
    QCOMPARE(out.pending(), 1);
    out.finish();
    QCOMPARE(out.written(), 5);
    QCOMPARE(ticks, (QList<int>{2, 4, 5}));
    QCOMPARE(f.rows(QStringLiteral("select CodigoNota, Credito, es from resumo02 order by "
                                   "Controle")),
             (QStringList{"N1|1.5|E", "NOTA-COMPR|-2.25|D", "N3|NULL|E", "N4|4|D", "N5|0.1|E"}));
    QCOMPARE(f.db.count("resumo02"), 0); // the shared table saw nothing
}

void TstWorkTableWriter::lostSessionBetweenStatements()
{
    Fixture f;
    REQUIRE_DB(f.db);
    QVERIFY(f.ok);
    PrivateTable resumo02(&f.conn(), QStringLiteral("resumo02"));
    resumo02.claim();
    WorkTableWriter out(f.conn(), resumo02, {QStringLiteral("CodigoNota")}, 2);
    out.add({QStringLiteral("N1")});
    out.add({QStringLiteral("N2")}); // the full statement is prepared here
    f.exec(QStringLiteral("KILL %1").arg(f.conn().sessionId()));
    QString message;
    try {
        out.add({QStringLiteral("N3")});
        out.add({QStringLiteral("N4")}); // re-runs the prepared statement
        out.finish();
    } catch (const DbError &e) {
        message = e.message();
    }
    QCOMPARE(message, Connection::privateCopyLostMessage());
    QVERIFY(!resumo02.valid());
    QCOMPARE(out.written(), 2);
    QCOMPARE(f.db.count("resumo02"), 0);
    // The connection serves the next statement.
    QCOMPARE(f.conn().scalar(QStringLiteral("select 1")).toInt(), 1);
}

CP_TEST(TstWorkTableWriter)
#include "tst_worktablewriter.moc"
