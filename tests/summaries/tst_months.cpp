// The month charts: the rows of `pagarmes` for periods across month and
// year ends, a month adding up to zero, the company screen with its period
// dialog (and cancelled), the branch-and-supplier screen with its lists and
// labels, and the two list reports.

#include "SummariesFixture.h"
#include "TestMain.h"
#include "charts/BarChart.h"
#include "db/DisplayFormat.h"
#include "db/RecordSet.h"
#include "report/ReportPreview.h"
#include "reports/FrmResumoquitado.h"
#include "reports/FrmResumoquitadoPorFilialFornecedor.h"
#include "reports/MonthTotals.h"
#include "reports/ReportDialogs.h"
#include "widgets/DateEdit.h"
#include "widgets/LookupCombo.h"
#include "widgets/Modal.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

using namespace SummariesTest;

class TstMonths : public QObject
{
    Q_OBJECT
private slots:
    void companyMonths_data();
    void companyMonths();
    void cancelledPeriodLeavesTheChartEmpty();
    void branchAndSupplier();
    void showingEmptiesTheTable();
};

namespace {

// Payments: (supplier, branch, settled on, valor); totalpg differs from
// valor, which is what the months add up. One more payable is still open.
void payments(Fixture &f)
{
    struct P
    {
        int fornecedor, filial;
        QDate day;
        double valor;
    };
    const P rows[] = {
        {10, 1, QDate(2023, 12, 15), 30},   {10, 1, QDate(2024, 1, 2), 70},
        {10, 1, QDate(2024, 1, 31), 100},   {11, 1, QDate(2024, 2, 1), 200},
        {10, 2, QDate(2024, 4, 10), 50},    {10, 2, QDate(2024, 4, 11), -50},
        {10, 1, QDate(2024, 5, 20), 12.34},
    };
    int n = 0;
    for (const P &p : rows)
        f.insert("pagar", {{"nota", QString("M%1").arg(++n)},
                           {"codigofornecedor", p.fornecedor},
                           {"nome", p.fornecedor == 10 ? "Alfa Lentes" : "BETA ARMAÇÕES"},
                           {"codigofilial", p.filial},
                           {"nomefilial", p.filial == 1 ? "CENTRO" : "SHOPPING"},
                           {"dataquitacao", p.day},
                           {"datavenc", p.day},
                           {"valor", p.valor},
                           {"totalpg", p.valor + 1000}});
    f.insert("pagar", {{"nota", "ABERTA"},
                       {"codigofornecedor", 10},
                       {"codigofilial", 1},
                       {"datavenc", QDate(2024, 1, 10)},
                       {"valor", 999}});
}

QStringList tableRows(const WorkTable &t, bool withSelection = false)
{
    QStringList out;
    QSqlQuery q = t.exec("select descricao, mes01, codigofilial, filial, codigofornecedor, "
                         "fornecedor from pagarmes order by id");
    while (q.next()) {
        QString r = q.value(0).toString() + "=" + q.value(1).toString();
        if (withSelection)
            r += QString("|%1 %2|%3 %4")
                     .arg(q.value(2).toString(), q.value(3).toString(), q.value(4).toString(),
                          q.value(5).toString());
        out << r;
    }
    return out;
}

QStringList bars(const Charts::BarChart *c)
{
    QStringList out;
    for (const Charts::Bar &b : c->spec().bars)
        out << b.label + "=" + QString::number(b.value);
    return out;
}

QList<Report::ReportPreview *> previews()
{
    QList<Report::ReportPreview *> list;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *p = qobject_cast<Report::ReportPreview *>(w); p && p->isVisible())
            list << p;
    return list;
}

// Answers the period dialog with the period (or cancels it).
struct PeriodAnswer
{
    Modal::ScopedHandler handler;
    PeriodAnswer(const QDate &from, const QDate &to, bool ok = true)
        : handler([=](QDialog *d) {
              auto *g = qobject_cast<frmGeral *>(d);
              if (!g)
                  return int(QDialog::Rejected);
              g->DataI->setDate(from);
              g->DataF->setDate(to);
              return int(ok ? QDialog::Accepted : QDialog::Rejected);
          })
    {
    }
};

} // namespace

void TstMonths::companyMonths_data()
{
    QTest::addColumn<QDate>("from");
    QTest::addColumn<QDate>("to");
    QTest::addColumn<QStringList>("rows");
    QTest::newRow("31 January and 1 February")
        << QDate(2024, 1, 1) << QDate(2024, 2, 29)
        << QStringList{"JANEIRO/2024=170", "FEVEREIRO/2024=200"};
    QTest::newRow("both ends included") << QDate(2024, 1, 31) << QDate(2024, 2, 1)
                                        << QStringList{"JANEIRO/2024=100", "FEVEREIRO/2024=200"};
    QTest::newRow("December to January") << QDate(2023, 12, 1) << QDate(2024, 1, 31)
                                         << QStringList{"DEZEMBRO/2023=30", "JANEIRO/2024=170"};
    // April adds up to zero and March has no payment: neither has a row.
    QTest::newRow("a month adding up to zero")
        << QDate(2024, 3, 1) << QDate(2024, 5, 31) << QStringList{"MAIO/2024=12.34"};
}

void TstMonths::companyMonths()
{
    QFETCH(QDate, from);
    QFETCH(QDate, to);
    QFETCH(QStringList, rows);
    Fixture f(false);
    REQUIRE_DB(f.db);
    payments(f);
    FrmResumoquitado w;
    QCOMPARE(w.windowTitle(), QString("Grafico de Contas a Pagar Quitada no Periodo"));
    QVERIFY(w.imprimirButton()->isHidden());
    QVERIFY(w.chart()->isHidden());
    {
        PeriodAnswer answer(from, to);
        w.gerarButton()->click();
    }
    QCOMPARE(tableRows(w.workTable()), rows);
    QCOMPARE(bars(w.chart()), rows);
    // The marks show the values.
    QStringList values;
    for (const QString &r : rows)
        values << DisplayFormat::money(r.section('=', 1).toDouble());
    QCOMPARE(w.chart()->markTexts(), values);
    const QString title = "Relatorio de Contas a Pagar Geral Quitado no Periodo " +
                          from.toString("dd/MM/yyyy") + " à " + to.toString("dd/MM/yyyy");
    QCOMPARE(w.windowTitle(), title);
    QVERIFY(w.gerarButton()->isHidden());
    QVERIFY(!w.chart()->isHidden());
    QVERIFY(!w.imprimirButton()->isHidden());
    QCOMPARE(f.count("pagarmes"), 0);

    // The list report: independent preview, the company and the caption on top.
    w.imprimirButton()->click();
    const auto open = previews();
    QCOMPARE(open.size(), 1);
    const Report::PreparedReport &r = open[0]->report();
    QCOMPARE(r.flavour, Report::Flavour::Independent);
    QCOMPARE(r.paper, Report::Paper::Letter);
    const QStringList texts = r.pages[0].texts();
    QCOMPARE(texts.value(0), kCompany);
    QVERIFY2(texts.contains(title), qPrintable(texts.join('\n')));
    QVERIFY(texts.contains("Página : 1"));
    QVERIFY(texts.contains("Data : 06/05/2024"));
    QVERIFY(texts.contains("Descrição do Mês") && texts.contains("Valor R$"));
    QCOMPARE(r.tableTexts(Report::TableRow::Kind::Detail).size(), rows.size());
    double sum = 0;
    for (const QString &row : rows)
        sum += row.section('=', 1).toDouble();
    const int at = int(texts.indexOf("Quantidade de Lançamentos => "));
    QVERIFY(at >= 0);
    QCOMPARE(texts.value(at + 1), QString::number(rows.size()));
    QVERIFY(texts.contains(DisplayFormat::money(sum)));
    delete open[0];
}

void TstMonths::cancelledPeriodLeavesTheChartEmpty()
{
    Fixture f(false);
    REQUIRE_DB(f.db);
    payments(f);
    FrmResumoquitado w;
    {
        PeriodAnswer answer(QDate(2024, 1, 1), QDate(2024, 12, 31), false);
        w.gerar();
    }
    QCOMPARE(w.windowTitle(), QString("Grafico de Contas a Pagar Quitada no Periodo"));
    QVERIFY(tableRows(w.workTable()).isEmpty());
    QCOMPARE(w.chart()->barCount(), 0);
    QVERIFY(!w.imprimirButton()->isHidden());
    QVERIFY(w.gerarButton()->isHidden());
}

void TstMonths::branchAndSupplier()
{
    Fixture f(false);
    REQUIRE_DB(f.db);
    payments(f);
    FrmResumoquitadoPorFilialFornecedor w;
    // Untouched, the lists stand on their first names.
    QCOMPARE(w.filialList()->currentText(), QString("CENTRO"));
    QCOMPARE(w.fornecedorList()->currentText(), QString("Alfa Lentes"));
    QCOMPARE(w.dataInicial()->date(), QDate(2024, 5, 6));
    QVERIFY(w.filialLabel()->isHidden() && w.imprimirButton()->isHidden());
    w.dataInicial()->setDate(QDate(2023, 12, 1));
    w.dataFinal()->setDate(QDate(2024, 5, 31));
    w.confirmaButton()->click();
    QCOMPARE(tableRows(w.workTable(), true),
             (QStringList{"DEZEMBRO/2023=30|1 CENTRO|10 Alfa Lentes",
                          "JANEIRO/2024=170|1 CENTRO|10 Alfa Lentes",
                          "MAIO/2024=12.34|1 CENTRO|10 Alfa Lentes"}));
    QCOMPARE(w.filialLabel()->text(), QString("Nome do Filial: CENTRO"));
    QCOMPARE(w.fornecedorLabel()->text(), QString("Nome do Fornecedor:Alfa Lentes"));
    QCOMPARE(w.titleLabel()->text(),
             QString("Relatorio de Contas a Pagar Por FIlial e Fornecedor Quitado no Periodo "
                     "01/12/2023 à 31/05/2024"));
    QVERIFY(!w.filialLabel()->isHidden() && !w.imprimirButton()->isHidden());
    QCOMPARE(bars(w.chart()).size(), 3);

    // Another branch: its April payments add up to zero, nothing to chart.
    w.filialList()->setKeyValue(2);
    w.confirmaButton()->click();
    QVERIFY(tableRows(w.workTable()).isEmpty());
    QCOMPARE(w.chart()->barCount(), 0);

    // Another supplier at the first branch; the report names both.
    w.filialList()->setKeyValue(1);
    w.fornecedorList()->setKeyValue(11);
    w.confirmaButton()->click();
    QCOMPARE(tableRows(w.workTable(), true),
             QStringList{"FEVEREIRO/2024=200|1 CENTRO|11 BETA ARMAÇÕES"});
    w.imprimirButton()->click();
    const auto open = previews();
    QCOMPARE(open.size(), 1);
    const QStringList texts = open[0]->report().pages[0].texts();
    QCOMPARE(texts.value(0), QString("CENTRO"));
    QVERIFY(texts.contains("BETA ARMAÇÕES"));
    QVERIFY(texts.contains("Relatorio de Contas a Pagar Por FIlial e Fornecedor Quitado no "
                           "Periodo 01/12/2023 à 31/05/2024"));
    QVERIFY(texts.contains("FEVEREIRO/2024") && texts.contains("200,00"));
    delete open[0];
    QCOMPARE(f.count("pagarmes"), 0);
}

void TstMonths::showingEmptiesTheTable()
{
    Fixture f(false);
    REQUIRE_DB(f.db);
    payments(f);
    // An earlier fill on this workstation.
    WorkTable earlier(&Db(), "pagarmes");
    QCOMPARE(MonthTotals::fill(earlier, QDate(2024, 1, 1), QDate(2024, 12, 31)), 3);
    FrmResumoquitadoPorFilialFornecedor w;
    w.show();
    QVERIFY(tableRows(w.workTable()).isEmpty());
    QVERIFY(tableRows(earlier).isEmpty());
    w.close();
}

CP_TEST(TstMonths)
#include "tst_months.moc"
