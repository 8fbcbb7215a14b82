// Every operation of the payables book that writes several rows, under a
// lost reply to its COMMIT and a COMMIT lost on its way: the operation is
// then either done exactly once (and said done) or not written at all (and
// said so, and done once when repeated) — never written twice.

#include "FaultProxy.h"
#include "TestDb.h"
#include "TestMain.h"
#include "payables/PayablesBook.h"

#include <QtTest>

#include <functional>

using Operation = std::function<void(Connection &)>;
Q_DECLARE_METATYPE(Operation)

namespace {

struct Counts
{
    int pagar = 0, quitados = 0, caixa = 0, caixatemp = 0, contacorrente = 0;
    bool operator==(const Counts &o) const
    {
        return pagar == o.pagar && quitados == o.quitados && caixa == o.caixa &&
               caixatemp == o.caixatemp && contacorrente == o.contacorrente;
    }
};

Counts counts(TestDb &db)
{
    Counts c;
    c.pagar = db.count("pagar");
    c.quitados = db.scalar("select count(*) from pagar where Dataquitacao is not null").toInt();
    c.caixa = db.count("caixa");
    c.caixatemp = db.count("caixatemp");
    c.contacorrente = db.count("contacorrente");
    return c;
}

char *toString(const Counts &c)
{
    return qstrdup(QStringLiteral("pagar=%1 quitados=%2 caixa=%3 caixatemp=%4 contacorrente=%5")
                       .arg(c.pagar)
                       .arg(c.quitados)
                       .arg(c.caixa)
                       .arg(c.caixatemp)
                       .arg(c.contacorrente)
                       .toUtf8()
                       .constData());
}

void seed(TestDb &db)
{
    db.exec("insert into pagar (Controle, Nota, Nome, Codigofornecedor, Valor, total, Datavenc, "
            "Dataemissao, pago, negociacao, nomefilial, Codigofilial) values (500, 'N500', "
            "'FORNECEDOR', 7, 250, 250, '2026-12-01', '2026-11-01', 'N', 'N', 'MATRIZ', 1)");
}

NewPayableValues bill(double parcelas)
{
    NewPayableValues v;
    v.emissao = QDate(2026, 12, 1);
    v.codigoFornecedor = 7;
    v.nomeFornecedor = "FORNECEDOR";
    v.codigoFilial = 1;
    v.nomeFilial = "MATRIZ";
    v.parcelas = parcelas;
    v.total = 1000;
    v.nota = "NF123";
    v.valorParcela = EntryPlan::instalmentValue(v.total, v.parcelas);
    return v;
}

SettlementRequest settlement(SettlementMode mode, double paid)
{
    SettlementRequest r;
    r.key = 500;
    r.mode = mode;
    r.date = QDate(2026, 12, 10);
    r.valorPago = paid;
    r.valorDuplicata = 250;
    r.toCash = mode != SettlementMode::Bank;
    r.user = "ANA";
    r.computer = "ESTACAO1";
    r.at = QDateTime(QDate(2026, 12, 10), QTime(9, 30));
    r.branchCode = 1;
    r.branchName = "MATRIZ";
    return r;
}

} // namespace

class TstLostReplies : public QObject
{
    Q_OBJECT
private slots:
    void operationsAreNeverDoubled_data();
    void operationsAreNeverDoubled();
};

void TstLostReplies::operationsAreNeverDoubled_data()
{
    QTest::addColumn<Operation>("operation");
    QTest::addColumn<bool>("replyLost"); // otherwise the COMMIT never arrives
    const QDateTime at(QDate(2026, 12, 10), QTime(9, 30));
    const QList<std::pair<const char *, Operation>> operations = {
        {"generation of 3 instalments",
         [at](Connection &c) { PayablesBook::generate(c, bill(3), "ANA", at); }},
        {"paid at entry, today",
         [at](Connection &c) { PayablesBook::settleAtEntry(c, bill(0), at.date(), "ANA", at); }},
        {"quick settlement, earlier date",
         [at](Connection &c) {
             PayablesBook::settleAtEntry(c, bill(0), QDate(2026, 12, 5), "ANA", at);
         }},
        {"F3",
         [](Connection &c) { PayablesBook::settle(c, settlement(SettlementMode::Full, 250)); }},
        {"cash",
         [](Connection &c) { PayablesBook::settle(c, settlement(SettlementMode::Cash, 250)); }},
        {"bank",
         [](Connection &c) { PayablesBook::settle(c, settlement(SettlementMode::Bank, 260)); }},
        {"DPC",
         [](Connection &c) { PayablesBook::settle(c, settlement(SettlementMode::Dpc, 100)); }},
    };
    for (const auto &[name, op] : operations) {
        QTest::addRow("%s, reply lost", name) << op << true;
        QTest::addRow("%s, COMMIT lost", name) << op << false;
    }
}

void TstLostReplies::operationsAreNeverDoubled()
{
    QFETCH(Operation, operation);
    QFETCH(bool, replyLost);
    // What one clean run of the operation writes.
    Counts clean;
    {
        TestDb db;
        REQUIRE_DB(db);
        seed(db);
        const Counts before = counts(db);
        operation(db.connection());
        clean = counts(db);
        QVERIFY2(!(clean == before), "the operation wrote nothing");
    }
    TestDb db;
    REQUIRE_DB(db);
    seed(db);
    const Counts before = counts(db);
    FaultProxy proxy(TestDb::serverSettings().port);
    QVERIFY(proxy.ok());
    Connection c(QStringLiteral("lostreplies"));
    ConnectionSettings s = TestDb::serverSettings(db.databaseName());
    s.unixSocket.clear();
    s.host = "127.0.0.1";
    s.port = proxy.port();
    s.connectTimeoutSeconds = 2;
    c.setSettings(s);
    c.connectionLostHandler = [](const DbError &) { return Connection::LossAction::Reconnect; };
    c.open();
    if (replyLost)
        proxy.loseReplyTo("COMMIT");
    else
        proxy.loseRequest("COMMIT");
    QString error;
    try {
        operation(c);
    } catch (const DbError &e) {
        QVERIFY(!e.outcomeUnknown());
        error = e.message();
    }
    QCOMPARE(proxy.faultsFired(), 1);
    if (replyLost) {
        // Done, and said done.
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QCOMPARE(counts(db), clean);
        return;
    }
    QVERIFY2(error.startsWith("A conexão com o servidor caiu e a ") &&
                 error.endsWith(" não foi gravada. Nada foi gravado; pode repetir."),
             qPrintable(error));
    QCOMPARE(counts(db), before);
    // Repeated, as the message allows: done once.
    operation(c);
    QCOMPARE(counts(db), clean);
}

CP_TEST(TstLostReplies)
#include "tst_lostreplies.moc"
