// The four screens as a clerk uses them: the report menu's entries that open
// them, the annual screen's one fill per opening and its two edits, the
// netting's button and preview, the "Tipo :" group, the synthetic payments,
// and what a screen says once its work tables were lost with the session.
// Each report is also saved as PDF and read back.

#include "AnnualFixture.h"
#include "ScriptedMessages.h"
#include "TestMain.h"
#include "app/Globals.h"
#include "payables/frmPagarManutencao.h"
#include "report/ReportExport.h"
#include "report/ReportPreview.h"
#include "reports/FrmEncontro.h"
#include "reports/FrmMovimentacaoAnualPagar.h"
#include "reports/FrmResumoPagamentos.h"
#include "reports/FrmResumoPagamnetoAbertoQuitado.h"
#include "reports/LookupEdit.h"
#include "reports/Reports.h"
#include "widgets/DateEdit.h"
#include "widgets/Modal.h"
#include "widgets/TitleBand.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>
#include <QtTest>

using namespace AnnualTest;
using Report::ReportPreview;
using Report::TableRow;

namespace {

QList<ReportPreview *> openPreviews()
{
    QList<ReportPreview *> list;
    for (QWidget *w : QApplication::allWidgets())
        if (auto *p = qobject_cast<ReportPreview *>(w); p && p->isVisible())
            list << p;
    return list;
}

// The modal previews run while a screen waits; their prepared reports.
struct ModalPreviews
{
    QList<Report::PreparedReport> seen;
    Modal::ScopedHandler handler{[this](QDialog *d) {
        if (auto *p = qobject_cast<ReportPreview *>(d))
            seen << p->report();
        return int(QDialog::Accepted);
    }};
};

void setPeriod(DateEdit *from, DateEdit *to, const QDate &a, const QDate &b)
{
    from->setDate(a);
    to->setDate(b);
}

void payments(Fixture &f)
{
    f.payable("N1", 10, 5, QDate(2024, 1, 31), 100.00, QDate(2024, 1, 31));
    f.payable("N2", 10, 5, QDate(2024, 2, 1), 50.00, QDate(2024, 2, 1));
    f.payable("N3", 20, 6, QDate(2024, 3, 5), 70.00, QDate(2024, 3, 5));
    f.payable("N4", 10, 5, QDate(2024, 3, 20), 80.00);
}

QString pdfText(const QString &path)
{
    QProcess p;
    p.start("pdftotext", {"-layout", path, "-"});
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

} // namespace

class TstScreens : public QObject
{
    Q_OBJECT
private slots:
    void cleanup()
    {
        for (ReportPreview *p : openPreviews())
            delete p;
        Clock::setFixed({});
    }
    void hubEntriesOpenTheScreens_data();
    void hubEntriesOpenTheScreens();
    void annualScreenFillsOncePerOpening();
    void annualScreenAfterReconnect();
    void nettingScreen();
    void openAndPaidScreen();
    void paymentsScreen();
    void reportsReadBackFromPdf();
};

void TstScreens::hubEntriesOpenTheScreens_data()
{
    QTest::addColumn<int>("entry");
    QTest::addColumn<QString>("window");
    QTest::addColumn<bool>("visible");
    QTest::newRow("9") << 9 << "FrmEncontro" << false;
    QTest::newRow("14") << 14 << "FrmResumoPagamentos" << true;
    QTest::newRow("15") << 15 << "FrmMovimentacaoAnualPagar" << true;
    QTest::newRow("17") << 17 << "FrmResumoPagamnetoAbertoQuitado" << true;
}

void TstScreens::hubEntriesOpenTheScreens()
{
    QFETCH(int, entry);
    QFETCH(QString, window);
    QFETCH(bool, visible);
    Fixture f;
    REQUIRE_DB(f.db);
    QVERIFY(f.ok);
    Reports::registerHubEntries();
    frmPagarManutencao hub;
    QAction *action = hub.reportMenu()->actions().value(entry - 1);
    QVERIFY(action);
    QCOMPARE(action->isVisible(), visible);
    QStringList opened;
    QString caption;
    Modal::ScopedHandler handler([&](QDialog *w) {
        opened << w->objectName();
        caption = w->windowTitle();
        return int(QDialog::Rejected);
    });
    action->trigger();
    QCOMPARE(opened, QStringList{window});
    QCOMPARE(caption, QString("Quarvo Sistemas - Suporte: (11) 4002-8922 - suporte@quarvo.com.br"));
}

void TstScreens::annualScreenFillsOncePerOpening()
{
    Fixture f;
    REQUIRE_DB(f.db);
    QVERIFY(f.ok);
    payments(f);
    ScriptedMessages messages;
    ModalPreviews modal;
    FrmMovimentacaoAnualPagar w;
    QVERIFY(w.BtnGerar->isEnabled());
    QVERIFY(!w.BtnNormal->isEnabled() && !w.BtnColunas->isEnabled());
    QCOMPARE(w.DataI->date(), kToday);

    // The supplier's button opens its list and takes the cost centre away.
    w.openSupplierList();
    QVERIFY(w.tbFornecedor && w.tbFornecedor->recordCount() == 3);
    QVERIFY(!w.EdtGerencial->isEnabled() && !w.LblGerencial->isEnabled());
    w.openCostCentreList();
    QVERIFY(!w.tbGerencial);

    // Thirteen months are refused before anything is filled.
    setPeriod(w.DataI, w.DataF, QDate(2024, 1, 1), QDate(2025, 1, 1));
    w.gerar();
    QCOMPARE(messages.texts(), QStringList{"O período deve ter no máximo 12 meses"});
    QVERIFY(w.BtnGerar->isEnabled());
    QVERIFY(!w.fill().valid());

    setPeriod(w.DataI, w.DataF, QDate(2024, 1, 1), QDate(2024, 12, 31));
    w.gerar();
    QVERIFY(w.fill().valid());
    QVERIFY(!w.BtnGerar->isEnabled() && w.BtnNormal->isEnabled() && w.BtnColunas->isEnabled());
    QVERIFY(w.Animate1->isHidden());

    // A name that is not in the list is refused; a start of one is taken.
    w.EdtFornecedor->setText("ZETA");
    w.colunas();
    QCOMPARE(messages.texts().last(),
             QString("\"ZETA\" não está na lista de fornecedores. Escolha um nome da lista."));
    QCOMPARE(openPreviews().size(), 0);
    w.EdtFornecedor->setText("alfa");
    w.colunas();
    QCOMPARE(w.EdtFornecedor->text(), QString("ALFA LENTES"));
    QCOMPARE(openPreviews().size(), 1);
    const Report::PreparedReport &columns = openPreviews()[0]->report();
    QCOMPARE(cells(columns, TableRow::Kind::Detail).size(), 1);
    QVERIFY(cells(columns, TableRow::Kind::Detail)[0].startsWith("ALFA LENTES|100,00|50,00|"));

    // "&Normal" lists every supplier under the supplier's title.
    w.normal();
    QCOMPARE(modal.seen.size(), 1);
    QVERIFY(modal.seen[0].pages[0].texts().contains(
        "Relatório Por Fornecedor de Movimentação Anual no Período: 01/01/2024 à 31/12/2024"));
    QCOMPARE(cells(modal.seen[0], TableRow::Kind::GroupHeader).size(), 2);

    // Closing empties this workstation's month rows; the preview stays.
    QCOMPARE(f.rows("select count(*) from resumoanual"), QStringList{"3"});
    w.BtnClose->click();
    QCOMPARE(f.rows("select count(*) from resumoanual"), QStringList{"0"});
    QCOMPARE(f.rows("select count(*) from resumo"), QStringList{"3"});
    QCOMPARE(openPreviews().size(), 1);
    QCOMPARE(messages.unexpected, 0);
}

void TstScreens::annualScreenAfterReconnect()
{
    Fixture f;
    REQUIRE_DB(f.db);
    QVERIFY(f.ok);
    payments(f);
    f.exec("insert into resumo (descricao, credito, mes) values ('DE OUTRA ESTACAO', 1, '01')");
    ScriptedMessages messages;
    ModalPreviews modal;
    FrmMovimentacaoAnualPagar w;
    setPeriod(w.DataI, w.DataF, QDate(2024, 1, 1), QDate(2024, 12, 31));
    w.gerar();
    QVERIFY(w.BtnNormal->isEnabled());
    // The session ends (the server restarted, the network failed): the
    // next report must not print what other workstations left in the
    // shared tables.
    ConnectionLossCount = 0; // this loss is reconnected, not raised
    f.exec(QStringLiteral("KILL %1").arg(f.conn().sessionId()));
    w.normal();
    QCOMPARE(modal.seen.size(), 0);
    QCOMPARE(messages.texts(), QStringList{Connection::privateCopyLostMessage()});
    QVERIFY(w.BtnGerar->isEnabled());
    QVERIFY(!w.BtnNormal->isEnabled() && !w.BtnColunas->isEnabled());
    w.gerar();
    w.normal();
    QCOMPARE(modal.seen.size(), 1);
    QCOMPARE(cells(modal.seen[0], TableRow::Kind::Summary),
             QStringList{"Total de Itens Listados => 3|||220,00"});
}

void TstScreens::nettingScreen()
{
    // Run as a clerk runs it, modally: the preview is usable while the
    // screen is open, and stays open when the screen closes.
    Fixture f;
    REQUIRE_DB(f.db);
    QVERIFY(f.ok);
    f.receivable(100, "CLIENTE UM", QDate(2024, 4, 2), 500.00);
    f.payable("P1", 10, 5, QDate(2024, 4, 2), 800.00);
    ScriptedMessages messages;
    auto *w = new FrmEncontro;
    QPointer<ReportPreview> preview;
    bool ownedByScreen = false, buttonHidden = false, barHidden = false;
    QTimer::singleShot(0, w, [&] {
        setPeriod(w->DataI, w->DataF, QDate(2024, 4, 1), QDate(2024, 4, 30));
        w->BtnGerar->click();
        const QList<ReportPreview *> p = openPreviews();
        if (p.size() == 1) {
            preview = p[0];
            // Owned by the screen for the window system, so the modal
            // chain lets it take clicks.
            ownedByScreen = preview->windowHandle() &&
                            preview->windowHandle()->transientParent() == w->windowHandle();
        }
        buttonHidden = w->BtnGerar->isHidden();
        barHidden = w->ProgressBar1->isHidden();
        w->Panel1->clickClose();
    });
    Modal::exec(w);
    QVERIFY(preview);
    QVERIFY(ownedByScreen);
    QVERIFY(buttonHidden && barHidden);
    QCOMPARE(w->verdict().kind, NettingVerdict::Kind::Committed);
    QVERIFY(preview->report().pageText(0).contains("SALDO COMPROMETIDO, VALOR NEGATIVO!!! R$ "
                                                   "-300,00"));
    delete w;
    QVERIFY(preview);
    QVERIFY(!preview->parentWidget());
    QVERIFY(preview->isVisible());
    QCOMPARE(messages.boxes.size(), 0);
}

void TstScreens::openAndPaidScreen()
{
    Fixture f;
    REQUIRE_DB(f.db);
    QVERIFY(f.ok);
    f.payable("A1", 10, 5, QDate(2024, 4, 20), 40.00);
    f.payable("Q1", 10, 6, QDate(2024, 4, 10), 100.00, QDate(2024, 4, 12), 95.00);
    ScriptedMessages messages;
    FrmResumoPagamnetoAbertoQuitado w;
    w.show();
    QCOMPARE(w.RadioGroup1->title(), QString("Tipo :"));
    QVERIFY(!w.RbGerencial->isChecked() && !w.RbFornecedor->isChecked());
    for (QWidget *hidden : std::initializer_list<QWidget *>{
             w.LblGerencial, w.EdtGerencial, w.LblFornecedor, w.EdtFornecedor, w.LblDataI,
             w.LblDataF, w.DataI, w.DataF})
        QVERIFY(!hidden->isVisible());

    // No choice: an empty report.
    w.gerar();
    QCOMPARE(openPreviews().size(), 1);
    QCOMPARE(cells(openPreviews()[0]->report(), TableRow::Kind::Summary),
             QStringList{"Quantidade de Registros => 0|||||||0,00|0,00"});
    QVERIFY(w.BtnGerar->isEnabled());

    w.RbGerencial->click();
    QVERIFY(w.EdtGerencial->isVisible() && w.DataI->isVisible() && w.DataF->isVisible());
    const QRect costCentrePlace = w.EdtGerencial->geometry();
    w.RbFornecedor->click();
    QVERIFY(w.EdtFornecedor->isVisible() && !w.EdtGerencial->isVisible());
    QVERIFY(w.LblFornecedor->isVisible() && !w.LblGerencial->isVisible());
    QCOMPARE(w.EdtFornecedor->geometry(), costCentrePlace);

    setPeriod(w.DataI, w.DataF, QDate(2024, 4, 1), QDate(2024, 4, 30));
    w.EdtFornecedor->setText("ZETA");
    w.gerar();
    QCOMPARE(messages.texts(),
             QStringList{"\"ZETA\" não está na lista de fornecedores. Escolha um nome da lista."});
    QCOMPARE(openPreviews().size(), 1);
    w.EdtFornecedor->setText("ALFA LENTES");
    w.gerar();
    QCOMPARE(openPreviews().size(), 2);
    QStringList notas;
    for (ReportPreview *p : openPreviews())
        for (const QString &row : cells(p->report(), TableRow::Kind::Detail))
            notas << row.section('|', 3, 3);
    notas.removeAll(QString());
    QCOMPARE(notas, QStringList({"A1/1", "Q1/1"}));
    QCOMPARE(messages.unexpected, 0);
}

void TstScreens::paymentsScreen()
{
    Fixture f;
    REQUIRE_DB(f.db);
    QVERIFY(f.ok);
    payments(f);
    ScriptedMessages messages;
    ModalPreviews modal;
    FrmResumoPagamentos w;
    setPeriod(w.DataI, w.DataF, QDate(2024, 1, 1), QDate(2024, 3, 31));
    w.gerar();
    QCOMPARE(modal.seen.size(), 1);
    QCOMPARE(cells(modal.seen[0], TableRow::Kind::Detail),
             QStringList({"10|ALFA LENTES|150,00", "20|BETA ÓPTICA|70,00"}));
    QVERIFY(w.Animate1->isHidden() && w.BtnGerar->isEnabled());
    // A first date after the last finds nothing, and says nothing.
    setPeriod(w.DataI, w.DataF, QDate(2024, 3, 31), QDate(2024, 1, 1));
    w.gerar();
    QCOMPARE(modal.seen.size(), 2);
    QCOMPARE(cells(modal.seen[1], TableRow::Kind::Summary),
             QStringList{"Total de Itens Listados => 0||0,00"});
    QCOMPARE(messages.boxes.size(), 0);
}

void TstScreens::reportsReadBackFromPdf()
{
    Fixture f;
    REQUIRE_DB(f.db);
    QVERIFY(f.ok);
    payments(f);
    f.receivable(100, "CLIENTE UM", QDate(2024, 3, 5), 500.00);
    const QDate from(2024, 1, 1), to(2024, 12, 31);
    AnnualMovementFill annual(f.conn());
    annual.run(from, to);
    NettingFill netting(f.conn());
    netting.run(from, to);
    QTemporaryDir dir;
    dir.setAutoRemove(qEnvironmentVariableIsEmpty("CP_KEEP_PDF"));
    struct Case
    {
        QString file;
        Report::PreparedReport report;
        QStringList texts;
    };
    QList<Case> cases;
    using WorkTableReports::Scope;
    cases << Case{"anual.pdf",
                  WorkTableReports::annualNormal(annual, Scope::Geral, from, to),
                  {"Relatório Geral de Movimentação Anual no Período: 01/01/2024 à 31/12/2024",
                   "Descrição do Recebimento => 20", "BETA ÓPTICA", "Sub Total R$",
                   "Total de Itens Listados => 3"}};
    for (Scope s : {Scope::Geral, Scope::Fornecedor, Scope::Gerencial})
        cases << Case{
            WorkTableReports::annualColumnsName(s) + ".pdf",
            WorkTableReports::annualColumns(annual, s, s == Scope::Gerencial ? 6 : 10, from, to),
            {WorkTableReports::titleLine(WorkTableReports::annualColumnsTitle(s), from, to),
             "Março", "Pagina(s):1", "segunda-feira, 6 de maio de 2024"}};
    cases << Case{"encontro.pdf",
                  WorkTableReports::netting(netting, from, to),
                  {"Data de Vencimento =< 20/03/2024", "Quantidade de Lançamentos => 2",
                   "SALDO LIVRE PARA COMPROMETIMENTO, ECONOMIZE!!! R$ 420,00"}};
    PaymentSummaryFill summary(f.conn());
    summary.openAndPaid(PaymentSummaryFill::Tipo::Fornecedor, 10, from, to);
    cases << Case{"abertoquitado.pdf",
                  WorkTableReports::openAndPaid(summary, from, to),
                  {"Descrição do Tipo => ABERTO NO PERIODO", "PAGAMENTO NO PERIODO",
                   "Central de Custo :", "Quantidade de Registros => 3"}};
    summary.payments(from, to);
    cases << Case{
        "sintetico.pdf",
        WorkTableReports::synthetic(summary, from, to),
        {"Periodoo: 01/01/2024 à 31/12/2024", "BETA ÓPTICA", "Total de Itens Listados => 2"}};
    for (const Case &c : cases) {
        const QString path = dir.filePath(c.file);
        QString error;
        QVERIFY2(Report::exportTo(c.report, path, &error), qPrintable(error));
        const QString text = pdfText(path);
        QVERIFY2(text.contains(kCompany), qPrintable(c.file));
        for (const QString &t : c.texts)
            QVERIFY2(text.contains(t), qPrintable(c.file + ": " + t + "\n" + text));
    }
}

CP_TEST(TstScreens)
#include "tst_screens.moc"
