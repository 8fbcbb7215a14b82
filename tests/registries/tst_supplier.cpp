// The supplier registry: its searches and messages, the invoice lists that
// follow the supplier, saving with the number check and the copies before
// every save, the "Estado"/"Cidade" boxes and the interface the
// consultation windows use, the deletion question, a row changed elsewhere,
// the question before a pending edit is dropped, the postcode lookup against
// a real HTTP server on loopback, and the supplier cards read back from PDF.

#include "../web/LoopbackServices.h"
#include "ProgramFixture.h"
#include "ScriptedMessages.h"
#include "TestMain.h"
#include "app/Globals.h"
#include "app/SupplierWindow.h"
#include "db/RecordSet.h"
#include "registries/frmFornecedor.h"
#include "registries/rptFicha_FO.h"
#include "report/ReportExport.h"
#include "report/ReportPreview.h"
#include "report/ReportRunner.h"
#include "widgets/BigToolBar.h"
#include "widgets/DataGrid.h"
#include "widgets/LookupCombo.h"
#include "widgets/Modal.h"
#include "widgets/UpperEdit.h"

#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

#include <memory>

namespace {

const QString kConflict = "Registro alterado por outra estação. Os dados foram relidos.";

struct Fixture : ProgramFixture
{
    Fixture() : ProgramFixture(QDateTime(QDate(2024, 4, 29), QTime(10, 0)), "ANA")
    {
        if (!db.ok())
            return;
        exec("insert into tipos (CODIGOTIPO, DESCTIPO) values (1, 'BOLETO'), (2, 'CHEQUE')");
        exec("insert into contagerencial (codigogerencial, Gerencial) values (1, 'ALUGUEL'), "
             "(2, 'ENERGIA')");
        exec("insert into fornecedor (CodigoFornecedor, Nome, nomefan, Cgccpf, Endereco, Bairro, "
             "Cidade, Estado, Cep, Telefone1, Telefone2, Tipo, Obs, CodigoTipo, Tipos) values "
             "(1, 'SILVA MATERIAIS', 'SILVINHA', '12.ABC.345/01DE-35', 'RUA A', 'CENTRO', "
             "'CURITIBA', 'PR', '80000000', '(41) 1111-1111', '(41) 2222-2222', 'F', "
             "'entrega às terças', 1, 'BOLETO'), "
             "(2, 'D''AVILA LTDA', 'AVILA', '529.982.247-25', NULL, NULL, NULL, NULL, NULL, NULL, "
             "NULL, NULL, NULL, NULL, NULL), "
             "(10, 'ALFA COMERCIO', 'ALFA', '11.222.333/0001-81', NULL, NULL, NULL, NULL, NULL, "
             "NULL, NULL, NULL, NULL, 1, 'NOME ANTIGO'), "
             "(12, 'SILVEIRA & CIA', 'SIL', '11222333000181', NULL, NULL, NULL, NULL, NULL, NULL, "
             "NULL, NULL, NULL, 7, 'SUMIU'), "
             "(100, 'BETA 50% OFF', 'BETA', NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, "
             "NULL, NULL, NULL)");
        exec("insert into nota (Codigonota, Codigofornecedor, Notafiscal, NFCancelada, valor) "
             "values (1, 1, '100', 'N', 10), (2, 1, '101', 'S', 20)");
        exec("insert into itensnota (Codigonota, notafiscal, produto, Importacao, NFCancelada) "
             "values (1, '100', 'CIMENTO', 'N', 'N'), (1, '100', 'AREIA', 'S', 'N'), "
             "(2, '101', 'CAL', 'S', 'S')");
    }
};

QList<int> codes(const RecordSet *rs)
{
    QList<int> c;
    for (int i = 0; i < rs->recordCount(); ++i)
        c << rs->valueAt(i, "CodigoFornecedor").toInt();
    return c;
}

QStringList column(const RecordSet *rs, const QString &field)
{
    QStringList c;
    for (int i = 0; i < rs->recordCount(); ++i)
        c << rs->valueAt(i, field).toString();
    return c;
}

// The searches only read: their rows share one database.
std::unique_ptr<Fixture> g_searchDb;

struct Window
{
    Window()
    {
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
    }
    ~Window()
    {
        w.suppliers()->cancel();
        if (w.isVisible())
            w.reject();
    }
    void type(QWidget *edit, const QString &text)
    {
        edit->setFocus();
        QTest::keyClicks(edit, text);
    }
    // Types into the search box and presses the button named.
    void search(const QString &button, const QString &typed)
    {
        w.searchEdit()->clear();
        type(w.searchEdit(), typed);
        QTest::mouseClick(w.findChild<QPushButton *>(button), Qt::LeftButton);
    }
    // Chooses the row whose shown text is text, as a click in the list does.
    static void choose(LookupCombo *box, const QString &text)
    {
        const int i = box->findText(text);
        QVERIFY2(i >= 0, qPrintable(text));
        box->setCurrentIndex(i);
        emit box->activated(i);
    }
    frmFornecedor w;
};

} // namespace

class TstSupplier : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void cleanupTestCase() { g_searchDb.reset(); }

    void searches_data();
    void searches();
    void invoicesFollowTheSupplier();
    void altKeysSearch();
    void saveChecksTheNumber_data();
    void saveChecksTheNumber();
    void newSupplierAsTyped();
    void boxTextsCopiedOnEverySave();
    void deleteSaysHowManyPayables();
    void rowChangedElsewhere();
    void closeWithPendingEdit_data();
    void closeWithPendingEdit();
    void consultationInterface();
    void postcode_data();
    void postcode();
    void postcodeServiceDown();
    void supplierCards();
    void cardsFromTheMenu();

private:
    LoopbackServices m_server;
    AdminConfig m_config = Config();
};

void TstSupplier::initTestCase()
{
    const QString script = TestDb::sourceDir() + "/tests/web/loopback_services.py";
    QString error;
    QVERIFY2(m_server.start(script, &error), qPrintable(error));
}

void TstSupplier::init()
{
    if (qstrcmp(QTest::currentTestFunction(), "searches") != 0)
        g_searchDb.reset();
}

void TstSupplier::cleanup()
{
    Config() = m_config;
}

void TstSupplier::searches_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QList<int>>("found");
    QTest::addColumn<QString>("message");

    QTest::newRow("code 1 as text prefix") << "btnCodigo"
                                           << "1" << QList<int>{1, 10, 12, 100} << "";
    QTest::newRow("code empty") << "btnCodigo"
                                << "" << QList<int>{} << "Codigo do Fornecedor em Branco !!!";
    QTest::newRow("name typed in lower case") << "btnRazaoSocial"
                                              << "sil" << QList<int>{1, 12} << "";
    QTest::newRow("name with quote") << "btnRazaoSocial"
                                     << "D'AV" << QList<int>{2} << "";
    QTest::newRow("name wildcard typed") << "btnRazaoSocial"
                                         << "%OFF" << QList<int>{100} << "";
    QTest::newRow("name blanks list all") << "btnRazaoSocial"
                                          << "   " << QList<int>{10, 100, 2, 1, 12} << "";
    QTest::newRow("name empty") << "btnRazaoSocial"
                                << "" << QList<int>{} << "Razão Social do Fornecedor em Branco !!!";
    QTest::newRow("trade name, by trade name") << "btnNomeFantasia"
                                               << "SIL" << QList<int>{12, 1} << "";
    QTest::newRow("trade name empty")
        << "btnNomeFantasia"
        << "" << QList<int>{} << "Nome Fanatasia do Fornecedor em Branco !!!";
    QTest::newRow("alphanumeric number") << "btnCnpj"
                                         << "12.ABC" << QList<int>{1} << "";
    QTest::newRow("number prefix") << "btnCnpj"
                                   << "11" << QList<int>{10, 12} << "";
    QTest::newRow("number empty") << "btnCnpj"
                                  << "" << QList<int>{} << "Cnpj do Fornecedor em Branco !!!";
}

void TstSupplier::searches()
{
    QFETCH(QString, button);
    QFETCH(QString, typed);
    QFETCH(QList<int>, found);
    QFETCH(QString, message);
    if (!g_searchDb)
        g_searchDb = std::make_unique<Fixture>();
    Fixture &f = *g_searchDb;
    REQUIRE_DB(f.db);
    Window win;
    QVERIFY(!win.w.suppliers()->isOpen()); // empty until the first search
    win.w.pages()->setCurrentIndex(1);
    ScriptedMessages boxes;
    win.search(button, typed);
    QCOMPARE(win.w.pages()->currentIndex(), 0);
    QCOMPARE(codes(win.w.suppliers()), found);
    if (message.isEmpty()) {
        QCOMPARE(boxes.texts(), QStringList());
        QVERIFY(win.w.invoices()->isOpen());
    } else {
        QCOMPARE(boxes.texts(), QStringList{message});
        QCOMPARE(boxes.boxes[0].title, QString("Atenção"));
        QCOMPARE(boxes.boxes[0].icon, QMessageBox::Warning);
        QVERIFY(win.w.searchEdit()->hasFocus());
        QVERIFY(!win.w.suppliers()->isOpen());
    }
    // The grid shows the numbers as typed.
    if (button == "btnCnpj" && !found.isEmpty())
        QCOMPARE(win.w.listGrid()->gridModel()->displayText(0, 3),
                 f.scalar(QString("select Cgccpf from fornecedor where CodigoFornecedor = %1")
                              .arg(found.first()))
                     .toString());
}

void TstSupplier::invoicesFollowTheSupplier()
{
    Fixture f;
    REQUIRE_DB(f.db);
    Window win;
    RecordSet *notas = win.w.invoices();
    RecordSet *itens = win.w.items();

    // A letter before any button search: the suppliers, but no invoices.
    QTest::mouseClick(win.w.letterButton('S'), Qt::LeftButton);
    QCOMPARE(win.w.searchEdit()->text(), QString("S"));
    QCOMPARE(codes(win.w.suppliers()), (QList<int>{1, 12}));
    QVERIFY(!notas->isOpen() && !itens->isOpen());

    // A button search opens them; they follow the current supplier.
    win.search("btnRazaoSocial", "SILVA");
    QCOMPARE(column(notas, "Notafiscal"), (QStringList{"100", "101"}));
    QCOMPARE(column(itens, "produto"), (QStringList{"CIMENTO", "AREIA"}));
    QVERIFY(notas->moveTo(1));
    QCOMPARE(column(itens, "produto"), QStringList{"CAL"});

    // Colours: a cancelled invoice light red; an item not imported light
    // yellow before a cancelled one's red.
    RecordSetModel *nm = win.w.invoiceGrid()->gridModel();
    QCOMPARE(nm->data(nm->index(0, 0), Qt::BackgroundRole), QVariant());
    QCOMPARE(nm->data(nm->index(1, 0), Qt::BackgroundRole).value<QBrush>().color(),
             QColor(255, 166, 166));
    QCOMPARE(itens->valueAt(0, "produto").toString(), QString("CAL"));
    RecordSetModel *im = win.w.itemGrid()->gridModel();
    QCOMPARE(im->data(im->index(0, 0), Qt::BackgroundRole).value<QBrush>().color(),
             QColor(255, 166, 166));
    QVERIFY(notas->moveTo(0));
    QCOMPARE(im->data(im->index(0, 0), Qt::BackgroundRole).value<QBrush>().color(),
             QColor(255, 255, 147));
    QCOMPARE(im->data(im->index(1, 0), Qt::BackgroundRole), QVariant());

    // Linked now, the letters move them too.
    QTest::mouseClick(win.w.letterButton('A'), Qt::LeftButton);
    QCOMPARE(codes(win.w.suppliers()), QList<int>{10});
    QCOMPARE(notas->recordCount(), 0);
    QTest::mouseClick(win.w.letterButton('S'), Qt::LeftButton);
    QCOMPARE(notas->recordCount(), 2);

    // The Entrada tab gives the invoice grid the focus.
    win.w.pages()->setCurrentIndex(2);
    QVERIFY(win.w.invoiceGrid()->hasFocus());
}

void TstSupplier::altKeysSearch()
{
    Fixture f;
    REQUIRE_DB(f.db);
    Window win;
    QVERIFY(QTest::qWaitForWindowActive(&win.w));
    win.type(win.w.searchEdit(), "SIL");
    // Alt+R is "&Razão Social", not the letter R; Alt+S is the letter.
    // (An accelerator clicks with a short animation.)
    QTest::keyClick(win.w.searchEdit(), Qt::Key_R, Qt::AltModifier);
    QTRY_COMPARE(codes(win.w.suppliers()), (QList<int>{1, 12}));
    QCOMPARE(win.w.searchEdit()->text(), QString("SIL"));
    QTest::keyClick(win.w.searchEdit(), Qt::Key_B, Qt::AltModifier);
    QTRY_COMPARE(codes(win.w.suppliers()), QList<int>{100});
    QCOMPARE(win.w.searchEdit()->text(), QString("B"));
}

void TstSupplier::saveChecksTheNumber_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message");
    QTest::newRow("cpf punctuated") << "529.982.247-25"
                                    << "";
    QTest::newRow("eleven equal digits") << "111.111.111-11"
                                         << "CPF Invalido !!!";
    QTest::newRow("alphanumeric cnpj") << "12.ABC.345/01DE-35"
                                       << "";
    QTest::newRow("cnpj wrong digit") << "11.222.333/0001-82"
                                      << "CNPJ Invalido !!!";
    QTest::newRow("one character") << "5"
                                   << "";
    QTest::newRow("nothing") << ""
                             << "";
}

void TstSupplier::saveChecksTheNumber()
{
    QFETCH(QString, typed);
    QFETCH(QString, message);
    Fixture f;
    REQUIRE_DB(f.db);
    Window win;
    ScriptedMessages boxes;
    win.w.incluir();
    win.type(win.w.nomeEdit(), "NOVO");
    win.w.pages()->setCurrentIndex(1);
    win.type(win.w.cnpjEdit(), typed);
    win.w.salvar();
    if (message.isEmpty()) {
        QCOMPARE(boxes.texts(), QStringList());
        QCOMPARE(f.scalar("select Cgccpf from fornecedor where Nome = 'NOVO'").toString(), typed);
        QVERIFY(win.w.mainBar()->isVisible() && !win.w.editBar()->isVisible());
    } else {
        QCOMPARE(boxes.texts(), QStringList{message});
        QCOMPARE(boxes.boxes[0].title, AppTitle);
        QCOMPARE(boxes.boxes[0].icon, QMessageBox::NoIcon);
        QCOMPARE(f.count("fornecedor"), 5);
        QCOMPARE(win.w.suppliers()->state(), RecordSet::State::Insert);
        QVERIFY(win.w.editBar()->isVisible());
        QVERIFY(win.w.cnpjEdit()->hasFocus());
    }
}

void TstSupplier::newSupplierAsTyped()
{
    Fixture f;
    REQUIRE_DB(f.db);
    Window win;
    ScriptedMessages boxes;
    win.w.incluir();
    QCOMPARE(win.w.pages()->currentIndex(), 1);
    QVERIFY(win.w.nomeEdit()->hasFocus());
    QVERIFY(win.w.editBar()->isVisible() && !win.w.mainBar()->isVisible());
    QCOMPARE(win.w.editBar()->x(), 2);
    QTest::keyClicks(win.w.nomeEdit(), "gama ferragens");
    Window::choose(win.w.tipoBox(), "CHEQUE");
    Window::choose(win.w.gerencialBox(), "ENERGIA");
    Window::choose(win.w.estadoBox(), "São Paulo");
    Window::choose(win.w.cidadeBox(), "SÃO PAULO");
    win.w.findChild<QRadioButton *>("rbContribuinte2")->click();
    win.type(win.w.cepEdit(), "01001-000");
    QCOMPARE(win.w.cepEdit()->text(), QString("01001-000"));
    // Enter in the memos moves on, never breaks the line.
    win.type(win.w.obsMemo(), "paga em dia");
    QTest::keyClick(win.w.obsMemo(), Qt::Key_Return);
    QVERIFY(win.w.cnaeMemo()->hasFocus());
    QTest::keyClicks(win.w.cnaeMemo(), "4744-0/99");
    QTest::keyClick(win.w.cnaeMemo(), Qt::Key_Return);
    QVERIFY(!win.w.cnaeMemo()->hasFocus());
    win.w.salvar();
    QCOMPARE(boxes.texts(), QStringList());

    QSqlQuery q(f.db.sql());
    QVERIFY(q.exec("select Nome, CodigoTipo, Tipos, CodigoGerencial, Gerencial, Estado, "
                   "CodigoCidade, Cidade, Cep, TipoContribuinte, Obs, CNAE from fornecedor where "
                   "CodigoFornecedor = 101") &&
            q.next());
    QStringList row;
    for (int i = 0; i < 12; ++i)
        row << q.value(i).toString();
    QCOMPARE(row, (QStringList{"GAMA FERRAGENS", "2", "CHEQUE", "2", "ENERGIA", "SP", "3550308",
                               "SÃO PAULO", "01001000", "2", "paga em dia", "4744-0/99"}));
    QVERIFY(win.w.mainBar()->isVisible() && win.w.navigationBar()->isVisible());
    QCOMPARE(win.w.navigationBar()->x(), 296);
    QVERIFY(!win.w.editBar()->isVisible());
}

void TstSupplier::boxTextsCopiedOnEverySave()
{
    Fixture f;
    REQUIRE_DB(f.db);
    Window win;
    ScriptedMessages boxes;
    win.search("btnRazaoSocial", "ALFA"); // type 1 stored with an old name
    QCOMPARE(win.w.tipoBox()->currentText(), QString("BOLETO"));
    // Ctrl+A starts the edit and shows the edit bar.
    QTest::keyClick(win.w.nomeEdit(), Qt::Key_A, Qt::ControlModifier);
    QVERIFY(win.w.editBar()->isVisible() && !win.w.mainBar()->isVisible());
    win.w.salvar();
    QCOMPARE(f.scalar("select Tipos from fornecedor where CodigoFornecedor = 10").toString(),
             QString("BOLETO"));
    QCOMPARE(f.scalar("select Gerencial from fornecedor where CodigoFornecedor = 10").toString(),
             QString(""));

    // A type the list does not hold: the box is empty, so is the copy; a
    // save made by moving to another row (Ctrl+F2) carries it too.
    win.search("btnRazaoSocial", "SIL");
    QVERIFY(win.w.suppliers()->locate("CodigoFornecedor", 12));
    QCOMPARE(win.w.tipoBox()->currentIndex(), -1);
    win.w.nomeEdit()->end(false);
    win.type(win.w.nomeEdit(), " X");
    QVERIFY(win.w.editBar()->isVisible());
    QTest::keyClick(win.w.nomeEdit(), Qt::Key_F2, Qt::ControlModifier);
    QCOMPARE(win.w.suppliers()->value("CodigoFornecedor").toInt(), 1);
    QCOMPARE(f.scalar("select Nome from fornecedor where CodigoFornecedor = 12").toString(),
             QString("SILVEIRA & CIA X"));
    QCOMPARE(f.scalar("select Tipos from fornecedor where CodigoFornecedor = 12").toString(),
             QString(""));
    QCOMPARE(f.scalar("select CodigoTipo from fornecedor where CodigoFornecedor = 12").toInt(), 7);
    QCOMPARE(boxes.texts(), QStringList());
}

void TstSupplier::deleteSaysHowManyPayables()
{
    Fixture f;
    REQUIRE_DB(f.db);
    f.exec("insert into pagar (Nota, CodigoFornecedor) values ('A', 1), ('B', 1), ('C', 1)");
    Window win;
    win.search("btnRazaoSocial", "SILVA");
    ScriptedMessages boxes({QMessageBox::No, QMessageBox::Yes});
    win.w.excluir();
    QCOMPARE(boxes.boxes.size(), 1);
    QCOMPARE(boxes.boxes[0].title, QString("Exclusão"));
    QCOMPARE(boxes.boxes[0].text,
             QString("Deseja excluir o Registro do Fornecedor?\n\nHá 3 contas a pagar que se "
                     "referem a este registro; elas continuarão com o nome copiado."));
    QCOMPARE(boxes.boxes[0].defaultButton, QMessageBox::No);
    QCOMPARE(f.count("fornecedor"), 5);
    win.w.excluir();
    QCOMPARE(f.count("fornecedor"), 4);
    QCOMPARE(f.count("pagar"), 3);

    // Ctrl+E deletes at once.
    win.search("btnCodigo", "100");
    QTest::keyClick(win.w.searchEdit(), Qt::Key_E, Qt::ControlModifier);
    QCOMPARE(f.count("fornecedor"), 3);
    QCOMPARE(boxes.boxes.size(), 2);
}

void TstSupplier::rowChangedElsewhere()
{
    Fixture f;
    REQUIRE_DB(f.db);
    Window win;
    win.search("btnCodigo", "2");
    f.exec("update fornecedor set Nome = 'D''AVILA E FILHOS' where CodigoFornecedor = 2");
    win.w.nomeEdit()->end(false);
    win.type(win.w.nomeEdit(), " ME");
    ScriptedMessages boxes;
    win.w.salvar();
    QCOMPARE(boxes.texts(), QStringList{kConflict});
    QCOMPARE(win.w.nomeEdit()->text(), QString("D'AVILA E FILHOS"));
    QCOMPARE(f.scalar("select Nome from fornecedor where CodigoFornecedor = 2").toString(),
             QString("D'AVILA E FILHOS"));
    QVERIFY(win.w.mainBar()->isVisible() && !win.w.editBar()->isVisible());
}

void TstSupplier::closeWithPendingEdit_data()
{
    QTest::addColumn<QString>("number");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("closed");
    QTest::newRow("Yes saves") << "529.982.247-25" << int(QMessageBox::Yes) << "D'AVILA LTDA Z"
                               << true;
    QTest::newRow("Yes with a wrong number stays")
        << "529.982.247-00" << int(QMessageBox::Yes) << "D'AVILA LTDA" << false;
    QTest::newRow("No drops") << "529.982.247-25" << int(QMessageBox::No) << "D'AVILA LTDA" << true;
    QTest::newRow("Cancel stays") << "529.982.247-25" << int(QMessageBox::Cancel) << "D'AVILA LTDA"
                                  << false;
}

void TstSupplier::closeWithPendingEdit()
{
    QFETCH(QString, number);
    QFETCH(int, answer);
    QFETCH(QString, stored);
    QFETCH(bool, closed);
    Fixture f;
    REQUIRE_DB(f.db);
    Window win;
    win.search("btnCodigo", "2");
    win.w.cnpjEdit()->selectAll();
    win.type(win.w.cnpjEdit(), number);
    win.w.nomeEdit()->end(false);
    win.type(win.w.nomeEdit(), " Z");
    ScriptedMessages boxes({QMessageBox::StandardButton(answer)});
    win.w.fechar();
    QCOMPARE(boxes.boxes.at(0).text, QString("Deseja salvar as alterações?"));
    QCOMPARE(win.w.isVisible(), !closed);
    QCOMPARE(f.scalar("select Nome from fornecedor where CodigoFornecedor = 2").toString(), stored);
    QCOMPARE(win.w.suppliers()->isOpen(), !closed);
}

void TstSupplier::consultationInterface()
{
    Fixture f;
    REQUIRE_DB(f.db);
    QCOMPARE(CurrentSupplierWindow(), nullptr);
    {
        Window win;
        SupplierWindow *sw = CurrentSupplierWindow();
        QCOMPARE(sw, static_cast<SupplierWindow *>(&win.w));
        // Nothing to write into before a search.
        QVERIFY_THROWS_EXCEPTION(DbError, sw->startEdit());

        win.search("btnCodigo", "12");
        sw->startEdit();
        QVERIFY(win.w.editBar()->isVisible());
        sw->suppliers()->setValue("Nome", "OPEN KNOWLEDGE BRASIL");
        sw->setEstado("sp");
        QCOMPARE(win.w.estadoBox()->currentText(), QString("São Paulo"));
        QVERIFY(sw->setCidade("SP", "SAO PAUL"));
        QCOMPARE(win.w.cidadeBox()->currentText(), QString("SÃO PAULO"));
        QCOMPARE(sw->suppliers()->value("codigocidade").toLongLong(), 3550308);
        QCOMPARE(sw->suppliers()->text("Cidade"), QString("SÃO PAULO"));
        // A city the list does not hold leaves the box as it was.
        QVERIFY(!sw->setCidade("SP", "CAMPINAS"));
        QCOMPARE(sw->suppliers()->value("codigocidade").toLongLong(), 3550308);
        QVERIFY(sw->cities()->isOpen());
        ScriptedMessages boxes;
        win.w.salvar();
        QCOMPARE(boxes.texts(), QStringList());
        QCOMPARE(f.scalar("select concat(Nome, '|', Estado, '|', CodigoCidade, '|', Cidade) from "
                          "fornecedor where CodigoFornecedor = 12")
                     .toString(),
                 QString("OPEN KNOWLEDGE BRASIL|SP|3550308|SÃO PAULO"));
        // Another state: the city of the old one is dropped.
        sw->setEstado("PR");
        QVERIFY(sw->suppliers()->isNull("codigocidade"));
        QCOMPARE(win.w.cidadeBox()->count(), 1); // Curitiba alone
    }
    QCOMPARE(CurrentSupplierWindow(), nullptr);
}

void TstSupplier::postcode_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("filled"); // Endereco, Bairro, Cidade, Estado, CodigoCidade, Cep
    QTest::addColumn<QString>("message");
    const QString host = QString("127.0.0.1:%1").arg(m_server.port());
    QTest::newRow("found, typed with hyphen")
        << "01001-000" << QStringList{"PRAÇA DA SÉ", "SÉ", "SÃO PAULO", "SP", "3550308", "01001000"}
        << "";
    QTest::newRow("found, IBGE code as a number")
        << "70040010"
        << QStringList{"SBN QUADRA 1", "ASA NORTE", "BRASÍLIA", "DF", "5300108", "70040010"} << "";
    QTest::newRow("erro true") << "99999-999" << QStringList{} << "CEP 99999-999 não encontrado.";
    QTest::newRow("erro \"true\"")
        << "99999998" << QStringList{} << "CEP 99999-998 não encontrado.";
    QTest::newRow("malformed answer")
        << "87654321" << QStringList{}
        << QString("Resposta inválida do serviço de CEP %1: não é um objeto JSON.").arg(host);
    QTest::newRow("slow server")
        << "55555555" << QStringList{}
        << QString("O servidor %1 não respondeu em 1 segundo. Tente novamente mais tarde.")
               .arg(host);
    QTest::newRow("seven digits") << "0100100" << QStringList{} << "Preencher com Cep Valido !!!";
    QTest::newRow("nine digits") << "010010001" << QStringList{} << "Preencher com Cep Valido !!!";
}

void TstSupplier::postcode()
{
    QFETCH(QString, typed);
    QFETCH(QStringList, filled);
    QFETCH(QString, message);
    Fixture f;
    REQUIRE_DB(f.db);
    Config().web.postcodeBase = m_server.base();
    Config().web.http.connectTimeoutMs = 1000;
    Config().web.http.timeoutMs = 1000;
    Window win;
    win.search("btnCodigo", "1");
    QVERIFY(win.w.suppliers()->locate("CodigoFornecedor", 1));
    win.w.pages()->setCurrentIndex(1);
    // What the edit holds is asked, whether or not the row is being edited.
    win.w.cepEdit()->setText(typed);
    ScriptedMessages boxes;
    QElapsedTimer clock;
    clock.start();
    QTest::mouseClick(win.w.cepPicture(), Qt::LeftButton);
    QVERIFY2(clock.elapsed() < 3000, qPrintable(QString::number(clock.elapsed())));
    RecordSet *rs = win.w.suppliers();
    const QStringList columns{"Endereco", "Bairro", "Cidade", "Estado", "CodigoCidade", "Cep"};
    if (message.isEmpty()) {
        QCOMPARE(boxes.texts(), QStringList());
        QStringList now;
        for (const QString &c : columns)
            now << rs->text(c);
        QCOMPARE(now, filled);
        QCOMPARE(rs->state(), RecordSet::State::Edit);
        QVERIFY(win.w.editBar()->isVisible());
        QCOMPARE(win.w.estadoBox()->keyValue().toString(), filled[3]);
        win.w.salvar();
        QCOMPARE(f.scalar("select concat_ws('|', Endereco, Bairro, Cidade, Estado, CodigoCidade, "
                          "Cep) from fornecedor where CodigoFornecedor = 1")
                     .toString(),
                 filled.join('|'));
    } else {
        QCOMPARE(boxes.texts(), QStringList{message});
        QCOMPARE(boxes.boxes[0].title, QString("Quarvo Sistemas, Atenção !!!"));
        QCOMPARE(boxes.boxes[0].icon, QMessageBox::Warning);
        QCOMPARE(rs->state(), RecordSet::State::Browse);
        QCOMPARE(rs->text("Endereco"), QString("RUA A"));
        QCOMPARE(rs->text("Cidade"), QString("CURITIBA"));
        QVERIFY(win.w.mainBar()->isVisible());
    }
}

void TstSupplier::postcodeServiceDown()
{
    Fixture f;
    REQUIRE_DB(f.db);
    const int closed = LoopbackServices::closedPort();
    Config().web.postcodeBase = QString("http://127.0.0.1:%1").arg(closed);
    Window win;
    win.search("btnCodigo", "1");
    QVERIFY(win.w.suppliers()->locate("CodigoFornecedor", 1));
    win.w.cepEdit()->setText("01001000");
    ScriptedMessages boxes;
    win.w.consultaCep();
    QCOMPARE(boxes.texts(),
             QStringList{QString("O servidor 127.0.0.1:%1 recusou a conexão: o serviço não está "
                                 "no ar ou o endereço está errado.")
                             .arg(closed)});
    QCOMPARE(win.w.suppliers()->state(), RecordSet::State::Browse);
    QCOMPARE(win.w.suppliers()->text("Endereco"), QString("RUA A"));
}

namespace {

QString pdfPage(const QString &path, int page)
{
    QProcess p;
    p.start("pdftotext",
            {"-layout", "-f", QString::number(page), "-l", QString::number(page), path, "-"});
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

} // namespace

void TstSupplier::supplierCards()
{
    Fixture f;
    REQUIRE_DB(f.db);
    RecordSet *rows = DM::instance()->tbFornecedor;
    rows->open();
    const Report::PreparedReport report =
        Report::run(rptFicha_FO::definition(rptFicha_FO::ByNameTitle), *rows);
    rows->close();
    QCOMPARE(report.pageCount(), 5); // one page per supplier
    QCOMPARE(report.paper, Report::Paper::A4);
    QCOMPARE(report.orientation, Report::Orientation::Portrait);

    QTemporaryDir dir;
    const QString pdf = dir.filePath("fichas.pdf");
    QString error;
    QVERIFY2(Report::exportTo(report, pdf, &error), qPrintable(error));
    // By name: ALFA, BETA, D'AVILA, SILVA, SILVEIRA.
    const QStringList firstNames{"ALFA COMERCIO", "BETA 50% OFF", "D'AVILA LTDA", "SILVA MATERIAIS",
                                 "SILVEIRA & CIA"};
    for (int i = 0; i < 5; ++i) {
        const QString text = pdfPage(pdf, i + 1);
        QVERIFY2(text.contains("Relatório Fornecedores por Nome"), qPrintable(text));
        QVERIFY2(text.contains(firstNames[i]), qPrintable(text));
        QVERIFY(text.contains("Fornecedor:"));
        QVERIFY(text.contains("CGC/CPF:"));
    }
    // The full card of SILVA MATERIAIS, line by line as printed.
    const QString silva = pdfPage(pdf, 4);
    const QStringList lines = silva.split('\n', Qt::SkipEmptyParts);
    auto line = [&](const QString &start) {
        for (const QString &l : lines)
            if (l.trimmed().startsWith(start))
                return l.simplified();
        return QString();
    };
    QCOMPARE(line("Fornecedor:"), QString("Fornecedor: 1 SILVA MATERIAIS"));
    QCOMPARE(line("Endereço:"), QString("Endereço: RUA A"));
    QCOMPARE(line("Bairro:"), QString("Bairro: CENTRO"));
    QCOMPARE(line("Cidade:"), QString("Cidade: CURITIBA Estado: PR CEP: 80000000"));
    QCOMPARE(line("Telefones:"), QString("Telefones: (41) 1111-1111 (41) 2222-2222"));
    QCOMPARE(line("Tipo:"), QString("Tipo: F CGC/CPF: 12.ABC.345/01DE-35"));
    QCOMPARE(line("OBS:"), QString("OBS: entrega às terças"));

    // No suppliers: still one page.
    f.exec("delete from fornecedor");
    rows->open();
    QCOMPARE(Report::run(rptFicha_FO::definition(), *rows).pageCount(), 1);
    rows->close();
}

void TstSupplier::cardsFromTheMenu()
{
    Fixture f;
    REQUIRE_DB(f.db);
    Window win;
    const QList<QAction *> entries = win.w.reportMenu()->actions();
    QCOMPARE(entries.size(), 1);
    QCOMPARE(entries[0]->text(), QString("Por Ordem Alfabética"));
    int pages = 0;
    QString title;
    bool tableOpen = false;
    {
        Modal::ScopedHandler seen([&](QDialog *d) {
            auto *preview = qobject_cast<Report::ReportPreview *>(d);
            if (preview) {
                pages = preview->pageCount();
                title = preview->report().pages.at(0).texts().value(0);
                tableOpen = DM::instance()->tbFornecedor->isOpen();
            }
            return int(QDialog::Accepted);
        });
        entries[0]->trigger();
    }
    QCOMPARE(pages, 5);
    QCOMPARE(title, QString("Relatório Fornecedores por Nome"));
    QVERIFY(tableOpen);
    QVERIFY(!DM::instance()->tbFornecedor->isOpen());
}

CP_TEST(TstSupplier)
#include "tst_supplier.moc"
