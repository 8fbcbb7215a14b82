// The settlement screen: its fields, its three modes (cash, bank, partial) and
// the rows each one leaves in the database, checked column by column; and the
// guards around them: typing mistakes, a payable settled or deleted by another
// workstation, a failure in the middle of a mode.

#include "ProgramFixture.h"
#include "SamplePayable.h"
#include "ScriptedMessages.h"
#include "TestDb.h"
#include "TestMain.h"
#include "app/DM.h"
#include "app/Globals.h"
#include "payables/FrmBaixarNovo.h"
#include "payables/frmPagarManutencao.h"
#include "widgets/BigToolBar.h"
#include "widgets/Clock.h"
#include "widgets/DateEdit.h"
#include "widgets/Modal.h"
#include "widgets/MoneyEdit.h"
#include "widgets/TitleBand.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QSysInfo>
#include <QThread>
#include <QtTest>

#include <atomic>

namespace {

const QDate kToday(2024, 4, 29);
const QDate kQuitacao(2024, 4, 25);
const QString kUser = QStringLiteral("OPERADOR COM NOME LONGO");
const QString kUser15 = QStringLiteral("OPERADOR COM NO");

using Columns = QList<QPair<QString, QVariant>>;

// A null QVariant() expects NULL; a double compares as a number; anything
// else compares as text.
QString mismatches(const QSqlRecord &rec, const Columns &expected)
{
    QStringList bad;
    for (const auto &[column, want] : expected) {
        if (rec.indexOf(column) < 0) {
            bad << column + ": no such column";
            continue;
        }
        const QVariant got = rec.value(column);
        bool same;
        if (!want.isValid())
            same = got.isNull();
        else if (want.metaType().id() == QMetaType::Double)
            same = !got.isNull() && qAbs(got.toDouble() - want.toDouble()) < 1e-9;
        else
            same = !got.isNull() && got.toString() == want.toString();
        if (!same)
            bad << QStringLiteral("%1: got '%2'%3, want '%4'")
                       .arg(column, got.toString(), got.isNull() ? " (null)" : "", want.toString());
    }
    return bad.join(QStringLiteral("; "));
}

struct Fixture : ProgramFixture
{
    Fixture() : ProgramFixture(QDateTime(kToday, QTime(10, 0, 0)), kUser) {}
    // Rows of a table in key order, all columns.
    QList<QSqlRecord> rows(const QString &table, const QString &where = QStringLiteral("1"))
    {
        QList<QSqlRecord> r;
        QSqlQuery q(db.sql());
        if (!q.exec(QStringLiteral("select * from %1 where %2 order by 1").arg(table, where)))
            qFatal("%s", qPrintable(q.lastError().text()));
        while (q.next())
            r << q.record();
        return r;
    }
    // One payable with the given columns over the sample payable, values bound.
    int payable(const Columns &overrides = {})
    {
        Columns cols = samplePayableColumns();
        for (const auto &[column, value] : overrides) {
            auto it = std::find_if(cols.begin(), cols.end(),
                                   [&](const auto &c) { return c.first == column; });
            if (it != cols.end())
                it->second = value;
            else
                cols << qMakePair(column, value);
        }
        QStringList names, marks;
        for (const auto &c : cols) {
            names << c.first;
            marks << "?";
        }
        QSqlQuery q(db.sql());
        q.prepare(QStringLiteral("insert into pagar (%1) values (%2)")
                      .arg(names.join(", "), marks.join(", ")));
        for (const auto &c : cols)
            q.addBindValue(c.second);
        if (!q.exec())
            qFatal("%s", qPrintable(q.lastError().text()));
        return q.lastInsertId().toInt();
    }
    // The branch list's current row and a stale work row from an earlier settlement.
    void standardSetting()
    {
        exec("insert into filial (Codigofilial, Nomefilial) values (3, 'LOJA CENTRO')");
        exec("insert into contagerencial (codigogerencial, Gerencial) values (4, 'ALUGUEL'), "
             "(6, 'OUTRO')");
        exec("insert into pagartemp (Nota) values ('ANTIGA')");
    }
};

// The screen on the hub's current payable, followed by the hub as when it
// opens it, with the date and amount typed.
struct Screen
{
    FrmBaixarNovo dlg;
    Screen(frmPagarManutencao &hub, double valorPago, const QDate &data = kQuitacao)
        : dlg(hub.settlementPayable(), &hub)
    {
        hub.follow(&dlg);
        dlg.CurrencyEdit2()->setValue(valorPago);
        dlg.DateEdit1()->setDate(data);
    }
    bool buttonsShown() const
    {
        return !dlg.SpeedButton1()->isHidden() && !dlg.SpeedButton2()->isHidden() &&
               !dlg.TSpeedButton7()->isHidden();
    }
};

// The columns every settlement writes the same way.
Columns settledCommon(double valorPago)
{
    return {{"pago", "S"},
            {"Dataquitacao", kQuitacao},
            {"totalpg", valorPago},
            {"valorpg", valorPago},
            {"usuario", kUser15},
            {"nomecomputador", QSysInfo::machineHostName()},
            {"nomefornecedor", "FORNECEDOR X"},
            {"filial", "LOJA NORTE"},
            {"horaquitado", "10:00:00"},
            {"Valor", 100.0},
            {"total", 300.0},
            {"Nota", "4711"},
            {"notacontrole", "4711/2"},
            {"codigotipo", 2.0},
            {"condicao", "2º PARCELA"}};
}

// The work row of the cash and bank modes.
const Columns kWorkRow{{"Codigofilial", 3.0},
                       {"filial", "LOJA CENTRO"},
                       {"CodigoFornecedor", 12.0},
                       {"Nome", "FORNECEDOR X"},
                       {"Nota", "4711"},
                       {"Dataemissao", QDate(2024, 1, 10)},
                       {"Datavenc", QDate(2024, 3, 10)},
                       {"Dataquitacao", kQuitacao},
                       {"Valor", 100.0},
                       {"total", 300.0},
                       {"notacontrole", "4711/2"},
                       {"codigogerencial", 4.0},
                       {"gerenial", "ALUGUEL"},
                       {"codigotipo", 2.0},
                       {"tipo", "BOLETO"},
                       {"parcelas", 3.0},
                       {"Obs1", "nota de luz"},
                       {"usuario", kUser15},
                       {"pago", "S"}};

// The cash-ledger row of the cash and DPC modes.
Columns cashRow(double valorPago)
{
    return {{"Tipo", "DEBITO"},
            {"Descricao", "FORNECEDOR X"},
            {"Opcao", "2"},
            {"Tp", "1"},
            {"es", "S"},
            {"CodigoNota", "4711"},
            {"CodigoCliente", 12.0},
            {"Usuario", kUser},
            {"Data", kQuitacao},
            {"Debito", valorPago},
            {"valor", valorPago},
            {"Hora", "10:00:00"},
            {"especie", "Pagamento Pagar Dinheiro"},
            {"Condicao", "Pagamento Pagar Dinheiro"},
            {"NomeFuncionario", kUser},
            {"NomeFunciionario", kUser},
            {"filial", "LOJA NORTE"},
            {"codigoFilial", 5.0},
            {"nomecomputador", QSysInfo::machineHostName()}};
}

} // namespace

#define CHECK_ROW(rec, ...)                                                                        \
    do {                                                                                           \
        const QString m_ = mismatches((rec), Columns(__VA_ARGS__));                                \
        QVERIFY2(m_.isEmpty(), qPrintable(m_));                                                    \
    } while (false)

class TstSettlement : public QObject
{
    Q_OBJECT
private slots:
    void windowFieldsAndDifference();
    void invalidInputWritesNothing_data();
    void invalidInputWritesNothing();
    void cashSettlement_data();
    void cashSettlement();
    void bankSettlement();
    void partialSettlementChain();
    void partialSettlementPaidInFullOrAbove_data();
    void partialSettlementPaidInFullOrAbove();
    void substitutesForMissingClassification_data();
    void substitutesForMissingClassification();
    void costCentreListNarrowed_data();
    void costCentreListNarrowed();
    void settledOrDeletedMeanwhile_data();
    void settledOrDeletedMeanwhile();
    void settledByAnotherWorkstationWhileLocked();
    void failureInTheMiddleWritesNothing_data();
    void failureInTheMiddleWritesNothing();
};

void TstSettlement::windowFieldsAndDifference()
{
    Fixture f;
    REQUIRE_DB(f.db);
    f.standardSetting();
    f.payable();
    frmPagarManutencao hub;
    hub.show();
    hub.saveBar()->setVisible(true); // as if the hub were editing
    hub.mainBar()->setVisible(false);
    FrmBaixarNovo dlg(hub.settlementPayable(), &hub);
    hub.follow(&dlg);
    QCOMPARE(dlg.titleBand()->caption(), QString("BAIXAR CONTAS A PAGAR"));
    QVERIFY(dlg.windowTitle().startsWith("Quarvo Sistemas"));
    QCOMPARE(dlg.SpeedButton1()->text(), QString("Baixa Cai&xa"));
    QCOMPARE(dlg.SpeedButton2()->text(), QString("Baixar P/Banco"));
    QCOMPARE(dlg.TSpeedButton7()->text(), QString("Baixar &Dpc"));
    QCOMPARE(dlg.DateEdit1()->date(), kToday);
    QCOMPARE(dlg.CurrencyEdit1()->value(), 100.0);
    QVERIFY(dlg.CurrencyEdit1()->isReadOnly());
    QCOMPARE(dlg.CurrencyEdit2()->value(), 100.0);
    QVERIFY(dlg.CurrencyEdit3()->isReadOnly());
    QStringList labels;
    for (QLabel *l : dlg.findChildren<QLabel *>())
        labels << l->text();
    for (const char *caption : {"Data de Quitação", "Valor Duplicata", "Valor Pago", "Diferença"})
        QVERIFY2(labels.contains(caption), caption);

    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    QVERIFY(hub.mainBar()->isVisible()); // showing it puts the hub back to browsing
    QVERIFY(!hub.saveBar()->isVisible());
    dlg.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&dlg));
    dlg.CurrencyEdit2()->setFocus();
    QTRY_VERIFY(dlg.CurrencyEdit2()->hasFocus());
    dlg.CurrencyEdit2()->selectAll();
    QTest::keyClicks(dlg.CurrencyEdit2(), "120,00");
    QCOMPARE(dlg.CurrencyEdit3()->value(), 0.0); // only once the field is left
    QTest::keyClick(dlg.CurrencyEdit2(), Qt::Key_Tab);
    QTRY_VERIFY(!dlg.CurrencyEdit2()->hasFocus());
    QCOMPARE(dlg.CurrencyEdit3()->value(), 20.0);
    QCOMPARE(dlg.CurrencyEdit3()->text(), QString("20,00"));

    // The "X" closes without writing anything.
    dlg.titleBand()->clickClose();
    QCOMPARE(dlg.result(), int(QDialog::Rejected));
    QCOMPARE(f.scalar("select pago from pagar").toString(), QString("N"));
    QCOMPARE(f.count("caixa") + f.count("contacorrente") + f.count("caixatemp"), 0);
}

void TstSettlement::invalidInputWritesNothing_data()
{
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("amount");
    QTest::addColumn<QString>("message");
    QTest::newRow("impossible date") << "31/02/2024"
                                     << "80,00"
                                     << "Data de Quitação inválida !!!";
    QTest::newRow("empty date") << ""
                                << "80,00"
                                << "Data de Quitação inválida !!!";
    QTest::newRow("amount not a number") << "25/04/2024"
                                         << "8O,00"
                                         << "Valor Pago inválido !!!";
    QTest::newRow("empty amount") << "25/04/2024"
                                  << ""
                                  << "Valor Pago inválido !!!";
}

void TstSettlement::invalidInputWritesNothing()
{
    QFETCH(QString, date);
    QFETCH(QString, amount);
    QFETCH(QString, message);
    Fixture f;
    REQUIRE_DB(f.db);
    f.standardSetting();
    f.payable();
    frmPagarManutencao hub;
    hub.show();
    Screen s(hub, 80);
    s.dlg.DateEdit1()->setText(date);
    s.dlg.CurrencyEdit2()->setText(amount);
    for (QPushButton *b : {s.dlg.SpeedButton1(), s.dlg.SpeedButton2(), s.dlg.TSpeedButton7()}) {
        ScriptedMessages boxes;
        b->click();
        QCOMPARE(boxes.texts(), QStringList{message});
        QCOMPARE(boxes.boxes[0].title, QString("Atenção"));
        QCOMPARE(boxes.boxes[0].icon, QMessageBox::Warning);
        QVERIFY(s.buttonsShown());
    }
    QCOMPARE(f.scalar("select pago from pagar").toString(), QString("N"));
    QCOMPARE(f.count("pagar"), 1);
    QCOMPARE(f.count("caixa") + f.count("contacorrente") + f.count("caixatemp"), 0);
    QCOMPARE(f.scalar("select Nota from pagartemp").toString(), QString("ANTIGA"));

    // Corrected, the same screen settles.
    s.dlg.DateEdit1()->setDate(kQuitacao);
    s.dlg.CurrencyEdit2()->setValue(80);
    ScriptedMessages boxes({QMessageBox::No});
    s.dlg.SpeedButton1()->click();
    QCOMPARE(boxes.unexpected, 0);
    QCOMPARE(f.scalar("select totalpg from pagar").toDouble(), 80.0);
    QCOMPARE(s.dlg.result(), int(QDialog::Accepted));
}

void TstSettlement::cashSettlement_data()
{
    QTest::addColumn<bool>("toCash");
    QTest::newRow("sent to the cash ledger") << true;
    QTest::newRow("not sent") << false;
}

void TstSettlement::cashSettlement()
{
    QFETCH(bool, toCash);
    Fixture f;
    REQUIRE_DB(f.db);
    f.standardSetting();
    f.payable();
    frmPagarManutencao hub;
    hub.show();
    ScriptedMessages boxes({toCash ? QMessageBox::Yes : QMessageBox::No});
    // Through the hub's way of opening it: modally, driven as a person would.
    Modal::ScopedHandler modal([](QDialog *d) {
        auto *s = qobject_cast<FrmBaixarNovo *>(d);
        if (!s)
            return int(QDialog::Rejected);
        s->CurrencyEdit2()->setValue(80);
        s->DateEdit1()->setDate(kQuitacao);
        s->SpeedButton1()->click();
        return s->result();
    });
    hub.BaixaDuplicata();

    QCOMPARE(boxes.unexpected, 0);
    QCOMPARE(boxes.texts(), QStringList{"Deseja Enviar para o Caixa ?"});
    QCOMPARE(boxes.boxes[0].title, QString("Quarvo Sistemas, Atenção"));
    QCOMPARE(boxes.boxes[0].icon, QMessageBox::Question);
    QCOMPARE(boxes.boxes[0].defaultButton, QMessageBox::No);

    const auto pagar = f.rows("pagar");
    QCOMPARE(pagar.size(), 1);
    CHECK_ROW(pagar[0], settledCommon(80) + Columns{{"especie", "PAGAMENTO PAGAR"},
                                                    {"tiporecebimento", "Pagamento Pagar Dinh"},
                                                    {"tipo", "BOLETO"},
                                                    {"gerenial", "ALUGUEL LOJA"},
                                                    {"numerodpc", QVariant()}});
    QCOMPARE(hub.tbPagar()->text("pago"), QString("S")); // the list shows it settled

    const auto work = f.rows("pagartemp");
    QCOMPARE(work.size(), 1); // the stale row is gone
    CHECK_ROW(work[0], kWorkRow + Columns{{"totalpg", 80.0}});

    QCOMPARE(f.count("contacorrente"), 0);
    QCOMPARE(f.count("caixa"), toCash ? 1 : 0);
    QCOMPARE(f.count("caixatemp"), toCash ? 1 : 0);
    if (!toCash)
        return;
    CHECK_ROW(f.rows("caixa")[0], cashRow(80));
    CHECK_ROW(f.rows("caixatemp")[0], (Columns{{"Tipo", "CREDITO"},
                                               {"Descricao", "FORNECEDOR X"},
                                               {"Opcao", "2"},
                                               {"Tp", "1"},
                                               {"es", "S"},
                                               {"CodigoNota", "4711"},
                                               {"CodigoCliente", 12.0},
                                               {"Data", kQuitacao},
                                               {"Debito", 80.0},
                                               {"Usuario", kUser},
                                               {"especie", "Pagamento Pagar Dinheiro"},
                                               {"Condicao", "BAIXA CONTA A PAGAR"},
                                               {"Credito", QVariant()},
                                               {"Hora", QVariant()}}));
}

void TstSettlement::bankSettlement()
{
    Fixture f;
    REQUIRE_DB(f.db);
    f.standardSetting();
    f.payable({{"Valor", 250.0}});
    frmPagarManutencao hub;
    hub.show();
    // Paid above the value (interest), so every amount written shows whether
    // it was taken from the amount paid or from the payable's value.
    Screen s(hub, 260);
    ScriptedMessages boxes;
    s.dlg.SpeedButton2()->click();
    QCOMPARE(boxes.boxes.size(), 0); // no question in this mode
    QCOMPARE(s.dlg.result(), int(QDialog::Accepted));

    Columns settled = settledCommon(260) + Columns{{"especie", "Pagamento Pagar"},
                                                   {"tiporecebimento", "Pagamento Pagar Dinh"},
                                                   {"tipo", "BOLETO"},
                                                   {"gerenial", "CONTA CORRENTE"}};
    settled.removeIf([](const auto &c) { return c.first == "Valor"; });
    const auto pagar = f.rows("pagar");
    QCOMPARE(pagar.size(), 1);
    CHECK_ROW(pagar[0], settled + Columns{{"Valor", 250.0}});

    Columns work = kWorkRow;
    work.removeIf([](const auto &c) { return c.first == "Valor"; });
    QCOMPARE(f.count("pagartemp"), 1);
    CHECK_ROW(f.rows("pagartemp")[0], work + Columns{{"Valor", 250.0}, {"totalpg", 260.0}});

    const auto ledger = f.rows("contacorrente");
    QCOMPARE(ledger.size(), 1);
    CHECK_ROW(ledger[0], (Columns{{"tipos", "DEBITO"},
                                  {"codigoconta", 99999.0},
                                  {"conta", "JUROS"},
                                  {"banco", "JUROS"},
                                  {"agencia", "9999"},
                                  {"datalancamento", kQuitacao},
                                  {"dataquitacao", kQuitacao},
                                  {"datavencimento", kQuitacao},
                                  {"debito", 260.0},
                                  {"valor", QVariant()},
                                  {"codigofilial", 3.0},
                                  {"filial", "LOJA CENTRO"},
                                  {"codigofornecedor", 12.0},
                                  {"fornecedor", "FORNECEDOR X"},
                                  {"codigogerencial", 4.0},
                                  {"gerencial", "ALUGUEL"},
                                  {"codigotipo", 2.0},
                                  {"tipo", "BOLETO"},
                                  {"codigodespesa", 8.0},
                                  {"tipodespesa", "ENERGIA"},
                                  {"obs", ""},
                                  {"es", "S"},
                                  {"tiposaida", "Pagamento Pagar Dinheiro"},
                                  {"usuario", kUser},
                                  {"especie", "Pagamento Pagar Dinheiro"},
                                  {"hora", "10:00:00"},
                                  {"nomecomputador", QSysInfo::machineHostName()}}));
    QCOMPARE(f.count("caixa") + f.count("caixatemp"), 0);
}

void TstSettlement::partialSettlementChain()
{
    Fixture f;
    REQUIRE_DB(f.db);
    f.standardSetting();
    const int first = f.payable();
    frmPagarManutencao hub;
    hub.show();
    {
        Screen s(hub, 60);
        ScriptedMessages boxes({QMessageBox::No});
        s.dlg.TSpeedButton7()->click();
        QCOMPARE(boxes.unexpected, 0);
        QCOMPARE(boxes.texts(), QStringList{"Deseja Enviar para o Caixa ?"});
        QCOMPARE(s.dlg.result(), int(QDialog::Accepted));
    }
    auto pagar = f.rows("pagar");
    QCOMPARE(pagar.size(), 2);
    CHECK_ROW(pagar[0], settledCommon(60) + Columns{{"especie", "VALOR DO DPC"},
                                                    {"tiporecebimento", "Dpc"},
                                                    {"tipo", "BOLETO"},
                                                    {"gerenial", "ALUGUEL LOJA"},
                                                    {"numerodpc", 1.0}});
    const Columns remainder{{"condicao", "DPC - 1"},
                            {"numerodpc", 1.0},
                            {"Nota", "4711"},
                            {"notacontrole", "4711"},
                            {"codigonota", 321.0},
                            {"controles", "C-9"},
                            {"CodigoFornecedor", 12.0},
                            {"Nome", "FORNECEDOR X"},
                            {"nomefornecedor", "FORNECEDOR X"},
                            {"Dataemissao", QDate(2024, 1, 10)},
                            {"Datavenc", QDate(2024, 3, 10)},
                            {"Valor", 40.0},
                            {"total", 300.0},
                            {"parcelas", 1.0},
                            {"Codigofilial", 5.0},
                            {"filial", "LOJA NORTE"},
                            {"nomefilial", "LOJA NORTE"},
                            {"codigogerencial", 4.0},
                            {"gerenial", "ALUGUEL LOJA"},
                            {"gerencial", "ALUGUEL LOJA"},
                            {"codigotipo", 2.0},
                            {"tipo", "BOLETO"},
                            {"codigodespesa", 8.0},
                            {"despesa", "ENERGIA"},
                            {"chavenota", "CHAVE-1"},
                            {"codigoparcela", 2.0},
                            {"descparcela", "SEGUNDA"},
                            {"aplicacao", "REVENDA"},
                            {"Obs", "DPC"},
                            {"pago", "N"},
                            {"negociacao", "N"},
                            {"horalanc", "10:00:00"},
                            {"usuario", kUser15},
                            {"nomecomputador", QSysInfo::machineHostName()},
                            {"tiporecebimento", ""},
                            {"Dataquitacao", QVariant()},
                            {"valorpg", QVariant()},
                            {"totalpg", QVariant()},
                            {"especie", QVariant()}};
    CHECK_ROW(pagar[1], remainder);
    QCOMPARE(f.count("caixa") + f.count("caixatemp") + f.count("contacorrente"), 0);
    QCOMPARE(f.scalar("select Nota from pagartemp").toString(), QString("ANTIGA")); // untouched

    // The list holds the remainder alone; settling it again continues the chain.
    QCOMPARE(hub.tbPagar()->recordCount(), 1);
    const int second = hub.tbPagar()->value("Controle").toInt();
    QVERIFY(second != first);
    {
        Screen s(hub, 30);
        QCOMPARE(s.dlg.CurrencyEdit1()->value(), 40.0);
        ScriptedMessages boxes({QMessageBox::Yes});
        s.dlg.TSpeedButton7()->click();
        QCOMPARE(boxes.unexpected, 0);
    }
    pagar = f.rows("pagar");
    QCOMPARE(pagar.size(), 3);
    CHECK_ROW(pagar[1], (Columns{{"pago", "S"},
                                 {"Dataquitacao", kQuitacao},
                                 {"valorpg", 30.0},
                                 {"totalpg", 30.0},
                                 {"Valor", 40.0},
                                 {"numerodpc", 1.0}, // kept: it was not 0
                                 {"especie", "VALOR DO DPC"},
                                 {"condicao", "DPC - 1"}}));
    CHECK_ROW(pagar[2], (Columns{{"condicao", "DPC - 2"},
                                 {"numerodpc", 2.0},
                                 {"Valor", 10.0},
                                 {"pago", "N"},
                                 {"Dataquitacao", QVariant()},
                                 {"Datavenc", QDate(2024, 3, 10)},
                                 {"notacontrole", "4711"},
                                 {"Obs", "DPC"}}));
    QCOMPARE(hub.tbPagar()->recordCount(), 1);
    QCOMPARE(hub.tbPagar()->value("condicao").toString(), QString("DPC - 2"));
    // Sent to cash: one cash-ledger row, no hand-off row in this mode.
    QCOMPARE(f.count("caixa"), 1);
    QCOMPARE(f.count("caixatemp"), 0);
    Columns cash = cashRow(30);
    QCOMPARE(f.rows("caixa").size(), 1);
    CHECK_ROW(f.rows("caixa")[0], cash);
}

void TstSettlement::partialSettlementPaidInFullOrAbove_data()
{
    QTest::addColumn<double>("valorPago");
    QTest::addColumn<bool>("remainder");
    QTest::addColumn<double>("remainderValue");
    QTest::newRow("paid above the value: negative remainder") << 130.0 << true << -30.0;
    QTest::newRow("paid in full: settled, no remainder") << 100.0 << false << 0.0;
}

void TstSettlement::partialSettlementPaidInFullOrAbove()
{
    QFETCH(double, valorPago);
    QFETCH(bool, remainder);
    QFETCH(double, remainderValue);
    Fixture f;
    REQUIRE_DB(f.db);
    f.standardSetting();
    const int key = f.payable();
    frmPagarManutencao hub;
    hub.show();
    Screen s(hub, valorPago);
    ScriptedMessages boxes({QMessageBox::No});
    s.dlg.TSpeedButton7()->click();
    QCOMPARE(boxes.unexpected, 0);
    QCOMPARE(s.dlg.result(), int(QDialog::Accepted));
    const auto pagar = f.rows("pagar");
    QCOMPARE(pagar.size(), remainder ? 2 : 1);
    CHECK_ROW(pagar[0], settledCommon(valorPago) + Columns{{"especie", "VALOR DO DPC"},
                                                           {"tiporecebimento", "Dpc"},
                                                           {"numerodpc", 1.0}});
    if (remainder) {
        CHECK_ROW(pagar[1], (Columns{{"Valor", remainderValue},
                                     {"pago", "N"},
                                     {"condicao", "DPC - 1"},
                                     {"numerodpc", 1.0}}));
    } else {
        // The list keeps the settled payable, shown as settled.
        QCOMPARE(hub.tbPagar()->value("Controle").toInt(), key);
        QCOMPARE(hub.tbPagar()->text("pago"), QString("S"));
    }
}

void TstSettlement::substitutesForMissingClassification_data()
{
    // A payable without payment type, expense type or cost-centre description
    // in gerenial, settled in each mode.
    QTest::addColumn<int>("mode"); // 0 cash, 1 bank, 2 DPC
    QTest::addColumn<QString>("tipo");
    QTest::addColumn<QString>("gerenial");
    QTest::newRow("cash") << 0 << "DIVERSOS"
                          << "ALUGUEL";
    QTest::newRow("bank") << 1 << "DIVERSOS"
                          << "CONTA CORRENTE";
    QTest::newRow("DPC keeps the payment type") << 2 << "SEM TIPO"
                                                << "ALUGUEL";
}

void TstSettlement::substitutesForMissingClassification()
{
    QFETCH(int, mode);
    QFETCH(QString, tipo);
    QFETCH(QString, gerenial);
    Fixture f;
    REQUIRE_DB(f.db);
    f.standardSetting();
    f.payable({{"codigotipo", 0.0},
               {"tipo", "SEM TIPO"},
               {"codigodespesa", QVariant(QMetaType::fromType<double>())},
               {"despesa", QVariant(QMetaType::fromType<QString>())},
               {"gerenial", ""}});
    frmPagarManutencao hub;
    hub.show();
    Screen s(hub, 60);
    ScriptedMessages boxes({QMessageBox::No});
    QPushButton *buttons[] = {s.dlg.SpeedButton1(), s.dlg.SpeedButton2(), s.dlg.TSpeedButton7()};
    buttons[mode]->click();
    QCOMPARE(s.dlg.result(), int(QDialog::Accepted));
    const auto pagar = f.rows("pagar");
    CHECK_ROW(pagar[0], (Columns{{"tipo", tipo}, {"codigotipo", 0.0}, {"gerenial", gerenial}}));
    if (mode == 1) {
        // The ledger debit: the payment type as the payable has it, the
        // expense type with its substitute.
        CHECK_ROW(f.rows("contacorrente")[0], (Columns{{"codigotipo", 0.0},
                                                       {"tipo", "SEM TIPO"},
                                                       {"codigodespesa", 99999.0},
                                                       {"tipodespesa", "DIVERSOS"}}));
    }
    if (mode == 2) {
        QCOMPARE(pagar.size(), 2);
        CHECK_ROW(pagar[1], (Columns{{"codigotipo", 0.0},
                                     {"tipo", "SEM TIPO"},
                                     {"codigodespesa", 99999.0},
                                     {"despesa", "DIVERSOS"},
                                     {"gerenial", "ALUGUEL"},
                                     {"gerencial", "ALUGUEL"}}));
    }
}

void TstSettlement::costCentreListNarrowed_data()
{
    QTest::addColumn<QVariant>("code");
    QTest::addColumn<QList<int>>("listed");
    QTest::newRow("the payable's cost centre alone") << QVariant(4.0) << QList<int>{4};
    QTest::newRow("no code: an empty list, the settlement goes on")
        << QVariant(QMetaType::fromType<double>()) << QList<int>{};
}

void TstSettlement::costCentreListNarrowed()
{
    QFETCH(QVariant, code);
    QFETCH(QList<int>, listed);
    Fixture f;
    REQUIRE_DB(f.db);
    f.standardSetting();
    f.payable({{"codigogerencial", code}});
    frmPagarManutencao hub;
    hub.show();
    hub.lookups()->tbgerencial->open();
    QCOMPARE(hub.lookups()->tbgerencial->recordCount(), 2);
    Screen s(hub, 100);
    ScriptedMessages boxes({QMessageBox::Yes});
    s.dlg.SpeedButton1()->click();
    QCOMPARE(boxes.unexpected, 0);
    QCOMPARE(boxes.boxes.size(), 1); // the question, no error
    QCOMPARE(f.scalar("select pago from pagar").toString(), QString("S"));
    QCOMPARE(f.count("caixa"), 1);
    QCOMPARE(f.scalar("select codigogerencial from pagartemp").isNull(), code.isNull());
    RecordSet *g = hub.lookups()->tbgerencial;
    QList<int> got;
    for (int i = 0; i < g->recordCount(); ++i)
        got << g->valueAt(i, "codigogerencial").toInt();
    QCOMPARE(got, listed);
}

void TstSettlement::settledOrDeletedMeanwhile_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("deleted");
    QTest::newRow("cash, settled elsewhere") << 0 << false;
    QTest::newRow("bank, settled elsewhere") << 1 << false;
    QTest::newRow("DPC, settled elsewhere") << 2 << false;
    QTest::newRow("cash, deleted elsewhere") << 0 << true;
    QTest::newRow("DPC, deleted elsewhere") << 2 << true;
}

void TstSettlement::settledOrDeletedMeanwhile()
{
    QFETCH(int, mode);
    QFETCH(bool, deleted);
    Fixture f;
    REQUIRE_DB(f.db);
    f.standardSetting();
    f.payable();
    frmPagarManutencao hub;
    hub.show();
    Screen s(hub, 60);
    // Another workstation, on its own connection, after the screen opened.
    if (deleted)
        f.exec("delete from pagar");
    else
        f.exec("update pagar set pago = 'S', Dataquitacao = '2024-04-20', totalpg = 100, "
               "valorpg = 100, usuario = 'OUTRA ESTACAO'");
    ScriptedMessages boxes({QMessageBox::Yes});
    QPushButton *buttons[] = {s.dlg.SpeedButton1(), s.dlg.SpeedButton2(), s.dlg.TSpeedButton7()};
    buttons[mode]->click();
    QCOMPARE(boxes.unexpected, 0);
    const MessageBoxRequest &last = boxes.boxes.last();
    QCOMPARE(last.title, QString("Atenção"));
    QCOMPARE(last.icon, QMessageBox::Warning);
    if (deleted) {
        QVERIFY2(last.text.contains("excluída"), qPrintable(last.text));
        QCOMPARE(f.count("pagar"), 0);
        QCOMPARE(hub.tbPagar()->recordCount(), 0);
    } else {
        QCOMPARE(last.text, QString("Nota já foi Quitada !!!"));
        const auto pagar = f.rows("pagar");
        QCOMPARE(pagar.size(), 1); // no remainder
        CHECK_ROW(pagar[0], (Columns{{"totalpg", 100.0},
                                     {"Dataquitacao", QDate(2024, 4, 20)},
                                     {"usuario", "OUTRA ESTACAO"},
                                     {"especie", QVariant()},
                                     {"numerodpc", QVariant()}}));
        QCOMPARE(hub.tbPagar()->text("pago"), QString("S")); // the list now knows
    }
    QCOMPARE(f.count("caixa") + f.count("caixatemp") + f.count("contacorrente"), 0);
    QCOMPARE(f.scalar("select Nota from pagartemp").toString(), QString("ANTIGA"));
    QCOMPARE(s.dlg.result(), int(QDialog::Rejected));
}

void TstSettlement::settledByAnotherWorkstationWhileLocked()
{
    // The other workstation holds the payable locked while it settles it and
    // commits only after this screen has started its own settlement: the
    // screen must wait for it and then refuse, not pay it a second time.
    Fixture f;
    REQUIRE_DB(f.db);
    f.standardSetting();
    f.payable();
    frmPagarManutencao hub;
    hub.show();
    Screen s(hub, 100);

    const ConnectionSettings cs = TestDb::serverSettings(f.db.databaseName());
    std::atomic<bool> locked{false};
    QString otherError;
    QThread *other = QThread::create([&] {
        const QString name = QStringLiteral("other_workstation");
        {
            QSqlDatabase d = QSqlDatabase::addDatabase(QStringLiteral("QMYSQL"), name);
            d.setHostName(cs.host);
            d.setPort(cs.port);
            d.setUserName(cs.user);
            d.setPassword(cs.password);
            d.setDatabaseName(cs.database);
            if (!d.open()) {
                otherError = d.lastError().text();
                locked = true;
                return;
            }
            QSqlQuery q(d);
            const bool ok =
                q.exec("START TRANSACTION") && q.exec("SELECT * FROM pagar FOR UPDATE") &&
                q.exec("UPDATE pagar SET pago = 'S', Dataquitacao = '2024-04-20', totalpg = 100");
            if (!ok)
                otherError = q.lastError().text();
            locked = true;
            // Hold the lock until the settlement's locking read is seen
            // waiting for it on the server.
            QElapsedTimer waiting;
            waiting.start();
            bool seen = false;
            while (ok && !seen && waiting.elapsed() < 20000) {
                QSqlQuery w(d);
                seen = w.exec("select count(*) from information_schema.processlist "
                              "where id <> connection_id() and command in ('Query', 'Execute') "
                              "and info like '%FOR UPDATE%'") &&
                       w.next() && w.value(0).toInt() > 0;
                if (!seen)
                    QThread::msleep(10);
            }
            if (ok && !seen)
                otherError = QStringLiteral("the settlement never waited for the lock");
            if (!q.exec("COMMIT"))
                otherError = q.lastError().text();
            d.close();
        }
        QSqlDatabase::removeDatabase(name);
    });
    other->start();
    QTRY_VERIFY(locked.load());
    ScriptedMessages boxes({QMessageBox::Yes});
    s.dlg.SpeedButton1()->click();
    other->wait();
    delete other;
    QVERIFY2(otherError.isEmpty(), qPrintable(otherError));
    QCOMPARE(boxes.texts().last(), QString("Nota já foi Quitada !!!"));
    QCOMPARE(f.scalar("select totalpg from pagar").toDouble(), 100.0);
    QVERIFY(f.scalar("select especie from pagar").isNull());
    QCOMPARE(f.count("caixa") + f.count("caixatemp"), 0);
}

void TstSettlement::failureInTheMiddleWritesNothing_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("trigger"); // the statement that fails
    QTest::newRow("cash: hand-off row") << 0 << "BEFORE INSERT ON caixatemp";
    QTest::newRow("cash: cash-ledger row") << 0 << "BEFORE INSERT ON caixa";
    QTest::newRow("bank: ledger debit") << 1 << "BEFORE INSERT ON contacorrente";
    QTest::newRow("DPC: cash-ledger row") << 2 << "BEFORE INSERT ON caixa";
    QTest::newRow("DPC: remainder payable") << 2 << "BEFORE INSERT ON pagar";
}

void TstSettlement::failureInTheMiddleWritesNothing()
{
    QFETCH(int, mode);
    QFETCH(QString, trigger);
    Fixture f;
    REQUIRE_DB(f.db);
    f.standardSetting();
    f.payable();
    f.exec("CREATE TRIGGER falha " + trigger +
           " FOR EACH ROW SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'caixa fechado'");
    frmPagarManutencao hub;
    hub.show();
    Screen s(hub, 60);
    QPushButton *buttons[] = {s.dlg.SpeedButton1(), s.dlg.SpeedButton2(), s.dlg.TSpeedButton7()};
    {
        ScriptedMessages boxes({QMessageBox::Yes});
        buttons[mode]->click();
        QCOMPARE(boxes.unexpected, 0);
        const MessageBoxRequest &last = boxes.boxes.last();
        QCOMPARE(last.icon, QMessageBox::Critical);
        QVERIFY2(last.text.contains("caixa fechado"), qPrintable(last.text));
    }
    const auto pagar = f.rows("pagar");
    QCOMPARE(pagar.size(), 1);
    CHECK_ROW(pagar[0], (Columns{{"pago", "N"},
                                 {"Dataquitacao", QVariant()},
                                 {"totalpg", QVariant()},
                                 {"especie", QVariant()},
                                 {"usuario", "QUEM LANCOU"},
                                 {"numerodpc", QVariant()}}));
    QCOMPARE(f.count("caixa") + f.count("caixatemp") + f.count("contacorrente"), 0);
    const auto work = f.rows("pagartemp");
    QCOMPARE(work.size(), 1);
    QCOMPARE(work[0].value("Nota").toString(), QString("ANTIGA"));
    QCOMPARE(hub.tbPagar()->text("pago"), QString("N"));
    QVERIFY(s.buttonsShown()); // nothing written: the person may try again
    QCOMPARE(s.dlg.result(), 0);

    f.exec("DROP TRIGGER falha");
    ScriptedMessages boxes({QMessageBox::Yes});
    buttons[mode]->click();
    QCOMPARE(boxes.unexpected, 0);
    QCOMPARE(f.scalar("select pago from pagar order by Controle limit 1").toString(), QString("S"));
    QCOMPARE(s.dlg.result(), int(QDialog::Accepted));
}

CP_TEST(TstSettlement)
#include "tst_settlement.moc"
