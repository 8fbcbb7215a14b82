// The netting of receivables against payables: the rows of `resumo02`, the
// report day by day (payables before receivables, colours, sub-totals with
// their difference) and the verdict, equal-in-cents totals included.

#include "AnnualFixture.h"
#include "TestMain.h"
#include "report/PreparedReport.h"
#include "reports/NettingFill.h"
#include "reports/WorkTableReports.h"

#include <QtTest>

using namespace AnnualTest;
using Report::TableRow;

namespace {

const QDate kFrom(2024, 4, 1);
const QDate kTo(2024, 4, 30);

const Report::Item *textItem(const Report::PreparedReport &r, const QString &text)
{
    for (const Report::Page &p : r.pages)
        for (const Report::Item &i : p.items)
            if (i.kind == Report::Item::Kind::Text && i.text == text)
                return &i;
    return nullptr;
}

} // namespace

class TstNetting : public QObject
{
    Q_OBJECT
private slots:
    void cleanup() { Clock::setFixed({}); }
    void fillAndReport();
    void verdicts_data();
    void verdicts();
};

void TstNetting::fillAndReport()
{
    Fixture f;
    REQUIRE_DB(f.db);
    QVERIFY(f.ok);
    f.receivable(100, "CLIENTE UM", QDate(2024, 4, 2), 1000.00);
    f.receivable(101, "CLIENTE DOIS", QDate(2024, 4, 1), 200.00);
    f.receivable(102, "CLIENTE PAGO", QDate(2024, 4, 1), 99.00, QDate(2024, 3, 30));
    f.receivable(103, "CLIENTE DE MAIO", QDate(2024, 5, 1), 99.00);
    f.payable("P1", 10, 5, QDate(2024, 4, 2), 300.00);
    f.payable("P2", 20, 5, QDate(2024, 4, 1), 150.00, {}, {}, "S"); // renegotiated, still open
    f.payable("P3", 10, 5, QDate(2024, 4, 3), 99.00, QDate(2024, 4, 3));
    f.payable("P4", 10, 5, QDate(2024, 3, 1), 99.00);
    f.payable("P5", 10, 6, QDate(2024, 4, 3), 80.00);

    NettingFill fill(f.conn());
    int total = -1;
    QList<int> steps;
    fill.run(
        kFrom, kTo, [&](int n) { total = n; }, [&](int done) { steps << done; });
    QCOMPARE(total, 5);
    QCOMPARE(steps, QList<int>{5});
    // Receivables first, by due date, with their Controle as the document;
    // then the payables in Controle order.
    QCOMPARE(f.rows("select CodigoNota, CodigoCliente, Descricao, Data, Credito, Debito, es "
                    "from resumo02 order by Controle"),
             QStringList({"2|101|CLIENTE DOIS|2024-04-01|200|NULL|E",
                          "1|100|CLIENTE UM|2024-04-02|1000|NULL|E",
                          "P1|10|ALFA LENTES|2024-04-02|NULL|300|D",
                          "P2|20|BETA ÓPTICA|2024-04-01|NULL|150|D",
                          "P5|10|ALFA LENTES|2024-04-03|NULL|80|D"}));
    QCOMPARE(f.db.count("resumo02"), 0);

    NettingVerdict v;
    const Report::PreparedReport r = WorkTableReports::netting(fill, kFrom, kTo, &v);
    QCOMPARE(r.flavour, Report::Flavour::Independent);
    QCOMPARE(r.paper, Report::Paper::A4);
    const QStringList header = r.pages[0].texts();
    QVERIFY(header.contains("Relatório de Encontro de Contas  no Perido 01/04/2024 à 30/04/2024"));
    QVERIFY(header.contains("Data : 06/05/2024"));
    QVERIFY(header.contains("Página : 1"));
    QCOMPARE(cells(r, TableRow::Kind::ColumnHeader),
             QStringList{"Código|Nome do Cliente|Nº Nota|E/S|Credito R$|Debito R$"});
    QCOMPARE(cells(r, TableRow::Kind::GroupHeader),
             QStringList({"Data de Vencimento =< 01/04/2024|||||",
                          "Data de Vencimento =< 02/04/2024|||||",
                          "Data de Vencimento =< 03/04/2024|||||"}));
    // On each day the payables come first.
    QCOMPARE(cells(r, TableRow::Kind::Detail),
             QStringList({"20|BETA ÓPTICA|P2|D||150,00", "101|CLIENTE DOIS|2|E|200,00|",
                          "10|ALFA LENTES|P1|D||300,00", "100|CLIENTE UM|1|E|1.000,00|",
                          "10|ALFA LENTES|P5|D||80,00"}));
    // Sub-totals and, below the debits, credits minus debits; a day of
    // payables only is negative.
    QCOMPARE(cells(r, TableRow::Kind::GroupFooter),
             QStringList({"||Sub-Total => ||200,00|150,00 50,00",
                          "||Sub-Total => ||1.000,00|300,00 700,00",
                          "||Sub-Total => ||0,00|80,00 -80,00"}));
    QCOMPARE(cells(r, TableRow::Kind::Summary),
             QStringList{"Quantidade de Lançamentos => 5|SALDO LIVRE PARA COMPROMETIMENTO, "
                         "ECONOMIZE!!! R$ 670,00|||1.200,00|530,00"});
    // Receivables print green, payables red.
    const Report::Item *credit = textItem(r, "CLIENTE UM");
    const Report::Item *debit = textItem(r, "BETA ÓPTICA");
    QVERIFY(credit && debit);
    QCOMPARE(QColor(credit->color), QColor(0, 128, 0));
    QCOMPARE(QColor(debit->color), QColor(204, 0, 0));
    QCOMPARE(v.kind, NettingVerdict::Kind::Free);
}

void TstNetting::verdicts_data()
{
    QTest::addColumn<QList<double>>("receivables");
    QTest::addColumn<QList<double>>("payables");
    QTest::addColumn<QString>("line");
    QTest::addColumn<QColor>("colour");
    const QColor yellow(214, 170, 0), red(204, 0, 0), green(0, 128, 0);
    QTest::newRow("equal totals") << QList<double>{1000.00} << QList<double>{1000.00}
                                  << "SALDO INSTAVEL, COMPROMETER !!! R$ 0,00" << yellow;
    QTest::newRow("more to pay") << QList<double>{500.00} << QList<double>{800.00}
                                 << "SALDO COMPROMETIDO, VALOR NEGATIVO!!! R$ -300,00" << red;
    QTest::newRow("more to receive")
        << QList<double>{800.00} << QList<double>{500.00}
        << "SALDO LIVRE PARA COMPROMETIMENTO, ECONOMIZE!!! R$ 300,00" << green;
    // 0,10 + 0,20 is not 0,30 in binary floating point.
    QTest::newRow("equal in cents") << QList<double>{0.10, 0.20} << QList<double>{0.30}
                                    << "SALDO INSTAVEL, COMPROMETER !!! R$ 0,00" << yellow;
    QTest::newRow("a cent apart") << QList<double>{0.10, 0.20} << QList<double>{0.31}
                                  << "SALDO COMPROMETIDO, VALOR NEGATIVO!!! R$ -0,01" << red;
    QTest::newRow("nothing open") << QList<double>{} << QList<double>{}
                                  << "SALDO INSTAVEL, COMPROMETER !!! R$ 0,00" << yellow;
}

void TstNetting::verdicts()
{
    QFETCH(QList<double>, receivables);
    QFETCH(QList<double>, payables);
    QFETCH(QString, line);
    QFETCH(QColor, colour);
    Fixture f;
    REQUIRE_DB(f.db);
    QVERIFY(f.ok);
    int cliente = 100;
    for (double v : receivables)
        f.receivable(cliente++, "CLIENTE", QDate(2024, 4, 10), v);
    int nota = 1;
    for (double v : payables)
        f.payable("P" + QString::number(nota++), 10, 5, QDate(2024, 4, 10), v);
    NettingFill fill(f.conn());
    fill.run(kFrom, kTo);
    const Report::PreparedReport r = WorkTableReports::netting(fill, kFrom, kTo);
    const Report::Item *verdict = textItem(r, line);
    QVERIFY2(verdict, qPrintable(cells(r, TableRow::Kind::Summary).join('\n')));
    QCOMPARE(QColor(verdict->color), colour);
    QVERIFY(r.fonts.at(verdict->font).bold());
    QVERIFY(r.fonts.at(verdict->font).pointSizeF() >= 12);
}

CP_TEST(TstNetting)
#include "tst_netting.moc"
