// The open-and-paid movement of one cost centre or supplier and the
// synthetic payments by supplier: which payables each lists, in which group,
// with which sums.

#include "AnnualFixture.h"
#include "TestMain.h"
#include "report/PreparedReport.h"
#include "reports/PaymentSummaryFill.h"
#include "reports/WorkTableReports.h"

#include <QtTest>

using namespace AnnualTest;
using Report::TableRow;
using Tipo = PaymentSummaryFill::Tipo;

namespace {

const QDate kFrom(2024, 4, 1);
const QDate kTo(2024, 4, 30);

// Supplier 10 (ALFA LENTES) under cost centre 5 (ALUGUEL) unless said:
// Q1 due and settled in April (95,00 of 100,00); Q2 settled in April with
// totalpg 0; A1 open, due in April; A2 open and renegotiated; Q3 settled in
// April and renegotiated (30,00); A3 open, due in May; Q4 due in April and
// settled in May; A4 open, of BETA ÓPTICA (20); A5 open, under ENERGIA (6);
// A6 open without a name; A7 open with an empty name. Each issued a day
// after the one before, so the report's order is this one.
void standardRows(Fixture &f)
{
    f.payable("Q1", 10, 5, QDate(2024, 4, 10), 100.00, QDate(2024, 4, 12), 95.00);
    f.payable("Q2", 10, 5, QDate(2024, 3, 15), 50.00, QDate(2024, 4, 5), 0.0);
    f.payable("A1", 10, 5, QDate(2024, 4, 20), 40.00);
    f.payable("A2", 10, 5, QDate(2024, 4, 25), 45.00, {}, {}, "S");
    f.payable("Q3", 10, 5, QDate(2024, 4, 1), 30.00, QDate(2024, 4, 2), 30.00, "S");
    f.payable("A3", 10, 5, QDate(2024, 5, 1), 35.00);
    f.payable("Q4", 10, 5, QDate(2024, 4, 28), 25.00, QDate(2024, 5, 2));
    f.payable("A4", 20, 5, QDate(2024, 4, 10), 60.00);
    f.payable("A5", 10, 6, QDate(2024, 4, 11), 70.00);
    f.payable("A6", 10, 5, QDate(2024, 4, 12), 5.00);
    f.payable("A7", 10, 5, QDate(2024, 4, 13), 10.00);
    f.exec("update pagar set nome = null where nota = 'A6'");
    f.exec("update pagar set nome = '' where nota = 'A7'");
    f.exec("update pagar set dataemissao = date_add('2024-01-01', interval Controle day)");
}

// "GROUP: nota nota ..." for each group of the report, in print order.
QStringList groups(const Report::PreparedReport &r)
{
    QStringList out;
    for (const TableRow &row : r.table) {
        if (row.kind == TableRow::Kind::GroupHeader)
            out << row.cells.at(0).text.mid(QString("Descrição do Tipo => ").size()) + ":";
        else if (row.kind == TableRow::Kind::Detail && !row.cells.at(3).text.isEmpty())
            out.last() += " " + row.cells.at(3).text;
    }
    return out;
}

} // namespace

class TstPaymentSummaries : public QObject
{
    Q_OBJECT
private slots:
    void cleanup() { Clock::setFixed({}); }
    void openAndPaidGroups_data();
    void openAndPaidGroups();
    void openAndPaidRowsAndReport();
    void syntheticPayments();
};

void TstPaymentSummaries::openAndPaidGroups_data()
{
    QTest::addColumn<int>("tipo");
    QTest::addColumn<QVariant>("code");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("cost centre") << int(Tipo::Gerencial) << QVariant(5.0)
                                 << QStringList{"ABERTO NO PERIODO: A1/1 A4/1 A7/1",
                                                "PAGAMENTO NO PERIODO: Q1/1 Q2/1"};
    QTest::newRow("supplier") << int(Tipo::Fornecedor) << QVariant(10.0)
                              << QStringList{"ABERTO NO PERIODO: A1/1 A5/1 A7/1",
                                             "PAGAMENTO NO PERIODO: Q1/1 Q2/1"};
    QTest::newRow("no choice in Tipo") << int(Tipo::None) << QVariant(5.0) << QStringList{};
    QTest::newRow("list without a current row")
        << int(Tipo::Gerencial) << QVariant() << QStringList{};
    QTest::newRow("code of nothing") << int(Tipo::Fornecedor) << QVariant(99.0) << QStringList{};
}

void TstPaymentSummaries::openAndPaidGroups()
{
    QFETCH(int, tipo);
    QFETCH(QVariant, code);
    QFETCH(QStringList, expected);
    Fixture f;
    REQUIRE_DB(f.db);
    QVERIFY(f.ok);
    standardRows(f);
    PaymentSummaryFill fill(f.conn());
    fill.openAndPaid(Tipo(tipo), code.isValid() ? std::optional(code.toDouble()) : std::nullopt,
                     kFrom, kTo);
    const Report::PreparedReport r = WorkTableReports::openAndPaid(fill, kFrom, kTo);
    QCOMPARE(groups(r), expected);
    if (expected.isEmpty())
        QCOMPARE(cells(r, TableRow::Kind::Summary),
                 QStringList{"Quantidade de Registros => 0|||||||0,00|0,00"});
}

void TstPaymentSummaries::openAndPaidRowsAndReport()
{
    Fixture f;
    REQUIRE_DB(f.db);
    QVERIFY(f.ok);
    standardRows(f);
    PaymentSummaryFill fill(f.conn());
    QCOMPARE(fill.openAndPaid(Tipo::Gerencial, 5.0, kFrom, kTo), 5);
    QCOMPARE(f.rows("select CodigoNota, Data, datavenc, dataquitacao, Datai, dataf, Descricao, "
                    "valor, Credito, tabela, CodigoCliente, filial, codigoFilial, gerencial, "
                    "codigogerencial from resumo where CodigoNota in ('Q1/1', 'A1/1') "
                    "order by Controle"),
             QStringList({"Q1/1|2024-01-02|2024-04-10|2024-04-12|2024-04-01|2024-04-30|ALFA "
                          "LENTES|100|95|PAGAMENTO NO PERIODO|10|CENTRO|1|ALUGUEL|5",
                          "A1/1|2024-01-04|2024-04-20|NULL|2024-04-01|2024-04-30|ALFA "
                          "LENTES|40|NULL|ABERTO NO PERIODO|10|CENTRO|1|ALUGUEL|5"}));
    QCOMPARE(f.db.count("resumo"), 0);

    const Report::PreparedReport r = WorkTableReports::openAndPaid(fill, kFrom, kTo);
    QCOMPARE(r.orientation, Report::Orientation::Landscape);
    QCOMPARE(r.flavour, Report::Flavour::Independent);
    const QStringList header = r.pages[0].texts();
    QVERIFY(header.contains("Relatorio de Movimentação de Contas a Pagar Aberto e Quitado no "
                            "Periodo: 01/04/2024 à 30/04/2024"));
    QVERIFY(header.contains("Pagina : 1"));
    QCOMPARE(cells(r, TableRow::Kind::ColumnHeader),
             QStringList{"Filial|Codigo|Descrição |Nº Controle|Dt.Emissão|Dt.Venc.|Dt.Quitação|"
                         "Valor R$|Vl.Pagto.R$"});
    QCOMPARE(cells(r, TableRow::Kind::GroupHeader),
             QStringList({"Descrição do Tipo => ABERTO NO PERIODO||||||||",
                          "Descrição do Tipo => PAGAMENTO NO PERIODO||||||||"}));
    const QStringList details = cells(r, TableRow::Kind::Detail);
    QCOMPARE(details.mid(0, 2), QStringList({"1||ALFA LENTES|A1/1|04/01/2024|20/04/2024||40,00|",
                                             "||Central de Custo :  ALUGUEL||||||"}));
    QCOMPARE(details.at(6), QString("1||ALFA LENTES|Q1/1|02/01/2024|10/04/2024|12/04/2024|100,00|"
                                    "95,00"));
    QCOMPARE(cells(r, TableRow::Kind::GroupFooter),
             QStringList({"|||||Sub-Total => ||110,00|0,00", "|||||Sub-Total => ||150,00|95,00"}));
    QCOMPARE(cells(r, TableRow::Kind::Summary),
             QStringList{"Quantidade de Registros => 5|||||||260,00|95,00"});
}

void TstPaymentSummaries::syntheticPayments()
{
    Fixture f;
    REQUIRE_DB(f.db);
    QVERIFY(f.ok);
    standardRows(f);
    // Two suppliers of one name are one line.
    f.payable("B1", 20, 5, QDate(2024, 4, 3), 40.00, QDate(2024, 4, 3));
    f.payable("B2", 21, 6, QDate(2024, 4, 4), 25.00, QDate(2024, 4, 4));
    PaymentSummaryFill fill(f.conn());
    // Q1 and the renegotiated Q3; B1 and B2. Q2 (totalpg 0) and Q4 (May) not.
    QCOMPARE(fill.payments(kFrom, kTo), 4);
    QCOMPARE(f.rows("select codigonota, data, descricao, credito, tabela, codigocliente from "
                    "resumo order by Controle"),
             QStringList({"Q3|2024-04-02|ALFA LENTES|30|PAGAMENTO NO PERIODO|10",
                          "B1|2024-04-03|BETA ÓPTICA|40|PAGAMENTO NO PERIODO|20",
                          "B2|2024-04-04|BETA ÓPTICA|25|PAGAMENTO NO PERIODO|21",
                          "Q1|2024-04-12|ALFA LENTES|95|PAGAMENTO NO PERIODO|10"}));

    const Report::PreparedReport r = WorkTableReports::synthetic(fill, kFrom, kTo);
    QCOMPARE(r.title, QString("Perc. de Venda"));
    QCOMPARE(r.flavour, Report::Flavour::Modal);
    QCOMPARE(r.paper, Report::Paper::Letter);
    const QStringList header = r.pages[0].texts();
    QVERIFY(header.contains("Relatório Geral Sintético por Fornecedor e Data de Quitado no "
                            "Periodoo: 01/04/2024 à 30/04/2024"));
    QVERIFY(header.contains("Página: 1"));
    QVERIFY(header.contains("Emissão: 06/05/2024"));
    QCOMPARE(cells(r, TableRow::Kind::ColumnHeader), QStringList{"Código|Descrição|Total R$"});
    QCOMPARE(cells(r, TableRow::Kind::Detail),
             QStringList({"10|ALFA LENTES|125,00", "20|BETA ÓPTICA|65,00"}));
    QCOMPARE(cells(r, TableRow::Kind::Summary),
             QStringList{"Total de Itens Listados => 2||190,00"});
    // Only what was paid within the dates asked for.
    QCOMPARE(WorkTableReports::synthetic(fill, QDate(2024, 4, 3), QDate(2024, 4, 4))
                 .tableTexts(TableRow::Kind::Detail),
             QStringList{"20|BETA ÓPTICA|65,00"});
}

CP_TEST(TstPaymentSummaries)
#include "tst_paymentsummaries.moc"
