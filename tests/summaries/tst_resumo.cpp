// The cost-centre summary over the small company of SummariesFixture.h:
// every column of the work table, each view and its totals, the three
// reports, the screen's buttons and period, two workstations filling at
// once, and a reconnect that ends this workstation's copy.

#include "FaultProxy.h"
#include "ScriptedMessages.h"
#include "SummariesFixture.h"
#include "TestMain.h"
#include "app/MenuActions.h"
#include "db/RecordSet.h"
#include "payables/frmPagarManutencao.h"
#include "report/PreparedReport.h"
#include "report/ReportPreview.h"
#include "reports/FrmResumoCentralCustoQuitado.h"
#include "reports/Reports.h"
#include "reports/ResumoFill.h"
#include "reports/ResumoViews.h"
#include "reports/SummaryReports.h"
#include "widgets/DataGrid.h"
#include "widgets/DateEdit.h"
#include "widgets/Modal.h"

#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QtTest>

using namespace SummariesTest;
using ResumoViews::View;

Q_DECLARE_METATYPE(View)

class TstResumo : public QObject
{
    Q_OBJECT
private slots:
    void fillWritesEveryColumn();
    void viewsListAndTotal_data();
    void viewsListAndTotal();
    void differenceColour_data();
    void differenceColour();
    void reports_data();
    void reports();
    void periodChangeHidesTheViews();
    void twoWorkstationsFillAtOnce();
    void reconnectEndsTheSummary();
    void menuEntriesOpenTheSummary_data();
    void menuEntriesOpenTheSummary();
};

namespace {

QString text(const QVariant &v)
{
    return v.isNull() ? QStringLiteral("<null>") : v.toString();
}

// The screen after "&Gerar" over the fixture's period.
struct Screen
{
    FrmResumoCentralCustoQuitado w;
    explicit Screen(const QDate &from = kFrom, const QDate &to = kTo)
    {
        w.dataInicial()->setDate(from);
        w.dataFinal()->setDate(to);
        w.gerar();
    }
    // Each row of the grid shown, its cells as displayed.
    QStringList rows(View v) const
    {
        QStringList out;
        const RecordSetModel *m = w.grid(v)->gridModel();
        for (int r = 0; r < m->rowCount(); ++r) {
            QStringList cells;
            for (int c = 0; c < m->columnCount(); ++c)
                cells << m->displayText(r, c);
            out << cells.join('|');
        }
        return out;
    }
    QStringList captions(View v) const
    {
        QStringList out;
        const RecordSetModel *m = w.grid(v)->gridModel();
        for (int c = 0; c < m->columnCount(); ++c)
            out << m->headerData(c, Qt::Horizontal).toString();
        return out;
    }
};

// Whether texts holds caption immediately followed by value.
bool hasPair(const QStringList &texts, const QString &caption, const QString &value)
{
    for (int i = 0; i + 1 < texts.size(); ++i)
        if (texts[i] == caption && texts[i + 1] == value)
            return true;
    return false;
}

} // namespace

void TstResumo::fillWritesEveryColumn()
{
    Fixture f;
    REQUIRE_DB(f.db);
    WorkTable resumo(&Db(), "resumo");
    const ResumoFill::Outcome out = ResumoFill::fill(resumo, kFrom, kTo);
    QCOMPARE(out.payables, 5);
    QCOMPARE(out.receivables, 3);
    QSqlQuery q =
        resumo.exec("select " + ResumoFill::columns().join(',') + " from resumo order by Controle");
    QStringList rows;
    while (q.next()) {
        QStringList cells;
        for (int c = 0; c < ResumoFill::columns().size(); ++c)
            cells << text(q.value(c));
        rows << cells.join('|');
    }
    const QString pagar = "CONTAS A PAGAR|O|1";
    const QString receber = "CONTA RECEBER|O|2";
    const QStringList expected{
        "N1|2024-04-01|2024-04-01|100|100|<null>|BOLETO|" + pagar +
            "|ALFA LENTES|1|CENTRO|DEBITO|2|IMPOSTOS|10|5|ALUGUEL",
        "NOTA-MUITO|2024-04-10|2024-04-10|25|25|<null>|BOLETO|" + pagar +
            "|BETA ARMAÇÕES|1|CENTRO|DEBITO|2|IMPOSTOS|11|99999|DIVERSOS",
        "N4|2024-04-12|2024-04-12|40.5|40.5|<null>|BOLETO|" + pagar +
            "|BETA ARMAÇÕES|1|CENTRO|DEBITO|1|DIVERSOS|11|6|ENERGIA",
        "N6|2024-04-20|2024-04-20|10|10|<null>|BOLETO|" + pagar +
            "|ALFA LENTES|1|CENTRO|DEBITO|1|DIVERSOS|10|3|DIVERSOS",
        "N5|2024-04-30|2024-04-30|59.5|59.5|<null>|BOLETO|" + pagar +
            "|GAMA|1|CENTRO|DEBITO|1|MATERIAL DE ESCRITÓRIO|20|99999|DIVERSOS",
        "R-1|2024-04-05|2024-04-05|<null>|300|300|PIX|" + receber +
            "|CLIENTE DEZ|2|Shopping|CREDITO|1|DIVERSOS|10|99999|DIVERSOS",
        "S/N|2024-04-06|2024-04-06|<null>|50|50|PIX|" + receber +
            "|CLIENTE TRINTA|2|Shopping|CREDITO|1|DIVERSOS|30|99999|DIVERSOS",
        "<null>|2024-04-07|2024-04-07|<null>|0|0|PIX|" + receber +
            "|CLIENTE TRINTA|2|Shopping|DEBITO|1|DIVERSOS|30|99999|DIVERSOS",
    };
    QCOMPARE(rows, expected);
    // The columns this fill leaves alone stay empty; the shared table is untouched.
    QCOMPARE(resumo
                 .scalar("select count(*) from resumo where descricao is not null or "
                         "dataprocessamento is not null or CodigoNota is not null or "
                         "Data is not null or mes is not null or ano is not null")
                 .toInt(),
             0);
    QCOMPARE(f.count("resumo"), 0);
}

void TstResumo::viewsListAndTotal_data()
{
    QTest::addColumn<View>("view");
    QTest::addColumn<QStringList>("captions");
    QTest::addColumn<QStringList>("rows");
    // Cost centres: the reverse of name-then-key order, one row per key (the
    // registry's DIVERSOS beside the 99999 substitute, which has no
    // registry row: code 0, no name), names as the registry holds them.
    QTest::newRow("cost centre") << View::CostCentre
                                 << QStringList{"Codigo", "Descrição  Central de Custo",
                                                "Credito R$", "Debito R$"}
                                 << QStringList{"6|ENERGIA|0,00|40,50", "0||350,00|84,50",
                                                "3|DIVERSOS|0,00|10,00", "5|Aluguel|0,00|100,00"};
    // Expense types: the payables without one are summed with type 1.
    QTest::newRow("expense type") << View::ExpenseType
                                  << QStringList{"Codigo", "Tipo Despesa", "Credito R$",
                                                 "Debito R$"}
                                  << QStringList{"1|MATERIAL DE ESCRITÓRIO|350,00|110,00",
                                                 "2|IMPOSTOS|0,00|125,00"};
    // Suppliers: customer 10 is looked up as supplier 10; customer 30 has no supplier row.
    QTest::newRow("supplier") << View::Supplier
                              << QStringList{"Codigo", "Razão Social do Fornecedor", "Credito R$",
                                             "Debito R$"}
                              << QStringList{"10|ALFA LENTES|300,00|110,00",
                                             "11|BETA ARMAÇÕES|0,00|65,50", "0||50,00|0,00",
                                             "20|GAMA|0,00|59,50"};
}

void TstResumo::viewsListAndTotal()
{
    QFETCH(View, view);
    QFETCH(QStringList, captions);
    QFETCH(QStringList, rows);
    Fixture f;
    REQUIRE_DB(f.db);
    Screen s;
    QVERIFY(s.w.ready());
    s.w.tela(view);
    for (View v : {View::CostCentre, View::ExpenseType, View::Supplier})
        QCOMPARE(!s.w.grid(v)->isHidden(), v == view);
    QCOMPARE(s.captions(view), captions);
    QCOMPARE(s.rows(view), rows);
    // Every view lists every credit and debit of the period.
    QCOMPARE(s.w.creditTotalField()->text(), QString("350,00"));
    QCOMPARE(s.w.debitTotalField()->text(), QString("235,00"));
    QCOMPARE(s.w.differenceField()->text(), QString("115,00"));
}

void TstResumo::differenceColour_data()
{
    QTest::addColumn<QList<double>>("debits");
    QTest::addColumn<QList<double>>("credits");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<bool>("green");
    QTest::newRow("exactly zero") << QList<double>{100} << QList<double>{100} << "0,00" << true;
    QTest::newRow("a cent below") << QList<double>{100.01} << QList<double>{100} << "-0,01"
                                  << false;
    QTest::newRow("above") << QList<double>{50} << QList<double>{200} << "150,00" << true;
    // 0,10 + 0,20 is a hair above 0,30 in floating point: it still shows 0,00.
    QTest::newRow("rounding residue")
        << QList<double>{0.1, 0.2} << QList<double>{0.3} << "0,00" << true;
    QTest::newRow("empty period") << QList<double>{} << QList<double>{} << "0,00" << true;
}

void TstResumo::differenceColour()
{
    QFETCH(QList<double>, debits);
    QFETCH(QList<double>, credits);
    QFETCH(QString, shown);
    QFETCH(bool, green);
    Fixture f(false);
    REQUIRE_DB(f.db);
    int n = 0;
    for (double d : debits)
        f.paid(QString("D%1").arg(++n), kFrom, d, d, 2, 10, 5);
    for (double c : credits)
        f.received(QString("C%1").arg(++n), kFrom, c, 10, "cliente");
    Screen s;
    QCOMPARE(s.w.differenceField()->text(), shown);
    const QColor c = s.w.differenceField()->palette().color(QPalette::Text);
    QCOMPARE(c, green ? QColor(0, 128, 0) : QColor(220, 0, 0));
}

void TstResumo::reports_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QStringList>("details");
    QTest::addColumn<QStringList>("summary"); // caption, value, caption, value...
    QTest::newRow("cost centre")
        << "RptResumoPagarCorrente"
        << "Relatorio de Central de Custo Por Contas a Pagar e Conta Corrente no Periodo "
           "Quitado : 01/04/2024 à 30/04/2024"
        << QStringList{"5|ALUGUEL|0,00|100,00", "3|DIVERSOS|0,00|10,00",
                       "99999|DIVERSOS|350,00|84,50", "6|ENERGIA|0,00|40,50"}
        << QStringList{"Total de Itens Listados : ",
                       "4",
                       "Total de Credito R$",
                       "350,00",
                       "Total de Debito R$",
                       "235,00",
                       "Difrença",
                       "115,00"};
    QTest::newRow("expense type")
        << "RptResumoPagarCorrenteDespesa"
        << "Relatorio de Central de Custo Por Tipo de Despesa no Periodo Quitado : 01/04/2024 à "
           "30/04/2024"
        << QStringList{"1|DIVERSOS|350,00|110,00", "2|IMPOSTOS|0,00|125,00"}
        << QStringList{"Total de Itens Listados :", "2",      "Total de Credito R$ ", "350,00",
                       "Total de Debito R$ ",       "235,00", "Diferença R$",         "115,00"};
    QTest::newRow("supplier")
        << "RptResumoPagarCorrenteFornecedor"
        << "Relatorio de Central de Custo Por Fornecedor no Periodo Quitado : 01/04/2024 à "
           "30/04/2024"
        << QStringList{"10|ALFA LENTES|300,00|110,00", "11|BETA ARMAÇÕES|0,00|65,50",
                       "30|CLIENTE TRINTA|50,00|0,00", "20|GAMA|0,00|59,50"}
        << QStringList{"Total de Itens Listados : ", "4",      "Total de Creditos R$", "350,00",
                       "Total de Debitos R$",        "235,00", "Diferença R$",         "115,00"};
}

void TstResumo::reports()
{
    QFETCH(QString, name);
    QFETCH(QString, title);
    QFETCH(QStringList, details);
    QFETCH(QStringList, summary);
    Fixture f;
    REQUIRE_DB(f.db);
    Screen s;
    // The report of the button's menu, previewed modally.
    const int view = SummaryReports::names().indexOf(name);
    QVERIFY(view >= 0 && view < 3);
    Report::PreparedReport shown;
    {
        Modal::ScopedHandler handler([&](QDialog *d) {
            if (auto *p = qobject_cast<Report::ReportPreview *>(d))
                shown = p->report();
            return int(QDialog::Accepted);
        });
        s.w.relatorio(View(view));
    }
    QCOMPARE(shown.title, QString("Perc. de Venda"));
    QCOMPARE(shown.flavour, Report::Flavour::Modal);
    QCOMPARE(shown.paper, Report::Paper::Letter);
    QCOMPARE(shown.pageCount(), 1);
    const QStringList texts = shown.pages[0].texts();
    QCOMPARE(texts.value(0), kCompany);
    QVERIFY2(texts.contains(title), qPrintable(texts.join('\n')));
    QVERIFY(texts.contains("Emissão: 06/05/2024"));
    QVERIFY(texts.contains("Página: 1"));
    QCOMPARE(shown.tableTexts(Report::TableRow::Kind::Detail), details);
    for (int i = 0; i + 1 < summary.size(); i += 2)
        QVERIFY2(hasPair(texts, summary[i], summary[i + 1]), qPrintable(summary[i]));
}

void TstResumo::periodChangeHidesTheViews()
{
    Fixture f;
    REQUIRE_DB(f.db);
    FrmResumoCentralCustoQuitado w;
    // Nothing to open before a fill.
    for (View v : {View::CostCentre, View::ExpenseType, View::Supplier})
        QVERIFY(w.viewButton(v)->isHidden());
    QVERIFY(!w.grid(View::CostCentre)->isHidden());
    w.dataInicial()->setDate(kFrom);
    w.dataFinal()->setDate(kTo);
    w.gerar();
    QVERIFY(!w.viewButton(View::Supplier)->isHidden());
    w.tela(View::Supplier);
    QVERIFY(!w.grid(View::Supplier)->isHidden());
    // A click on the first date: the views wait for the next fill.
    QTest::mouseClick(w.dataInicial(), Qt::LeftButton);
    QVERIFY(w.grid(View::Supplier)->isHidden());
    for (View v : {View::CostCentre, View::ExpenseType, View::Supplier})
        QVERIFY(w.viewButton(v)->isHidden());
    QVERIFY(!w.ready());
    w.gerar();
    QVERIFY(w.ready());
    // Typing a new last date does the same: a report never names a period
    // other than the one its rows come from.
    w.dataFinal()->setDate(kTo.addDays(-1));
    QVERIFY(!w.ready());
    QVERIFY(w.viewButton(View::CostCentre)->isHidden());
    // The menus of the buttons.
    QStringList entries;
    for (QAction *a : w.viewMenu(View::ExpenseType)->actions()) {
        entries << a->text();
        if (a->menu())
            for (QAction *sub : a->menu()->actions())
                entries << "  " + sub->text();
    }
    QCOMPARE(entries, (QStringList{"Tela", "Relatorio", "Grafico", "  Credito", "  Debito"}));
}

void TstResumo::twoWorkstationsFillAtOnce()
{
    // Two workstations fill the summary for different periods, the second
    // one while the first is in the middle of its fill: each reads its own
    // rows, and the shared table holds none.
    Fixture f;
    REQUIRE_DB(f.db);
    Connection other("outra_estacao");
    other.setSettings(TestDb::serverSettings(f.db.databaseName()));
    other.open();
    WorkTable mine(&Db(), "resumo");
    WorkTable theirs(&other, "resumo");
    bool interleaved = false;
    ResumoFill::fill(mine, kFrom, kTo, [&](int pass, int, int) {
        if (pass == 1 && !interleaved) {
            interleaved = true;
            ResumoFill::fill(theirs, QDate(2024, 3, 1), QDate(2024, 3, 31));
        }
    });
    QVERIFY(interleaved);
    const ResumoViews::Totals a = ResumoViews::totals(mine, View::CostCentre);
    QCOMPARE(a.debito, 235.0);
    QCOMPARE(a.credito, 350.0);
    const ResumoViews::Totals b = ResumoViews::totals(theirs, View::CostCentre);
    QCOMPARE(b.debito, 1000.0);
    QCOMPARE(b.credito, 99.0);
    QCOMPARE(int(ResumoViews::list(theirs, View::Supplier).size()), 1);
    QCOMPARE(f.count("resumo"), 0);
}

void TstResumo::reconnectEndsTheSummary()
{
    // The shared table holds another program's rows; after a reconnect
    // this screen must neither show them nor offer its views.
    Fixture f;
    REQUIRE_DB(f.db);
    f.run("insert into resumo (codigogerencial, gerencial, debito, credito, historico, "
          "codigofornecedor) values (1, 'COMPARTILHADA', 5, 5, 'COMPARTILHADA', 1)");
    FaultProxy proxy(TestDb::serverSettings().port);
    QVERIFY(proxy.ok());
    ConnectionSettings viaProxy = TestDb::serverSettings(f.db.databaseName());
    viaProxy.port = proxy.port();
    QVERIFY(f.dm.connectWith(viaProxy));
    Screen s;
    QVERIFY(s.w.ready());
    QCOMPARE(s.rows(View::CostCentre).size(), 4);
    proxy.cutAll();
    ScriptedMessages boxes;
    s.w.tela(View::Supplier);
    QCOMPARE(boxes.texts(), QStringList{Connection::privateCopyLostMessage()});
    QVERIFY(!s.w.ready());
    for (View v : {View::CostCentre, View::ExpenseType, View::Supplier})
        QVERIFY(s.w.viewButton(v)->isHidden());
    QVERIFY(s.rows(View::CostCentre).isEmpty());
    QCOMPARE(s.w.creditTotalField()->text(), QString("0,00"));
    // A report asked for now neither runs nor reads the shared table.
    s.w.relatorio(View::CostCentre);
    QCOMPARE(boxes.boxes.size(), 1);
    // "&Gerar" makes a new copy.
    s.w.gerar();
    QVERIFY(s.w.ready());
    QCOMPARE(s.rows(View::CostCentre).size(), 4);
    QVERIFY(!s.rows(View::CostCentre).join('\n').contains("COMPARTILHADA"));
}

void TstResumo::menuEntriesOpenTheSummary_data()
{
    QTest::addColumn<QString>("menu");
    QTest::addColumn<int>("entry");
    QTest::addColumn<QString>("window");
    QTest::newRow("payables, 8") << MenuActions::PayablesReports << 8
                                 << "FrmResumoCentralCustoQuitado";
    QTest::newRow("payables, 11") << MenuActions::PayablesReports << 11
                                  << "FrmResumoquitadoPorFilialFornecedor";
    QTest::newRow("payables, 12") << MenuActions::PayablesReports << 12 << "FrmResumoquitado";
    QTest::newRow("ledger") << MenuActions::LedgerReports << int(MenuActions::LedgerPaidSummary)
                            << "FrmResumoCentralCustoQuitado";
}

void TstResumo::menuEntriesOpenTheSummary()
{
    QFETCH(QString, menu);
    QFETCH(int, entry);
    QFETCH(QString, window);
    Fixture f;
    REQUIRE_DB(f.db);
    Reports::registerHubEntries();
    QStringList opened;
    Modal::ScopedHandler handler([&](QDialog *w) {
        opened << w->objectName();
        return int(QDialog::Rejected);
    });
    if (menu == MenuActions::PayablesReports) {
        // Through the entry of the maintenance screen's menu that carries the caption.
        frmPagarManutencao hub;
        QAction *action = hub.reportMenu()->actions().value(entry - 1);
        QVERIFY(action);
        QCOMPARE(action->data().toInt(), entry);
        action->trigger();
    } else {
        QVERIFY(MenuActions::run(menu, entry, nullptr));
    }
    QCOMPARE(opened, QStringList{window});
}

CP_TEST(TstResumo)
#include "tst_resumo.moc"
