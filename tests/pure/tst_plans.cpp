// The plans of the payables book, without a window or a database: which rows
// a settlement (F3, cash, bank, partial) and an entry (instalments, paid at
// entry) would write, with which values.

#include "SamplePayable.h"
#include "TestMain.h"
#include "books/LedgerBook.h"
#include "payables/EntryPlan.h"
#include "payables/SettlementPlan.h"

#include <QSqlField>
#include <QSqlRecord>
#include <QtTest>

namespace {

const QDate kQuitacao(2024, 4, 25);
const QDateTime kAt(QDate(2024, 4, 29), QTime(10, 0, 0));
const QString kUser = QStringLiteral("OPERADOR COM NOME LONGO");

// The sample payable, not settled, with the case's columns over it.
PayableRow payable(const QVariantMap &overrides)
{
    QVariantMap cols{{"Controle", 7},
                     {"Dataquitacao", QVariant(QMetaType::fromType<QDate>())},
                     {"numerodpc", QVariant(QMetaType::fromType<double>())}};
    for (const auto &[column, value] : samplePayableColumns())
        cols.insert(column, value);
    for (auto it = overrides.begin(); it != overrides.end(); ++it)
        cols[it.key()] = it.value();
    QSqlRecord rec;
    for (auto it = cols.begin(); it != cols.end(); ++it) {
        QSqlField f(it.key(), it.value().metaType());
        f.setValue(it.value());
        rec.append(f);
    }
    return PayableRow(rec);
}

QVariantMap byName(const RowValues &row)
{
    QVariantMap m;
    for (const auto &[name, value] : row)
        m.insert(name.toLower(), value);
    return m;
}

// Every expected column against the row: an invalid expected value means
// the column must not be written at all; a double compares as a number,
// anything else as text.
QString mismatches(const RowValues &row, const QVariantMap &expected)
{
    const QVariantMap got = byName(row);
    QStringList bad;
    for (auto it = expected.begin(); it != expected.end(); ++it) {
        const QString column = it.key().toLower();
        const QVariant &want = it.value();
        if (!want.isValid()) {
            if (got.contains(column))
                bad << column + ": written, should not be";
            continue;
        }
        if (!got.contains(column)) {
            bad << column + ": not written";
            continue;
        }
        const QVariant v = got.value(column);
        const bool same = want.metaType().id() == QMetaType::Double
                              ? v.toDouble() == want.toDouble()
                              : v.toString() == want.toString();
        if (!same)
            bad << QStringLiteral("%1: got '%2', want '%3'")
                       .arg(column, v.toString(), want.toString());
    }
    return bad.join(QStringLiteral("; "));
}

#define CHECK_COLUMNS(row, expected)                                                               \
    do {                                                                                           \
        const QString m_ = mismatches((row), (expected));                                          \
        QVERIFY2(m_.isEmpty(), qPrintable(m_));                                                    \
    } while (false)

// Expected: the column is not written.
const QVariant kAbsent;
const QVariant kNullText = QVariant(QMetaType::fromType<QString>());

} // namespace

class TstPlans : public QObject
{
    Q_OBJECT
private slots:
    void settlement_data();
    void settlement();
    void refusal_data();
    void refusal();
    void instalmentValue_data();
    void instalmentValue();
    void instalments_data();
    void instalments();
    void paidAtEntry();
};

void TstPlans::settlement_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<double>("valorPago");
    QTest::addColumn<bool>("toCash");
    QTest::addColumn<QVariantMap>("overrides"); // of the payable
    QTest::addColumn<QVariantMap>("work");      // work row; empty: none
    QTest::addColumn<QVariantMap>("settled");
    QTest::addColumn<QVariantMap>("ledger");    // ledger debit; empty: none
    QTest::addColumn<QVariantMap>("cash");      // cash payment; empty: none
    QTest::addColumn<QVariantMap>("remainder"); // empty: none

    const auto Full = int(SettlementMode::Full), Cash = int(SettlementMode::Cash),
               Bank = int(SettlementMode::Bank), Dpc = int(SettlementMode::Dpc);
    const QVariantMap none;
    const QVariantMap noClassification{{"codigotipo", 0.0},
                                       {"tipo", "SEM TIPO"},
                                       {"codigodespesa", QVariant(QMetaType::fromType<double>())},
                                       {"despesa", kNullText},
                                       {"gerenial", ""}};

    // F3: today, the instalment as stored (not what was typed), the branch
    // of the list in the work row and the cash rows, no workstation.
    QTest::newRow("full, to cash")
        << Full << 60.0 << true << QVariantMap{{"Valor", 33.333}}
        << QVariantMap{{"Valor", 33.333},          {"totalpg", 33.333},
                       {"total", 300.0},           {"Codigofilial", 3.0},
                       {"filial", "LOJA CENTRO"},  {"gerenial", "ALUGUEL"},
                       {"Obs1", "nota de luz"},    {"usuario", kUser},
                       {"Dataquitacao", kQuitacao}}
        << QVariantMap{{"pago", "S"},
                       {"Dataquitacao", kQuitacao},
                       {"totalpg", 33.333},
                       {"valorpg", 33.333},
                       {"especie", "Pagamento Pagar Dinheiro"},
                       {"usuario", "OPERADOR COM NO"},
                       {"horaquitado", "10:00:00"},
                       {"nomecomputador", kAbsent},
                       {"tipo", kAbsent},
                       {"gerenial", kAbsent},
                       {"filial", kAbsent}}
        << none << QVariantMap{{"valor", 33.333},   {"data", kQuitacao},
                               {"filialCode", 3.0}, {"filialName", "LOJA CENTRO"},
                               {"computer", ""},    {"handOff", true}}
        << none;
    QTest::newRow("full, not to cash")
        << Full << 100.0 << false << none << QVariantMap{{"totalpg", 100.0}}
        << QVariantMap{{"valorpg", 100.0}} << none << none << none;
    // The cash mode: what was paid; the amounts copied rounded to cents, the
    // payable's own branch in the cash rows, the workstation named.
    QTest::newRow("cash") << Cash << 80.0 << true << QVariantMap{{"Valor", 33.333}}
                          << QVariantMap{{"Valor", 33.33},
                                         {"totalpg", 80.0},
                                         {"Codigofilial", 3.0},
                                         {"filial", "LOJA CENTRO"},
                                         {"Obs1", "nota de luz"}}
                          << QVariantMap{{"totalpg", 80.0},
                                         {"valorpg", 80.0},
                                         {"especie", "PAGAMENTO PAGAR DINHEIRO"},
                                         {"tipo", "BOLETO"},
                                         {"tiporecebimento", "Pagamento Pagar Dinheiro"},
                                         {"gerenial", "ALUGUEL LOJA"},
                                         {"filial", "LOJA NORTE"},
                                         {"nomefornecedor", "FORNECEDOR X"},
                                         {"nomecomputador", "ESTACAO-1"},
                                         {"usuario", "OPERADOR COM NO"},
                                         {"numerodpc", kAbsent}}
                          << none
                          << QVariantMap{{"valor", 80.0},
                                         {"filialCode", 5.0},
                                         {"filialName", "LOJA NORTE"},
                                         {"computer", "ESTACAO-1"},
                                         {"handOff", true}}
                          << none;
    QTest::newRow("bank: the ledger, never cash")
        << Bank << 250.0 << true << QVariantMap{{"Valor", 250.0}}
        << QVariantMap{{"Valor", 250.0}, {"totalpg", 250.0}}
        << QVariantMap{{"especie", "Pagamento Pagar Dinheiro"},
                       {"gerenial", "CONTA CORRENTE"},
                       {"tipo", "BOLETO"}}
        // The interest pseudo-account, on the list's branch, a debit only.
        << QVariantMap{{"tipos", "DEBITO"},       {"codigoconta", 99999.0},
                       {"conta", "JUROS"},        {"debito", 250.0},
                       {"valor", kAbsent},        {"dataquitacao", kQuitacao},
                       {"codigofilial", 3.0},     {"filial", "LOJA CENTRO"},
                       {"hora", QTime(10, 0, 0)}, {"obs", ""}}
        << none << none;
    // Partial: no work row; cash without hand-off; what is left (or paid
    // above) becomes a new open payable, nothing when paid in full.
    QTest::newRow("DPC below the value")
        << Dpc << 60.0 << true << none << none
        << QVariantMap{{"totalpg", 60.0},  {"especie", "VALOR DO DPC"},  {"tiporecebimento", "Dpc"},
                       {"tipo", "BOLETO"}, {"gerenial", "ALUGUEL LOJA"}, {"numerodpc", 1.0}}
        << none << QVariantMap{{"valor", 60.0}, {"handOff", false}}
        << QVariantMap{{"Valor", 40.0},
                       {"condicao", "DPC - 1"},
                       {"numerodpc", 1.0},
                       {"Nota", "4711"},
                       {"notacontrole", "4711"},
                       {"Datavenc", QDate(2024, 3, 10)},
                       {"parcelas", 1.0},
                       {"total", 300.0},
                       {"Obs", "DPC"},
                       {"pago", "N"},
                       {"gerencial", "ALUGUEL LOJA"},
                       {"usuario", "OPERADOR COM NO"},
                       {"tiporecebimento", ""},
                       {"Dataquitacao", kAbsent},
                       {"valorpg", kAbsent},
                       {"especie", kAbsent}};
    QTest::newRow("DPC equal to the value: settled, no remainder")
        << Dpc << 100.0 << false << none << none
        << QVariantMap{{"valorpg", 100.0}, {"numerodpc", 1.0}} << none << none << none;
    QTest::newRow("DPC above the value: negative remainder")
        << Dpc << 130.0 << false << none << none << QVariantMap{{"valorpg", 130.0}} << none << none
        << QVariantMap{{"Valor", -30.0}, {"condicao", "DPC - 1"}};
    QTest::newRow("DPC on a remainder continues the chain")
        << Dpc << 30.0 << false << QVariantMap{{"numerodpc", 1.0}, {"Valor", 40.0}} << none
        << QVariantMap{{"valorpg", 30.0}, {"numerodpc", kAbsent}} << none << none
        << QVariantMap{{"Valor", 10.0}, {"condicao", "DPC - 2"}, {"numerodpc", 2.0}};
    // A payable without payment type, expense type or gerenial.
    QTest::newRow("substitutes, cash")
        << Cash << 60.0 << false << noClassification << QVariantMap{{"tipo", "SEM TIPO"}}
        << QVariantMap{{"tipo", "DIVERSOS"}, {"gerenial", "ALUGUEL"}} << none << none << none;
    QTest::newRow("substitutes, bank")
        << Bank << 60.0 << false << noClassification << QVariantMap{{"tipo", "SEM TIPO"}}
        << QVariantMap{{"tipo", "DIVERSOS"}, {"gerenial", "CONTA CORRENTE"}}
        << QVariantMap{{"codigotipo", 0.0},
                       {"tipo", "SEM TIPO"},
                       {"codigodespesa", 99999.0},
                       {"tipodespesa", "DIVERSOS"}}
        << none << none;
    QTest::newRow("substitutes, DPC keeps the payment type")
        << Dpc << 60.0 << false << noClassification << none
        << QVariantMap{{"tipo", "SEM TIPO"}, {"gerenial", "ALUGUEL"}} << none << none
        << QVariantMap{{"tipo", "SEM TIPO"},
                       {"codigodespesa", 99999.0},
                       {"despesa", "DIVERSOS"},
                       {"gerenial", "ALUGUEL"},
                       {"gerencial", "ALUGUEL"}};
}

void TstPlans::settlement()
{
    QFETCH(int, mode);
    QFETCH(double, valorPago);
    QFETCH(bool, toCash);
    QFETCH(QVariantMap, overrides);
    QFETCH(QVariantMap, work);
    QFETCH(QVariantMap, settled);
    QFETCH(QVariantMap, ledger);
    QFETCH(QVariantMap, cash);
    QFETCH(QVariantMap, remainder);

    const PayableRow p = payable(overrides);
    SettlementRequest r;
    r.key = 7;
    r.mode = SettlementMode(mode);
    r.date = kQuitacao;
    r.valorPago = valorPago;
    r.valorDuplicata = p.money("Valor");
    r.toCash = toCash;
    r.user = kUser;
    r.computer = QStringLiteral("ESTACAO-1");
    r.at = kAt;
    r.branchCode = 3.0;
    r.branchName = QStringLiteral("LOJA CENTRO");
    const SettlementPlan plan = SettlementPlan::make(p, r);

    QVERIFY(!plan.refused);
    QCOMPARE(plan.workRow.has_value(), !work.isEmpty());
    if (plan.workRow)
        CHECK_COLUMNS(*plan.workRow, work);
    CHECK_COLUMNS(plan.settled, settled);
    QCOMPARE(plan.ledgerDebit.has_value(), !ledger.isEmpty());
    if (plan.ledgerDebit)
        CHECK_COLUMNS(LedgerBook::row(*plan.ledgerDebit), ledger);
    QCOMPARE(plan.cash.has_value(), !cash.isEmpty());
    if (plan.cash) {
        const CashPayment &c = *plan.cash;
        const RowValues got{{"valor", c.valor},
                            {"data", c.data},
                            {"filialCode", c.filialCode},
                            {"filialName", c.filialName},
                            {"computer", c.computer},
                            {"nota", c.nota},
                            {"user", c.user},
                            {"hora", c.hora}};
        QVariantMap want = cash;
        want.remove("handOff");
        want.insert("nota", "4711");
        want.insert("user", kUser);
        want.insert("hora", "10:00:00");
        if (!want.contains("data"))
            want.insert("data", kQuitacao);
        CHECK_COLUMNS(got, want);
        QCOMPARE(plan.handOff, cash.value("handOff").toBool());
    }
    QCOMPARE(plan.remainder.has_value(), !remainder.isEmpty());
    if (plan.remainder)
        CHECK_COLUMNS(*plan.remainder, remainder);
}

void TstPlans::refusal_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("pago");
    QTest::addColumn<QDate>("quitacao");
    QTest::addColumn<bool>("refused");
    const QDate none;
    QTest::newRow("F3: marked paid, no date") << int(SettlementMode::Full) << "S" << none << true;
    QTest::newRow("F3: dated but not paid")
        << int(SettlementMode::Full) << "N" << QDate(2024, 4, 1) << false;
    QTest::newRow("screen: paid and dated")
        << int(SettlementMode::Cash) << "S" << QDate(2024, 4, 1) << true;
    QTest::newRow("screen: marked paid, no date")
        << int(SettlementMode::Dpc) << "S" << none << false;
    QTest::newRow("screen: the zero date is no date")
        << int(SettlementMode::Bank) << "S" << QDate(1899, 12, 30) << false;
}

void TstPlans::refusal()
{
    QFETCH(int, mode);
    QFETCH(QString, pago);
    QFETCH(QDate, quitacao);
    QFETCH(bool, refused);
    SettlementRequest r;
    r.mode = SettlementMode(mode);
    r.date = kQuitacao;
    r.valorPago = 100;
    r.valorDuplicata = 100;
    r.toCash = true;
    r.at = kAt;
    const SettlementPlan plan = SettlementPlan::make(
        payable({{"pago", pago},
                 {"Dataquitacao", quitacao.isValid() ? QVariant(quitacao)
                                                     : QVariant(QMetaType::fromType<QDate>())}}),
        r);
    QCOMPARE(plan.refused, refused);
    // A refused plan writes nothing at all.
    QCOMPARE(plan.settled.isEmpty(), refused);
    QCOMPARE(!plan.workRow && !plan.cash && !plan.ledgerDebit && !plan.remainder, refused);
}

void TstPlans::instalmentValue_data()
{
    QTest::addColumn<double>("total");
    QTest::addColumn<double>("parcelas");
    QTest::addColumn<double>("valor");
    QTest::newRow("1.000,00 in 3") << 1000.0 << 3.0 << 333.33;
    QTest::newRow("0,125 in 1: the tie goes up") << 0.125 << 1.0 << 0.13;
    QTest::newRow("1,005 in 1: stored just below") << 1.005 << 1.0 << 1.00;
    QTest::newRow("200,00 in 3") << 200.0 << 3.0 << 66.67;
    QTest::newRow("count 0: the total") << 123.456 << 0.0 << 123.46;
    QTest::newRow("negative total") << -100.0 << 3.0 << -33.33;
}

void TstPlans::instalmentValue()
{
    QFETCH(double, total);
    QFETCH(double, parcelas);
    QFETCH(double, valor);
    QCOMPARE(EntryPlan::instalmentValue(total, parcelas), valor);
}

void TstPlans::instalments_data()
{
    QTest::addColumn<double>("parcelas");
    QTest::addColumn<QStringList>("vencs");
    QTest::newRow("3") << 3.0 << QStringList{"09/02/2024", "10/03/2024", "09/04/2024"};
    QTest::newRow("2,5 rounds up") << 2.5 << QStringList{"09/02/2024", "10/03/2024", "09/04/2024"};
    QTest::newRow("0,4: none") << 0.4 << QStringList{};
    QTest::newRow("-2: none") << -2.0 << QStringList{};
}

void TstPlans::instalments()
{
    QFETCH(double, parcelas);
    QFETCH(QStringList, vencs);
    NewPayableValues v;
    v.emissao = QDate(2024, 1, 10);
    v.nota = QStringLiteral("NOTA-LONGA-12");
    v.nomeFornecedor = QStringLiteral("SILVA & CIA");
    v.total = 1000;
    v.parcelas = parcelas;
    v.valorParcela = EntryPlan::instalmentValue(v.total, v.parcelas);
    const EntryPlan plan = EntryPlan::instalments(v, kUser, QStringLiteral("10:00:00"));
    QVERIFY(!plan.cash);
    QCOMPARE(plan.payables.size(), vencs.size());
    for (int i = 0; i < vencs.size(); ++i) {
        const QString n = QString::number(i + 1);
        CHECK_COLUMNS(plan.payables[i],
                      (QVariantMap{{"Nota", "NOTA-LONGA"},
                                   {"notacontrole", "NOTA-LONGA-12/" + n},
                                   {"condicao", n + "º PARCELA"},
                                   {"Datavenc", QDate::fromString(vencs[i], "dd/MM/yyyy")},
                                   {"Valor", parcelas == 3.0 ? 333.33 : 400.0},
                                   {"total", 1000.0},
                                   {"parcelas", parcelas},
                                   {"pago", "N"},
                                   {"usuario", kUser},
                                   {"horalanc", "10:00:00"},
                                   {"Dataquitacao", kAbsent},
                                   {"totalpg", kAbsent},
                                   {"especie", kAbsent}}));
    }
}

void TstPlans::paidAtEntry()
{
    NewPayableValues v;
    v.emissao = QDate(2024, 1, 10);
    v.nota = QStringLiteral("NF-77");
    v.nomeFornecedor = QString("F").repeated(60);
    v.codigoFornecedor = 12;
    v.nomeFilial = QStringLiteral("MATRIZ");
    v.codigoFilial = 1;
    v.total = 123.456;
    v.parcelas = 0;
    v.valorParcela = EntryPlan::instalmentValue(v.total, v.parcelas);
    const QDate quitacao(2024, 2, 15), today(2024, 4, 29);
    const EntryPlan plan =
        EntryPlan::paidAtEntry(v, quitacao, today, kUser, QStringLiteral("10:00:00"));
    QCOMPARE(plan.payables.size(), 1);
    CHECK_COLUMNS(plan.payables[0], (QVariantMap{{"Nota", "NF-77"},
                                                 {"notacontrole", "NF-77/1"},
                                                 {"condicao", "1º PARCELA"},
                                                 {"Dataemissao", v.emissao},
                                                 {"Datavenc", v.emissao},
                                                 {"Dataquitacao", quitacao},
                                                 {"Valor", 123.46},
                                                 {"totalpg", 123.46},
                                                 {"total", 123.456},
                                                 {"parcelas", 0.0},
                                                 {"pago", "S"},
                                                 {"especie", "Pagamento Pagar Dinheiro"},
                                                 {"Nome", QString("F").repeated(50)},
                                                 {"horaquitado", "10:00:00"},
                                                 {"valorpg", kAbsent}}));
    // The cash moves today, for the total as typed.
    QVERIFY(plan.cash);
    QCOMPARE(plan.cash->nota.toString(), QString("NF-77/1"));
    QCOMPARE(plan.cash->data, today);
    QCOMPARE(plan.cash->valor.toDouble(), 123.456);
    QCOMPARE(plan.cash->nome.toString(), QString("F").repeated(50));
    QCOMPARE(plan.cash->filialName.toString(), QString("MATRIZ"));
    QVERIFY(plan.cash->computer.isEmpty());
}

CP_TEST(TstPlans)
#include "tst_plans.moc"
