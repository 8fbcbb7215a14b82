// The payables maintenance screen: its lists, searches, colours, editing,
// deleting and the automatic settlement, checked on what a clerk sees and on
// the rows that land in the database.

#include "ProgramFixture.h"
#include "ScriptedMessages.h"
#include "TestDb.h"
#include "TestMain.h"
#include "app/DM.h"
#include "app/Globals.h"
#include "payables/frmPagarManutencao.h"
#include "registries/PickList.h"
#include "widgets/BigToolBar.h"
#include "widgets/Clock.h"
#include "widgets/DataGrid.h"
#include "widgets/DateEdit.h"
#include "widgets/Modal.h"
#include "widgets/UpperEdit.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

namespace {

const QDate kToday(2024, 4, 29);

struct Fixture : ProgramFixture
{
    Fixture() : ProgramFixture(QDateTime(kToday, QTime(10, 0, 0))) {}
    // A payable; dates as SQL literals or NULL.
    void payable(const QString &nota, const QString &nome, double valor, const QString &venc,
                 const QString &quitacao = "NULL", const QString &pago = "N",
                 const QString &negociacao = "N", const QString &gerencial = "GERAL")
    {
        QSqlQuery q(db.sql());
        q.prepare(QString("insert into pagar (Nota, notacontrole, Nome, Valor, total, Dataemissao, "
                          "Datavenc, Dataquitacao, pago, negociacao, gerencial, CodigoFornecedor, "
                          "Obs) values (?, ?, ?, ?, ?, '2024-01-10', %1, %2, ?, ?, ?, 7, "
                          "'observação')")
                      .arg(venc, quitacao));
        for (const QVariant &v :
             QVariantList{nota, nota + "/1", nome, valor, valor, pago, negociacao, gerencial})
            q.addBindValue(v);
        if (!q.exec())
            qFatal("%s", qPrintable(q.lastError().text()));
    }
    QStringList notas(frmPagarManutencao &w)
    {
        QStringList n;
        RecordSet *rs = w.tbPagar();
        for (int i = 0; i < rs->recordCount(); ++i)
            n << rs->valueAt(i, "Nota").toString();
        return n;
    }
};

void standardRows(Fixture &f)
{
    f.payable("A1", "ALFA LTDA", 100, "'2024-05-10'");                             // open, future
    f.payable("A2", "ALFA LTDA", 150, "'2024-04-29'");                             // due today
    f.payable("A3", "BETA SA", 1500, "'2024-04-01'");                              // overdue
    f.payable("N1", "BETA SA", 150.75, "'2024-03-01'", "NULL", "N", "S");          // negotiation
    f.payable("Q1", "D'AVILA MATERIAIS", 80, "'2024-02-01'", "'2024-02-05'", "S"); // settled
    f.payable("Q2", "GAMA 50% OFF", 150.5, "'2024-01-20'", "'2024-01-25'", "S",
              "S"); // settled, neg.
}

} // namespace

class TstHub : public QObject
{
    Q_OBJECT
private slots:
    void choiceLists_data();
    void choiceLists();
    void textSearches_data();
    void textSearches();
    void periodSearches_data();
    void periodSearches();
    void letterSearch();
    void refreshShowsAnotherWorkstationsChange();
    void rowColours_data();
    void rowColours();
    void reportMenuEntries();
    void editSaveAndCancel();
    void pendingEditAsksBeforeItIsLost_data();
    void pendingEditAsksBeforeItIsLost();
    void lookupOnEditTabPutsRowInEdit();
    void deleteAsksOnceWithNoAsDefault();
    void rightClickRefusesSettledPayable();
    void automaticSettlement_data();
    void automaticSettlement();
    void f3KeyAndRightClickOnTheList();
    void automaticSettlementAnswers_data();
    void automaticSettlementAnswers();
    void automaticSettlementWithPendingEdit_data();
    void automaticSettlementWithPendingEdit();
    void automaticSettlementRefusedWhenSettledElsewhere();
    void automaticSettlementFailureWritesNothing();
    void serverGoneShowsErrorAndKeepsScreen();
    void closingClosesSharedTablesButCompany();
    void paymentCodeShownAndCopied();
};

void TstHub::choiceLists_data()
{
    QTest::addColumn<int>("ordem");
    QTest::addColumn<QStringList>("notas");
    QTest::newRow("Em Aberto") << int(frmPagarManutencao::EmAberto)
                               << QStringList{"A3", "A2", "A1"};
    QTest::newRow("Todas leaves negotiated out")
        << int(frmPagarManutencao::Todas) << QStringList{"Q1", "A3", "A2", "A1"};
    QTest::newRow("Quitados") << int(frmPagarManutencao::Quitados) << QStringList{"Q1"};
    QTest::newRow("Negociação") << int(frmPagarManutencao::Negociacao) << QStringList{"Q2", "N1"};
}

void TstHub::choiceLists()
{
    QFETCH(int, ordem);
    Fixture f;
    REQUIRE_DB(f.db);
    standardRows(f);
    frmPagarManutencao w;
    w.show();
    QCOMPARE(f.notas(w), QStringList({"A3", "A2", "A1"})); // opening shows "Em Aberto"
    w.setOrdem(frmPagarManutencao::Ordem(ordem));
    w.RadioGroupClick();
    QTEST(f.notas(w), "notas");
    QCOMPARE(w.tbPagar()->recNo(), w.tbPagar()->recordCount() - 1); // on the last row
}

void TstHub::textSearches_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("ordem");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("notas");
    QTest::addColumn<QString>("message");
    const int todas = frmPagarManutencao::Todas;
    const int aberto = frmPagarManutencao::EmAberto;
    QTest::newRow("name with Todas includes negotiated")
        << "SpeedButton1" << todas << " beta " << QStringList{"A3", "N1"} << "";
    QTest::newRow("name with Em Aberto")
        << "SpeedButton1" << aberto << "BETA" << QStringList{"A3", "N1"} << "";
    QTest::newRow("quote found literally")
        << "SpeedButton1" << todas << "D'AV" << QStringList{"Q1"} << "";
    QTest::newRow("percent is a wildcard") << "SpeedButton1" << todas << "%50\\%" << QStringList{}
                                           << "Razão Social do Fornecedor não Encontrado!!!";
    QTest::newRow("value 150 finds 150, 1500, 150.75, 150.5")
        << "SpeedButton5" << todas << "150" << QStringList{"A2", "A3", "N1", "Q2"} << "";
    QTest::newRow("value with comma finds nothing")
        << "SpeedButton5" << todas << "150,5" << QStringList{}
        << "Valor da Duplicata não Encontrado!!!";
    QTest::newRow("empty text lists all and warns")
        << "SpeedButton1" << todas << "" << QStringList{"A1", "A2", "A3", "N1", "Q1", "Q2"}
        << "Razão Social do Fornecedor em Branco !!!";
    QTest::newRow("bill number") << "SpeedButton4" << todas << "Q" << QStringList{"Q1", "Q2"} << "";
    QTest::newRow("supplier code")
        << "TSpeedButton" << aberto << "7" << QStringList{"A1", "A2", "A3", "N1"} << "";
    QTest::newRow("cost centre not found") << "TSpeedButton13" << todas << "XYZ" << QStringList{}
                                           << "Central de Custo não Encontrado!!!";
    QTest::newRow("injection text finds nothing")
        << "SpeedButton1" << todas << "\\' OR 1=1 -- " << QStringList{}
        << "Razão Social do Fornecedor não Encontrado!!!";
}

void TstHub::textSearches()
{
    QFETCH(QString, button);
    QFETCH(int, ordem);
    QFETCH(QString, text);
    QFETCH(QStringList, notas);
    QFETCH(QString, message);
    Fixture f;
    REQUIRE_DB(f.db);
    standardRows(f);
    frmPagarManutencao w;
    w.show();
    ScriptedMessages boxes;
    w.setOrdem(frmPagarManutencao::Ordem(ordem));
    w.searchEdit()->setText(text);
    w.findChild<QPushButton *>(button)->click();
    QStringList got = f.notas(w);
    if (button == "SpeedButton5" || button == "TSpeedButton")
        got.sort(); // ordered by name; compare the set
    QCOMPARE(got, notas);
    if (message.isEmpty()) {
        QCOMPARE(boxes.boxes.size(), 0);
        QVERIFY(w.lookups()->tbfornecedor->isOpen());
    } else {
        QCOMPARE(boxes.texts(), QStringList{message});
        QCOMPARE(boxes.boxes[0].title, QString("Atenção"));
        QCOMPARE(boxes.boxes[0].icon, QMessageBox::Warning);
    }
}

void TstHub::periodSearches_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("ordem");
    QTest::addColumn<QDate>("from");
    QTest::addColumn<QDate>("to");
    QTest::addColumn<QStringList>("notas");
    QTest::newRow("due, open, both ends included")
        << "SpeedButton10" << int(frmPagarManutencao::EmAberto) << QDate(2024, 3, 1)
        << QDate(2024, 4, 29) << QStringList{"N1", "A3", "A2"};
    QTest::newRow("due, settled") << "SpeedButton10" << int(frmPagarManutencao::Quitados)
                                  << QDate(2024, 1, 1) << QDate(2024, 12, 31)
                                  << QStringList{"Q2", "Q1"};
    QTest::newRow("settlement ignores the choice")
        << "SpeedButton2" << int(frmPagarManutencao::EmAberto) << QDate(2024, 1, 1)
        << QDate(2024, 2, 5) << QStringList{"Q2", "Q1"};
    QTest::newRow("emission under Negociação does nothing")
        << "SpeedButton9" << int(frmPagarManutencao::Negociacao) << QDate(2024, 1, 1)
        << QDate(2024, 12, 31) << QStringList{"A3", "A2", "A1"};
}

void TstHub::periodSearches()
{
    QFETCH(QString, button);
    QFETCH(int, ordem);
    QFETCH(QDate, from);
    QFETCH(QDate, to);
    Fixture f;
    REQUIRE_DB(f.db);
    standardRows(f);
    frmPagarManutencao w;
    w.show();
    ScriptedMessages boxes;
    w.setOrdem(frmPagarManutencao::Ordem(ordem));
    w.dataInicial()->setDate(from);
    w.dataFinal()->setDate(to);
    w.findChild<QPushButton *>(button)->click();
    QTEST(f.notas(w), "notas");
    QCOMPARE(boxes.boxes.size(), 0);
}

void TstHub::letterSearch()
{
    Fixture f;
    REQUIRE_DB(f.db);
    standardRows(f);
    // A settled one under the same letter, and a name with the letter inside.
    f.payable("Q3", "BRAVO PAPEL", 20, "'2024-02-01'", "'2024-02-03'", "S");
    f.payable("A4", "ABBA SOM", 30, "'2024-05-10'");
    frmPagarManutencao w;
    w.show();
    w.pages()->setCurrentIndex(1);
    w.letterButton('B')->click();
    QCOMPARE(w.searchEdit()->text(), QString("B"));
    QCOMPARE(w.pages()->currentIndex(), 0);
    // Open, negotiated and settled alike, by name.
    QCOMPARE(f.notas(w), QStringList({"A3", "N1", "Q3"}));
}

void TstHub::refreshShowsAnotherWorkstationsChange()
{
    Fixture f;
    REQUIRE_DB(f.db);
    standardRows(f);
    frmPagarManutencao w;
    w.show();
    QCOMPARE(f.notas(w), QStringList({"A3", "A2", "A1"}));
    // Another workstation (the fixture's own connection) settles A2 and enters A9.
    f.exec("update pagar set pago = 'S', Dataquitacao = '2024-04-29' where Nota = 'A2'");
    f.payable("A9", "ZETA", 10, "'2024-04-15'");
    QCOMPARE(f.notas(w), QStringList({"A3", "A2", "A1"})); // the list is a snapshot
    QToolButton *refresh = nullptr;
    for (QToolButton *b : w.mainBar()->findChildren<QToolButton *>())
        if (b->text() == "    Atualizar    ")
            refresh = b;
    QVERIFY(refresh);
    refresh->click();
    QCOMPARE(f.notas(w), QStringList({"A3", "A9", "A1"}));
}

void TstHub::rowColours_data()
{
    QTest::addColumn<QDate>("quitacao");
    QTest::addColumn<QDate>("venc");
    QTest::addColumn<QString>("negociacao");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("settled") << QDate(2024, 4, 1) << QDate(2024, 4, 29) << "N"
                             << QColor(210, 255, 210);
    QTest::newRow("due today") << QDate() << kToday << "N" << QColor(255, 255, 128);
    QTest::newRow("overdue") << QDate() << kToday.addDays(-1) << "N" << QColor(255, 166, 166);
    QTest::newRow("negotiation") << QDate() << kToday.addDays(-1) << "S" << QColor(119, 210, 255);
    QTest::newRow("open, not yet due") << QDate() << kToday.addDays(1) << "N" << QColor();
    QTest::newRow("settled under negotiation") << QDate(2024, 4, 1) << kToday << "S" << QColor();
    QTest::newRow("zero date counts as unset")
        << QDate(1899, 12, 30) << kToday << "N" << QColor(255, 255, 128);
}

void TstHub::rowColours()
{
    QFETCH(QDate, quitacao);
    QFETCH(QDate, venc);
    QFETCH(QString, negociacao);
    QFETCH(QColor, colour);
    QCOMPARE(frmPagarManutencao::rowColor(quitacao, venc, negociacao, kToday), colour);
}

void TstHub::reportMenuEntries()
{
    Fixture f;
    REQUIRE_DB(f.db);
    frmPagarManutencao w;
    // Every entry in order: "-" a separator, "(oculto)" an entry that exists
    // with its action but is not shown.
    const QStringList expected{
        "Em Aberto no Periodo",
        "Por Data de Vencimento em Aberto no Periodo com envio de para o Email",
        "-",
        "Individual Quitado Por Tipo de Fornecedor no Periodo",
        "Geral de Fornecedor Detalhado Por Data de Quitação no Periodo",
        "Geral Quitado Por Tipo de Central de Custo só no Contas a Pagar no Periodo",
        "Geral Quitado Por Tipo de Fornecedor no Periodo",
        "Geral Quitado Por Tipo de Central de Custo - Contas a Pagar e Conta Corrente no Periodo",
        "Encontro de Contas (oculto)",
        "-",
        "Grafico e Relatrorio de Contas a  Pagar Já Quitada no Periodo Por Filial e Fornecedor "
        "(oculto)",
        "Grafico e Relatrorio de Contas a  Pagar Já Quitada no Periodo  (oculto)",
        "-",
        "Geral Sintético por Fornecedor e Data de Quitado no Periodo",
        "Movimentação Anual Sintético Quitado no Periodo ",
        "-",
        "Movimentação Aberto e Quitado no Periodo",
        "-",
        "Movimentação Anual Quitado no Periodo\n (oculto)",
        "-",
        "Individual Sintético por Filial e Data de Quitação no Periodo",
        "-",
        "Negociação no Periodo (oculto)"};
    QStringList got;
    for (QAction *a : w.reportMenu()->actions()) {
        if (a->isSeparator())
            got << "-";
        else
            got << a->text() + (a->isVisible() ? "" : " (oculto)");
    }
    QCOMPARE(got, expected);
}

void TstHub::editSaveAndCancel()
{
    Fixture f;
    REQUIRE_DB(f.db);
    standardRows(f);
    frmPagarManutencao w;
    w.show();
    QVERIFY(w.mainBar()->isVisible());
    QVERIFY(!w.saveBar()->isVisible());
    w.tbPagar()->first(); // A3
    w.pages()->setCurrentIndex(1);
    auto *nota = w.findChild<QLineEdit *>("edtNota");
    nota->setFocus();
    nota->selectAll();
    QTest::keyClicks(nota, "NOVA");
    QCOMPARE(w.tbPagar()->state(), RecordSet::State::Edit);
    QVERIFY(w.saveBar()->isVisible());
    QVERIFY(!w.mainBar()->isVisible() && !w.registryBar()->isVisible());
    w.ToolButton8Click(); // cancel
    QCOMPARE(w.tbPagar()->text("Nota"), QString("A3"));
    QCOMPARE(nota->text(), QString("A3"));
    QVERIFY(w.mainBar()->isVisible());
    QCOMPARE(w.pages()->currentIndex(), 0);

    w.pages()->setCurrentIndex(1);
    nota->selectAll();
    QTest::keyClicks(nota, "NOVA");
    QCOMPARE(w.tbPagar()->text("Nota"), QString("NOVA"));
    w.ToolButton7Click(); // save
    QCOMPARE(f.scalar("select count(*) from pagar where Nota = 'NOVA'").toInt(), 1);
    QCOMPARE(w.tbPagar()->state(), RecordSet::State::Browse);
    QVERIFY(w.mainBar()->isVisible());

    // An amount typed the Brazilian way, and a date.
    w.pages()->setCurrentIndex(1);
    auto *valor = w.findChild<QLineEdit *>("edtValor");
    valor->setFocus();
    valor->selectAll();
    QTest::keyClicks(valor, "1.234,5");
    QCOMPARE(valor->text(), QString("1.234,5"));
    auto *venc = w.findChild<DateEdit *>("edtDataVenc");
    venc->setFocus();
    venc->selectAll();
    QTest::keyClicks(venc, "30062024");
    w.ToolButton7Click(); // a tool button takes no focus: what is typed is saved all the same
    QCOMPARE(f.scalar("select Valor from pagar where Nota = 'NOVA'").toDouble(), 1234.5);
    QCOMPARE(f.scalar("select Datavenc from pagar where Nota = 'NOVA'").toDate(),
             QDate(2024, 6, 30));
}

void TstHub::pendingEditAsksBeforeItIsLost_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QMessageBox::StandardButton>("answer");
    for (const char *action : {"close", "order", "search", "settle"}) {
        QTest::addRow("%s, Yes saves and goes on", action) << action << QMessageBox::Yes;
        QTest::addRow("%s, No drops and goes on", action) << action << QMessageBox::No;
        QTest::addRow("%s, Cancel stays", action) << action << QMessageBox::Cancel;
    }
}

void TstHub::pendingEditAsksBeforeItIsLost()
{
    QFETCH(QString, action);
    QFETCH(QMessageBox::StandardButton, answer);
    Fixture f;
    REQUIRE_DB(f.db);
    standardRows(f);
    frmPagarManutencao w;
    w.show();
    w.tbPagar()->first(); // A3, of BETA SA
    w.pages()->setCurrentIndex(1);
    auto *nota = w.findChild<QLineEdit *>("edtNota");
    nota->setFocus();
    nota->selectAll();
    QTest::keyClicks(nota, "NOVA");
    QCOMPARE(w.tbPagar()->state(), RecordSet::State::Edit);

    ScriptedMessages boxes({answer});
    if (action == "close") {
        w.ToolButton5Click();
    } else if (action == "order") {
        QTest::mouseClick(w.findChild<QRadioButton *>("rbOrdem1"), Qt::LeftButton); // "Todas"
    } else if (action == "settle") {
        // The settlement screen, once it opens, is closed unused.
        QTimer::singleShot(0, [] {
            if (QWidget *m = QApplication::activeModalWidget())
                m->close();
        });
        w.BaixaDuplicata(); // the right-click menu's one entry
    } else {
        w.searchEdit()->setText("BETA");
        w.SpeedButton1Click(); // "&R.Social"
    }
    QCOMPARE(boxes.texts(), QStringList{"Deseja salvar as alterações?"});
    QCOMPARE(boxes.boxes[0].buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    QCOMPARE(boxes.boxes[0].icon, QMessageBox::Question);

    const int saved = f.scalar("select count(*) from pagar where Nota = 'NOVA'").toInt();
    QCOMPARE(saved, answer == QMessageBox::Yes ? 1 : 0);
    QCOMPARE(f.scalar("select count(*) from pagar where Nota = 'A3'").toInt(), 1 - saved);
    if (answer == QMessageBox::Cancel) {
        // Nothing happened: the edit is there as typed, the list and choice unchanged.
        QVERIFY(w.isVisible());
        QCOMPARE(w.tbPagar()->state(), RecordSet::State::Edit);
        QCOMPARE(w.tbPagar()->text("Nota"), QString("NOVA"));
        QCOMPARE(nota->text(), QString("NOVA"));
        QVERIFY(w.saveBar()->isVisible());
        QCOMPARE(w.ordem(), frmPagarManutencao::EmAberto);
        QCOMPARE(w.tbPagar()->recordCount(), 3);
        return;
    }
    // The edit is settled either way, and the action went on.
    if (action == "close") {
        QVERIFY(!w.isVisible());
        return;
    }
    QCOMPARE(w.tbPagar()->state(), RecordSet::State::Browse);
    QVERIFY(w.mainBar()->isVisible());
    if (action == "order") {
        QCOMPARE(w.ordem(), frmPagarManutencao::Todas);
        QCOMPARE(w.tbPagar()->recordCount(), 4); // Q1, A3, A2, A1
    } else if (action == "settle") {
        QCOMPARE(w.tbPagar()->recordCount(), 3);
        QCOMPARE(w.tbPagar()->text("Nota"), QString(answer == QMessageBox::Yes ? "NOVA" : "A3"));
    } else {
        QCOMPARE(w.tbPagar()->recordCount(), 2); // BETA SA: A3 and N1
    }
}

void TstHub::lookupOnEditTabPutsRowInEdit()
{
    Fixture f;
    REQUIRE_DB(f.db);
    standardRows(f);
    f.exec("insert into fornecedor (CodigoFornecedor, Nome, CodigoTipo, Tipos, CodigoGerencial, "
           "Gerencial) values (31, 'SILVA & FILHOS', 2, 'BOLETO', 5, 'MERCADORIAS')");
    frmPagarManutencao w;
    w.show();
    w.tbPagar()->first();
    Modal::ScopedHandler modal([](QDialog *dlg) {
        auto *pick = qobject_cast<PickList *>(dlg);
        if (!pick)
            return int(QDialog::Rejected);
        pick->findChild<QLineEdit *>("edtLocalizar")->setText("SIL");
        pick->searchByName();
        pick->confirm();
        return int(QDialog::Accepted);
    });
    w.findChild<QPushButton *>("btnLookup_Fornecedor")->click();
    QCOMPARE(w.tbPagar()->state(), RecordSet::State::Edit);
    QVERIFY(w.saveBar()->isVisible() && !w.mainBar()->isVisible());
    QCOMPARE(w.tbPagar()->text("Nome"), QString("SILVA & FILHOS"));
    QCOMPARE(w.tbPagar()->text("gerencial"), QString("MERCADORIAS"));
    QCOMPARE(w.findChild<QLineEdit *>("edtDesc_Fornecedor")->text(), QString("SILVA & FILHOS"));
    w.ToolButton7Click();
    QCOMPARE(f.scalar("select count(*) from pagar where CodigoFornecedor = 31 and tipo = 'BOLETO'")
                 .toInt(),
             1);
}

void TstHub::deleteAsksOnceWithNoAsDefault()
{
    Fixture f;
    REQUIRE_DB(f.db);
    standardRows(f);
    frmPagarManutencao w;
    w.show();
    {
        ScriptedMessages boxes({QMessageBox::No});
        w.ToolButton6Click();
        QCOMPARE(boxes.boxes.size(), 1);
        QCOMPARE(boxes.boxes[0].title, QString("Exclusão"));
        QCOMPARE(boxes.boxes[0].text, QString("Deseja excluir o Registro do Contas a Pagar?"));
        QCOMPARE(boxes.boxes[0].defaultButton, QMessageBox::No);
        QCOMPARE(boxes.boxes[0].icon, QMessageBox::Question);
    }
    QCOMPARE(f.scalar("select count(*) from pagar").toInt(), 6);
    const QString gone = w.tbPagar()->text("Nota");
    ScriptedMessages boxes({QMessageBox::Yes});
    w.ToolButton6Click();
    QCOMPARE(f.scalar("select count(*) from pagar").toInt(), 5);
    QCOMPARE(f.scalar(QString("select count(*) from pagar where Nota = '%1'").arg(gone)).toInt(),
             0);
}

void TstHub::rightClickRefusesSettledPayable()
{
    Fixture f;
    REQUIRE_DB(f.db);
    standardRows(f);
    frmPagarManutencao w;
    w.show();
    w.setOrdem(frmPagarManutencao::Quitados);
    w.RadioGroupClick();
    ScriptedMessages boxes;
    w.BaixaDuplicata();
    QCOMPARE(boxes.texts(), QStringList{"Nota já foi Quitada !!!"});
    QCOMPARE(boxes.boxes[0].title, QString("Atenção"));
}

void TstHub::automaticSettlement_data()
{
    QTest::addColumn<bool>("toCash");
    QTest::newRow("sent to cash") << true;
    QTest::newRow("not sent to cash") << false;
}

void TstHub::automaticSettlement()
{
    QFETCH(bool, toCash);
    Fixture f;
    REQUIRE_DB(f.db);
    f.exec("insert into filial (Codigofilial, Nomefilial) values (3, 'LOJA CENTRO')");
    f.exec("insert into pagartemp (Nota) values ('ANTIGA')");
    f.exec("insert into pagar (Nota, notacontrole, Nome, CodigoFornecedor, Valor, total, "
           "Dataemissao, Datavenc, pago, negociacao, gerencial, codigogerencial, codigotipo, tipo, "
           "parcelas, Obs) values ('4711', '4711/2', 'FORNECEDOR X', 12, 33.33, 100, '2024-01-10', "
           "'2024-03-10', 'N', 'N', 'ALUGUEL', 4, 2, 'BOLETO', 3, 'nota')");
    frmPagarManutencao w;
    w.userLabel()->setText("OPERADOR COM NOME LONGO");
    w.show();
    ScriptedMessages boxes({QMessageBox::Yes, toCash ? QMessageBox::Yes : QMessageBox::No});
    w.BaixaAutomatica();
    QCOMPARE(boxes.unexpected, 0);
    QCOMPARE(boxes.texts(),
             QStringList({"Deseja Quitar esta´Duplicata ?", "Deseja Enviar para o Caixa ?"}));
    QCOMPARE(boxes.boxes[0].title, QString("Quarvo Sistemas, Atenção"));
    QCOMPARE(boxes.boxes[0].defaultButton, QMessageBox::No);

    QSqlQuery p(f.db.sql());
    QVERIFY(p.exec("select pago, Dataquitacao, totalpg, valorpg, especie, usuario, horaquitado "
                   "from pagar") &&
            p.next());
    QCOMPARE(p.value(0).toString(), QString("S"));
    QCOMPARE(p.value(1).toDate(), kToday);
    QCOMPARE(p.value(2).toDouble(), 33.33);
    QCOMPARE(p.value(3).toDouble(), 33.33);
    QCOMPARE(p.value(4).toString(), QString("Pagamento Pagar"));
    QCOMPARE(p.value(5).toString(), QString("OPERADOR COM NO"));
    QCOMPARE(p.value(6).toString(), QString("10:00:00"));
    QCOMPARE(w.tbPagar()->text("pago"), QString("S")); // the list shows it

    QSqlQuery t(f.db.sql());
    QVERIFY(t.exec("select Nota, Valor, totalpg, total, gerenial, Obs1, usuario, pago, "
                   "Codigofilial, filial, Dataquitacao, notacontrole from pagartemp") &&
            t.next());
    QCOMPARE(t.value(0).toString(), QString("4711"));
    QCOMPARE(t.value(1).toDouble(), 33.33);
    QCOMPARE(t.value(2).toDouble(), 33.33);
    QCOMPARE(t.value(3).toDouble(), 100.0);
    QCOMPARE(t.value(4).toString(), QString("ALUGUEL"));
    QCOMPARE(t.value(5).toString(), QString("nota"));
    QCOMPARE(t.value(6).toString(), QString("OPERADOR COM NO")); // the work table's 15 characters
    QCOMPARE(t.value(7).toString(), QString("S"));
    QCOMPARE(t.value(8).toInt(), 3);
    QCOMPARE(t.value(9).toString(), QString("LOJA CENTRO"));
    QCOMPARE(t.value(10).toDate(), kToday);
    QCOMPARE(t.value(11).toString(), QString("4711/2"));
    QVERIFY(!t.next()); // the old work row is gone

    QCOMPARE(f.scalar("select count(*) from caixa").toInt(), toCash ? 1 : 0);
    QCOMPARE(f.scalar("select count(*) from caixatemp").toInt(), toCash ? 1 : 0);
    if (!toCash)
        return;
    QSqlQuery c(f.db.sql());
    QVERIFY(c.exec("select Tipo, Descricao, Opcao, Tp, es, CodigoNota, CodigoCliente, Usuario, "
                   "NomeFuncionario, NomeFunciionario, Data, Debito, valor, especie, Condicao, "
                   "filial, codigoFilial, Hora from caixa") &&
            c.next());
    const QVariantList expected{"DEBITO",
                                "FORNECEDOR X",
                                "2",
                                "1",
                                "S",
                                "4711",
                                12.0,
                                "OPERADOR COM NOME LONGO",
                                "OPERADOR COM NOME LONGO",
                                "OPERADOR COM NOME LONGO",
                                kToday,
                                33.33,
                                33.33,
                                "Pagamento Pagar Dinheiro",
                                "Pagamento Pagar Dinheiro",
                                "LOJA CENTRO",
                                3.0,
                                "10:00:00"};
    for (int i = 0; i < expected.size(); ++i)
        QCOMPARE(c.value(i).toString(), expected[i].toString());
    QSqlQuery h(f.db.sql());
    QVERIFY(h.exec("select Tipo, Descricao, Opcao, Tp, es, CodigoNota, CodigoCliente, Data, "
                   "Debito, Usuario, especie, Condicao from caixatemp") &&
            h.next());
    const QVariantList handoff{"CREDITO",
                               "FORNECEDOR X",
                               "2",
                               "1",
                               "S",
                               "4711",
                               12.0,
                               kToday,
                               33.33,
                               "OPERADOR COM NOME LONGO",
                               "Pagamento Pagar Dinheiro",
                               "BAIXA CONTA A PAGAR"};
    for (int i = 0; i < handoff.size(); ++i)
        QCOMPARE(h.value(i).toString(), handoff[i].toString());
}

void TstHub::f3KeyAndRightClickOnTheList()
{
    Fixture f;
    REQUIRE_DB(f.db);
    f.payable("X1", "ALFA", 50, "'2024-05-10'");
    frmPagarManutencao w;
    w.show();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));

    // A right-click on the list offers one entry, which opens the settlement screen.
    QStringList entries, opened;
    Modal::ScopedHandler modal([&](QDialog *d) {
        opened << d->metaObject()->className();
        return int(QDialog::Rejected);
    });
    QTimer::singleShot(0, [&] {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        if (!menu)
            return;
        for (QAction *a : menu->actions())
            entries << a->text();
        QTest::keyClick(menu, Qt::Key_Down);
        QTest::keyClick(menu, Qt::Key_Return);
    });
    QWidget *list = w.grid()->viewport();
    const QPoint at(20, 10);
    QContextMenuEvent click(QContextMenuEvent::Mouse, at, list->mapToGlobal(at));
    QApplication::sendEvent(list, &click);
    QCOMPARE(entries, QStringList{"Baixa de Duplicata / Nota"});
    QCOMPARE(opened, QStringList{"FrmBaixarNovo"});

    // F3 pressed on the screen settles the current payable.
    ScriptedMessages boxes({QMessageBox::Yes, QMessageBox::No});
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &w, Qt::Key_F3);
    QCOMPARE(boxes.texts(),
             (QStringList{"Deseja Quitar esta´Duplicata ?", "Deseja Enviar para o Caixa ?"}));
    QCOMPARE(f.scalar("select Dataquitacao from pagar").toDate(), kToday);
}

void TstHub::automaticSettlementAnswers_data()
{
    QTest::addColumn<QString>("pago");
    QTest::addColumn<QString>("quitacao");
    QTest::addColumn<QList<QMessageBox::StandardButton>>("answers");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QDate>("settled");
    using B = QMessageBox::StandardButton;
    const QStringList both{"Deseja Quitar esta´Duplicata ?", "Deseja Enviar para o Caixa ?"};
    QTest::newRow("already paid") << "S"
                                  << "'2024-04-01'" << QList<B>{}
                                  << QStringList{"Duplicata já está Quitada !!!"}
                                  << QDate(2024, 4, 1);
    QTest::newRow("answered No") << "N"
                                 << "NULL" << QList<B>{QMessageBox::No}
                                 << QStringList{"Deseja Quitar esta´Duplicata ?"} << QDate();
    QTest::newRow("date set but not paid: settled again today")
        << "N"
        << "'2024-04-01'" << QList<B>{QMessageBox::Yes, QMessageBox::No} << both << kToday;
}

void TstHub::automaticSettlementAnswers()
{
    QFETCH(QString, pago);
    QFETCH(QString, quitacao);
    QFETCH(QList<QMessageBox::StandardButton>, answers);
    QFETCH(QDate, settled);
    Fixture f;
    REQUIRE_DB(f.db);
    f.payable("X1", "ALFA", 50, "'2024-05-10'", quitacao, pago);
    frmPagarManutencao w;
    w.show();
    w.setOrdem(frmPagarManutencao::Todas);
    w.RadioGroupClick();
    ScriptedMessages boxes(answers);
    w.BaixaAutomatica();
    QCOMPARE(boxes.unexpected, 0);
    QTEST(boxes.texts(), "texts");
    QCOMPARE(f.scalar("select Dataquitacao from pagar").toDate(), settled);
    QCOMPARE(f.scalar("select count(*) from caixa").toInt(), 0);
    QVERIFY(w.mainBar()->isVisible());
}

void TstHub::automaticSettlementWithPendingEdit_data()
{
    QTest::addColumn<QList<QMessageBox::StandardButton>>("answers");
    QTest::addColumn<QString>("savedNota");
    QTest::addColumn<QDate>("settled");
    QTest::addColumn<bool>("stillEditing");
    using B = QMessageBox::StandardButton;
    QTest::newRow("settled: the typed change is saved with it")
        << QList<B>{QMessageBox::Yes, QMessageBox::No} << "EDITADA" << kToday << false;
    QTest::newRow("answered No: the typed change stays pending")
        << QList<B>{QMessageBox::No} << "X1" << QDate() << true;
}

void TstHub::automaticSettlementWithPendingEdit()
{
    QFETCH(QList<QMessageBox::StandardButton>, answers);
    QFETCH(QString, savedNota);
    QFETCH(QDate, settled);
    QFETCH(bool, stillEditing);
    Fixture f;
    REQUIRE_DB(f.db);
    f.payable("X1", "ALFA", 50, "'2024-05-10'");
    frmPagarManutencao w;
    w.show();
    w.pages()->setCurrentIndex(1);
    auto *nota = w.findChild<QLineEdit *>("edtNota");
    nota->setFocus();
    nota->selectAll();
    QTest::keyClicks(nota, "EDITADA");
    QCOMPARE(w.tbPagar()->state(), RecordSet::State::Edit);
    ScriptedMessages boxes(answers);
    w.BaixaAutomatica(); // F3 in the middle of an edit
    QCOMPARE(boxes.unexpected, 0);
    QCOMPARE(f.scalar("select Nota from pagar").toString(), savedNota);
    QCOMPARE(f.scalar("select Dataquitacao from pagar").toDate(), settled);
    if (settled.isValid())
        QCOMPARE(f.scalar("select Nota from pagartemp").toString(), QString("EDITADA"));
    QCOMPARE(w.tbPagar()->text("Nota"), QString("EDITADA"));
    QCOMPARE(w.tbPagar()->isEditing(), stillEditing);
    QCOMPARE(w.saveBar()->isVisible(), stillEditing);
    QCOMPARE(w.mainBar()->isVisible(), !stillEditing);
}

void TstHub::automaticSettlementRefusedWhenSettledElsewhere()
{
    Fixture f;
    REQUIRE_DB(f.db);
    f.payable("X1", "ALFA", 50, "'2024-05-10'");
    frmPagarManutencao w;
    w.show();
    {
        ScriptedMessages boxes;
        f.exec("update pagar set pago = 'S'"); // the list still shows pago = 'N'
        boxes.answers = {QMessageBox::Yes, QMessageBox::Yes};
        w.BaixaAutomatica();
        QCOMPARE(boxes.texts().last(), QString("Duplicata já está Quitada !!!"));
        QCOMPARE(boxes.boxes.last().title, QString("Quarvo Sistemas, Atenção !!!"));
        QCOMPARE(boxes.boxes.last().icon, QMessageBox::Information);
    }
    QCOMPARE(f.scalar("select count(*) from caixa").toInt(), 0);
    QCOMPARE(f.scalar("select count(*) from pagartemp").toInt(), 0);
    QVERIFY(f.scalar("select Dataquitacao from pagar").isNull());
    ScriptedMessages boxes;
    w.BaixaAutomatica(); // the list now knows: refused at once
    QCOMPARE(boxes.texts(), QStringList{"Duplicata já está Quitada !!!"});
}

void TstHub::automaticSettlementFailureWritesNothing()
{
    Fixture f;
    REQUIRE_DB(f.db);
    f.payable("X1", "ALFA", 50, "'2024-05-10'");
    f.exec("CREATE TRIGGER falha BEFORE INSERT ON caixatemp FOR EACH ROW "
           "SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'caixa fechado'");
    frmPagarManutencao w;
    w.show();
    ScriptedMessages boxes({QMessageBox::Yes, QMessageBox::Yes});
    w.BaixaAutomatica();
    QCOMPARE(boxes.boxes.size(), 3);
    QCOMPARE(boxes.boxes[2].icon, QMessageBox::Critical);
    QVERIFY(boxes.boxes[2].text.contains("caixa fechado"));
    QCOMPARE(f.scalar("select pago from pagar").toString(), QString("N"));
    QCOMPARE(f.scalar("select count(*) from caixa").toInt(), 0);
    QCOMPARE(f.scalar("select count(*) from pagartemp").toInt(), 0);
    QCOMPARE(w.tbPagar()->text("pago"), QString("N"));
    QVERIFY(w.mainBar()->isVisible());
}

void TstHub::serverGoneShowsErrorAndKeepsScreen()
{
    Fixture f;
    REQUIRE_DB(f.db);
    standardRows(f);
    frmPagarManutencao w;
    w.show();
    // The server goes away: nothing answers on its address any more.
    ConnectionSettings gone = f.dm.MyConnection1->settings();
    gone.port = 1;
    gone.connectTimeoutSeconds = 2;
    f.dm.MyConnection1->close();
    f.dm.MyConnection1->setSettings(gone);
    ScriptedMessages boxes({QMessageBox::Yes, QMessageBox::Yes});
    w.searchEdit()->setText("ALFA");
    w.SpeedButton1Click();
    QCOMPARE(boxes.boxes.size(), 1);
    QCOMPARE(boxes.boxes[0].title, AppTitle);
    QCOMPARE(boxes.boxes[0].icon, QMessageBox::Critical);
    QVERIFY(!w.tbPagar()->isOpen());
    w.BaixaAutomatica(); // nothing to settle in a closed list: no box, no crash
    QCOMPARE(boxes.boxes.size(), 1);
    // Back on its feet, the same screen works again.
    f.dm.MyConnection1->setSettings(TestDb::serverSettings(f.db.databaseName()));
    w.SpeedButton1Click();
    QCOMPARE(f.notas(w), QStringList({"A1", "A2"}));
}

void TstHub::closingClosesSharedTablesButCompany()
{
    Fixture f;
    REQUIRE_DB(f.db);
    f.dm.tbFilial->open();
    f.dm.tbPagar01->setSql("select * from pagar where Controle < 0");
    f.dm.tbPagar01->open();
    QVERIFY(f.dm.tbConfiguracao->isOpen());
    frmPagarManutencao w;
    w.show();
    w.ToolButton5Click();
    QVERIFY(!w.tbPagar()->isOpen());
    QVERIFY(!f.dm.tbFilial->isOpen());
    QVERIFY(!f.dm.tbPagar01->isOpen());
    QVERIFY(f.dm.tbConfiguracao->isOpen());
}

CP_TEST(TstHub)
void TstHub::paymentCodeShownAndCopied()
{
    Fixture f;
    REQUIRE_DB(f.db);
    f.payable("C1", "ALFA LTDA", 100, "'2024-05-10'");
    f.payable("C2", "BETA SA", 50, "'2024-05-20'");
    // A dynamic PIX code: longer than most columns of the table.
    const QString pix =
        "00020101021226790014br.gov.bcb.pix2557qr.example.com.br/pix/v2/9d36b84fc70b478fb95c"
        "12729b90ca255204000053039865802BR5918EMPRESA EXEMPLO SA6008CURITIBA62070503***63040826";
    QSqlQuery q(f.db.sql());
    q.prepare("update pagar set codigobarras = ? where Nota = 'C1'");
    q.addBindValue(pix);
    QVERIFY(q.exec());

    frmPagarManutencao w;
    w.show();
    QGuiApplication::clipboard()->setText("antes");
    w.pages()->setCurrentIndex(1);
    auto *code = w.findChild<QLineEdit *>("edtCodigoBarras");
    auto *copy = w.findChild<QPushButton *>("btnCopiarCodigo");
    QVERIFY(code && copy);
    QVERIFY(code->isReadOnly());
    ScriptedMessages boxes;

    w.primeiro();
    QCOMPARE(w.tbPagar()->text("Nota"), QString("C1"));
    QCOMPARE(code->text(), pix);
    copy->click();
    QCOMPARE(boxes.boxes.size(), 0);
    QCOMPARE(QGuiApplication::clipboard()->text(), pix);

    w.proximo();
    QCOMPARE(w.tbPagar()->text("Nota"), QString("C2"));
    QCOMPARE(code->text(), QString());
    copy->click();
    QCOMPARE(boxes.texts(), QStringList{"Esta duplicata não tem código de barras nem PIX."});
    QCOMPARE(QGuiApplication::clipboard()->text(), pix); // left as it was
    QCOMPARE(w.tbPagar()->state(), RecordSet::State::Browse);
}

#include "tst_hub.moc"
