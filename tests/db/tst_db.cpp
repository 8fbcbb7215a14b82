// The data layer against a real server: parameters, posting and reading back,
// width cuts, states, refresh, client-side order, master-detail, and values
// that try to change the statement.

#include "TestDb.h"
#include "TestMain.h"
#include "db/DisplayFormat.h"
#include "db/LikePattern.h"
#include "db/RecordSet.h"
#include "db/RecordSetModel.h"

#include <QSignalSpy>
#include <QSqlQuery>
#include <QtTest>

class TstDb : public QObject
{
    Q_OBJECT

    static void exec(TestDb &db, const QString &sql)
    {
        QSqlQuery q(db.sql());
        QVERIFY2(q.exec(sql), qPrintable(q.lastError().text() + " / " + sql));
    }
    static QVariant scalar(TestDb &db, const QString &sql)
    {
        QSqlQuery q(db.sql());
        if (!q.exec(sql) || !q.next())
            return QVariant();
        return q.value(0);
    }

private slots:
    void postInsertReadsBackKeyAndDefaults();
    void cutsTextToFieldAndColumnWidths();
    void editCancelAndRemove();
    void refreshSeesOtherWorkstationsAndKeepsRow();
    void clientSideOrder();
    void masterDetailFollowsMaster();
    void valuesNeverChangeTheStatement_data();
    void valuesNeverChangeTheStatement();
    void gridModelShowsMasks();
    void staleWritesAreRefused_data();
    void staleWritesAreRefused();
    void transactionRollsBackOnError();
};

void TstDb::postInsertReadsBackKeyAndDefaults()
{
    TestDb db;
    REQUIRE_DB(db);
    RecordSet rs(&db.connection(), "Select * From Pagar where Controle < 0");
    rs.open();
    QCOMPARE(rs.recordCount(), 0);
    QCOMPARE(rs.baseTable(), QString("pagar"));
    QCOMPARE(rs.keyField().toLower(), QString("controle"));
    rs.append();
    QCOMPARE(rs.state(), RecordSet::State::Insert);
    rs.setValue("Nota", "1234");
    rs.setValue("Valor", 33.33);
    rs.setValue("Datavenc", QDate(2024, 2, 9));
    rs.post();
    QCOMPARE(rs.state(), RecordSet::State::Browse);
    const int key = rs.value("Controle").toInt();
    QVERIFY(key > 0);
    QCOMPARE(rs.text("negociacao"), QString("N")); // server default read back
    QCOMPARE(rs.date("Datavenc"), QDate(2024, 2, 9));
    QVERIFY(rs.isNull("Dataquitacao"));
    QCOMPARE(scalar(db, QString("select Nota from pagar where Controle = %1").arg(key)).toString(),
             QString("1234"));
    QCOMPARE(scalar(db, "select count(*) from pagar").toInt(), 1);
}

void TstDb::cutsTextToFieldAndColumnWidths()
{
    TestDb db;
    REQUIRE_DB(db);
    RecordSet rs(&db.connection(), "select * from pagar where Controle < 0");
    rs.setFieldWidth("Nota", 10);
    rs.open();
    rs.append();
    rs.setValue("Nota", "123456789012");                // the screen's 10-character field
    rs.setValue("especie", "Pagamento Pagar Dinheiro"); // the column's 15 characters
    rs.setValue("Nome", QString(120, QChar(0x00C7)));   // 120 x 'Ç' into 100 characters
    rs.post();
    QCOMPARE(rs.text("Nota"), QString("1234567890"));
    QCOMPARE(rs.text("especie"), QString("Pagamento Pagar"));
    QCOMPARE(rs.text("Nome"), QString(100, QChar(0x00C7)));
    QCOMPARE(scalar(db, "select especie from pagar").toString(), QString("Pagamento Pagar"));
}

void TstDb::editCancelAndRemove()
{
    TestDb db;
    REQUIRE_DB(db);
    exec(db, "insert into filial (Nomefilial) values ('MATRIZ'), ('LOJA 2'), ('LOJA 3')");
    RecordSet rs(&db.connection(), "select * from filial");
    rs.open();
    QCOMPARE(rs.recordCount(), 3);
    QVERIFY_THROWS_EXCEPTION(DbError, rs.setValue("Nomefilial", "X")); // browse state
    rs.moveTo(1);
    rs.edit();
    rs.setValue("Nomefilial", "LOJA DOIS");
    QCOMPARE(rs.text("Nomefilial"), QString("LOJA DOIS"));
    rs.cancel();
    QCOMPARE(rs.text("Nomefilial"), QString("LOJA 2"));
    rs.edit();
    rs.setValue("Nomefilial", "LOJA DOIS");
    rs.post();
    QCOMPARE(scalar(db, "select Nomefilial from filial where Codigofilial = 2").toString(),
             QString("LOJA DOIS"));

    rs.append();
    QCOMPARE(rs.recordCount(), 4);
    rs.cancel();
    QCOMPARE(rs.recordCount(), 3);
    QCOMPARE(scalar(db, "select count(*) from filial").toInt(), 3);

    rs.moveTo(0);
    rs.remove();
    QCOMPARE(rs.recordCount(), 2);
    QCOMPARE(rs.text("Nomefilial"), QString("LOJA DOIS"));
    QCOMPARE(scalar(db, "select count(*) from filial").toInt(), 2);

    // bof/eof walk as the screens loop over rows
    QStringList seen;
    for (rs.first(); !rs.eof(); rs.next())
        seen << rs.text("Nomefilial");
    QCOMPARE(seen, (QStringList{"LOJA DOIS", "LOJA 3"}));
}

void TstDb::refreshSeesOtherWorkstationsAndKeepsRow()
{
    TestDb db;
    REQUIRE_DB(db);
    exec(db, "insert into tipos (DESCTIPO) values ('DINHEIRO'), ('BOLETO'), ('PIX')");
    RecordSet rs(&db.connection(), "select * from tipos order by CODIGOTIPO");
    rs.open();
    QVERIFY(rs.locate("DESCTIPO", "BOLETO"));
    exec(db, "insert into tipos (CODIGOTIPO, DESCTIPO) values (-1, 'CHEQUE')");
    exec(db, "update tipos set DESCTIPO = 'BOLETO BANCARIO' where CODIGOTIPO = 2");
    rs.refresh();
    QCOMPARE(rs.recordCount(), 4);
    QCOMPARE(rs.text("DESCTIPO"), QString("BOLETO BANCARIO"));
    QCOMPARE(rs.recNo(), 2); // row 0 is the new code -1
}

void TstDb::clientSideOrder()
{
    TestDb db;
    REQUIRE_DB(db);
    exec(db, "insert into pagar (Nome, Valor, Datavenc) values ('beta', 10, '2024-01-03'), "
             "('Alfa', 30, '2024-01-02'), ('ÁGUA', 20, null), ('alfa', 5, '2024-01-01')");
    RecordSet rs(&db.connection(), "select * from pagar");
    rs.setOrder("Nome, Valor desc");
    rs.open();
    QStringList names;
    for (rs.first(); !rs.eof(); rs.next())
        names << rs.text("Nome") + "/" + QString::number(rs.number("Valor"));
    QCOMPARE(names, (QStringList{"Alfa/30", "alfa/5", "beta/10", "ÁGUA/20"}));
    rs.setOrder("Datavenc");
    rs.first();
    QVERIFY(rs.isNull("Datavenc")); // nulls first
    rs.last();
    QCOMPARE(rs.text("Nome"), QString("beta"));
}

void TstDb::masterDetailFollowsMaster()
{
    TestDb db;
    REQUIRE_DB(db);
    exec(db, "insert into nota (Codigonota, Codigofornecedor, Notafiscal) values (1, 7, 'NF1'), "
             "(2, 7, 'NF2')");
    exec(db, "insert into itensnota (Codigonota, notafiscal, produto) values (1, 'NF1', 'A'), "
             "(1, 'NF1', 'B'), (2, 'NF2', 'C')");
    RecordSet master(&db.connection(), "select * from nota order by Codigonota");
    RecordSet detail(&db.connection(),
                     "select * from itensNota where Codigonota = :Codigonota and notafiscal = :nf");
    detail.setMaster(&master, {"Codigonota", "Notafiscal"}, {"Codigonota", "nf"});
    master.open();
    QVERIFY(detail.isOpen());
    QCOMPARE(detail.recordCount(), 2);
    master.next();
    QCOMPARE(detail.recordCount(), 1);
    QCOMPARE(detail.text("produto"), QString("C"));
}

void TstDb::valuesNeverChangeTheStatement_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<int>("rows");
    QTest::newRow("prefix, quote found literally") << "  D'A " << 1;
    QTest::newRow("percent is a wildcard") << "%AVILA%" << 1;
    QTest::newRow("underscore is a wildcard") << "D_AVILA%" << 1;
    QTest::newRow("quote injection") << "x' OR 1=1 -- " << 0;
    QTest::newRow("backslash quote injection") << "\\' OR 1=1 -- " << 0;
    QTest::newRow("backslash stands for itself") << "C:\\" << 1;
}

void TstDb::valuesNeverChangeTheStatement()
{
    QFETCH(QString, pattern);
    QFETCH(int, rows);
    TestDb db;
    REQUIRE_DB(db);
    exec(db, "insert into fornecedor (Nome) values ('D''AVILA MATERIAIS'), ('OUTRO LTDA'), "
             "('C:\\\\PASTA')");
    RecordSet rs(&db.connection(), "select * from fornecedor where Nome like :Nome order by Nome");
    rs.setParam("Nome", LikePattern::prefix(pattern));
    rs.open();
    QCOMPARE(rs.recordCount(), rows);
}

void TstDb::gridModelShowsMasks()
{
    TestDb db;
    REQUIRE_DB(db);
    exec(db, "insert into pagar (Nome, Valor, Datavenc) values ('ACME', 1234.56, '2024-01-10')");
    RecordSet rs(&db.connection(), "select * from pagar");
    rs.open();
    RecordSetModel model;
    model.setRecordSet(&rs);
    model.setColumns({{"Nome", "Fornecedor", 200, {}, {}},
                      {"Valor", "Valor", 80, "#,##0.00", {}},
                      {"Datavenc", "Vencimento", 80, {}, {}}});
    model.setColorRule([](const RecordSet &r, int row) {
        return r.valueAt(row, "Valor").toDouble() > 1000 ? RowColors{Qt::red, {}} : RowColors{};
    });
    QCOMPARE(model.rowCount(), 1);
    QCOMPARE(model.headerData(0, Qt::Horizontal).toString(), QString("Fornecedor"));
    QCOMPARE(model.data(model.index(0, 1)).toString(), QString("1.234,56"));
    QCOMPARE(model.data(model.index(0, 2)).toString(), QString("10/01/2024"));
    QCOMPARE(model.data(model.index(0, 0), Qt::ForegroundRole).value<QColor>(), QColor(Qt::red));
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    rs.append();
    QCOMPARE(inserted.count(), 1);
    QCOMPARE(model.rowCount(), 2);
    rs.cancel();
    QCOMPARE(model.rowCount(), 1);
}

void TstDb::staleWritesAreRefused_data()
{
    // What the other workstation does to the row between this list's read
    // and this list's save or delete.
    QTest::addColumn<QString>("otherStation");
    QTest::addColumn<bool>("deleteHere");
    QTest::addColumn<QString>("nameAfter"); // empty: the row left the list
    QTest::newRow("changed, then saved here")
        << "update filial set Nomefilial = 'DA OUTRA' where Codigofilial = 1" << false
        << "DA OUTRA";
    QTest::newRow("deleted, then saved here") << "delete from filial" << false << "";
    QTest::newRow("changed, then deleted here")
        << "update filial set rede = 'REDE2' where Codigofilial = 1" << true << "MATRIZ";
    QTest::newRow("deleted, then deleted here") << "delete from filial" << true << "";
}

void TstDb::staleWritesAreRefused()
{
    QFETCH(QString, otherStation);
    QFETCH(bool, deleteHere);
    QFETCH(QString, nameAfter);
    TestDb db;
    REQUIRE_DB(db);
    exec(db, "insert into filial (Codigofilial, Nomefilial, rede) values (1, 'MATRIZ', 'REDE1')");
    RecordSet rs(&db.connection(), "select * from filial");
    rs.open();
    exec(db, otherStation); // a second connection
    DbError error(QString{});
    try {
        if (deleteHere) {
            rs.remove();
        } else {
            rs.edit();
            rs.setValue("Nomefilial", "DESTA ESTACAO");
            rs.post();
        }
        QFAIL("a stale write went through");
    } catch (const DbError &e) {
        error = e;
    }
    QVERIFY(error.isConflict());
    QCOMPARE(error.message(),
             QString("Registro alterado por outra estação. Os dados foram relidos."));
    QCOMPARE(rs.state(), RecordSet::State::Browse);
    // What the other workstation left is what the list shows now.
    QCOMPARE(rs.recordCount(), nameAfter.isEmpty() ? 0 : 1);
    if (!nameAfter.isEmpty()) {
        QCOMPARE(rs.text("Nomefilial"), nameAfter);
        QCOMPARE(scalar(db, "select Nomefilial from filial").toString(), nameAfter);
    }
    QVERIFY(scalar(db, "select count(*) from filial where Nomefilial = 'DESTA ESTACAO'").toInt() ==
            0);
    // A fresh read saves normally, amounts and dates compared as read.
    exec(db, "insert into filial (Codigofilial, Nomefilial) values (2, 'NOVA')");
    rs.refresh();
    QVERIFY(rs.locate("Codigofilial", 2));
    rs.edit();
    rs.setValue("Nomefilial", "NOVA FILIAL");
    rs.post();
    QCOMPARE(scalar(db, "select Nomefilial from filial where Codigofilial = 2").toString(),
             QString("NOVA FILIAL"));
}

void TstDb::transactionRollsBackOnError()
{
    TestDb db;
    REQUIRE_DB(db);
    Connection &c = db.connection();
    QVERIFY_THROWS_EXCEPTION(DbError, c.transaction([&] {
        c.exec("insert into filial (Nomefilial) values (?)", {"A"});
        c.exec("insert into tabela_que_nao_existe values (1)");
    }));
    QCOMPARE(scalar(db, "select count(*) from filial").toInt(), 0);
    c.transaction([&] { c.exec("insert into filial (Nomefilial) values (?)", {"B"}); });
    QCOMPARE(scalar(db, "select count(*) from filial").toInt(), 1);
}

CP_TEST(TstDb)
#include "tst_db.moc"
