// The bank accounts: a new account and its opening movement in the ledger
// (one operation: a failing ledger row leaves no account), "Alterar" and the
// classification boxes writing no second movement, the locked controls, the
// searches and their messages, deleting an account.

#include "ProgramFixture.h"
#include "ScriptedMessages.h"
#include "TestMain.h"
#include "db/RecordSet.h"
#include "registries/FrmConta.h"
#include "widgets/BigToolBar.h"
#include "widgets/DataGrid.h"
#include "widgets/DateEdit.h"
#include "widgets/LookupCombo.h"
#include "widgets/MoneyEdit.h"
#include "widgets/UpperEdit.h"

#include <QPushButton>
#include <QRadioButton>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QtTest>

namespace {

struct Fixture : ProgramFixture
{
    Fixture() : ProgramFixture(QDateTime(QDate(2024, 4, 29), QTime(14, 5, 30)), "BEATRIZ")
    {
        if (!db.ok())
            return;
        exec("insert into filial (Codigofilial, Nomefilial) values (1, 'MATRIZ'), (2, 'LOJA "
             "NORTE')");
        exec("insert into tipos (CODIGOTIPO, DESCTIPO) values (1, 'BOLETO'), (2, 'DEBITO "
             "AUTOMATICO')");
        exec("insert into contagerencial (codigogerencial, Gerencial) values (1, 'ALUGUEL'), (2, "
             "'BANCOS')");
        exec("insert into tipodespesa (codigodespesa, despesa) values (1, 'ENERGIA'), (2, "
             "'TARIFAS')");
    }
    // The ledger rows as "column=value" texts, in key order.
    QStringList ledger(const QStringList &columns)
    {
        QStringList rows;
        QSqlQuery q(db.sql());
        q.exec("select " + columns.join(", ") + " from contacorrente order by controle");
        while (q.next()) {
            QStringList cells;
            for (int i = 0; i < columns.size(); ++i)
                cells << columns[i] + "=" + (q.isNull(i) ? "NULL" : q.value(i).toString());
            rows << cells.join(" ");
        }
        return rows;
    }
};

void choose(LookupCombo *box, const QString &text)
{
    const int i = box->findText(text);
    QVERIFY2(i >= 0, qPrintable(text));
    box->setCurrentIndex(i);
    emit box->activated(i);
}

void type(QLineEdit *edit, const QString &text)
{
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

struct Window
{
    Window()
    {
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
    }
    ~Window()
    {
        w.accounts()->cancel();
        if (w.isVisible())
            w.reject();
    }
    // A new account typed as a clerk does; amounts as typed ("" leaves them).
    void newAccount(const QString &credito, const QString &debito, bool credit)
    {
        w.incluir();
        type(w.bancoEdit(), "bradesco");
        type(w.agenciaEdit(), "0123");
        type(w.contaEdit(), "45678-9");
        type(w.dataEdit(), "01042024");
        choose(w.filialBox(), "LOJA NORTE");
        (credit ? w.creditoButton() : w.debitoButton())->click();
        if (!credito.isEmpty())
            type(w.creditoEdit(), credito);
        if (!debito.isEmpty())
            type(w.debitoEdit(), debito);
        choose(w.tipoBox(), "DEBITO AUTOMATICO");
        choose(w.gerencialBox(), "BANCOS");
        choose(w.despesaBox(), "TARIFAS");
    }
    FrmConta w;
};

const QStringList kLedgerColumns{"codigoconta", "valor", "debito", "es"};

} // namespace

class TstConta : public QObject
{
    Q_OBJECT
private slots:
    void openingMovement_data();
    void openingMovement();
    void movementCarriesTheAccount();
    void alterarWritesNoSecondMovement();
    void failingLedgerRowLeavesNoAccount();
    void searches_data();
    void searches();
    void deleteLeavesTheLedger();
};

void TstConta::openingMovement_data()
{
    QTest::addColumn<QString>("credito");
    QTest::addColumn<QString>("debito");
    QTest::addColumn<bool>("credit");
    QTest::addColumn<QString>("movement");
    QTest::newRow("credit 0, debit 150,00")
        << "0"
        << "150,00" << false << "codigoconta=3 valor=NULL debito=150 es=S";
    QTest::newRow("both filled: the credit alone")
        << "1.000,50"
        << "150,00" << true << "codigoconta=3 valor=1000.5 debito=NULL es=E";
    QTest::newRow("credit only") << "2500"
                                 << "" << true << "codigoconta=3 valor=2500 debito=NULL es=E";
}

void TstConta::openingMovement()
{
    QFETCH(QString, credito);
    QFETCH(QString, debito);
    QFETCH(bool, credit);
    QFETCH(QString, movement);
    Fixture f;
    REQUIRE_DB(f.db);
    // Accounts already listed: the grid has rows to move to while the typed
    // row gives way to the stored one.
    f.exec("insert into conta (codigoconta, banco) values (1, 'CAIXA'), (2, 'SANTANDER')");
    Window win;
    ScriptedMessages boxes;
    QVERIFY(!win.w.accountControlsUnlocked());
    win.newAccount(credito, debito, credit);
    QVERIFY(win.w.accountControlsUnlocked());
    QVERIFY(win.w.editBar()->isVisible() && !win.w.mainBar()->isVisible());
    win.w.salvar();
    QCOMPARE(boxes.texts(), QStringList());
    QCOMPARE(f.count("conta"), 3);
    QCOMPARE(f.ledger(kLedgerColumns), QStringList{movement});
    // Back to browsing, locked, the new account current in the list.
    QVERIFY(!win.w.editBar()->isVisible() && win.w.mainBar()->isVisible());
    QVERIFY(!win.w.accountControlsUnlocked());
    QVERIFY(win.w.bancoEdit()->isReadOnly());
    QCOMPARE(win.w.accounts()->value("codigoconta").toInt(), 3);
    QCOMPARE(win.w.accounts()->state(), RecordSet::State::Browse);
}

void TstConta::movementCarriesTheAccount()
{
    Fixture f;
    REQUIRE_DB(f.db);
    Window win;
    ScriptedMessages boxes;
    win.newAccount("0", "150,00", false);
    win.w.salvar();
    QCOMPARE(boxes.texts(), QStringList());
    QSqlQuery a(f.db.sql());
    QVERIFY(a.exec("select banco, agencia, conta, data, ES, valor, debito, codigofilial, filial, "
                   "codigotipo, codigogerencial, gerencial, codigodespesa, descricaodespesa, "
                   "usuario from conta") &&
            a.next());
    QStringList account;
    for (int i = 0; i < a.record().count(); ++i)
        account << (a.isNull(i) ? "NULL" : a.value(i).toString());
    QCOMPARE(account,
             (QStringList{"BRADESCO", "0123", "45678-9", "2024-04-01", "S", "0", "150", "2",
                          "LOJA NORTE", "2", "2", "BANCOS", "2", "TARIFAS", "BEATRIZ"}));
    const QStringList columns{
        "codigoconta",     "banco",          "agencia",        "conta",        "codigofilial",
        "filial",          "datalancamento", "datavencimento", "dataquitacao", "es",
        "codigogerencial", "gerencial",      "codigotipo",     "tipo",         "codigotipodespesa",
        "tipodespesa",     "especie",        "hora",           "valor",        "debito",
        "codigodespesa",   "usuario"};
    QCOMPARE(f.ledger(columns),
             QStringList{"codigoconta=1 banco=BRADESCO agencia=0123 conta=45678-9 "
                         "codigofilial=2 filial=LOJA NORTE datalancamento=2024-04-01 "
                         "datavencimento=2024-04-01 dataquitacao=2024-04-01 es=S "
                         "codigogerencial=2 gerencial=BANCOS codigotipo=2 "
                         "tipo=DEBITO AUTOMATICO codigotipodespesa=2 tipodespesa=TARIFAS "
                         "especie=DINHEIRO hora=14:05:30 valor=NULL debito=150 "
                         "codigodespesa=NULL usuario=NULL"});
}

void TstConta::alterarWritesNoSecondMovement()
{
    Fixture f;
    REQUIRE_DB(f.db);
    Window win;
    ScriptedMessages boxes;
    win.newAccount("500", "", true);
    win.w.salvar();
    QCOMPARE(f.ledger(kLedgerColumns).size(), 1);

    // "Alterar": the account controls stay locked; the classification changes.
    win.w.alterar();
    QVERIFY(win.w.editBar()->isVisible());
    QVERIFY(!win.w.accountControlsUnlocked());
    QVERIFY(win.w.bancoEdit()->isReadOnly() && win.w.creditoEdit()->isReadOnly());
    QVERIFY(!win.w.filialBox()->isEnabled());
    choose(win.w.gerencialBox(), "ALUGUEL");
    win.w.salvar();
    QCOMPARE(f.scalar("select gerencial from conta").toString(), QString("ALUGUEL"));

    // A choice in a box starts the edit by itself; saving writes no movement either.
    QVERIFY(win.w.mainBar()->isVisible());
    choose(win.w.despesaBox(), "ENERGIA");
    QCOMPARE(win.w.accounts()->state(), RecordSet::State::Edit);
    QVERIFY(win.w.editBar()->isVisible() && !win.w.mainBar()->isVisible());
    win.w.salvar();
    QCOMPARE(f.scalar("select concat(descricaodespesa, '/', codigodespesa) from conta").toString(),
             QString("ENERGIA/1"));
    QCOMPARE(f.ledger(kLedgerColumns), QStringList{"codigoconta=1 valor=500 debito=NULL es=E"});
    QCOMPARE(boxes.texts(), QStringList());
}

void TstConta::failingLedgerRowLeavesNoAccount()
{
    Fixture f;
    REQUIRE_DB(f.db);
    // The ledger refuses every row, the way a full or locked table would.
    f.exec("create trigger recusa before insert on contacorrente for each row "
           "signal sqlstate '45000' set message_text = 'livro indisponivel'");
    Window win;
    ScriptedMessages boxes;
    win.newAccount("0", "150,00", false);
    win.w.salvar();
    QCOMPARE(boxes.boxes.size(), 1);
    QVERIFY2(boxes.boxes[0].text.contains("livro indisponivel"), qPrintable(boxes.boxes[0].text));
    QCOMPARE(f.count("conta"), 0);
    QCOMPARE(f.count("contacorrente"), 0);
    // Nothing typed is lost: the new account is still being entered.
    QCOMPARE(win.w.accounts()->state(), RecordSet::State::Insert);
    QVERIFY(win.w.editBar()->isVisible());
    QVERIFY(win.w.accountControlsUnlocked());
    QCOMPARE(win.w.bancoEdit()->text(), QString("BRADESCO"));

    // Once the ledger takes rows again, one save writes both, once.
    f.exec("drop trigger recusa");
    win.w.salvar();
    QCOMPARE(f.count("conta"), 1);
    QCOMPARE(f.ledger(kLedgerColumns), QStringList{"codigoconta=2 valor=NULL debito=150 es=S"});
    QCOMPARE(f.scalar("select codigoconta from conta").toInt(), 2);
}

void TstConta::searches_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("banks");
    QTest::addColumn<QString>("message");
    QTest::newRow("bank prefix, by bank") << "btnBanco"
                                          << "BRA" << QStringList{"BRADESCO", "BRASIL"} << "";
    QTest::newRow("bank typed with a quote") << "btnBanco"
                                             << "D'A" << QStringList{"D'AVILA"} << "";
    QTest::newRow("bank empty") << "btnBanco"
                                << "" << QStringList{} << "Banco em Branco !!!";
    QTest::newRow("number, by number") << "btnConta"
                                       << "1" << QStringList{"BRASIL", "BRADESCO"} << "";
    QTest::newRow("number empty") << "btnConta"
                                  << "" << QStringList{} << "Nº da Conta em Branco !!!";
    QTest::newRow("agency") << "btnAgencia"
                            << "0123" << QStringList{"BRADESCO"} << "";
    QTest::newRow("agency empty") << "btnAgencia"
                                  << "" << QStringList{} << "Agência em Branco !!!";
    QTest::newRow("nothing found, no message") << "btnBanco"
                                               << "ZZ" << QStringList{} << "";
}

void TstConta::searches()
{
    QFETCH(QString, button);
    QFETCH(QString, typed);
    QFETCH(QStringList, banks);
    QFETCH(QString, message);
    Fixture f;
    REQUIRE_DB(f.db);
    f.exec("insert into conta (banco, agencia, conta) values ('BRASIL', '4321', '111'), "
           "('BRADESCO', '0123', '125'), ('ITAU', '9999', '999'), ('D''AVILA', '5555', '500')");
    Window win;
    QCOMPARE(win.w.accounts()->recordCount(), 4);
    QVERIFY(win.w.searchEdit()->hasFocus());
    ScriptedMessages boxes;
    type(win.w.searchEdit(), typed);
    QTest::mouseClick(win.w.findChild<QPushButton *>(button), Qt::LeftButton);
    QStringList found;
    for (int i = 0; i < win.w.accounts()->recordCount(); ++i)
        found << win.w.accounts()->valueAt(i, "banco").toString();
    QCOMPARE(found, banks);
    QCOMPARE(boxes.texts(), message.isEmpty() ? QStringList() : QStringList{message});
    if (!message.isEmpty()) {
        QCOMPARE(boxes.boxes[0].title, QString("Atenção"));
        QVERIFY(win.w.searchEdit()->hasFocus());
    }
}

void TstConta::deleteLeavesTheLedger()
{
    Fixture f;
    REQUIRE_DB(f.db);
    Window win;
    ScriptedMessages boxes;
    win.newAccount("300", "", true);
    win.w.salvar();
    boxes.answers = {QMessageBox::No, QMessageBox::Yes};
    win.w.excluir();
    QCOMPARE(boxes.boxes.last().title, QString("Exclusão"));
    QCOMPARE(boxes.boxes.last().text, QString("Deseja excluir o Registro da Conta?"));
    QCOMPARE(f.count("conta"), 1);
    win.w.excluir();
    QCOMPARE(f.count("conta"), 0);
    QCOMPARE(f.count("contacorrente"), 1);
    QCOMPARE(boxes.unexpected, 0);
}

CP_TEST(TstConta)
#include "tst_conta.moc"
