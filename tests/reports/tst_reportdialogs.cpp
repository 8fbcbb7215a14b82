// The report dialogs as a clerk uses them: the period dialog that remembers
// its period, the option dialogs with their shared lists and per-page dates,
// and the maintenance screen's menu entries that open them.

#include "ReportsFixture.h"
#include "ScriptedMessages.h"
#include "TestMain.h"
#include "payables/frmPagarManutencao.h"
#include "report/ReportPreview.h"
#include "reports/ReportDialogs.h"
#include "widgets/DateEdit.h"
#include "widgets/LookupCombo.h"
#include "widgets/Modal.h"
#include "widgets/TitleBand.h"

#include <QApplication>
#include <QGroupBox>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTabWidget>
#include <QtTest>

using namespace ReportsTest;
using Report::PreparedReport;
using Report::ReportPreview;

namespace {

// The previews of the independent engine that are open now.
QList<ReportPreview *> openPreviews()
{
    QList<ReportPreview *> list;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *p = qobject_cast<ReportPreview *>(w); p && p->isVisible())
            list << p;
    return list;
}

void closePreviews()
{
    for (ReportPreview *p : openPreviews())
        delete p;
}

QStringList detailTexts(const PreparedReport &r)
{
    return r.tableTexts(Report::TableRow::Kind::Detail);
}

// Detail rows with a cell that is exactly the payable's number.
int rowsOf(const PreparedReport &r, const QString &nota)
{
    return detailTexts(r).filter(QRegularExpression("(^|\\|)" + nota + "(/1)?(\\||$)")).size();
}

} // namespace

class TestReportDialogs : public QObject
{
    Q_OBJECT
private slots:
    void cleanup()
    {
        closePreviews();
        Clock::setFixed({});
        // The period dialog lives as long as the program: each case meets
        // it as on its first use.
        frmGeral::instance()->setTag(0);
    }

    void periodDialogKeepsPeriod();
    void periodDialogRestoresLayoutAfterFailure();
    void tabsShareListsAndKeepTheirDates();
    void tabRunsItsReport_data();
    void tabRunsItsReport();
    void individualLookupRunsModalReport();
    void branchDialogNamesTheBranch();
    void enterRunsAndEscCloses_data();
    void enterRunsAndEscCloses();
    void hubEntriesOpenTheirDialogs_data();
    void hubEntriesOpenTheirDialogs();
};

void TestReportDialogs::periodDialogKeepsPeriod()
{
    Fixture f;
    REQUIRE_DB(f.db);
    QVERIFY(f.ok);
    frmGeral *g = frmGeral::instance();
    QCOMPARE(frmGeral::instance(), g);
    QCOMPARE(g->windowTitle(), QString("Tecnologia e Informática - Formulario de Selecionar"));
    g->setTag(0); // as after start-up
    g->DataI->setDate(QDate(2000, 1, 1));
    const int fullHeight = g->height();

    int runs = 0;
    QDate shownFrom, shownTo;
    Modal::ScopedHandler handler([&](QDialog *d) {
        if (d != g)
            return int(QDialog::Rejected);
        ++runs;
        // Only the period and the buttons are shown, in a shorter window.
        if (g->GRP1->isVisibleTo(g) || g->GRP2->isVisibleTo(g) || !g->GRP3->isVisibleTo(g) ||
            !g->GRP4->isVisibleTo(g) ||
            g->height() != fullHeight - g->GRP1->height() - g->GRP2->height() - 8)
            return -1;
        shownFrom = g->DataI->date();
        shownTo = g->DataF->date();
        if (runs == 1) {
            g->DataI->setDate(kFrom);
            g->DataF->setDate(kTo);
            return int(QDialog::Accepted);
        }
        return int(QDialog::Rejected);
    });

    QVERIFY(frmGeral::runReport("RptPagarNegociadas"));
    QCOMPARE(runs, 1);
    QCOMPARE(shownFrom, kToday);
    QCOMPARE(shownTo, kToday);
    QCOMPARE(g->tag(), 1);
    QCOMPARE(g->height(), fullHeight);
    QVERIFY(!g->GRP3->isVisibleTo(g) && !g->GRP4->isVisibleTo(g));
    QList<ReportPreview *> previews = openPreviews();
    QCOMPARE(previews.size(), 1);
    QVERIFY(previews[0]->report().pageText(0).contains(
        "Relatório de Contas a Pagar Negociadas no Período: 01/04/2024 à 30/04/2024"));
    QCOMPARE(rowsOf(previews[0]->report(), "A4"), 1);

    // The second run opens with the period of the first; cancelled, nothing runs.
    QVERIFY(!frmGeral::runReport("RptPagarNegociadas"));
    QCOMPARE(runs, 2);
    QCOMPARE(shownFrom, kFrom);
    QCOMPARE(shownTo, kTo);
    QCOMPARE(openPreviews().size(), 1);
    QCOMPARE(g->height(), fullHeight);
}

void TestReportDialogs::periodDialogRestoresLayoutAfterFailure()
{
    Fixture f;
    REQUIRE_DB(f.db);
    QVERIFY(f.ok);
    frmGeral *g = frmGeral::instance();
    const int fullHeight = g->height();
    Modal::ScopedHandler handler([](QDialog *) { return int(QDialog::Accepted); });
    f.exec("drop table pagar");
    bool threw = false;
    try {
        frmGeral::runReport("RptPagarNegociadas");
    } catch (const DbError &) {
        threw = true;
    }
    QVERIFY(threw);
    QCOMPARE(g->height(), fullHeight);
    QVERIFY(!g->GRP3->isVisibleTo(g) && !g->GRP4->isVisibleTo(g));
}

void TestReportDialogs::tabsShareListsAndKeepTheirDates()
{
    Fixture f;
    REQUIRE_DB(f.db);
    QVERIFY(f.ok);
    OptionDialog d("OpFilialVenc");
    QVERIFY(d.windowTitle().startsWith("Quarvo Sistemas"));
    QCOMPARE(d.panel()->caption(), QString("Relatorio de Contas a Pagar Por Filial,Fornecedor e "
                                           "Conta Gerencial em Aberto no Periodo"));
    QStringList tabs;
    for (int i = 0; i < d.tabs()->count(); ++i)
        tabs << d.tabs()->tabText(i);
    QCOMPARE(tabs, (QStringList{"Fornecedor / Filial e Conta Gerencial", "Só Fornecedor",
                                "Só Filial", "Só Conta Gerencial", "Só Filial/Fornecedor",
                                "Geral Detalhado das Oticas", "Geral Todas as Oticas"}));
    QCOMPARE(d.tabs()->currentIndex(), 0);
    QCOMPARE(d.okButton(4)->text(), QString("&OK"));
    QCOMPARE(d.cancelButton(4)->text(), QString("&Cancelar"));
    // The other pages' buttons are the toolkit's own, in Portuguese.
    QCOMPARE(d.cancelButton(0)->text(), QString("Cancelar"));
    for (int i = 0; i < d.pageCount(); ++i) {
        QCOMPARE(d.dataInicial(i)->date(), kToday);
        QCOMPARE(d.dataFinal(i)->date(), kToday);
    }
    using S = Reports::Selection;
    // Lists in name order, starting on the first name.
    LookupCombo *branch0 = d.picker(0, S::Filial);
    QCOMPARE(branch0->count(), 3);
    QCOMPARE(branch0->itemText(0), QString("CENTRO"));
    QCOMPARE(branch0->currentText(), QString("CENTRO"));
    // A branch chosen on one tab is chosen on the others.
    branch0->setKeyValue(2);
    QCOMPARE(d.picker(2, S::Filial)->currentText(), QString("SHOPPING"));
    QCOMPARE(d.picker(4, S::Filial)->currentText(), QString("SHOPPING"));
    d.picker(1, S::Fornecedor)->setKeyValue(11);
    QCOMPARE(d.picker(0, S::Fornecedor)->currentText(), QString("BETA ARMAÇÕES"));
    QCOMPARE(d.list(S::Filial), d.picker(4, S::Filial)->recordSet());
    QVERIFY(!d.picker(5, S::Filial));
}

void TestReportDialogs::tabRunsItsReport_data()
{
    QTest::addColumn<int>("tab");
    QTest::addColumn<QString>("report");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("line");
    QTest::addColumn<QStringList>("rows");
    const QString dates = "01/04/2024 à 30/04/2024";
    QTest::newRow("tudo") << 0 << "RptPagarFilialVenc"
                          << "Relatorio de Contas a Pagar Por Fornecedor,Filial e Conta Gerencial "
                             "em Aberto no Periodo" +
                                 dates
                          << "Conta Gerencial:ALUGUEL" << QStringList{"A3"};
    QTest::newRow("só fornecedor")
        << 1 << "RptPagarFilialVenc01"
        << "Relatorio de Contas a Pagar Por Fornecedor em Aberto no Periodo" + dates
        << "Nome do Fornecedor:     ALFA LENTES" << QStringList{"A1", "A3"};
    QTest::newRow("só filial") << 2 << "RptPagarFilialVenc02"
                               << "Relatorio de Contas a Pagar Por Filial em Aberto no Periodo" +
                                      dates
                               << "Nome do Filial:     SHOPPING" << QStringList{"A3"};
    QTest::newRow("só gerencial")
        << 3 << "RptPagarGerencialVenc02"
        << "Relatorio de Contas a Pagar Por Conta Gerencial em Aberto no Periodo" + dates
        << "Conta Gerencial:     ALUGUEL" << QStringList{"A1", "A3"};
    QTest::newRow("filial/fornecedor")
        << 4 << "RptPagarFilialFornecedor"
        << "Relatorio de Contas a Pagar Por FIlial e Fornecedor em Aberto no Periodo " + dates
        << "Nome do Fornecedor:ALFA LENTES" << QStringList{"A3"};
    QTest::newRow("geral detalhado")
        << 5 << "RptPagarAberto01"
        << "Relatório Geral de Contas a Pagar em Aberta no Período: " + dates << QString()
        << QStringList{"A1", "A2", "A3"};
}

void TestReportDialogs::tabRunsItsReport()
{
    QFETCH(int, tab);
    QFETCH(QString, report);
    QFETCH(QString, title);
    QFETCH(QString, line);
    QFETCH(QStringList, rows);
    Fixture f;
    REQUIRE_DB(f.db);
    QVERIFY(f.ok);
    OptionDialog d("OpFilialVenc");
    QCOMPARE(d.reportOf(tab), report);
    using S = Reports::Selection;
    d.picker(0, S::Filial)->setKeyValue(2);
    d.picker(0, S::Fornecedor)->setKeyValue(10);
    d.picker(0, S::Gerencial)->setKeyValue(5);
    // Only this tab's dates count.
    d.dataInicial(tab)->setDate(kFrom);
    d.dataFinal(tab)->setDate(kTo);
    d.tabs()->setCurrentIndex(tab);
    d.okButton(tab)->click();
    QCOMPARE(d.result(), int(QDialog::Accepted));
    const QList<ReportPreview *> previews = openPreviews();
    QCOMPARE(previews.size(), 1);
    const PreparedReport &r = previews[0]->report();
    QCOMPARE(r.title, report);
    const QStringList texts = r.pages[0].texts();
    QVERIFY2(texts.contains(title), qPrintable(texts.join('\n')));
    if (!line.isEmpty())
        QVERIFY2(texts.contains(line), qPrintable(texts.join('\n')));
    QStringList ids;
    for (const QString &row : detailTexts(r))
        for (const char *id : {"A1", "A2", "A3"})
            if (row.split('|').contains(id))
                ids << id;
    QCOMPARE(ids, rows);
}

void TestReportDialogs::individualLookupRunsModalReport()
{
    Fixture f;
    REQUIRE_DB(f.db);
    QVERIFY(f.ok);
    OptionDialog d("OPPagarIndFilialQuitado");
    QCOMPARE(d.windowTitle(), QString("Opção de Relatório Sintetico Contas a Pagar Individual Por "
                                      "Filial e Data Quitado no Periodo"));
    QCOMPARE(d.cancelButton(0)->text(), QString("Cancelar"));
    LookupCombo *lookup = d.picker(0, Reports::Selection::Filial);
    QTest::keyClicks(lookup, "sho");
    QCOMPARE(lookup->keyValue().toInt(), 2);
    d.dataInicial(0)->setDate(kFrom);
    d.dataFinal(0)->setDate(kTo);

    PreparedReport shown;
    int dialogs = 0;
    Modal::ScopedHandler handler([&](QDialog *w) {
        if (auto *p = qobject_cast<ReportPreview *>(w)) {
            shown = p->report();
            return int(QDialog::Accepted);
        }
        ++dialogs;
        d.okButton(0)->click();
        return d.result();
    });
    QCOMPARE(d.run(), int(QDialog::Accepted));
    QCOMPARE(dialogs, 1);
    QCOMPARE(shown.title, QString("RptPagarquitadoIndFilialQ"));
    const QStringList texts = shown.pages[0].texts();
    QVERIFY2(texts.contains("SHOPPING"), qPrintable(texts.join('\n')));
    QCOMPARE(rowsOf(shown, "Q2"), 1);
    QCOMPARE(rowsOf(shown, "Q1"), 0);
    // The lookup is cleared when the preview closes; its list is closed.
    QVERIFY(lookup->keyValue().isNull());
    QVERIFY(!d.list(Reports::Selection::Filial)->isOpen());
    QVERIFY(openPreviews().isEmpty());
}

void TestReportDialogs::branchDialogNamesTheBranch()
{
    Fixture f;
    REQUIRE_DB(f.db);
    QVERIFY(f.ok);
    OptionDialog d("OPFilialAberto");
    QCOMPARE(d.windowTitle(), QString("Opção de Relatorio de Contas a Pagar em Aberto no Periodo"));
    // Left untouched, the list stands on its first branch and that is the
    // branch both listed and named.
    QCOMPARE(d.picker(0, Reports::Selection::Filial)->currentText(), QString("CENTRO"));
    d.dataInicial(0)->setDate(kFrom);
    d.dataFinal(0)->setDate(kTo);
    d.okButton(0)->click();
    const QList<ReportPreview *> previews = openPreviews();
    QCOMPARE(previews.size(), 1);
    const PreparedReport &r = previews[0]->report();
    QVERIFY(r.pages[0].texts().contains("Nome da Filial : CENTRO"));
    QCOMPARE(rowsOf(r, "A1") + rowsOf(r, "A2"), 2);
    QCOMPARE(rowsOf(r, "A3"), 0);
}

void TestReportDialogs::enterRunsAndEscCloses_data()
{
    QTest::addColumn<QString>("dialog");
    QTest::addColumn<int>("tab");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("report"); // empty: none runs
    for (const auto &[dialog, tab, report] : {std::tuple{"OPFilialAberto", 0, "RptPagarAberto"},
                                              {"OPFilialAbertoQ", 0, "RptPagarQuitado"},
                                              {"OpFilialVenc", 5, "RptPagarAberto01"}}) {
        QTest::addRow("%s: Enter", dialog)
            << dialog << tab << int(Qt::Key_Return) << int(QDialog::Accepted) << report;
        QTest::addRow("%s: Esc", dialog)
            << dialog << tab << int(Qt::Key_Escape) << int(QDialog::Rejected) << "";
    }
}

void TestReportDialogs::enterRunsAndEscCloses()
{
    QFETCH(QString, dialog);
    QFETCH(int, tab);
    QFETCH(int, key);
    QFETCH(int, result);
    QFETCH(QString, report);
    Fixture f;
    REQUIRE_DB(f.db);
    QVERIFY(f.ok);
    OptionDialog d(dialog);
    d.show();
    d.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&d));
    if (auto *tabs = d.tabs())
        tabs->setCurrentIndex(tab);
    d.dataFinal(tab)->setFocus();
    QTRY_VERIFY(d.dataFinal(tab)->hasFocus());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
    QTRY_VERIFY(!d.isVisible());
    QCOMPARE(d.result(), result);
    const QList<ReportPreview *> previews = openPreviews();
    QCOMPARE(previews.size(), report.isEmpty() ? 0 : 1);
    if (!report.isEmpty())
        QCOMPARE(previews[0]->report().title, report);
}

void TestReportDialogs::hubEntriesOpenTheirDialogs_data()
{
    QTest::addColumn<int>("entry");
    QTest::addColumn<QString>("window");
    QTest::newRow("1") << 1 << "OpFilialVenc";
    QTest::newRow("4") << 4 << "OPPagarIndFornecedor";
    QTest::newRow("5") << 5 << "OPFilialAbertoQ";
    QTest::newRow("6") << 6 << "frmGeral";
    QTest::newRow("7") << 7 << "frmGeral";
    QTest::newRow("21") << 21 << "OPPagarIndFilialQuitado";
    QTest::newRow("23") << 23 << "frmGeral";
    QTest::newRow("101") << 101 << "OPFilialAberto";
    QTest::newRow("102") << 102 << "OPFilialAbertoQ";
}

void TestReportDialogs::hubEntriesOpenTheirDialogs()
{
    QFETCH(int, entry);
    QFETCH(QString, window);
    Fixture f;
    REQUIRE_DB(f.db);
    QVERIFY(f.ok);
    Reports::registerHubEntries();
    frmPagarManutencao hub;
    QAction *action = nullptr;
    if (entry > 100) {
        for (QAction *menu : hub.menuBar()->actions())
            if (menu->text() == "&Relatorios")
                action = menu->menu()->actions().value(entry - 101);
    } else {
        action = hub.reportMenu()->actions().value(entry - 1);
    }
    QVERIFY(action);
    QStringList opened;
    Modal::ScopedHandler handler([&](QDialog *w) {
        opened << w->objectName();
        return int(QDialog::Rejected);
    });
    action->trigger();
    QCOMPARE(opened, QStringList{window});
}

CP_TEST(TestReportDialogs)
#include "tst_reportdialogs.moc"
