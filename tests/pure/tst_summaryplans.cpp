// The plans of the summary fills, without a database: the `resumo` row each
// payable and receivable gives (amounts, the paid-at-entry bills, the
// missing classifications, the upper-casing, the "S/N" note), the runs of
// the control break, and the month rows of `pagarmes` with their labels.

#include "TestMain.h"
#include "reports/MonthTotals.h"
#include "reports/ResumoFill.h"
#include "reports/ResumoViews.h"

#include <QtTest>

using ResumoFill::Payable;
using ResumoFill::Receivable;

Q_DECLARE_METATYPE(Payable)
Q_DECLARE_METATYPE(Receivable)

class TstSummaryPlans : public QObject
{
    Q_OBJECT
private slots:
    void payableRows_data();
    void payableRows();
    void receivableRows_data();
    void receivableRows();
    void controlBreakSumsEachRun();
    void monthRows_data();
    void monthRows();
};

namespace {

const QDate kDay(2024, 4, 10);
const QVariant kNull;

Payable payable(const QVariant &valorpg, const QVariant &totalpg, const QVariant &despesa,
                const QVariant &gerencial)
{
    Payable p;
    p.nota = "N1";
    p.dataquitacao = kDay;
    p.valorpg = valorpg;
    p.totalpg = totalpg;
    p.especie = "boleto";
    p.nome = "Alfa Lentes";
    p.codigofilial = 1.0;
    p.nomefilial = "centro";
    p.codigodespesa = despesa;
    p.despesa = "impostos";
    p.codigofornecedor = 10.0;
    p.codigogerencial = gerencial;
    return p;
}

// The values as texts, null as "<null>", so a mismatch reads well.
QStringList texts(const QVariantList &values)
{
    QStringList t;
    for (const QVariant &v : values)
        t << (v.isNull() ? QStringLiteral("<null>") : v.toString());
    return t;
}

} // namespace

void TstSummaryPlans::payableRows_data()
{
    QTest::addColumn<Payable>("in");
    QTest::addColumn<QStringList>("out"); // empty: no row
    const QStringList head{"N1", "2024-04-10", "2024-04-10"};
    auto row = [&](const QString &amount, const QStringList &plano, const QStringList &gerencial) {
        return head + QStringList{amount, amount,        "<null>", "BOLETO", "CONTAS A PAGAR", "O",
                                  "1",    "ALFA LENTES", "1",      "CENTRO", "DEBITO"} +
               plano + QStringList{"10"} + gerencial;
    };
    QTest::newRow("paid") << payable(120.5, 120.5, 2.0, 5.0)
                          << row("120.5", {"2", "IMPOSTOS"}, {"5", "ALUGUEL"});
    QTest::newRow("paid at entry: totalpg")
        << payable(kNull, 40.25, 2.0, 5.0) << row("40.25", {"2", "IMPOSTOS"}, {"5", "ALUGUEL"});
    QTest::newRow("valorpg 0") << payable(0.0, 99.0, 2.0, 5.0) << QStringList();
    QTest::newRow("valorpg negative") << payable(-3.0, 99.0, 2.0, 5.0) << QStringList();
    QTest::newRow("nothing paid at all") << payable(kNull, kNull, 2.0, 5.0) << QStringList();
    QTest::newRow("no expense type")
        << payable(10.0, 10.0, 0.0, 5.0) << row("10", {"1", "DIVERSOS"}, {"5", "ALUGUEL"});
    QTest::newRow("null expense type")
        << payable(10.0, 10.0, kNull, 5.0) << row("10", {"1", "DIVERSOS"}, {"5", "ALUGUEL"});
    QTest::newRow("cost centre not in the registry")
        << payable(10.0, 10.0, 2.0, 77.0) << row("10", {"2", "IMPOSTOS"}, {"99999", "DIVERSOS"});
    QTest::newRow("null cost centre")
        << payable(10.0, 10.0, 2.0, kNull) << row("10", {"2", "IMPOSTOS"}, {"99999", "DIVERSOS"});
    QTest::newRow("empty cost centre") << payable(10.0, 10.0, 2.0, QString())
                                       << row("10", {"2", "IMPOSTOS"}, {"99999", "DIVERSOS"});
    QTest::newRow("registry's DIVERSOS")
        << payable(10.0, 10.0, 2.0, 3.0) << row("10", {"2", "IMPOSTOS"}, {"3", "DIVERSOS"});
}

void TstSummaryPlans::payableRows()
{
    QFETCH(Payable, in);
    QFETCH(QStringList, out);
    const ResumoFill::CostCentres registry{{5, "Aluguel"}, {3, "DIVERSOS"}};
    const auto row = ResumoFill::payableRow(in, registry);
    if (out.isEmpty()) {
        QVERIFY(!row);
        return;
    }
    QVERIFY(row);
    QCOMPARE(row->size(), ResumoFill::columns().size());
    QCOMPARE(texts(*row), out);
}

void TstSummaryPlans::receivableRows_data()
{
    QTest::addColumn<Receivable>("in");
    QTest::addColumn<QStringList>("out");
    auto receivable = [](const QVariant &nota, const QVariant &total) {
        Receivable r;
        r.codigoNota = nota;
        r.dataQuitacao = kDay;
        r.totalPg = total;
        r.codigoFilial = 2.0;
        r.filial = "Shopping";
        r.codigoCliente = 30.0;
        r.nome = "cliente trinta";
        r.especie = "pix";
        return r;
    };
    auto row = [](const QString &nota, const QString &total, const QString &condicao) {
        return QStringList{nota,
                           "2024-04-10",
                           "2024-04-10",
                           "<null>",
                           total,
                           total,
                           "PIX",
                           "CONTA RECEBER",
                           "O",
                           "2",
                           "CLIENTE TRINTA",
                           "2",
                           "Shopping",
                           condicao,
                           "1",
                           "DIVERSOS",
                           "30",
                           "99999",
                           "DIVERSOS"};
    };
    QTest::newRow("received") << receivable("R-1", 300.0) << row("R-1", "300", "CREDITO");
    QTest::newRow("no note: S/N") << receivable(QString(""), 50.0) << row("S/N", "50", "CREDITO");
    QTest::newRow("null note: S/N") << receivable(kNull, 50.0) << row("S/N", "50", "CREDITO");
    QTest::newRow("nothing received") << receivable("R-3", 0.0) << row("<null>", "0", "DEBITO");
    QTest::newRow("TotalPg null") << receivable("R-4", kNull) << row("<null>", "0", "DEBITO");
    QTest::newRow("negative") << receivable("R-5", -7.5) << row("<null>", "-7.5", "CREDITO");
}

void TstSummaryPlans::receivableRows()
{
    QFETCH(Receivable, in);
    QFETCH(QStringList, out);
    const QVariantList row = ResumoFill::receivableRow(in);
    QCOMPARE(row.size(), ResumoFill::columns().size());
    QCOMPARE(texts(row), out);
}

void TstSummaryPlans::controlBreakSumsEachRun()
{
    using ResumoViews::Entry;
    // Adjacent rows of one key make one group; the key 3.0 is the same as 3.
    const std::vector<Entry> entries{
        {5.0, 100, 0}, {5.0, 20.5, 1}, {3, 10, 0}, {3.0, 0, 50}, {99999.0, 0, 300}};
    const auto groups = ResumoViews::controlBreak(entries);
    QCOMPARE(int(groups.size()), 3);
    QCOMPARE(groups[0].key.toDouble(), 5.0);
    QCOMPARE(groups[0].debito, 120.5);
    QCOMPARE(groups[0].credito, 1.0);
    QCOMPARE(groups[1].debito, 10.0);
    QCOMPARE(groups[1].credito, 50.0);
    QCOMPARE(groups[2].credito, 300.0);
    QVERIFY(ResumoViews::controlBreak({}).empty());
}

void TstSummaryPlans::monthRows_data()
{
    QTest::addColumn<QList<int>>("yearMonthCents"); // triples: year, month, total in cents
    QTest::addColumn<QStringList>("labels");
    QTest::newRow("March and May")
        << QList<int>{2024, 5, 1000, 2024, 3, 2550} << QStringList{"MARÇO/2024", "MAIO/2024"};
    QTest::newRow("a month adding up to zero")
        << QList<int>{2024, 4, 0, 2024, 6, 100} << QStringList{"JUNHO/2024"};
    QTest::newRow("December to January: each with its year")
        << QList<int>{2024, 1, 700, 2023, 12, 300} << QStringList{"DEZEMBRO/2023", "JANEIRO/2024"};
    QTest::newRow("every name") << QList<int>{2024, 1, 1, 2024, 2,  1, 2024, 7,  1, 2024, 8, 1,
                                              2024, 9, 1, 2024, 10, 1, 2024, 11, 1}
                                << QStringList{"JANEIRO/2024", "FEVEREIRO/2024", "JULHO/2024",
                                               "AGOSTO/2024",  "SETEMBRO/2024",  "OUTUBRO/2024",
                                               "NOVEMBRO/2024"};
}

void TstSummaryPlans::monthRows()
{
    QFETCH(QList<int>, yearMonthCents);
    QFETCH(QStringList, labels);
    std::vector<MonthTotals::Month> sums;
    for (int i = 0; i + 2 < yearMonthCents.size(); i += 3)
        sums.push_back({yearMonthCents[i], yearMonthCents[i + 1], yearMonthCents[i + 2] / 100.0});
    QStringList out;
    for (const MonthTotals::Month &m : MonthTotals::rows(sums))
        out << MonthTotals::label(m.year, m.month);
    QCOMPARE(out, labels);
}

CP_TEST(TstSummaryPlans)
#include "tst_summaryplans.moc"
