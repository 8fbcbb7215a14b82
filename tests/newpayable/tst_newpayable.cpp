// The new-payable screen and its quick settlement dialog: the states of the
// screen, the checks before anything is written, the instalment rows, the
// bills paid at entry (today, or on a date picked in the dialog) and what a
// database failure leaves behind, checked on what the clerk sees and on the
// rows that land in the database.

#include "FaultProxy.h"
#include "ProgramFixture.h"
#include "ScriptedMessages.h"
#include "TestDb.h"
#include "TestMain.h"
#include "app/DM.h"
#include "app/Globals.h"
#include "db/DisplayFormat.h"
#include "payables/FrmBaixaPagar.h"
#include "payables/frmPagarManutencao.h"
#include "payables/frmPagarNovo.h"
#include "registries/PickList.h"
#include "registries/PickLists.h"
#include "widgets/BigToolBar.h"
#include "widgets/Clock.h"
#include "widgets/DateEdit.h"
#include "widgets/Modal.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTabWidget>
#include <QtTest>

#include <functional>

using namespace PickLists::Entry;

namespace {

const QDate kToday(2024, 4, 29);
const QDate kEmissao(2024, 1, 10);
const QString kUser = QStringLiteral("MARIA DAS DORES");

using Row = QVariantMap; // column names in lower case

struct Fixture : ProgramFixture
{
    Fixture() : ProgramFixture(QDateTime(kToday, QTime(10, 0, 0)), kUser)
    {
        if (!db.ok())
            return;
        exec("INSERT INTO fornecedor (CodigoFornecedor, Nome, CodigoTipo, Tipos, CodigoGerencial, "
             "Gerencial) VALUES (12, 'SILVA & CIA', 3, 'BOLETO', 7, 'MATERIAIS'), "
             "(20, 'BETA SEM PADRAO', NULL, NULL, NULL, NULL)");
        exec("INSERT INTO filial (Codigofilial, Nomefilial) VALUES (1, 'MATRIZ'), (2, 'FILIAL "
             "SUL')");
        exec("INSERT INTO contagerencial (codigogerencial, Gerencial) VALUES (7, 'MATERIAIS'), "
             "(8, 'SERVICOS')");
        exec("INSERT INTO tipos (CODIGOTIPO, DESCTIPO) VALUES (3, 'BOLETO'), (5, 'PIX')");
        exec("INSERT INTO tipodespesa (codigodespesa, despesa) VALUES (1, 'ALUGUEL'), (2, "
             "'ENERGIA')");
    }
    QList<Row> rows(const QString &table)
    {
        QList<Row> out;
        QSqlQuery q(db.sql());
        if (!q.exec("select * from " + table + " order by Controle"))
            qFatal("%s", qPrintable(q.lastError().text()));
        while (q.next()) {
            Row r;
            const QSqlRecord rec = q.record();
            for (int i = 0; i < rec.count(); ++i)
                r.insert(rec.fieldName(i).toLower(), q.value(i));
            out << r;
        }
        return out;
    }
    void failOn(const QString &table, const QString &condition)
    {
        exec(QString("CREATE TRIGGER falha BEFORE INSERT ON %1 FOR EACH ROW BEGIN IF %2 THEN "
                     "SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'gravacao recusada'; END IF; END")
                 .arg(table, condition));
    }
};

// Takes every window opened modally: the pick lists, the quick settlement
// dialog and further maintenance screens. Each is shown and handed to the
// step the test set for its kind; without one it is closed as cancelled.
struct Driver
{
    std::function<void(PickList *)> onPick;
    std::function<void(FrmBaixaPagar *)> onBaixa;
    std::function<void(frmPagarManutencao *)> onHub;
    std::function<void(frmPagarNovo *)> onNovo;
    QList<PickLists::Member> picks;
    int baixaShown = 0;
    Modal::ScopedHandler guard{[this](QDialog *d) {
        d->show();
        if (auto *p = qobject_cast<PickList *>(d)) {
            picks << p->member().member;
            onPick ? onPick(p) : p->cancelPick();
        } else if (auto *b = qobject_cast<FrmBaixaPagar *>(d)) {
            ++baixaShown;
            onBaixa ? onBaixa(b) : b->reject();
        } else if (auto *n = qobject_cast<frmPagarNovo *>(d)) {
            QCoreApplication::processEvents(); // the supplier pick list comes up
            if (onNovo)
                onNovo(n);
        } else if (auto *h = qobject_cast<frmPagarManutencao *>(d)) {
            onHub ? onHub(h) : h->reject();
        }
        return d->result();
    }};
};

// Fills the screen as the pick lists and the clerk would.
void fill(frmPagarNovo &w, const QString &nota, const QString &total, const QString &parcelas,
          const QString &data = "10/01/2024")
{
    w.setEntryField(CodigoFornecedor, 12);
    w.setEntryField(NomeFornecedor, "SILVA & CIA");
    w.setEntryField(CodigoTipo, 3);
    w.setEntryField(DescTipo, "BOLETO");
    w.setEntryField(CodigoGerencial, 7);
    w.setEntryField(DescGerencial, "MATERIAIS");
    w.setEntryField(CodigoFilial, 1);
    w.setEntryField(NomeFilial, "MATRIZ");
    w.setEntryField(CodigoDespesa, 1);
    w.setEntryField(DescDespesa, "ALUGUEL");
    w.notaEdit()->setText(nota);
    w.dataEmissao()->setText(data);
    w.valorEdit()->setText(total);
    w.parcelasEdit()->setText(parcelas);
    w.memo()->setPlainText("pago em dinheiro");
}

// The hub and the screen over it, shown as the hub's "Inclusão" shows it
// (the supplier pick list that comes up is cancelled by the driver).
struct Screen
{
    frmPagarManutencao hub;
    frmPagarNovo w{hub.lookups(), &hub};
    Screen()
    {
        hub.follow(&w);
        hub.userLabel()->setText(kUser);
        w.show();
        QCoreApplication::processEvents();
    }
};

const QString kPixCnpj = "00020126360014br.gov.bcb.pix01141234567800019552040000530398654071500.50"
                         "5802BR5918ACME COMERCIO LTDA6009SAO PAULO62110507NF1234563046BBD";
const QString kPixDynamic =
    "00020101021226790014br.gov.bcb.pix2557qr.example.com.br/pix/v2/9d36b84fc70b478fb95c"
    "12729b90ca255204000053039865802BR5918EMPRESA EXEMPLO SA6008CURITIBA62070503***63040826";

// What a barcode reader does: the digits, then Enter.
void readCode(frmPagarNovo &w, const QString &code)
{
    w.codigoBarrasEdit()->setFocus();
    w.codigoBarrasEdit()->setText(code);
    QTest::keyClick(w.codigoBarrasEdit(), Qt::Key_Return);
}

void checkOpenInstalmentColumns(const Row &r)
{
    QCOMPARE(r["dataemissao"].toDate(), kEmissao);
    QCOMPARE(r["pago"].toString(), QString("N"));
    QCOMPARE(r["negociacao"].toString(), QString("N"));
    QCOMPARE(r["codigofornecedor"].toDouble(), 12.0);
    QCOMPARE(r["nomefornecedor"].toString(), r["nome"].toString());
    QCOMPARE(r["codigofilial"].toDouble(), 1.0);
    QCOMPARE(r["nomefilial"].toString(), QString("MATRIZ"));
    QCOMPARE(r["filial"].toString(), QString("MATRIZ"));
    QCOMPARE(r["codigogerencial"].toDouble(), 7.0);
    QCOMPARE(r["gerencial"].toString(), QString("MATERIAIS"));
    QCOMPARE(r["gerenial"].toString(), QString("MATERIAIS"));
    QCOMPARE(r["codigotipo"].toDouble(), 3.0);
    QCOMPARE(r["tipo"].toString(), QString("BOLETO"));
    QCOMPARE(r["codigodespesa"].toDouble(), 1.0);
    QCOMPARE(r["despesa"].toString(), QString("ALUGUEL"));
    QCOMPARE(r["obs"].toString(), QString("pago em dinheiro"));
    QCOMPARE(r["usuario"].toString(), kUser);
    QCOMPARE(r["horalanc"].toString(), QString("10:00:00"));
    for (const char *unset : {"dataquitacao", "totalpg", "valorpg", "especie", "horaquitado",
                              "desconto", "codigoparcela", "descparcela", "controles"})
        QVERIFY2(r[unset].isNull(), unset);
}

// The settled payable, its cash-ledger row and its hand-off row.
void checkSettledRows(Fixture &f, const QString &nota, double valor, double total,
                      const QDate &quitacao)
{
    const QList<Row> pagar = f.rows("pagar");
    QCOMPARE(pagar.size(), 1);
    const Row &p = pagar[0];
    QCOMPARE(p["nota"].toString(), nota);
    QCOMPARE(p["notacontrole"].toString(), nota + "/1");
    QCOMPARE(p["condicao"].toString(), QString("1º PARCELA"));
    QCOMPARE(p["dataemissao"].toDate(), kEmissao);
    QCOMPARE(p["datavenc"].toDate(), kEmissao);
    QCOMPARE(p["dataquitacao"].toDate(), quitacao);
    QCOMPARE(p["valor"].toDouble(), valor);
    QCOMPARE(p["totalpg"].toDouble(), valor);
    QCOMPARE(p["total"].toDouble(), total);
    QCOMPARE(p["parcelas"].toDouble(), 0.0);
    QCOMPARE(p["pago"].toString(), QString("S"));
    QCOMPARE(p["especie"].toString(), QString("Pagamento Pagar"));
    QCOMPARE(p["nome"].toString(), QString("SILVA & CIA"));
    QCOMPARE(p["nomefornecedor"].toString(), QString("SILVA & CIA"));
    QCOMPARE(p["filial"].toString(), QString("MATRIZ"));
    QCOMPARE(p["gerenial"].toString(), QString("MATERIAIS"));
    QCOMPARE(p["tipo"].toString(), QString("BOLETO"));
    QCOMPARE(p["despesa"].toString(), QString("ALUGUEL"));
    QCOMPARE(p["usuario"].toString(), kUser);
    QCOMPARE(p["horalanc"].toString(), QString("10:00:00"));
    QCOMPARE(p["horaquitado"].toString(), QString("10:00:00"));
    QVERIFY(p["valorpg"].isNull());

    const QList<Row> caixa = f.rows("caixa");
    QCOMPARE(caixa.size(), 1);
    const Row &c = caixa[0];
    QCOMPARE(c["tipo"].toString(), QString("DEBITO"));
    QCOMPARE(c["descricao"].toString(), QString("SILVA & CIA"));
    QCOMPARE(c["opcao"].toString(), QString("2"));
    QCOMPARE(c["tp"].toString(), QString("1"));
    QCOMPARE(c["es"].toString(), QString("S"));
    QCOMPARE(c["codigonota"].toString(), nota + "/1");
    QCOMPARE(c["codigocliente"].toDouble(), 12.0);
    QCOMPARE(c["usuario"].toString(), kUser);
    QCOMPARE(c["nomefuncionario"].toString(), kUser);
    QCOMPARE(c["nomefunciionario"].toString(), kUser);
    QCOMPARE(c["data"].toDate(), kToday);
    QCOMPARE(c["debito"].toDouble(), total);
    QCOMPARE(c["valor"].toDouble(), total);
    QCOMPARE(c["hora"].toString(), QString("10:00:00"));
    QCOMPARE(c["especie"].toString(), QString("Pagamento Pagar Dinheiro"));
    QCOMPARE(c["condicao"].toString(), QString("Pagamento Pagar Dinheiro"));
    QCOMPARE(c["filial"].toString(), QString("MATRIZ"));
    QCOMPARE(c["codigofilial"].toDouble(), 1.0);

    const QList<Row> temp = f.rows("caixatemp");
    QCOMPARE(temp.size(), 1);
    const Row &t = temp[0];
    QCOMPARE(t["tipo"].toString(), QString("CREDITO"));
    QCOMPARE(t["descricao"].toString(), QString("SILVA & CIA"));
    QCOMPARE(t["opcao"].toString(), QString("2"));
    QCOMPARE(t["tp"].toString(), QString("1"));
    QCOMPARE(t["es"].toString(), QString("S"));
    QCOMPARE(t["codigonota"].toString(), nota + "/1");
    QCOMPARE(t["codigocliente"].toDouble(), 12.0);
    QCOMPARE(t["data"].toDate(), kToday);
    QCOMPARE(t["debito"].toDouble(), total);
    QVERIFY(t["credito"].isNull());
    QCOMPARE(t["usuario"].toString(), kUser);
    QCOMPARE(t["especie"].toString(), QString("Pagamento Pagar Dinheiro"));
    QCOMPARE(t["condicao"].toString(), QString("BAIXA CONTA A PAGAR"));
}

// After a generation the hub lists the payables of the note and the screen is closed.
void checkFinished(Screen &s, const QString &pattern, int listed)
{
    QVERIFY(!s.w.isVisible());
    QCOMPARE(s.w.result(), int(QDialog::Accepted));
    RecordSet *list = s.hub.tbPagar();
    QVERIFY(list->isOpen());
    QVERIFY(list->sql().contains("where nota like(:nota)"));
    QCOMPARE(list->param("nota").toString(), pattern);
    QCOMPARE(list->recordCount(), listed);
}

} // namespace

class TstNewPayable : public QObject
{
    Q_OBJECT
private slots:
    void cleanup();

    void showIncluirAndCancel();
    void supplierDefaultsAndOverrides();
    void validation_data();
    void validation();
    void refusedDateThenCorrectedGenerates_data();
    void refusedDateThenCorrectedGenerates();
    void unknownOutcomeEndsTheEntry();
    void valorFlagsBadInput();
    void instalments_data();
    void instalments();
    void countRoundingToNoRows_data();
    void countRoundingToNoRows();
    void settledAtEntry_data();
    void settledAtEntry();
    void quickSettlementCancelledWritesNothing();
    void quickSettlementDateChecks_data();
    void quickSettlementDateChecks();
    void failureWritesNothing_data();
    void failureWritesNothing();
    void quickSettlementFailureKeepsDialogOpen();
    void openAndFurtherMaintenance();
    void programInstance();
    void paymentCodeFillsTheEntry_data();
    void paymentCodeFillsTheEntry();
    void refusedPaymentCodeFillsNothing_data();
    void refusedPaymentCodeFillsNothing();
    void pixKeyProposesSupplier_data();
    void pixKeyProposesSupplier();
};

void TstNewPayable::cleanup()
{
    Modal::setHandler({});
}

void TstNewPayable::showIncluirAndCancel()
{
    Fixture f;
    REQUIRE_DB(f.db);
    Driver driver;
    frmPagarManutencao hub;
    frmPagarNovo w(hub.lookups(), &hub);
    hub.follow(&w);
    QVERIFY(w.page()->isHidden()); // hidden until the window is shown
    w.show();
    QCoreApplication::processEvents();

    // Showing: the entry state, the hub's lists open, the supplier pick list at once.
    QCOMPARE(driver.picks, QList<PickLists::Member>{PickLists::Member::frmL_Fornecedor});
    QVERIFY(w.page()->isVisible());
    QVERIFY(w.bar2()->isVisible());
    QVERIFY(!w.bar1()->isVisible());
    QVERIFY(!w.bar3()->isVisible());
    QVERIFY(w.BitBtn1()->isEnabled());
    QVERIFY(hub.tbPagar()->isOpen());
    QVERIFY(hub.lookups()->tbfornecedor->isOpen());
    QVERIFY(hub.lookups()->MyTipoDespesa->isOpen());
    QCOMPARE(w.parcelasEdit()->text(), QString("00"));
    QCOMPARE(w.valorEdit()->text(), QString("0,00"));
    for (QLineEdit *e : {w.codigoFornecedor(), w.codigoGerencial(), w.codigoFilial(),
                         w.codigoTipo(), w.codigoDespesa()})
        QCOMPARE(e->text(), QString("0"));
    QCOMPARE(w.findChildren<QLabel *>("lblInstrucao").size(), 3);

    // "Incluir" clears everything but the cost-centre code and opens the pick list again.
    fill(w, "4711", "100,00", "3");
    w.ToolButton1Click();
    QCOMPARE(driver.picks.size(), 2);
    QVERIFY(w.dataEmissao()->isEmpty());
    QVERIFY(w.notaEdit()->text().isEmpty());
    QVERIFY(w.memo()->toPlainText().isEmpty());
    for (QLineEdit *e :
         {w.nomeFornecedor(), w.nomeFilial(), w.descTipo(), w.descDespesa(), w.descGerencial()})
        QVERIFY(e->text().isEmpty());
    for (QLineEdit *e : {w.codigoFornecedor(), w.codigoFilial(), w.codigoTipo(), w.codigoDespesa()})
        QCOMPARE(e->text(), QString("0"));
    QCOMPARE(w.codigoGerencial()->text(), QString("7"));
    QCOMPARE(w.parcelasEdit()->text(), QString("00"));
    QCOMPARE(w.valorEdit()->text(), QString("0,00"));

    // "Cancelar" cancels the data module's pending edit, keeps branch and cost
    // centre, and goes idle with the page hidden.
    fill(w, "4711", "100,00", "3");
    f.dm.tbPagar->open();
    f.dm.tbPagar->append();
    w.ToolButton8Click();
    QVERIFY(!f.dm.tbPagar->isEditing());
    QVERIFY(!w.page()->isVisible());
    QVERIFY(!w.bar2()->isVisible());
    QVERIFY(w.bar1()->isVisible());
    QVERIFY(w.bar3()->isVisible());
    QVERIFY(w.dataEmissao()->isEmpty());
    QVERIFY(w.notaEdit()->text().isEmpty());
    QVERIFY(w.memo()->toPlainText().isEmpty());
    for (QLineEdit *e : {w.nomeFornecedor(), w.descTipo(), w.descDespesa()})
        QVERIFY(e->text().isEmpty());
    for (QLineEdit *e : {w.codigoFornecedor(), w.codigoTipo(), w.codigoDespesa()})
        QCOMPARE(e->text(), QString("0"));
    QCOMPARE(w.codigoFilial()->text(), QString("1"));
    QCOMPARE(w.nomeFilial()->text(), QString("MATRIZ"));
    QCOMPARE(w.codigoGerencial()->text(), QString("7"));
    QCOMPARE(w.descGerencial()->text(), QString("MATERIAIS"));

    // "Incluir" comes back to the entry; closing writes nothing.
    w.ToolButton1Click();
    QVERIFY(w.page()->isVisible());
    QVERIFY(w.bar2()->isVisible());
    fill(w, "4711", "100,00", "3");
    w.ToolButton5Click();
    QVERIFY(!w.isVisible());
    QCOMPARE(w.result(), int(QDialog::Rejected));
    QCOMPARE(f.count("pagar"), 0);
}

void TstNewPayable::supplierDefaultsAndOverrides()
{
    Fixture f;
    REQUIRE_DB(f.db);
    Driver driver;
    QMap<PickLists::Member, std::pair<QString, int>> choose = {
        {PickLists::Member::frmL_Fornecedor, {"CodigoFornecedor", 12}},
        {PickLists::Member::FrmL_TipoDespesa, {"CODIGOTIPO", 5}},
        {PickLists::Member::FrmL_CustoPagar01, {"codigogerencial", 8}},
        {PickLists::Member::FrmL_FilialPagar02, {"Codigofilial", 2}},
        {PickLists::Member::FrmL_DespesaPagar, {"codigodespesa", 2}},
    };
    driver.onPick = [&](PickList *p) {
        const auto [field, code] = choose.value(p->member().member);
        QVERIFY(p->list()->locate(field, code));
        p->confirm();
    };
    Screen s;
    frmPagarNovo &w = s.w;
    // The supplier picked when the screen comes up brings its payment type and cost centre.
    QCOMPARE(w.codigoFornecedor()->text(), QString("12"));
    QCOMPARE(w.nomeFornecedor()->text(), QString("SILVA & CIA"));
    QCOMPARE(w.codigoTipo()->text(), QString("3"));
    QCOMPARE(w.descTipo()->text(), QString("BOLETO"));
    QCOMPARE(w.codigoGerencial()->text(), QString("7"));
    QCOMPARE(w.descGerencial()->text(), QString("MATERIAIS"));

    // Picked afterwards, they override the supplier's defaults.
    w.SpeedButton4Click();
    w.SpeedButton2Click();
    w.SpeedButton1Click();
    w.SpeedButton5Click();
    QCOMPARE(w.codigoTipo()->text(), QString("5"));
    QCOMPARE(w.descTipo()->text(), QString("PIX"));
    QCOMPARE(w.codigoGerencial()->text(), QString("8"));
    QCOMPARE(w.descGerencial()->text(), QString("SERVICOS"));
    QCOMPARE(w.nomeFilial()->text(), QString("FILIAL SUL"));
    QCOMPARE(w.descDespesa()->text(), QString("ENERGIA"));

    // A supplier without defaults, picked last, empties them again.
    choose[PickLists::Member::frmL_Fornecedor] = {"CodigoFornecedor", 20};
    w.SpeedButton3Click();
    QCOMPARE(w.nomeFornecedor()->text(), QString("BETA SEM PADRAO"));
    QCOMPARE(w.codigoTipo()->text(), QString("0"));
    QVERIFY(w.descTipo()->text().isEmpty());
    QVERIFY(w.descGerencial()->text().isEmpty());
}

void TstNewPayable::validation_data()
{
    QTest::addColumn<QVariantMap>("changes");
    QTest::addColumn<QString>("message");
    auto row = [](const char *name, QVariantMap changes, const char *message) {
        QTest::newRow(name) << changes << QString::fromUtf8(message);
    };
    row("supplier name", {{NomeFornecedor, ""}}, "Razão Social do Fornecedor em Branco !!!");
    row("supplier checked before branch", {{NomeFornecedor, ""}, {NomeFilial, ""}},
        "Razão Social do Fornecedor em Branco !!!");
    row("branch name", {{NomeFilial, ""}}, "Razão Social da Filial em Branco !!!");
    row("expense before cost centre", {{DescDespesa, ""}, {DescGerencial, ""}},
        "Descrição da Despesa em Branco !!!");
    row("cost centre", {{DescGerencial, ""}}, "Descrição da Central de Custo em Branco !!!");
    row("payment type before note", {{DescTipo, ""}, {"nota", ""}},
        "Descrição do Tipo de Pagamento em Branco !!!");
    row("note", {{"nota", ""}}, "Nº da Nota em Branco !!!");
    row("emission date before total", {{"data", ""}, {"valor", "0"}},
        "Data de Emissão em Branco !!!");
    row("total 0", {{"valor", "0"}}, "Valor da Nota em Branco !!!");
    row("total 0,00", {{"valor", "0,00"}}, "Valor da Nota em Branco !!!");
    row("total empty", {{"valor", ""}}, "Valor da Nota em Branco !!!");
    row("total not a number", {{"valor", "12a"}}, "Valor da Nota inválido: 12a !!!");
    row("impossible emission date", {{"data", "31/02/2024"}},
        "Data de Emissão inválida: 31/02/2024 !!!");
    row("half-typed emission date", {{"data", "10/01"}}, "Data de Emissão inválida: 10/01/ !!!");
    row("count not a number", {{"parcelas", "dois"}}, "Quantidade de Parcelas inválida: dois !!!");
}

void TstNewPayable::validation()
{
    QFETCH(QVariantMap, changes);
    QFETCH(QString, message);
    Fixture f;
    REQUIRE_DB(f.db);
    Driver driver;
    Screen s;
    fill(s.w, "4711", "100,00", "3");
    for (auto it = changes.begin(); it != changes.end(); ++it) {
        const QString v = it.value().toString();
        if (it.key() == "nota")
            s.w.notaEdit()->setText(v);
        else if (it.key() == "data")
            s.w.dataEmissao()->setText(v);
        else if (it.key() == "valor")
            s.w.valorEdit()->setText(v);
        else if (it.key() == "parcelas")
            s.w.parcelasEdit()->setText(v);
        else
            s.w.setEntryField(it.key(), v);
    }
    ScriptedMessages boxes;
    s.w.BitBtn1()->click();
    QCOMPARE(boxes.texts(), QStringList{message});
    QCOMPARE(boxes.boxes[0].title, QString("Atenção"));
    QCOMPARE(boxes.boxes[0].icon, QMessageBox::Warning);
    QCOMPARE(boxes.boxes[0].buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    // Nothing was written: "&Gerar" is there for the corrected entry.
    QVERIFY(s.w.BitBtn1()->isEnabled());
    QVERIFY(s.w.isVisible());
    QCOMPARE(s.w.notaEdit()->text(), changes.contains("nota") ? QString() : QString("4711"));
    QCOMPARE(f.count("pagar"), 0);
    QCOMPARE(driver.baixaShown, 0);
}

void TstNewPayable::refusedDateThenCorrectedGenerates_data()
{
    QTest::addColumn<bool>("toolButton");
    QTest::newRow("with the button") << false;
    QTest::newRow("with the tool button") << true;
}

void TstNewPayable::refusedDateThenCorrectedGenerates()
{
    QFETCH(bool, toolButton);
    Fixture f;
    REQUIRE_DB(f.db);
    Driver driver;
    Screen s;
    fill(s.w, "4711", "100,00", "2", "31/02/2024");
    ScriptedMessages boxes;
    s.w.BitBtn1()->click();
    QCOMPARE(boxes.texts(), QStringList{"Data de Emissão inválida: 31/02/2024 !!!"});
    QCOMPARE(f.count("pagar"), 0);
    QVERIFY(s.w.BitBtn1()->isEnabled());
    s.w.dataEmissao()->setText("10/01/2024");
    if (toolButton)
        s.w.gerarAction()->trigger();
    else
        QTest::mouseClick(s.w.BitBtn1(), Qt::LeftButton);
    QCOMPARE(boxes.boxes.size(), 1);
    QCOMPARE(f.count("pagar"), 2);
    checkFinished(s, "4711%", 2);
}

void TstNewPayable::unknownOutcomeEndsTheEntry()
{
    // The server commits, its answer never comes and it cannot be reached to
    // ask: the rows may be there, so "&Gerar" is not offered again and the
    // entry ends with the list showing what the server holds for the note.
    Fixture f;
    REQUIRE_DB(f.db);
    FaultProxy proxy(TestDb::serverSettings().port);
    QVERIFY(proxy.ok());
    ConnectionSettings viaProxy = TestDb::serverSettings(f.db.databaseName());
    viaProxy.unixSocket.clear();
    viaProxy.host = QStringLiteral("127.0.0.1");
    viaProxy.port = proxy.port();
    viaProxy.connectTimeoutSeconds = 2;
    viaProxy.readTimeoutSeconds = 2;
    f.dm.MyConnection1->close();
    f.dm.MyConnection1->setSettings(viaProxy);
    f.dm.MyConnection1->open();
    Driver driver;
    Screen s;
    fill(s.w, "4711", "100,00", "3");
    ScriptedMessages boxes; // every box here has OK alone
    proxy.stallAfter("COMMIT");
    s.w.BitBtn1()->click();
    proxy.resume();
    QVERIFY(!boxes.boxes.isEmpty());
    QCOMPARE(boxes.boxes[0].icon, QMessageBox::Critical);
    QVERIFY2(boxes.boxes[0].text.contains("não foi possível saber"),
             qPrintable(boxes.boxes[0].text));
    QVERIFY(!s.w.BitBtn1()->isEnabled());
    QVERIFY(!s.w.isVisible());
    QCOMPARE(s.w.result(), int(QDialog::Accepted));
    QCOMPARE(s.hub.tbPagar()->param("nota").toString(), QString("4711%"));
    QCOMPARE(f.count("pagar"), 3); // it was written, as "not known" allowed
}

void TstNewPayable::valorFlagsBadInput()
{
    Fixture f;
    REQUIRE_DB(f.db);
    Driver driver;
    Screen s;
    const QColor pink(255, 210, 210);
    QLineEdit *valor = s.w.valorEdit();
    valor->setFocus();
    valor->selectAll();
    QTest::keyClicks(valor, "12a");
    QVERIFY(valor->property("invalidInput").toBool());
    QCOMPARE(valor->palette().color(QPalette::Base), pink);
    QTest::keyClick(valor, Qt::Key_Backspace);
    QTest::keyClicks(valor, ",50");
    QCOMPARE(valor->text(), QString("12,50"));
    QVERIFY(!valor->property("invalidInput").toBool());
    QVERIFY(valor->palette().color(QPalette::Base) != pink);
}

void TstNewPayable::instalments_data()
{
    QTest::addColumn<QString>("nota");
    QTest::addColumn<QString>("supplier");
    QTest::addColumn<QString>("total");
    QTest::addColumn<QString>("parcelas");
    QTest::addColumn<QString>("notaStored");
    QTest::addColumn<QString>("nomeStored");
    QTest::addColumn<QStringList>("labels");
    QTest::addColumn<QStringList>("vencs");
    QTest::addColumn<double>("valor");
    QTest::addColumn<double>("totalStored");
    QTest::addColumn<double>("parcelasStored");
    const QString silva = "SILVA & CIA";
    QTest::newRow("3 of 100,00: rounding difference left alone")
        << "4711" << silva << "100,00"
        << "3"
        << "4711" << silva << QStringList{"4711/1", "4711/2", "4711/3"}
        << QStringList{"09/02/2024", "10/03/2024", "09/04/2024"} << 33.33 << 100.0 << 3.0;
    QTest::newRow("1 of 99,999: total rounded")
        << "4712" << silva << "99,999"
        << "01"
        << "4712" << silva << QStringList{"4712/1"} << QStringList{"09/02/2024"} << 100.0 << 99.999
        << 1.0;
    QTest::newRow("negative total, negative instalments")
        << "4713" << silva << "-50"
        << "2"
        << "4713" << silva << QStringList{"4713/1", "4713/2"}
        << QStringList{"09/02/2024", "10/03/2024"} << -25.0 << -50.0 << 2.0;
    QTest::newRow("count 0,5 rounds to one row")
        << "4714" << silva << "100"
        << "0,5"
        << "4714" << silva << QStringList{"4714/1"} << QStringList{"09/02/2024"} << 200.0 << 100.0
        << 0.5;
    const QString longName = QString("FORNECEDOR DE NOME MUITO COMPRIDO ").repeated(2);
    QTest::newRow("12-character note and long name cut")
        << "ABCDEFGHIJKL" << longName << "30"
        << "2"
        << "ABCDEFGHIJ" << longName.left(50) << QStringList{"ABCDEFGHIJ", "ABCDEFGHIJ"}
        << QStringList{"09/02/2024", "10/03/2024"} << 15.0 << 30.0 << 2.0;
    QTest::newRow("9-character note: label cut after the slash")
        << "123456789" << silva << "10"
        << "2"
        << "123456789" << silva << QStringList{"123456789/", "123456789/"}
        << QStringList{"09/02/2024", "10/03/2024"} << 5.0 << 10.0 << 2.0;
    QTest::newRow("note of blanks passes") << "   " << silva << "10"
                                           << "1"
                                           << "   " << silva << QStringList{"   /1"}
                                           << QStringList{"09/02/2024"} << 10.0 << 10.0 << 1.0;
}

void TstNewPayable::instalments()
{
    QFETCH(QString, nota);
    QFETCH(QString, supplier);
    QFETCH(QString, total);
    QFETCH(QString, parcelas);
    QFETCH(QString, notaStored);
    QFETCH(QString, nomeStored);
    QFETCH(QStringList, labels);
    QFETCH(QStringList, vencs);
    QFETCH(double, valor);
    QFETCH(double, totalStored);
    QFETCH(double, parcelasStored);
    Fixture f;
    REQUIRE_DB(f.db);
    f.exec("INSERT INTO pagar (Nota, notacontrole) VALUES ('9999', '9999/1')"); // another bill
    Driver driver;
    Screen s;
    fill(s.w, nota, total, parcelas);
    s.w.setEntryField(NomeFornecedor, supplier);
    ScriptedMessages boxes;
    s.w.BitBtn1()->click();
    QCOMPARE(boxes.boxes.size(), 0);

    QList<Row> rows = f.rows("pagar");
    rows.removeFirst();
    QCOMPARE(rows.size(), labels.size());
    for (int i = 0; i < rows.size(); ++i) {
        const Row &r = rows[i];
        QCOMPARE(r["nota"].toString(), notaStored);
        QCOMPARE(r["notacontrole"].toString(), labels[i]);
        QCOMPARE(r["condicao"].toString(), QString("%1º PARCELA").arg(i + 1));
        QCOMPARE(r["datavenc"].toDate().toString("dd/MM/yyyy"), vencs[i]);
        QCOMPARE(r["valor"].toDouble(), valor);
        QCOMPARE(r["total"].toDouble(), totalStored);
        QCOMPARE(r["parcelas"].toDouble(), parcelasStored);
        QCOMPARE(r["nome"].toString(), nomeStored);
        checkOpenInstalmentColumns(r);
        if (QTest::currentTestFailed())
            return;
    }
    // The hub lists this bill's rows, also when the note was cut to its field.
    checkFinished(s, notaStored.trimmed() + "%", nota.trimmed().isEmpty() ? 2 : int(labels.size()));
}

void TstNewPayable::countRoundingToNoRows_data()
{
    QTest::addColumn<QString>("parcelas");
    QTest::newRow("0,4") << "0,4";
    QTest::newRow("-2") << "-2";
    QTest::newRow("-0,4") << "-0,4";
}

void TstNewPayable::countRoundingToNoRows()
{
    QFETCH(QString, parcelas);
    Fixture f;
    REQUIRE_DB(f.db);
    Driver driver;
    Screen s;
    fill(s.w, "4711", "100,00", parcelas);
    ScriptedMessages boxes;
    s.w.BitBtn1()->click();
    QCOMPARE(boxes.boxes.size(), 0); // no question either
    QCOMPARE(driver.baixaShown, 0);
    QCOMPARE(f.count("pagar"), 0);
    QCOMPARE(f.count("caixa"), 0);
    checkFinished(s, "4711%", 0);
    QVERIFY(s.w.bar1()->isVisibleTo(&s.w));
    QVERIFY(!s.w.bar2()->isVisibleTo(&s.w));
}

void TstNewPayable::settledAtEntry_data()
{
    QTest::addColumn<bool>("today");
    QTest::addColumn<QString>("total");
    QTest::addColumn<QDate>("quitacao");
    QTest::addColumn<double>("valor");
    QTest::addColumn<double>("totalStored");
    QTest::newRow("today") << true << "250,00" << kToday << 250.0 << 250.0;
    QTest::newRow("today, total rounded in the payable")
        << true << "123,456" << kToday << 123.46 << 123.456;
    QTest::newRow("quick settlement on an earlier date")
        << false << "123,456" << QDate(2024, 2, 15) << 123.46 << 123.456;
}

void TstNewPayable::settledAtEntry()
{
    QFETCH(bool, today);
    QFETCH(QString, total);
    QFETCH(QDate, quitacao);
    QFETCH(double, valor);
    QFETCH(double, totalStored);
    Fixture f;
    REQUIRE_DB(f.db);
    Driver driver;
    driver.onBaixa = [&](FrmBaixaPagar *d) {
        d->dataQuitacao()->setDate(quitacao);
        d->confirmButton()->click();
    };
    Screen s;
    fill(s.w, "NF-77", total, "00");
    ScriptedMessages boxes({today ? QMessageBox::Yes : QMessageBox::No});
    s.w.BitBtn1()->click();
    QCOMPARE(boxes.boxes.size(), 1);
    QCOMPARE(boxes.boxes[0].title, QString("Data da Baixao"));
    QCOMPARE(boxes.boxes[0].text, QString("Deseja Baixa o Documento com a Data de Hoje?"));
    QCOMPARE(boxes.boxes[0].icon, QMessageBox::Question);
    QCOMPARE(boxes.boxes[0].defaultButton, QMessageBox::No);
    QCOMPARE(driver.baixaShown, today ? 0 : 1);
    checkSettledRows(f, "NF-77", valor, totalStored, quitacao);
    if (QTest::currentTestFailed())
        return;
    checkFinished(s, "NF-77%", 1);
}

void TstNewPayable::quickSettlementCancelledWritesNothing()
{
    Fixture f;
    REQUIRE_DB(f.db);
    Driver driver;
    driver.onBaixa = [&](FrmBaixaPagar *d) {
        // What was entered, read-only and in upper case; the date empty.
        const QList<std::pair<const char *, QString>> shown = {
            {"edtCodigoFilial", "1"},      {"edtNomeFilial", "MATRIZ"},
            {"edtCodigoFornecedor", "12"}, {"edtNomeFornecedor", "SILVA & CIA"},
            {"edtCodigoGerencial", "7"},   {"edtGerencial", "MATERIAIS"},
            {"edtCodigoTipo", "3"},        {"edtTipo", "BOLETO"},
            {"edtCodigoDespesa", "1"},     {"edtDespesa", "ALUGUEL"},
            {"edtNota", "NF-77B"},         {"edtParcela", "0,00"},
            {"edtValor", "1.234,50"},      {"edtEmissao", "10/01/2024"},
        };
        for (const auto &[name, text] : shown) {
            QLineEdit *e = d->display(name);
            QVERIFY2(e, name);
            QCOMPARE(e->text(), text);
            QVERIFY(e->isReadOnly());
        }
        QCOMPARE(d->memo()->toPlainText(), QString("PAGO EM DINHEIRO"));
        QVERIFY(d->memo()->isReadOnly());
        QVERIFY(d->dataQuitacao()->isEmpty());
        QVERIFY(!d->dataQuitacao()->isReadOnly());
        QCOMPARE(d->values().valorParcela, 1234.5);
        d->reject();
    };
    Screen s;
    fill(s.w, "nf-77b", "1234,5", "0");
    ScriptedMessages boxes({QMessageBox::No});
    s.w.BitBtn1()->click();
    QCOMPARE(driver.baixaShown, 1);
    QCOMPARE(f.count("pagar"), 0);
    QCOMPARE(f.count("caixa"), 0);
    QCOMPARE(f.count("caixatemp"), 0);
    checkFinished(s, "nf-77b%", 0);
}

void TstNewPayable::quickSettlementDateChecks_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message");
    QTest::newRow("empty") << ""
                           << "Data de Quitação menor que Data de Emissão !!!";
    QTest::newRow("day before emission") << "09/01/2024"
                                         << "Data de Quitação menor que Data de Emissão !!!";
    QTest::newRow("tomorrow") << "30/04/2024"
                              << "Data de Quitação maior que Data de Hoje !!!";
    QTest::newRow("impossible date") << "31/02/2024"
                                     << "Data de Quitação inválida: 31/02/2024 !!!";
    QTest::newRow("today") << "29/04/2024"
                           << "";
    QTest::newRow("equal to emission") << "10/01/2024"
                                       << "";
}

void TstNewPayable::quickSettlementDateChecks()
{
    QFETCH(QString, typed);
    QFETCH(QString, message);
    Fixture f;
    REQUIRE_DB(f.db);
    Driver driver;
    ScriptedMessages boxes({QMessageBox::No});
    driver.onBaixa = [&](FrmBaixaPagar *d) {
        d->dataQuitacao()->setText(typed);
        d->confirmButton()->click();
        if (message.isEmpty()) {
            QVERIFY(!d->isVisible());
            QCOMPARE(d->result(), int(QDialog::Accepted));
            return;
        }
        QCOMPARE(boxes.texts().last(), message);
        QCOMPARE(boxes.boxes.last().title, QString("Atenção"));
        QCOMPARE(boxes.boxes.last().icon, QMessageBox::Warning);
        QVERIFY(d->isVisible()); // the clerk may pick another date
        QCOMPARE(f.count("pagar"), 0);
        d->reject();
    };
    Screen s;
    fill(s.w, "NF-77", "123,456", "0");
    s.w.BitBtn1()->click();
    QCOMPARE(driver.baixaShown, 1);
    if (message.isEmpty())
        checkSettledRows(f, "NF-77", 123.46, 123.456, DisplayFormat::parseDate(typed));
    else
        QCOMPARE(f.count("pagar") + f.count("caixa") + f.count("caixatemp"), 0);
}

void TstNewPayable::failureWritesNothing_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("condition");
    QTest::addColumn<QString>("parcelas");
    QTest::addColumn<int>("questions");
    QTest::addColumn<int>("rowsAfterRetry");
    QTest::newRow("second instalment refused") << "pagar"
                                               << "NEW.notacontrole LIKE '%/2'"
                                               << "3" << 0 << 3;
    QTest::newRow("settled today, hand-off row refused") << "caixatemp"
                                                         << "TRUE"
                                                         << "0" << 1 << 1;
    QTest::newRow("settled today, cash row refused") << "caixa"
                                                     << "TRUE"
                                                     << "0" << 1 << 1;
}

void TstNewPayable::failureWritesNothing()
{
    QFETCH(QString, table);
    QFETCH(QString, condition);
    QFETCH(QString, parcelas);
    QFETCH(int, questions);
    QFETCH(int, rowsAfterRetry);
    Fixture f;
    REQUIRE_DB(f.db);
    f.failOn(table, condition);
    Driver driver;
    Screen s;
    fill(s.w, "4711", "100,00", parcelas);
    // The question, the error box, and the question again on the retry.
    ScriptedMessages boxes(questions ? QList{QMessageBox::Yes, QMessageBox::Ok, QMessageBox::Yes}
                                     : QList<QMessageBox::StandardButton>{});
    s.w.BitBtn1()->click();
    QCOMPARE(boxes.boxes.size(), questions + 1);
    QCOMPARE(boxes.boxes.last().icon, QMessageBox::Critical);
    QVERIFY(boxes.boxes.last().text.contains("gravacao recusada"));
    QCOMPARE(f.count("pagar"), 0);
    QCOMPARE(f.count("caixa"), 0);
    QCOMPARE(f.count("caixatemp"), 0);
    // The screen stays as it was, so the clerk can try again.
    QVERIFY(s.w.isVisible());
    QVERIFY(s.w.BitBtn1()->isEnabled());
    QVERIFY(s.w.bar2()->isVisible());
    QCOMPARE(s.w.notaEdit()->text(), QString("4711"));
    QCOMPARE(s.w.nomeFornecedor()->text(), QString("SILVA & CIA"));
    QCOMPARE(s.w.valorEdit()->text(), QString("100,00"));
    QVERIFY(!s.hub.tbPagar()->sql().contains(":nota"));

    f.exec("DROP TRIGGER falha");
    s.w.BitBtn1()->click();
    QCOMPARE(f.count("pagar"), rowsAfterRetry);
    QCOMPARE(f.count("caixatemp"), questions);
    checkFinished(s, "4711%", rowsAfterRetry);
}

void TstNewPayable::quickSettlementFailureKeepsDialogOpen()
{
    Fixture f;
    REQUIRE_DB(f.db);
    f.failOn("caixatemp", "TRUE");
    Driver driver;
    ScriptedMessages boxes({QMessageBox::No});
    driver.onBaixa = [&](FrmBaixaPagar *d) {
        d->dataQuitacao()->setDate(QDate(2024, 2, 15));
        d->confirmButton()->click();
        QCOMPARE(boxes.boxes.last().icon, QMessageBox::Critical);
        QVERIFY(boxes.boxes.last().text.contains("gravacao recusada"));
        QVERIFY(d->isVisible());
        QCOMPARE(f.count("pagar") + f.count("caixa") + f.count("caixatemp"), 0);
        f.exec("DROP TRIGGER falha");
        d->confirmButton()->click();
        QVERIFY(!d->isVisible());
    };
    Screen s;
    fill(s.w, "NF-77", "123,456", "0");
    s.w.BitBtn1()->click();
    checkSettledRows(f, "NF-77", 123.46, 123.456, QDate(2024, 2, 15));
}

void TstNewPayable::openAndFurtherMaintenance()
{
    Fixture f;
    REQUIRE_DB(f.db);
    f.exec("INSERT INTO pagar (Nota, Nome, Valor, Datavenc, pago, negociacao) VALUES "
           "('A1', 'ALFA', 10, '2024-05-10', 'N', 'N')");
    frmPagarManutencao hub;
    hub.userLabel()->setText(kUser);
    hub.show();
    Driver driver;
    QPointer<frmPagarNovo> screen;
    QPointer<frmPagarManutencao> further;
    bool furtherShown = false;
    driver.onNovo = [&](frmPagarNovo *w) {
        screen = w;
        QCOMPARE(w->parentWidget(), &hub);
        QCOMPARE(w->lookups(), hub.lookups());
        w->ToolButton8Click(); // idle: the maintenance button is on show
        w->ToolButton2Click();
        QVERIFY(furtherShown);
        QVERIFY(!w->isHidden());
        w->ToolButton5Click();
    };
    driver.onHub = [&](frmPagarManutencao *h) {
        further = h;
        furtherShown = true;
        QVERIFY(h != &hub);
        QCOMPARE(h->userLabel()->text(), kUser);
        QCOMPARE(h->tbPagar()->recordCount(), 1);
        h->reject();
    };
    hub.ToolButton1Click();    // "Inclusão"
    QVERIFY(screen.isNull());  // destroyed after it closed
    QVERIFY(further.isNull()); // and so was the further maintenance screen
    QCOMPARE(driver.picks, QList<PickLists::Member>{PickLists::Member::frmL_Fornecedor});
    // The hub that opened them goes on with its own list.
    QVERIFY(hub.tbPagar()->isOpen());
    QCOMPARE(hub.tbPagar()->recordCount(), 1);
    QVERIFY(hub.lookups()->tbfornecedor->isOpen());
    QCOMPARE(f.count("pagar"), 1);
}

void TstNewPayable::programInstance()
{
    FrmBaixaPagar *d = FrmBaixaPagar::instance();
    QVERIFY(d);
    QCOMPARE(FrmBaixaPagar::instance(), d);
    QVERIFY(!d->parent());
    QVERIFY(!d->isVisible());
    QCOMPARE(d->size(), QSize(770, 350));
}

CP_TEST(TstNewPayable)
#include "tst_newpayable.moc"

void TstNewPayable::paymentCodeFillsTheEntry_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<bool>("byGerar"); // not read with Enter: "&Gerar" reads it first
    QTest::addColumn<QString>("valorShown");
    QTest::addColumn<QString>("vencShown"); // "" when the code has no due date
    QTest::addColumn<QString>("info");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QStringList>("vencs");
    QTest::addColumn<double>("valor");
    // Today is 29/04/2024: factor 9936 is 20/12/2024 of the first cycle, 1016
    // is 10/03/2025 of the second (not 19/07/2000).
    QTest::newRow("boleto typed line, as printed")
        << "34191.57007 12345.678127 34123.450008 3 99360000035000" << false << "350,00"
        << "20/12/2024"
        << "Boleto Itaú Unibanco (341) — R$ 350,00 — vencimento 20/12/2024\n"
           "Preenchido: Valor R$ 350,00 e 1º Vencimento 20/12/2024."
        << "34191570071234567812734123450008399360000035000"
        << QStringList{"20/12/2024", "19/01/2025"} << 175.0;
    QTest::newRow("boleto barcode from a reader, after the restart")
        << "23792101600001234561234090000001234500678900" << false << "1.234,56"
        << "10/03/2025"
        << "Boleto Bradesco (237) — R$ 1.234,56 — vencimento 10/03/2025\n"
           "Preenchido: Valor R$ 1.234,56 e 1º Vencimento 10/03/2025."
        << "23791234059000000123145006789007210160000123456"
        << QStringList{"10/03/2025", "09/04/2025"} << 617.28;
    QTest::newRow("boleto read by Gerar")
        << "34191.57007 12345.678127 34123.450008 3 99360000035000" << true << "350,00"
        << "20/12/2024"
        << "Boleto Itaú Unibanco (341) — R$ 350,00 — vencimento 20/12/2024\n"
           "Preenchido: Valor R$ 350,00 e 1º Vencimento 20/12/2024."
        << "34191570071234567812734123450008399360000035000"
        << QStringList{"20/12/2024", "19/01/2025"} << 175.0;
    QTest::newRow("arrecadação: the value, no due date")
        << "83640000001-1 33120138000-2 81288462711-6 08013618155-1" << false << "133,12"
        << ""
        << "Arrecadação Energia elétrica e gás — R$ 133,12\nPreenchido: Valor R$ 133,12."
        << "836400000011331201380002812884627116080136181551"
        << QStringList{"09/02/2024", "10/03/2024"} << 66.56;
    QTest::newRow("PIX with amount")
        << kPixCnpj << false << "1.500,50"
        << ""
        << "PIX ACME COMERCIO LTDA, SAO PAULO — R$ 1.500,50 — chave "
           "12345678000195\nPreenchido: Valor R$ 1.500,50."
        << kPixCnpj << QStringList{"09/02/2024", "10/03/2024"} << 750.25;
    // 150 characters: the whole code is kept.
    QTest::newRow("dynamic PIX without amount: the total typed stays")
        << kPixDynamic << false << "100"
        << ""
        << "PIX dinâmico EMPRESA EXEMPLO SA, CURITIBA — sem valor no código — cobrança "
           "qr.example.com.br/pix/v2/9d36b84fc70b478fb95c12729b90ca25\n"
           "O código não traz valor nem vencimento: preencha-os."
        << kPixDynamic << QStringList{"09/02/2024", "10/03/2024"} << 50.0;
}

void TstNewPayable::paymentCodeFillsTheEntry()
{
    QFETCH(QString, code);
    QFETCH(bool, byGerar);
    QFETCH(QString, valorShown);
    QFETCH(QString, vencShown);
    QFETCH(QString, info);
    QFETCH(QString, stored);
    QFETCH(QStringList, vencs);
    QFETCH(double, valor);
    Fixture f;
    REQUIRE_DB(f.db);
    Driver driver;
    Screen s;
    fill(s.w, "5001", "100", "2");
    ScriptedMessages boxes;
    if (byGerar) {
        s.w.codigoBarrasEdit()->setText(code);
        s.w.gerarAction()->trigger(); // reads the code and stops, for the clerk to see
        QVERIFY(f.rows("pagar").isEmpty());
    } else {
        readCode(s.w, code);
        QVERIFY(!s.w.codigoBarrasEdit()->hasFocus()); // Enter moved on
    }
    s.w.parcelasEdit()->setFocus(); // the amount away from the focus, as it is shown
    QCOMPARE(s.w.valorEdit()->text(), valorShown);
    QCOMPARE(s.w.primeiroVencimento()->text(), vencShown);
    QCOMPARE(s.w.codigoBarrasInfo()->text(), info);
    s.w.BitBtn1()->click();
    QCOMPARE(boxes.boxes.size(), 0);

    const QList<Row> rows = f.rows("pagar");
    QCOMPARE(rows.size(), 2);
    for (int i = 0; i < rows.size(); ++i) {
        QCOMPARE(rows[i]["datavenc"].toDate().toString("dd/MM/yyyy"), vencs[i]);
        QCOMPARE(rows[i]["valor"].toDouble(), valor);
        QCOMPARE(rows[i]["codigobarras"].toString(), stored);
        checkOpenInstalmentColumns(rows[i]);
    }
}

void TstNewPayable::refusedPaymentCodeFillsNothing_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("error");
    QTest::newRow("field 2 check digit") << "34191.57007 12345.678128 34123.450008 3 99360000035000"
                                         << "Dígito verificador do campo 2 não confere";
    QTest::newRow("one digit short") << "34191.57007 12345.678127 34123.450008 3 9936000003500"
                                     << "Linha digitável com 46 dígitos; esperados 47 ou 48";
    QTest::newRow("PIX CRC broken")
        << "00020126580014br.gov.bcb.pix0136123e4567-e12b-12d1-a456-42665544000052040000530398658"
           "02BR5913Fulano de Tal6008BRASILIA62070503***63041D3E"
        << "CRC do código PIX não confere (informado 1D3E, calculado 1D3D)";
}

void TstNewPayable::refusedPaymentCodeFillsNothing()
{
    QFETCH(QString, code);
    QFETCH(QString, error);
    Fixture f;
    REQUIRE_DB(f.db);
    Driver driver;
    Screen s;
    fill(s.w, "5002", "100", "1");
    ScriptedMessages boxes;
    readCode(s.w, code);
    QCOMPARE(boxes.boxes.size(), 1);
    QCOMPARE(boxes.boxes[0].title, QString("Atenção"));
    QCOMPARE(boxes.boxes[0].text, error);
    QCOMPARE(s.w.codigoBarrasInfo()->text(), error);
    QCOMPARE(s.w.valorEdit()->text(), QString("100"));
    QCOMPARE(s.w.primeiroVencimento()->text(), QString());
    QCOMPARE(s.w.codigoFornecedor()->text(), QString("12"));
    QVERIFY(!s.w.paymentCode());

    // The bill is not written with a code that does not read.
    s.w.BitBtn1()->click();
    QCOMPARE(boxes.boxes.size(), 2);
    QCOMPARE(boxes.boxes[1].text, error);
    QVERIFY(f.rows("pagar").isEmpty());
    QVERIFY(s.w.isVisible());

    // Cleared, the bill is written as typed, without a code.
    s.w.codigoBarrasEdit()->clear();
    s.w.BitBtn1()->click();
    QCOMPARE(boxes.boxes.size(), 2);
    const QList<Row> rows = f.rows("pagar");
    QCOMPARE(rows.size(), 1);
    QCOMPARE(rows[0]["valor"].toDouble(), 100.0);
    QVERIFY(rows[0]["codigobarras"].isNull());
}

void TstNewPayable::pixKeyProposesSupplier_data()
{
    QTest::addColumn<bool>("picked");      // SILVA & CIA chosen before the code is read
    QTest::addColumn<QString>("registry"); // BETA's CNPJ as registered
    QTest::addColumn<QList<QMessageBox::StandardButton>>("answers");
    QTest::addColumn<QString>("codigo");
    QTest::addColumn<QString>("nome");
    QTest::addColumn<QString>("said"); // the end of the code's line
    using B = QList<QMessageBox::StandardButton>;
    QTest::newRow("none chosen: filled") << false << "12.345.678/0001-95" << B{} << "20"
                                         << "BETA SEM PADRAO"
                                         << "Fornecedor pela chave PIX (CNPJ): BETA SEM PADRAO.";
    QTest::newRow("another chosen, accepted")
        << true << "12345678000195" << B{QMessageBox::Yes} << "20"
        << "BETA SEM PADRAO"
        << "Fornecedor pela chave PIX (CNPJ): BETA SEM PADRAO.";
    QTest::newRow("another chosen, refused")
        << true << "12.345.678/0001-95" << B{QMessageBox::No} << "12"
        << "SILVA & CIA"
        << "Preenchido: Valor R$ 1.500,50.";
    QTest::newRow("no supplier with the key") << false << "98.765.432/0001-10" << B{} << "0"
                                              << ""
                                              << "Preenchido: Valor R$ 1.500,50.";
}

void TstNewPayable::pixKeyProposesSupplier()
{
    QFETCH(bool, picked);
    QFETCH(QString, registry);
    QFETCH(QList<QMessageBox::StandardButton>, answers);
    QFETCH(QString, codigo);
    QFETCH(QString, nome);
    QFETCH(QString, said);
    Fixture f;
    REQUIRE_DB(f.db);
    QSqlQuery q(f.db.sql());
    q.prepare("update fornecedor set Cgc = ?, CodigoTipo = 5, Tipos = 'PIX' where "
              "CodigoFornecedor = 20");
    q.addBindValue(registry);
    QVERIFY(q.exec());
    Driver driver;
    Screen s;
    if (picked)
        fill(s.w, "5003", "1", "1");
    ScriptedMessages boxes(answers);
    readCode(s.w, kPixCnpj);
    QCOMPARE(boxes.boxes.size(), answers.size());
    if (!answers.isEmpty())
        QCOMPARE(boxes.boxes[0].text,
                 QString("A chave PIX 12345678000195 é o CNPJ do fornecedor 20 - BETA SEM PADRAO, "
                         "e não de SILVA & CIA.\n\nDeseja usar este fornecedor?"));
    QCOMPARE(s.w.codigoFornecedor()->text(), codigo);
    QCOMPARE(s.w.nomeFornecedor()->text(), nome);
    QVERIFY2(s.w.codigoBarrasInfo()->text().endsWith(said),
             qPrintable(s.w.codigoBarrasInfo()->text()));
    // The supplier's payment type comes with it, as from the pick list.
    if (codigo == "20")
        QCOMPARE(s.w.descTipo()->text(), QString("PIX"));
}
