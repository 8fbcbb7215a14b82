// The annual movement: the payments of the period in `resumo`, the month rows
// of `resumoanual`, the list report and the three column reports against
// hand-computed figures, the twelve-month limit, and two workstations
// filling at once.

#include "AnnualFixture.h"
#include "TestMain.h"
#include "app/Globals.h"
#include "report/PreparedReport.h"
#include "reports/AnnualMovementFill.h"
#include "reports/WorkTableReports.h"

#include <QtTest>

using namespace AnnualTest;
using Report::TableRow;
using WorkTableReports::Scope;

namespace {

const QDate kFrom(2024, 1, 1);
const QDate kTo(2024, 12, 31);

// ALFA LENTES (10): 31/01 100,00 and 01/02 50,00 under ALUGUEL; 10/02 -20,00
// (a refund) under ENERGIA; 15/01 settled with totalpg 0 and 20/01 with no
// totalpg, both ignored; 02/01/2025 outside the period.
// BETA ÓPTICA, two suppliers of one name: 20 paid 70,00 and 21 paid 30,00 in
// March, both under ENERGIA. An open payable of ALFA is no payment.
void standardPayments(Fixture &f)
{
    f.payable("N1", 10, 5, QDate(2024, 1, 31), 100.00, QDate(2024, 1, 31));
    f.payable("N2", 10, 5, QDate(2024, 2, 1), 50.00, QDate(2024, 2, 1));
    f.payable("N3", 10, 6, QDate(2024, 2, 10), 20.00, QDate(2024, 2, 10), -20.00);
    f.payable("N4", 10, 5, QDate(2024, 1, 15), 40.00, QDate(2024, 1, 15), 0.0);
    f.payable("N5", 10, 5, QDate(2024, 1, 20), 40.00, QDate(2024, 1, 20),
              QVariant(QMetaType(QMetaType::Double)));
    f.payable("N6", 10, 5, QDate(2025, 1, 2), 60.00, QDate(2025, 1, 2));
    f.payable("N7", 20, 6, QDate(2024, 3, 5), 70.00, QDate(2024, 3, 5));
    f.payable("N8", 21, 6, QDate(2024, 3, 6), 30.00, QDate(2024, 3, 6));
    f.payable("N9", 10, 5, QDate(2024, 3, 7), 80.00);
}

// "0,00" for each month but those given.
QStringList months(const QMap<int, QString> &set)
{
    QStringList m;
    for (int i = 1; i <= 12; ++i)
        m << set.value(i, QStringLiteral("0,00"));
    return m;
}

} // namespace

class TstAnnualMovement : public QObject
{
    Q_OBJECT
private slots:
    void cleanup() { Clock::setFixed({}); }
    void periodLimit_data();
    void periodLimit();
    void fillWritesPaymentsAndMonthRows();
    void columnReports_data();
    void columnReports();
    void unsetMonthsCountAsZero();
    void listReport();
    void twoWorkstationsFillAtOnce();
    void lostConnectionDuringFill();
};

void TstAnnualMovement::periodLimit_data()
{
    QTest::addColumn<QDate>("from");
    QTest::addColumn<QDate>("to");
    QTest::addColumn<bool>("refused");
    QTest::newRow("one calendar year") << QDate(2024, 1, 1) << QDate(2024, 12, 31) << false;
    QTest::newRow("twelve months across two years")
        << QDate(2024, 2, 1) << QDate(2025, 1, 31) << false;
    QTest::newRow("January twice") << QDate(2024, 1, 1) << QDate(2025, 1, 1) << true;
    // 365 days, yet March of two years would fall in one column.
    QTest::newRow("March twice") << QDate(2024, 3, 15) << QDate(2025, 3, 14) << true;
    QTest::newRow("first date after the last") << QDate(2025, 1, 1) << QDate(2023, 1, 1) << false;
}

void TstAnnualMovement::periodLimit()
{
    QFETCH(QDate, from);
    QFETCH(QDate, to);
    QFETCH(bool, refused);
    QCOMPARE(AnnualMovementFill::periodProblem(from, to),
             refused ? QString("O período deve ter no máximo 12 meses") : QString());
}

void TstAnnualMovement::fillWritesPaymentsAndMonthRows()
{
    Fixture f;
    REQUIRE_DB(f.db);
    QVERIFY(f.ok);
    standardPayments(f);
    AnnualMovementFill fill(f.conn());
    QCOMPARE(fill.run(kFrom, kTo), 5);
    QVERIFY(fill.valid());

    QCOMPARE(f.rows("select CodigoNota, Data, mes, ano, Descricao, Credito, tabela, codigoFilial, "
                    "CodigoCliente, codigoplano, plano, filial from resumo order by Controle"),
             QStringList({"N1|2024-01-31|01|2024|ALFA LENTES|100|RECEBIMENTO NO PERIODO|1|10|5|"
                          "ALUGUEL|CENTRO",
                          "N2|2024-02-01|02|2024|ALFA LENTES|50|RECEBIMENTO NO PERIODO|1|10|5|"
                          "ALUGUEL|CENTRO",
                          "N3|2024-02-10|02|2024|ALFA LENTES|-20|RECEBIMENTO NO PERIODO|1|10|6|"
                          "ENERGIA|CENTRO",
                          "N7|2024-03-05|03|2024|BETA ÓPTICA|70|RECEBIMENTO NO PERIODO|1|20|6|"
                          "ENERGIA|CENTRO",
                          "N8|2024-03-06|03|2024|BETA ÓPTICA|30|RECEBIMENTO NO PERIODO|1|21|6|"
                          "ENERGIA|CENTRO"}));
    // One row per name and month, the total in the month's column and 0 in
    // the others; February's cost centre is the lower code's, with its name.
    QCOMPARE(f.rows("select descricao, mes, codigocliente, codigoplano, plano, `01`, `02`, `03`, "
                    "`04`+`05`+`06`+`07`+`08`+`09`+`10`+`11`+`12` from resumoanual "
                    "order by controle"),
             QStringList({"ALFA LENTES|01|10|5|ALUGUEL|100|0|0|0",
                          "ALFA LENTES|02|10|5|ALUGUEL|0|30|0|0",
                          "BETA ÓPTICA|03|20|6|ENERGIA|0|0|100|0"}));
    // Nothing reached the tables every workstation shares.
    QCOMPARE(f.db.count("resumo"), 0);
    QCOMPARE(f.db.count("resumoanual"), 0);

    // Closing the screen empties this workstation's month rows only.
    f.exec("insert into resumoanual (descricao) values ('DE OUTRA ESTACAO')");
    fill.clearAnnual();
    QCOMPARE(f.rows("select count(*) from resumoanual"), QStringList{"0"});
    QCOMPARE(f.db.count("resumoanual"), 1);
}

void TstAnnualMovement::columnReports_data()
{
    QTest::addColumn<int>("scope");
    QTest::addColumn<QVariant>("code");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("summary");
    const QString alfa =
        "ALFA LENTES|" + months({{1, "100,00"}, {2, "30,00"}}).join('|') + "|130,00";
    const QString beta = "BETA ÓPTICA|" + months({{3, "100,00"}}).join('|') + "|100,00";
    QTest::newRow("all suppliers")
        << int(Scope::Geral) << QVariant()
        << "Relatório de Movimentação Anual Geral no Período: 01/01/2024 à 31/12/2024"
        << QStringList{alfa, beta}
        << "Total R$|" + months({{1, "100,00"}, {2, "30,00"}, {3, "100,00"}}).join('|') + "|230,00";
    QTest::newRow("one supplier")
        << int(Scope::Fornecedor) << QVariant(10.0)
        << "Relatório de Movimentação Anual Por Fornecedor no Período: 01/01/2024 à 31/12/2024"
        << QStringList{alfa}
        << "Total R$|" + months({{1, "100,00"}, {2, "30,00"}}).join('|') + "|130,00";
    // ALFA's refund was under ENERGIA, but its February row counts under
    // the lower code (ALUGUEL), as does all of BETA's March.
    QTest::newRow("one cost centre")
        << int(Scope::Gerencial) << QVariant(6.0)
        << "Relatório de Movimentação Anual Por Central de Custo no Período: 01/01/2024 à "
           "31/12/2024"
        << QStringList{beta} << "Total R$|" + months({{3, "100,00"}}).join('|') + "|100,00";
    QTest::newRow("supplier list without a current row")
        << int(Scope::Fornecedor) << QVariant()
        << "Relatório de Movimentação Anual Por Fornecedor no Período: 01/01/2024 à 31/12/2024"
        << QStringList{} << "Total R$|" + months({}).join('|') + "|0,00";
}

void TstAnnualMovement::columnReports()
{
    QFETCH(int, scope);
    QFETCH(QVariant, code);
    QFETCH(QString, title);
    QFETCH(QStringList, lines);
    QFETCH(QString, summary);
    Fixture f;
    REQUIRE_DB(f.db);
    QVERIFY(f.ok);
    standardPayments(f);
    AnnualMovementFill fill(f.conn());
    fill.run(kFrom, kTo);
    const Report::PreparedReport r = WorkTableReports::annualColumns(
        fill, Scope(scope), code.isValid() ? std::optional(code.toDouble()) : std::nullopt, kFrom,
        kTo);
    QCOMPARE(r.orientation, Report::Orientation::Landscape);
    QCOMPARE(r.flavour, Report::Flavour::Independent);
    QCOMPARE(cells(r, TableRow::Kind::ColumnHeader),
             QStringList{"T.Pagamento|Janeiro|Fevereiro|Março|Abril|Maio|Junho|Julho|Agosto|"
                         "Setembro|Outubro|Novembro|Dezembro|Total R$"});
    QCOMPARE(cells(r, TableRow::Kind::Detail), lines);
    QCOMPARE(cells(r, TableRow::Kind::Summary), QStringList{summary});
    const QStringList header = r.pages[0].texts();
    QVERIFY2(header.contains(title), qPrintable(header.join('\n')));
    QVERIFY(header.contains(kCompany));
    QVERIFY(header.contains("segunda-feira, 6 de maio de 2024"));
    QVERIFY(header.contains("Pagina(s):1"));
    // A vertical rule on each side of every column, down every line.
    int vertical = 0;
    for (const Report::Item &i : r.pages[0].items)
        if (i.kind == Report::Item::Kind::Line && qFuzzyCompare(i.rect.left(), i.rect.right()))
            ++vertical;
    QCOMPARE(vertical, 15 * (2 + int(lines.size())));
}

void TstAnnualMovement::unsetMonthsCountAsZero()
{
    // Month columns left without a value (a table whose columns have no
    // default) still add up: totals are numbers, not empty.
    Fixture f;
    REQUIRE_DB(f.db);
    QVERIFY(f.ok);
    standardPayments(f);
    AnnualMovementFill fill(f.conn());
    fill.run(kFrom, kTo);
    f.conn().exec("update resumoanual set `02` = null, `03` = null where mes = '01'");
    const Report::PreparedReport r =
        WorkTableReports::annualColumns(fill, Scope::Fornecedor, 10.0, kFrom, kTo);
    QCOMPARE(
        cells(r, TableRow::Kind::Detail),
        QStringList{"ALFA LENTES|" + months({{1, "100,00"}, {2, "30,00"}}).join('|') + "|130,00"});
}

void TstAnnualMovement::listReport()
{
    Fixture f;
    REQUIRE_DB(f.db);
    QVERIFY(f.ok);
    standardPayments(f);
    AnnualMovementFill fill(f.conn());
    fill.run(kFrom, kTo);
    // The supplier's scope changes only the title: every supplier is listed.
    const Report::PreparedReport r =
        WorkTableReports::annualNormal(fill, Scope::Fornecedor, kFrom, kTo);
    QCOMPARE(r.flavour, Report::Flavour::Modal);
    QCOMPARE(r.paper, Report::Paper::Letter);
    QVERIFY(r.pages[0].texts().contains(
        "Relatório Por Fornecedor de Movimentação Anual no Período: 01/01/2024 à 31/12/2024"));
    QVERIFY(r.pages[0].texts().contains("Emissão: 06/05/2024"));
    QCOMPARE(cells(r, TableRow::Kind::ColumnHeader),
             QStringList{"Código|Tipo de Recebimento|Mes/Ano|Total R$"});
    // Per code and month; the two BETA ÓPTICA suppliers under one header.
    QCOMPARE(cells(r, TableRow::Kind::GroupHeader),
             QStringList({"Descrição do Recebimento => 10  ALFA LENTES|||",
                          "Descrição do Recebimento => 20  BETA ÓPTICA|||"}));
    QCOMPARE(cells(r, TableRow::Kind::Detail), QStringList({"||01 2024|100,00", "||02 2024|30,00",
                                                            "||03 2024|70,00", "||03 2024|30,00"}));
    QCOMPARE(cells(r, TableRow::Kind::GroupFooter),
             QStringList({"|Sub Total R$||130,00", "|Sub Total R$||100,00"}));
    QCOMPARE(cells(r, TableRow::Kind::Summary),
             QStringList{"Total de Itens Listados => 4|||230,00"});
}

void TstAnnualMovement::twoWorkstationsFillAtOnce()
{
    // Workstation B fills the same tables while A is in the middle of its
    // own fill: each prints its own period, the shared tables stay empty.
    Fixture f;
    REQUIRE_DB(f.db);
    QVERIFY(f.ok);
    standardPayments(f);
    Connection other(QStringLiteral("estacao_b"));
    other.setSettings(TestDb::serverSettings(f.db.databaseName()));
    other.open();
    AnnualMovementFill a(f.conn()), b(other);
    bool bFilled = false;
    a.run(kFrom, kTo, [&] {
        if (!bFilled) {
            bFilled = true;
            b.run(QDate(2025, 1, 1), QDate(2025, 1, 31));
        }
    });
    QVERIFY(bFilled);
    const QString alfa =
        "ALFA LENTES|" + months({{1, "100,00"}, {2, "30,00"}}).join('|') + "|130,00";
    QCOMPARE(WorkTableReports::annualColumns(a, Scope::Fornecedor, 10.0, kFrom, kTo)
                 .tableTexts(TableRow::Kind::Detail),
             QStringList{alfa});
    QCOMPARE(WorkTableReports::annualColumns(b, Scope::Fornecedor, 10.0, kFrom, kTo)
                 .tableTexts(TableRow::Kind::Detail),
             QStringList{"ALFA LENTES|" + months({{1, "60,00"}}).join('|') + "|60,00"});
    QCOMPARE(
        cells(WorkTableReports::annualNormal(b, Scope::Geral, kFrom, kTo), TableRow::Kind::Summary),
        QStringList{"Total de Itens Listados => 1|||60,00"});
    QCOMPARE(f.db.count("resumo"), 0);
    QCOMPARE(f.db.count("resumoanual"), 0);
}

void TstAnnualMovement::lostConnectionDuringFill()
{
    // The session ends while the fill runs: nothing is written to the shared
    // tables under their name, and the clerk is told to fill again.
    Fixture f;
    REQUIRE_DB(f.db);
    QVERIFY(f.ok);
    standardPayments(f);
    AnnualMovementFill fill(f.conn());
    ConnectionLossCount = 0; // this loss is reconnected, not raised
    bool killed = false;
    QString message;
    try {
        fill.run(kFrom, kTo, [&] {
            if (!killed) {
                killed = true;
                f.exec(QStringLiteral("KILL %1").arg(f.conn().sessionId()));
            }
        });
    } catch (const DbError &e) {
        message = e.message();
    }
    QCOMPARE(message, Connection::privateCopyLostMessage());
    QVERIFY(!fill.valid());
    QVERIFY_THROWS_EXCEPTION(DbError,
                             WorkTableReports::annualNormal(fill, Scope::Geral, kFrom, kTo));
    QCOMPARE(f.db.count("resumo"), 0);
    QCOMPARE(f.db.count("resumoanual"), 0);
    // A new fill works on a new copy.
    QCOMPARE(fill.run(kFrom, kTo), 5);
}

CP_TEST(TstAnnualMovement)
#include "tst_annualmovement.moc"
