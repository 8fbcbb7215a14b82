// The checking-account ledger: the completion of every saved movement, the
// searches (bound patterns), the period search, the account pick list's
// confirm and cancel, the question before a pending edit is lost, a row
// changed by another workstation, deleting, the report menu and the current
// ledger window; checked on what the clerk sees and on the rows in the
// database.

#include "ProgramFixture.h"
#include "ScriptedMessages.h"
#include "TestMain.h"
#include "app/LedgerWindow.h"
#include "app/MenuActions.h"
#include "db/RecordSet.h"
#include "ledger/FCaixa_Relatorio2_OP02.h"
#include "ledger/FrmContaCorrente.h"
#include "ledger/LedgerMenu.h"
#include "program/FrmPrincipal.h"
#include "registries/PickList.h"
#include "widgets/BigToolBar.h"
#include "widgets/DataGrid.h"
#include "widgets/DateEdit.h"
#include "widgets/LookupCombo.h"
#include "widgets/Modal.h"
#include "widgets/MoneyEdit.h"
#include "widgets/TitleBand.h"
#include "widgets/UpperEdit.h"

#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTabWidget>
#include <QtTest>

namespace {

const QDateTime kNow(QDate(2024, 4, 29), QTime(10, 0));

struct Fixture : ProgramFixture
{
    Fixture() : ProgramFixture(kNow, QStringLiteral("MARIA"))
    {
        exec("INSERT INTO filial (Codigofilial, Nomefilial) VALUES (1, 'MATRIZ'), (2, 'CENTRO')");
        exec("INSERT INTO fornecedor (CodigoFornecedor, Nome) VALUES (10, 'ALFA LTDA'), "
             "(11, 'BETA SA')");
        exec("INSERT INTO contagerencial (codigogerencial, Gerencial) VALUES (7, 'MATERIAIS'), "
             "(8, 'SERVICOS')");
        exec("INSERT INTO tipos (CODIGOTIPO, DESCTIPO) VALUES (1, 'VARIAVEL'), (2, 'FIXO')");
        exec("INSERT INTO tipodespesa (codigodespesa, despesa) VALUES (3, 'ENERGIA'), (4, 'AGUA')");
        exec("INSERT INTO conta (codigoconta, banco, agencia, conta) VALUES "
             "(1, 'BRADESCO', '0123', '12345-6'), (2, 'ITAU', '0350', '98765-4'), "
             "(3, 'BANCO DO BRASIL S.A. AGENCIA 1', '0001', '55555-5')");
    }
    // The saved row's columns, as text.
    QVariantMap row(int controle, const QStringList &columns)
    {
        QSqlQuery q(db.sql());
        q.prepare("SELECT * FROM contacorrente WHERE controle = ?");
        q.addBindValue(controle);
        if (!q.exec() || !q.next())
            return {};
        QVariantMap m;
        for (const QString &c : columns) {
            const QVariant v = q.value(c);
            m.insert(c, v.isNull() ? QVariant() : QVariant(v.toString()));
        }
        return m;
    }
    int lastControle() { return scalar("SELECT MAX(controle) FROM contacorrente").toInt(); }
};

// The screen opened as the main menu opens it, shown offscreen.
struct Screen
{
    FrmContaCorrente w;
    Screen() { w.show(); }
    QList<int> controles()
    {
        QList<int> c;
        RecordSet *rs = w.movements();
        for (int i = 0; i < rs->recordCount(); ++i)
            c << rs->valueAt(i, "controle").toInt();
        return c;
    }
    bool browsing() const
    {
        return w.mainBar()->isVisible() && w.navigationBar()->isVisible() &&
               !w.editBar()->isVisible();
    }
    bool editing() const
    {
        return !w.mainBar()->isVisible() && !w.navigationBar()->isVisible() &&
               w.editBar()->isVisible() && w.editBar()->x() == 2;
    }
    void clickRow(int row)
    {
        DataGrid *g = w.grid();
        const QRect r = g->visualRect(g->model()->index(row, 0));
        QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, r.center());
    }
};

// Chooses the entry shown as text, as a pick from the box's list does.
void choose(LookupCombo *box, const QString &text)
{
    const int i = box->findText(text);
    QVERIFY2(i >= 0, qPrintable(text));
    box->setCurrentIndex(i);
}

void typeInto(QLineEdit *edit, const QString &text)
{
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

// Takes the pick list when it is shown modally and lets the test drive it.
struct PickDriver
{
    using Steps = std::function<void(PickList *)>;
    int shown = 0;
    Modal::ScopedHandler guard;
    explicit PickDriver(Steps steps)
        : guard([this, steps](QDialog *d) {
              ++shown;
              auto *pick = qobject_cast<PickList *>(d);
              if (!pick)
                  return int(QDialog::Rejected);
              d->show();
              steps(pick);
              return d->result();
          })
    {
    }
};

// What a completion test does on the screen.
struct Edit
{
    QString start; // "Incluir", "Alterar", or "" (the first change starts it)
    int kind = -1; // 0 "Credito", 1 "Debito", -1 left alone
    QString supplier, branch, costCentre, paymentType, expenseType; // chosen by name
    QString date, description, credit, debit;                       // typed
};

} // namespace

Q_DECLARE_METATYPE(Edit)

class TstLedger : public QObject
{
    Q_OBJECT
private slots:
    void windowAsItOpens();
    void completionBeforeSave_data();
    void completionBeforeSave();
    void textSearches_data();
    void textSearches();
    void emptySearchSays_data();
    void emptySearchSays();
    void periodSearch_data();
    void periodSearch();
    void accountPickList_data();
    void accountPickList();
    void pendingEditIsNotLost();
    void rowChangedElsewhereIsNotOverwritten();
    void refusedSaveKeepsTheEdit();
    void deleteAsksFirst();
    void reportMenu();
    void currentLedgerWindow();
    void mainMenuOpensTheLedger();
};

void TstLedger::windowAsItOpens()
{
    Fixture f;
    REQUIRE_DB(f.db);
    f.exec("INSERT INTO contacorrente (controle, conta, datalancamento, codigotipodespesa, valor) "
           "VALUES (1, '98765-4', '2024-04-02', 3, 10), (2, '12345-6', '2024-04-09', NULL, 20), "
           "(3, '12345-6', '2024-04-01', 4, 30)");
    Screen s;
    FrmContaCorrente &w = s.w;
    QCOMPARE(w.titleBand()->caption(), QStringLiteral("Conta Corrente"));
    QCOMPARE(w.titleBand()->color(), QColor(0, 74, 149));
    QCOMPARE(w.titleBand()->height(), 30);
    // Maximised: the whole work area (the test screen is smaller than a desk's).
    const QRect area = w.screen()->availableGeometry();
    QCOMPARE(w.geometry().topLeft(), area.topLeft());
    QVERIFY(w.width() >= area.width() && w.height() >= area.height());
    QVERIFY(s.browsing());
    QCOMPARE(w.navigationBar()->x(), 294);
    QCOMPARE(w.pages()->currentIndex(), 0);
    QCOMPARE(w.pages()->tabText(0), QStringLiteral("Listagem"));
    QCOMPARE(w.pages()->tabText(1), QStringLiteral("Dados "));
    QCOMPARE(w.dataInicial()->date(), QDate(2024, 4, 29));
    QCOMPARE(w.dataFinal()->date(), QDate(2024, 4, 29));
    QCOMPARE(w.focusWidget(), static_cast<QWidget *>(w.searchEdit()));
    // Every movement, by account number and date; the expense type by name.
    QCOMPARE(s.controles(), (QList<int>{3, 2, 1}));
    QCOMPARE(w.listText(0, 11), QStringLiteral("AGUA"));
    QCOMPARE(w.listText(1, 11), QString());
    QCOMPARE(w.listText(2, 11), QStringLiteral("ENERGIA"));
    QStringList titles;
    for (const GridColumn &c : w.grid()->columns())
        titles << c.title;
    QCOMPARE(titles,
             (QStringList{"Nº Doc.", "Tipo", "Agência", "Conta", "Banco", "Dt.Emissao",
                          "Credito R$", "Debito R$]", "Especie", "E/S", "Descrição ",
                          "Tipo de Despesa", "Central de Custo", "Importado", "Dt.Importado"}));
    // A click on a movement shows it on the data tab.
    s.clickRow(1);
    QCOMPARE(w.pages()->currentIndex(), 1);
    QCOMPARE(w.movements()->value("controle").toInt(), 2);
    QCOMPARE(w.contaEdit()->text(), QStringLiteral("12345-6"));
}

void TstLedger::completionBeforeSave_data()
{
    QTest::addColumn<QString>("existing"); // the movement already there (controle 1), or none
    QTest::addColumn<Edit>("edit");
    QTest::addColumn<QVariantMap>("expected");

    const QString today = "2024-04-29";
    {
        Edit e;
        e.start = "Incluir";
        e.kind = 1;
        e.branch = "MATRIZ";
        e.costCentre = "MATERIAIS";
        e.paymentType = "FIXO";
        e.expenseType = "ENERGIA";
        e.date = "10/04/2024";
        e.description = "pagamento luz";
        e.debit = "150,25";
        QTest::newRow("new debit without supplier keeps its description")
            << "" << e
            << QVariantMap{{"tipos", "DEBITO"},
                           {"es", "S"},
                           {"especie", "DINHEIRO"},
                           {"fornecedor", "PAGAMENTO LUZ"},
                           {"codigofornecedor", {}},
                           {"filial", "MATRIZ"},
                           {"codigofilial", "1"},
                           {"gerencial", "MATERIAIS"},
                           {"codigogerencial", "7"},
                           {"tipo", "FIXO"},
                           {"codigotipo", "2"},
                           {"tipodespesa", "ENERGIA"},
                           {"codigotipodespesa", "3"},
                           {"debito", "150.25"},
                           {"datalancamento", "2024-04-10"},
                           {"dataquitacao", today},
                           {"datavencimento", today},
                           {"usuario", "MARIA"}};
    }
    {
        Edit e;
        e.start = "Incluir";
        e.kind = 0;
        e.description = "digitado";
        e.supplier = "ALFA LTDA";
        e.credit = "1.000,00";
        QTest::newRow("new credit from a supplier, boxes without a choice")
            << "" << e << QVariantMap{{"tipos", "CREDITO"},        {"es", "E"},
                                      {"fornecedor", "ALFA LTDA"}, {"codigofornecedor", "10"},
                                      {"valor", "1000"},           {"filial", ""},
                                      {"gerencial", ""},           {"tipo", ""},
                                      {"tipodespesa", ""},         {"especie", "DINHEIRO"}};
    }
    {
        // Booked by the statement import; the first change, a cost centre
        // chosen, starts the edit.
        Edit e;
        e.costCentre = "MATERIAIS";
        QTest::newRow("an imported credit stays a credit")
            << "INSERT INTO contacorrente (controle, tipos, es, especie, tiposaida, valor, "
               "valordoc, fornecedor, codigofornecedor, gerencial, codigogerencial, "
               "datalancamento, datavencimento, dataquitacao, usuario, importado) VALUES (1, "
               "'ENTRADA', 'E', 'BANCO', 'BANCO', 80, 80, 'PIX RECEBIDO FULANO', 99999, 'BANCO', "
               "99999, '2024-03-05', '2024-03-05', '2024-03-05', 'IMPORT', 'S')"
            << e
            << QVariantMap{{"tipos", "ENTRADA"},
                           {"es", "E"},
                           {"especie", "DINHEIRO"},
                           {"fornecedor", "PIX RECEBIDO FULANO"},
                           {"gerencial", "MATERIAIS"},
                           {"codigogerencial", "7"},
                           {"valor", "80"},
                           {"datalancamento", "2024-03-05"},
                           {"dataquitacao", today},
                           {"datavencimento", today},
                           {"usuario", "MARIA"},
                           {"importado", "S"}};
    }
    {
        Edit e;
        e.start = "Alterar";
        e.kind = 0;
        QTest::newRow("an old debit changed into a credit")
            << "INSERT INTO contacorrente (controle, tipos, es, debito, fornecedor, "
               "datalancamento, datavencimento, dataquitacao) VALUES (1, 'DEBITO', 'S', 40, "
               "'TARIFA', '2024-01-15', '2024-01-15', '2024-01-15')"
            << e
            << QVariantMap{{"tipos", "CREDITO"},
                           {"es", "E"},
                           {"fornecedor", "TARIFA"},
                           {"debito", "40"},
                           {"datalancamento", "2024-01-15"},
                           {"dataquitacao", today},
                           {"datavencimento", today}};
    }
}

void TstLedger::completionBeforeSave()
{
    QFETCH(QString, existing);
    QFETCH(Edit, edit);
    QFETCH(QVariantMap, expected);

    Fixture f;
    REQUIRE_DB(f.db);
    if (!existing.isEmpty())
        f.exec(existing);
    ScriptedMessages boxes;
    Screen s;
    FrmContaCorrente &w = s.w;
    if (!existing.isEmpty()) {
        s.clickRow(0);
        // An imported credit shows as "Credito".
        QCOMPARE(w.creditoRadio()->isChecked(), w.movements()->text("tipos") != "DEBITO");
    }
    if (edit.start == "Incluir")
        w.Incluir();
    else if (edit.start == "Alterar")
        w.Alterar();
    if (!edit.start.isEmpty()) {
        QVERIFY(s.editing());
        QCOMPARE(w.pages()->currentIndex(), 1);
        QCOMPARE(w.focusWidget(), static_cast<QWidget *>(w.bancoEdit()));
    }
    if (edit.kind >= 0)
        QTest::mouseClick(edit.kind == 0 ? w.creditoRadio() : w.debitoRadio(), Qt::LeftButton);
    const QList<QPair<LookupCombo *, QString>> boxesToChoose{{w.fornecedorBox(), edit.supplier},
                                                             {w.filialBox(), edit.branch},
                                                             {w.gerencialBox(), edit.costCentre},
                                                             {w.tipoBox(), edit.paymentType},
                                                             {w.despesaBox(), edit.expenseType}};
    for (const auto &[box, text] : boxesToChoose)
        if (!text.isEmpty())
            choose(box, text);
    if (!edit.date.isEmpty())
        typeInto(w.dataEmissao(), edit.date);
    if (!edit.description.isEmpty())
        typeInto(w.descricaoEdit(), edit.description);
    if (!edit.credit.isEmpty())
        typeInto(w.creditoEdit(), edit.credit);
    if (!edit.debit.isEmpty())
        typeInto(w.debitoEdit(), edit.debit);
    QVERIFY(s.editing());

    QVERIFY(w.Salvar());
    QCOMPARE(boxes.texts(), QStringList());
    QVERIFY(s.browsing());
    QCOMPARE(w.pages()->currentIndex(), 0);
    QCOMPARE(f.count("contacorrente"), 1);
    QCOMPARE(f.row(f.lastControle(), expected.keys()), expected);
}

void TstLedger::textSearches_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QList<int>>("found"); // controle, in the order listed

    QTest::newRow("description prefix, in order") << "Fornecedor"
                                                  << "alfa" << QList<int>{2, 1};
    QTest::newRow("blanks trimmed") << "Fornecedor"
                                    << "  beta  " << QList<int>{4};
    QTest::newRow("a quote is text") << "Fornecedor"
                                     << "D'AVILA" << QList<int>{3};
    QTest::newRow("blanks only: every description") << "Fornecedor"
                                                    << "   " << QList<int>{2, 1, 4, 3};
    QTest::newRow("an injection attempt finds nothing") << "Fornecedor"
                                                        << "\\' OR 1=1 -- " << QList<int>{};
    QTest::newRow("a typed wildcard stays one") << "Fornecedor"
                                                << "%SERV" << QList<int>{1};
    QTest::newRow("account number prefix") << "Conta"
                                           << "12345" << QList<int>{2, 1};
    QTest::newRow("cheque prefix") << "Cheque"
                                   << "00012" << QList<int>{3, 1};
}

void TstLedger::textSearches()
{
    QFETCH(QString, button);
    QFETCH(QString, typed);
    QFETCH(QList<int>, found);

    Fixture f;
    REQUIRE_DB(f.db);
    f.exec("INSERT INTO contacorrente (controle, fornecedor, conta, cheque) VALUES "
           "(1, 'ALFA SERVICOS', '12345-7', '000124'), (2, 'ALFA LTDA', '12345-6', NULL), "
           "(3, 'D''AVILA MATERIAIS', '98765-4', '000123'), (4, 'BETA SA', NULL, '999'), "
           "(5, NULL, '55555-5', NULL)");
    ScriptedMessages boxes;
    Screen s;
    typeInto(s.w.searchEdit(), typed);
    if (button == "Fornecedor")
        s.w.buscaFornecedor();
    else if (button == "Conta")
        s.w.buscaConta();
    else
        s.w.buscaCheque();
    QCOMPARE(boxes.texts(), QStringList());
    QCOMPARE(s.controles(), found);
    QCOMPARE(s.w.pages()->currentIndex(), 1);
    QCOMPARE(s.w.movements()->recNo(), found.isEmpty() ? -1 : 0);
    QCOMPARE(f.count("contacorrente"), 5);
}

void TstLedger::emptySearchSays_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("message");
    QTest::newRow("Fornecedor") << "Fornecedor"
                                << "Nome do Emitente em Branco !!!";
    QTest::newRow("Conta") << "Conta"
                           << "Nº da Conta em Branco !!!";
    QTest::newRow("Cheque") << "Cheque"
                            << "Nº do Cheque em Branco !!!";
}

void TstLedger::emptySearchSays()
{
    QFETCH(QString, button);
    QFETCH(QString, message);

    Fixture f;
    REQUIRE_DB(f.db);
    f.exec("INSERT INTO contacorrente (controle, fornecedor) VALUES (1, 'ALFA'), (2, 'BETA')");
    ScriptedMessages boxes;
    Screen s;
    const QString sql = s.w.movements()->sql();
    s.w.dataInicial()->setFocus();
    if (button == "Fornecedor")
        s.w.buscaFornecedor();
    else if (button == "Conta")
        s.w.buscaConta();
    else
        s.w.buscaCheque();
    QCOMPARE(boxes.texts(), QStringList{message});
    QCOMPARE(boxes.boxes[0].title, QStringLiteral("Atenção"));
    QCOMPARE(boxes.boxes[0].icon, QMessageBox::Warning);
    QCOMPARE(s.w.focusWidget(), static_cast<QWidget *>(s.w.searchEdit()));
    // The list is left as it was.
    QCOMPARE(s.w.movements()->sql(), sql);
    QCOMPARE(s.controles(), (QList<int>{1, 2}));
}

void TstLedger::periodSearch_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("last");
    QTest::addColumn<QList<int>>("found");
    QTest::addColumn<QString>("message");

    QTest::newRow("one day") << "10/04/2024"
                             << "10/04/2024" << QList<int>{2, 3} << "";
    QTest::newRow("both ends included") << "09/04/2024"
                                        << "11/04/2024" << QList<int>{1, 2, 3, 4} << "";
    QTest::newRow("start after end") << "11/04/2024"
                                     << "09/04/2024" << QList<int>{} << "";
    QTest::newRow("an impossible date")
        << "31/04/2024"
        << "30/04/2024" << QList<int>{5, 1, 2, 3, 4} << "Data inválida: 31/04/2024 !!!";
}

void TstLedger::periodSearch()
{
    QFETCH(QString, first);
    QFETCH(QString, last);
    QFETCH(QList<int>, found);
    QFETCH(QString, message);

    Fixture f;
    REQUIRE_DB(f.db);
    f.exec("INSERT INTO contacorrente (controle, datalancamento) VALUES (1, '2024-04-09'), "
           "(2, '2024-04-10'), (3, '2024-04-10'), (4, '2024-04-11'), (5, '2024-04-08')");
    ScriptedMessages boxes;
    Screen s;
    typeInto(s.w.dataInicial(), first);
    typeInto(s.w.dataFinal(), last);
    s.w.buscaLancamento();
    QCOMPARE(boxes.texts(), message.isEmpty() ? QStringList() : QStringList{message});
    QCOMPARE(s.controles(), found);
    QCOMPARE(s.w.pages()->currentIndex(), 0);
}

void TstLedger::accountPickList_data()
{
    QTest::addColumn<bool>("confirm");
    QTest::newRow("confirm replaces the four account columns") << true;
    QTest::newRow("cancel leaves the movement and the list's row") << false;
}

void TstLedger::accountPickList()
{
    QFETCH(bool, confirm);

    Fixture f;
    REQUIRE_DB(f.db);
    f.exec("INSERT INTO contacorrente (controle, codigoconta, conta, banco, agencia, fornecedor) "
           "VALUES (1, 2, '98765-4', 'ITAU', '0350', 'TARIFA')");
    ScriptedMessages boxes;
    Screen s;
    FrmContaCorrente &w = s.w;
    QVERIFY(w.accounts()->locate("codigoconta", 1));
    PickDriver driver([&](PickList *d) {
        QCOMPARE(d->spec().objectName, QStringLiteral("frmL_Conta"));
        d->searchEdit()->clear();
        QTest::keyClicks(d->searchEdit(), "b");
        QTest::mouseClick(d->nameButton(), Qt::LeftButton);
        // Narrowed to the banks starting with B, by bank: the first is current.
        QCOMPARE(d->list()->value("codigoconta").toInt(), 3);
        QTest::mouseClick(confirm ? d->okButton() : d->cancelButton(), Qt::LeftButton);
    });
    QTest::mouseClick(w.accountButton(), Qt::LeftButton);
    QCOMPARE(driver.shown, 1);
    QCOMPARE(boxes.texts(), QStringList());
    RecordSet *m = w.movements();
    if (confirm) {
        QVERIFY(s.editing());
        QCOMPARE(m->value("codigoconta").toInt(), 3);
        QCOMPARE(w.contaEdit()->text(), QStringLiteral("55555-5"));
        QCOMPARE(w.agenciaEdit()->text(), QStringLiteral("0001"));
        // The ledger keeps 20 characters of the bank's name.
        QCOMPARE(w.bancoEdit()->text(), QStringLiteral("BANCO DO BRASIL S.A."));
        QVERIFY(w.Salvar());
        QCOMPARE(f.row(1, {"codigoconta", "conta", "banco", "agencia", "fornecedor"}),
                 (QVariantMap{{"codigoconta", "3"},
                              {"conta", "55555-5"},
                              {"banco", "BANCO DO BRASIL S.A."},
                              {"agencia", "0001"},
                              {"fornecedor", "TARIFA"}}));
    } else {
        QVERIFY(s.browsing());
        QCOMPARE(m->state(), RecordSet::State::Browse);
        QCOMPARE(w.contaEdit()->text(), QStringLiteral("98765-4"));
        QCOMPARE(m->value("codigoconta").toInt(), 2);
        // The narrowed list stays, back on the account that was current.
        QCOMPARE(w.accounts()->value("codigoconta").toInt(), 1);
        QCOMPARE(w.accounts()->recordCount(), 2);
    }
}

void TstLedger::pendingEditIsNotLost()
{
    Fixture f;
    REQUIRE_DB(f.db);
    f.exec("INSERT INTO contacorrente (controle, fornecedor, tipos) VALUES (1, 'ALFA', 'DEBITO'), "
           "(2, 'BETA', 'DEBITO')");
    const QString question = "Deseja salvar as alterações?";
    {
        // Cancel: the edit stays and the search is not run; No: dropped.
        ScriptedMessages boxes({QMessageBox::Cancel, QMessageBox::No});
        Screen s;
        s.w.Alterar();
        typeInto(s.w.descricaoEdit(), "ALFA CORRIGIDA");
        typeInto(s.w.searchEdit(), "BETA");
        s.w.buscaFornecedor();
        QVERIFY(s.editing());
        QCOMPARE(s.w.movements()->text("fornecedor"), QStringLiteral("ALFA CORRIGIDA"));
        QCOMPARE(s.controles(), (QList<int>{1, 2}));
        s.w.buscaFornecedor();
        QCOMPARE(boxes.texts(), (QStringList{question, question}));
        QCOMPARE(boxes.boxes[0].defaultButton, QMessageBox::Yes);
        QVERIFY(s.browsing());
        QCOMPARE(s.controles(), (QList<int>{2}));
        QCOMPARE(f.scalar("SELECT fornecedor FROM contacorrente WHERE controle = 1").toString(),
                 QStringLiteral("ALFA"));
    }
    {
        // Closing with a pending edit: Yes saves it, completed, and closes.
        ScriptedMessages boxes({QMessageBox::Yes});
        Screen s;
        s.w.Alterar();
        typeInto(s.w.descricaoEdit(), "ALFA CORRIGIDA");
        s.w.Fechar();
        QCOMPARE(boxes.texts(), QStringList{question});
        QVERIFY(!s.w.isVisible());
        QVERIFY(!s.w.movements()->isOpen());
        QCOMPARE(
            f.row(1, {"fornecedor", "es", "usuario"}),
            (QVariantMap{{"fornecedor", "ALFA CORRIGIDA"}, {"es", "S"}, {"usuario", "MARIA"}}));
    }
    {
        // The red "X" with Cancel keeps the window and the edit.
        ScriptedMessages boxes({QMessageBox::Cancel});
        Screen s;
        s.w.Alterar();
        typeInto(s.w.descricaoEdit(), "OUTRA");
        s.w.titleBand()->clickClose();
        QVERIFY(s.w.isVisible());
        QVERIFY(s.editing());
        QCOMPARE(boxes.texts(), QStringList{question});
    }
}

void TstLedger::rowChangedElsewhereIsNotOverwritten()
{
    Fixture f;
    REQUIRE_DB(f.db);
    f.exec("INSERT INTO contacorrente (controle, fornecedor, valor) VALUES (1, 'ALFA', 10)");
    ScriptedMessages boxes;
    Screen s;
    s.w.Alterar();
    typeInto(s.w.descricaoEdit(), "MINHA");
    // Another workstation saves the same movement first.
    f.exec("UPDATE contacorrente SET fornecedor = 'DA OUTRA', valor = 99 WHERE controle = 1");
    QVERIFY(!s.w.Salvar());
    QCOMPARE(boxes.texts(),
             QStringList{"Registro alterado por outra estação. Os dados foram relidos."});
    QCOMPARE(f.row(1, {"fornecedor", "valor", "especie"}),
             (QVariantMap{{"fornecedor", "DA OUTRA"}, {"valor", "99"}, {"especie", {}}}));
    QVERIFY(s.browsing());
    QCOMPARE(s.w.descricaoEdit()->text(), QStringLiteral("DA OUTRA"));
}

void TstLedger::refusedSaveKeepsTheEdit()
{
    Fixture f;
    REQUIRE_DB(f.db);
    f.exec("INSERT INTO contacorrente (controle, fornecedor, tipos) VALUES (1, 'ALFA', 'DEBITO')");
    ScriptedMessages boxes;
    Screen s;
    // The server refuses this description.
    f.exec("ALTER TABLE contacorrente ADD CONSTRAINT recusa CHECK (fornecedor <> 'RECUSADO')");
    s.w.Alterar();
    typeInto(s.w.descricaoEdit(), "RECUSADO");
    QVERIFY(!s.w.Salvar());
    QCOMPARE(boxes.boxes.size(), 1);
    QCOMPARE(boxes.boxes[0].icon, QMessageBox::Critical);
    QVERIFY(s.editing());
    QCOMPARE(s.w.pages()->currentIndex(), 1);
    QCOMPARE(s.w.descricaoEdit()->text(), QStringLiteral("RECUSADO"));
    QCOMPARE(f.row(1, {"fornecedor", "es"}), (QVariantMap{{"fornecedor", "ALFA"}, {"es", {}}}));
    // Corrected, it saves.
    typeInto(s.w.descricaoEdit(), "ACEITO");
    QVERIFY(s.w.Salvar());
    QVERIFY(s.browsing());
    QCOMPARE(f.row(1, {"fornecedor", "es"}), (QVariantMap{{"fornecedor", "ACEITO"}, {"es", "S"}}));
}

void TstLedger::deleteAsksFirst()
{
    Fixture f;
    REQUIRE_DB(f.db);
    f.exec("INSERT INTO contacorrente (controle, fornecedor) VALUES (1, 'ALFA'), (2, 'BETA')");
    ScriptedMessages boxes({QMessageBox::No, QMessageBox::Yes});
    Screen s;
    s.w.Excluir();
    QCOMPARE(f.count("contacorrente"), 2);
    s.w.Excluir();
    QCOMPARE(boxes.texts(), (QStringList{"Deseja excluir o cheque?", "Deseja excluir o cheque?"}));
    QCOMPARE(boxes.boxes[0].title, QStringLiteral("Exclusão"));
    QCOMPARE(boxes.boxes[0].icon, QMessageBox::Question);
    QCOMPARE(boxes.boxes[0].defaultButton, QMessageBox::No);
    QCOMPARE(f.scalar("SELECT GROUP_CONCAT(controle) FROM contacorrente").toString(),
             QStringLiteral("2"));
    QCOMPARE(s.controles(), QList<int>{2});
}

void TstLedger::reportMenu()
{
    Fixture f;
    REQUIRE_DB(f.db);
    // The second entry belongs to a folder this test does not register.
    LedgerMenu::registerEntries();
    Screen s;
    QMenu *menu = s.w.reportMenu();
    QStringList captions;
    for (QAction *a : menu->actions())
        captions << a->text();
    QCOMPARE(captions,
             (QStringList{"Período",
                          "Geral Quitado Por Tipo de Central de Custo - Contas a Pagar e Conta "
                          "Corrente no Periodo",
                          "&Importar Extrato"}));
    emit menu->aboutToShow();
    QList<bool> enabled;
    for (QAction *a : menu->actions())
        enabled << a->isEnabled();
    QCOMPARE(enabled, (QList<bool>{true, false, true}));

    // "Período" runs the statement dialog modally over the ledger.
    QString opened;
    QWidget *parent = nullptr;
    Modal::ScopedHandler handler([&](QDialog *d) {
        opened = d->objectName();
        parent = d->parentWidget();
        return int(QDialog::Rejected);
    });
    menu->actions().at(0)->trigger();
    QCOMPARE(opened, QStringLiteral("FCaixa_Relatorio2_OP02"));
    QCOMPARE(parent, static_cast<QWidget *>(&s.w));
}

void TstLedger::currentLedgerWindow()
{
    Fixture f;
    REQUIRE_DB(f.db);
    f.exec("INSERT INTO contacorrente (controle, fornecedor, conta, banco, agencia, codigoconta) "
           "VALUES (1, 'ALFA', '12345-6', 'BRADESCO', '0123', 1), (2, 'BETA', NULL, NULL, NULL, "
           "NULL)");
    QCOMPARE(LedgerWindow::current(), nullptr);
    {
        Screen s;
        LedgerWindow *ledger = LedgerWindow::current();
        QCOMPARE(ledger, static_cast<LedgerWindow *>(&s.w));
        QCOMPARE(ledger->ledgerWidget(), static_cast<QWidget *>(&s.w));
        QCOMPARE(ledger->movements(), s.w.movements());
        QCOMPARE(ledger->accounts(), s.w.accounts());
        s.w.movements()->locate("controle", 1);
        const LedgerWindow::Account a = ledger->currentAccount();
        QCOMPARE(a.codigoconta.toInt(), 1);
        QCOMPARE(a.conta, QStringLiteral("12345-6"));
        QCOMPARE(a.banco, QStringLiteral("BRADESCO"));
        QCOMPARE(a.agencia, QStringLiteral("0123"));

        // Rows written meanwhile come in with the query as last searched,
        // and the list stands on the last one.
        typeInto(s.w.searchEdit(), "A");
        s.w.buscaFornecedor();
        f.exec("INSERT INTO contacorrente (controle, fornecedor) VALUES (3, 'AZUL'), (4, 'CEU')");
        ledger->rereadMovements();
        QCOMPARE(s.controles(), (QList<int>{1, 3}));
        QCOMPARE(s.w.movements()->value("controle").toInt(), 3);
    }
    QCOMPARE(LedgerWindow::current(), nullptr);
}

void TstLedger::mainMenuOpensTheLedger()
{
    Fixture f;
    REQUIRE_DB(f.db);
    // Whatever stood under "Período" before, the ledger's own dialog does.
    QStringList stale;
    MenuActions::set(MenuActions::LedgerReports, MenuActions::LedgerStatement,
                     [&](QWidget *) { stale << "stale"; });
    FrmPrincipal main;
    bool ledgerShown = false;
    QStringList opened;
    Modal::ScopedHandler handler([&](QDialog *d) {
        opened << d->objectName();
        if (auto *ledger = qobject_cast<FrmContaCorrente *>(d)) {
            ledgerShown = (ledger->windowState() & Qt::WindowMaximized) &&
                          LedgerWindow::current() == static_cast<LedgerWindow *>(ledger);
            ledger->reportMenu()->actions().at(0)->trigger();
        }
        return int(QDialog::Rejected);
    });
    main.BtnCorrenteClick();
    QVERIFY(ledgerShown);
    QCOMPARE(opened, (QStringList{"FrmContaCorrente", "FCaixa_Relatorio2_OP02"}));
    QCOMPARE(stale, QStringList());
    QCOMPARE(LedgerWindow::current(), nullptr);
}

CP_TEST(TstLedger)
#include "tst_ledger.moc"
