// The open- and paid-payables reports, checked on the prepared report: which
// payables each one lists, its header lines, group sub-totals against their
// rows, the summary against the sub-totals, empty periods and the two
// aggregate layouts.

#include "ReportsFixture.h"
#include "TestMain.h"
#include "report/PreparedReport.h"
#include "reports/Reports.h"

#include <QRegularExpression>
#include <QtTest>

#include <map>

using namespace ReportsTest;
using Report::PreparedReport;
using Report::TableRow;

namespace {

bool isMoney(const Report::Cell &c)
{
    return c.isNumber && c.mask.endsWith(QLatin1String(".00"));
}

// The payables listed: the nota (or notacontrole) of each detail row.
QStringList listed(const PreparedReport &r)
{
    static const QRegularExpression id(QStringLiteral("^([AQ]\\d)(/1)?$"));
    QStringList ids;
    for (const TableRow &row : r.table) {
        if (row.kind != TableRow::Kind::Detail)
            continue;
        for (const Report::Cell &c : row.cells) {
            const auto m = id.match(c.text);
            if (m.hasMatch()) {
                ids << m.captured(1);
                break;
            }
        }
    }
    ids.sort();
    return ids;
}

// The report as printed, in order, cut down to what a reader checks: a group
// header as "# " and its value, a detail row as its payable and its money
// cells, a group footer as "= " and its sums, the summary as its texts.
QStringList printed(const PreparedReport &r)
{
    static const QRegularExpression id(QStringLiteral("^([AQN]\\d)(/1)?$"));
    QStringList out;
    for (const TableRow &row : r.table) {
        QStringList texts, money;
        QString payable;
        for (const Report::Cell &c : row.cells) {
            if (!c.text.isEmpty())
                texts << c.text;
            if (isMoney(c))
                money << c.text;
            const auto m = id.match(c.text);
            if (m.hasMatch() && payable.isEmpty())
                payable = m.captured(1);
        }
        switch (row.kind) {
        case TableRow::Kind::GroupHeader:
            out << "# " + texts.join(QString()).section(QStringLiteral("=> "), -1).trimmed();
            break;
        case TableRow::Kind::Detail:
            if (!money.isEmpty())
                out << (QStringList{payable} + money).join(' ');
            break;
        case TableRow::Kind::GroupFooter:
            out << "= " + money.join(' ');
            break;
        case TableRow::Kind::Summary:
            out << texts.join(' ');
            break;
        default:
            break;
        }
    }
    return out;
}

QString dump(const PreparedReport &r)
{
    QStringList lines;
    for (const TableRow &row : r.table) {
        QStringList cells;
        for (const Report::Cell &c : row.cells)
            cells << c.text;
        lines << QString::number(int(row.kind)) + ": " + cells.join('|');
    }
    return lines.join('\n');
}

// Every group footer against its own rows, the summary against all rows and
// against the sub-totals, the summary count against the rows printed.
void checkSums(const PreparedReport &r, const QString &countCaption)
{
    std::map<int, double> group, all, subTotals;
    int details = 0;
    int footers = 0;
    bool summarySeen = false;
    for (const TableRow &row : r.table) {
        switch (row.kind) {
        case TableRow::Kind::GroupHeader:
            group.clear();
            break;
        case TableRow::Kind::Detail: {
            bool money = false;
            for (size_t c = 0; c < row.cells.size(); ++c)
                if (isMoney(row.cells[c])) {
                    group[int(c)] += row.cells[c].number;
                    all[int(c)] += row.cells[c].number;
                    money = true;
                }
            details += money ? 1 : 0;
            break;
        }
        case TableRow::Kind::GroupFooter: {
            ++footers;
            int sums = 0;
            for (size_t c = 0; c < row.cells.size(); ++c)
                if (isMoney(row.cells[c])) {
                    ++sums;
                    QCOMPARE(row.cells[c].number, group[int(c)]);
                    subTotals[int(c)] += row.cells[c].number;
                }
            QVERIFY2(sums > 0, qPrintable(dump(r)));
            QVERIFY(row.cells.size() > 0);
            QVERIFY(QStringList([&] {
                        QStringList t;
                        for (const auto &c : row.cells)
                            t << c.text;
                        return t;
                    }())
                        .join('|')
                        .contains("Sub-Total => "));
            break;
        }
        case TableRow::Kind::Summary: {
            summarySeen = true;
            QString text;
            int sums = 0;
            for (size_t c = 0; c < row.cells.size(); ++c) {
                text += row.cells[c].text + '|';
                if (isMoney(row.cells[c])) {
                    ++sums;
                    QCOMPARE(row.cells[c].number, all[int(c)]);
                    if (footers > 0)
                        QVERIFY(qAbs(row.cells[c].number - subTotals[int(c)]) < 0.005);
                }
            }
            QVERIFY2(sums > 0, qPrintable(dump(r)));
            if (!countCaption.isEmpty())
                QVERIFY2(
                    text.contains(QRegularExpression(QRegularExpression::escape(countCaption) +
                                                     "[ |]*" + QString::number(details) + "\\b")),
                    qPrintable(text));
            break;
        }
        default:
            break;
        }
    }
    QVERIFY(summarySeen);
}

} // namespace

class TestReports : public QObject
{
    Q_OBJECT
private slots:
    void cleanup() { Clock::setFixed({}); }

    void rowsListed_data();
    void rowsListed();
    void headerLines_data();
    void headerLines();
    void everyReportKnown();
    void emptyPeriod_data();
    void emptyPeriod();
    void groupHeaderBold_data();
    void groupHeaderBold();
    void backwardsPeriodIsEmpty();
    void totalsByBranchGroupLoosely();
    void totalsByCostCentreAndSupplier();
    void individualFootersAndPageCount();
    void negotiatedByNameThenDueDate();
};

void TestReports::rowsListed_data()
{
    QTest::addColumn<QString>("report");
    QTest::addColumn<int>("filial");
    QTest::addColumn<int>("fornecedor");
    QTest::addColumn<int>("gerencial");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<QString>("countCaption");

    const QString notas = "Quantidade de Notas => ";
    const QString lanc = "Quantidade de Lançamentos => ";
    // Open: neither the negotiated A4 nor the settled A5, nor A6/A7 outside;
    // the amount is valor (total is 1.000,00 above it).
    QTest::newRow("aberto por filial") << "RptPagarAberto" << 1 << 0 << 0
                                       << QStringList{"# 01/04/2024", "A1 100,00", "A2 50,25",
                                                      "= 150,25", "Quantidade de Notas => 2 150,25"}
                                       << notas;
    QTest::newRow("aberto geral") << "RptPagarAberto01" << 0 << 0 << 0
                                  << QStringList{"# 01/04/2024", "A1 100,00",
                                                 "A2 50,25",     "= 150,25",
                                                 "# 30/04/2024", "A3 200,10",
                                                 "= 200,10",     "Quantidade de Notas => 3 350,35"}
                                  << notas;
    QTest::newRow("fornecedor filial gerencial")
        << "RptPagarFilialVenc" << 1 << 10 << 5
        << QStringList{"# 01/04/2024", "A1 100,00", "= 100,00",
                       "Quantidade de Lançamentos => 1 100,00"}
        << lanc;
    QTest::newRow("só fornecedor") << "RptPagarFilialVenc01" << 0 << 10 << 0
                                   << QStringList{"# 01/04/2024",
                                                  "A1 100,00",
                                                  "= 100,00",
                                                  "# 30/04/2024",
                                                  "A3 200,10",
                                                  "= 200,10",
                                                  "Quantidade de Lançamentos => 2 300,10"}
                                   << lanc;
    QTest::newRow("só filial") << "RptPagarFilialVenc02" << 1 << 0 << 0
                               << QStringList{"# 01/04/2024", "A1 100,00", "A2 50,25", "= 150,25",
                                              "Quantidade de Lançamentos => 2 150,25"}
                               << lanc;
    QTest::newRow("só gerencial") << "RptPagarGerencialVenc02" << 0 << 0 << 6
                                  << QStringList{"# 01/04/2024", "A2 50,25", "= 50,25",
                                                 "Quantidade de Lançamentos => 1 50,25"}
                                  << lanc;
    QTest::newRow("filial e fornecedor") << "RptPagarFilialFornecedor" << 2 << 10 << 0
                                         << QStringList{"# 30/04/2024", "A3 200,10", "= 200,10",
                                                        "Quantidade de Lançamentos => 1 200,10"}
                                         << lanc;
    QTest::newRow("negociadas") << "RptPagarNegociadas" << 0 << 0 << 0
                                << QStringList{"# ALFA LENTES", "A4 30,00", "= 30,00",
                                               "Quantidade de Notas => 1 30,00"}
                                << notas;
    // Paid: both ends of the period, the negotiated Q4 as well, never an open
    // row; the amount is totalpg (valor differs on Q1 and Q4, valorpg on all).
    QTest::newRow("quitado") << "RptPagarQuitado" << 0 << 0 << 0
                             << QStringList{"# 01/04/2024",
                                            "Q1 79,90",
                                            "= 79,90",
                                            "# 10/04/2024",
                                            "Q4 12,34",
                                            "= 12,34",
                                            "# 20/04/2024",
                                            "A5 40,00",
                                            "= 40,00",
                                            "# 30/04/2024",
                                            "Q2 20,50",
                                            "= 20,50",
                                            "Quantidade de Notas => 4 152,74"}
                             << notas;
    // valor beside totalpg.
    QTest::newRow("quitado fornecedor")
        << "RptPagarquitadoIndFornecedorQ" << 0 << 10 << 0
        << QStringList{"# 01/04/2024",   "Q1 80,00 79,90",
                       "= 80,00 79,90",  "# 10/04/2024",
                       "Q4 10,00 12,34", "= 10,00 12,34",
                       "# 20/04/2024",   "A5 40,00 40,00",
                       "= 40,00 40,00",  "Valor Total => 130,00 132,24"}
        << QString();
    QTest::newRow("quitado filial") << "RptPagarquitadoIndFilialQ" << 2 << 0 << 0
                                    << QStringList{"# 30/04/2024", "Q2 20,50 20,50",
                                                   "= 20,50 20,50", "Valor Total => 20,50 20,50"}
                                    << QString();
}

void TestReports::rowsListed()
{
    QFETCH(QString, report);
    QFETCH(int, filial);
    QFETCH(int, fornecedor);
    QFETCH(int, gerencial);
    QFETCH(QStringList, expected);
    QFETCH(QString, countCaption);
    Fixture f;
    REQUIRE_DB(f.db);
    QVERIFY(f.ok);

    Reports::Params p = period();
    if (filial)
        p.filial = filial;
    if (fornecedor)
        p.fornecedor = fornecedor;
    if (gerencial)
        p.gerencial = gerencial;
    const PreparedReport r = Reports::prepare(report, p);
    QCOMPARE(printed(r), expected);
    checkSums(r, countCaption);
    // Every page carries the company name.
    for (int i = 0; i < r.pageCount(); ++i)
        QVERIFY(r.pageText(i).contains(kCompany));
}

void TestReports::headerLines_data()
{
    QTest::addColumn<QString>("report");
    QTest::addColumn<QStringList>("lines"); // top to bottom
    QTest::addColumn<QString>("pageCaption");

    const QString period = "01/04/2024 à 30/04/2024";
    QTest::newRow("RptPagarAberto")
        << "RptPagarAberto"
        << QStringList{"Relatório de Conta a Pagar Em Aberta no Período: " + period,
                       "Nome da Filial : CENTRO"}
        << "Pagina : ";
    QTest::newRow("RptPagarFilialVenc")
        << "RptPagarFilialVenc"
        << QStringList{"Relatorio de Contas a Pagar Por Fornecedor,Filial e Conta Gerencial em "
                       "Aberto no Periodo" +
                           period,
                       "Nome do Filial: CENTRO", "Nome do Fornecedor:ALFA LENTES",
                       "Conta Gerencial:ALUGUEL"}
        << "Página : ";
    QTest::newRow("RptPagarFilialVenc01")
        << "RptPagarFilialVenc01"
        << QStringList{"Relatorio de Contas a Pagar Por Fornecedor em Aberto no Periodo" + period,
                       "Nome do Fornecedor:     ALFA LENTES"}
        << "Página : ";
    QTest::newRow("RptPagarFilialVenc02")
        << "RptPagarFilialVenc02"
        << QStringList{"Relatorio de Contas a Pagar Por Filial em Aberto no Periodo" + period,
                       "Nome do Filial:     CENTRO"}
        << "Página : ";
    QTest::newRow("RptPagarGerencialVenc02")
        << "RptPagarGerencialVenc02"
        << QStringList{"Relatorio de Contas a Pagar Por Conta Gerencial em Aberto no Periodo" +
                           period,
                       "Conta Gerencial:     ALUGUEL"}
        << "Página : ";
    QTest::newRow("RptPagarFilialFornecedor")
        << "RptPagarFilialFornecedor"
        << QStringList{"Nome do Filial: CENTRO", "Nome do Fornecedor:ALFA LENTES",
                       "Relatorio de Contas a Pagar Por FIlial e Fornecedor em Aberto no Periodo " +
                           period}
        << "Página : ";
    QTest::newRow("RptPagarAbertoGeral")
        << "RptPagarAbertoGeral"
        << QStringList{"Relatório de Conta a Pagar Em Aberto no Período de Todas as Oticas: " +
                       period}
        << "Pagina : ";
    QTest::newRow("RptPagarNegociadas")
        << "RptPagarNegociadas"
        << QStringList{"Relatório de Contas a Pagar Negociadas no Período: " + period}
        << "Pagina : ";
    QTest::newRow("RptPagarQuitado")
        << "RptPagarQuitado"
        << QStringList{"Relatório de Contas a Pagar Geral de Fornecedor Detalhado Por Data de "
                       "Quitação no Periodo: " +
                       period}
        << "Pagina : ";
    QTest::newRow("RptPagarquitadoIndFilialQ")
        << "RptPagarquitadoIndFilialQ"
        << QStringList{"Relatório de Contas a Pagar Individual Quitado Por Fornecedor no "
                       "Período: " +
                           period,
                       "CENTRO"}
        << "Página : ";
    QTest::newRow("RptPagarcentralCusto")
        << "RptPagarcentralCusto"
        << QStringList{"Relatório de Contas a Pagar Quitadas por Central de Custo no Período: " +
                       period}
        << "Página: ";
}

void TestReports::headerLines()
{
    QFETCH(QString, report);
    QFETCH(QStringList, lines);
    QFETCH(QString, pageCaption);
    Fixture f;
    REQUIRE_DB(f.db);
    QVERIFY(f.ok);

    Reports::Params p = period();
    p.filial = 1;
    p.filialNome = "CENTRO";
    p.fornecedor = 10;
    p.fornecedorNome = "ALFA LENTES";
    p.gerencial = 5;
    p.gerencialNome = "ALUGUEL";
    p.extraLine = "Nome da Filial : CENTRO";
    const PreparedReport r = Reports::prepare(report, p);
    QVERIFY(r.pageCount() >= 1);
    const QStringList texts = r.pages[0].texts();
    int at = texts.indexOf(kCompany);
    QVERIFY2(at >= 0, qPrintable(texts.join('\n')));
    for (const QString &line : lines) {
        const int next = texts.indexOf(line, at + 1);
        QVERIFY2(next > at, qPrintable(line + "\n--\n" + texts.join('\n')));
        at = next;
    }
    QVERIFY2(texts.contains(pageCaption + "1"), qPrintable(texts.join('\n')));
    const QString other = pageCaption == "Página : " ? "Pagina : 1" : "Página : 1";
    QVERIFY(!texts.contains(other));
    const QString dateCaption = report == "RptPagarcentralCusto" ? "Emissão: " : "Data : ";
    QVERIFY(texts.contains(dateCaption + kToday.toString("dd/MM/yyyy")));
}

// Every report of the family, in menu order, with its title.
const QList<std::pair<QString, QString>> kReports{
    {"RptPagarAberto", "Relatório de Conta a Pagar Em Aberta no Período: "},
    {"RptPagarAberto01", "Relatório Geral de Contas a Pagar em Aberta no Período: "},
    {"RptPagarFilialVenc", "Relatorio de Contas a Pagar Por Fornecedor,Filial e Conta Gerencial "
                           "em Aberto no Periodo"},
    {"RptPagarFilialVenc01", "Relatorio de Contas a Pagar Por Fornecedor em Aberto no Periodo"},
    {"RptPagarFilialVenc02", "Relatorio de Contas a Pagar Por Filial em Aberto no Periodo"},
    {"RptPagarGerencialVenc02",
     "Relatorio de Contas a Pagar Por Conta Gerencial em Aberto no Periodo"},
    {"RptPagarFilialFornecedor",
     "Relatorio de Contas a Pagar Por FIlial e Fornecedor em Aberto no Periodo "},
    {"RptPagarAbertoGeral", "Relatório de Conta a Pagar Em Aberto no Período de Todas as Oticas: "},
    {"RptPagarNegociadas", "Relatório de Contas a Pagar Negociadas no Período: "},
    {"RptPagarQuitado", "Relatório de Contas a Pagar Geral de Fornecedor Detalhado Por Data de "
                        "Quitação no Periodo: "},
    {"RptPagarquitadoIndFornecedorQ",
     "Relatório de Contas a Pagar Individual Quitado Por Fornecedor no Período: "},
    {"RptPagarquitadoIndFilialQ",
     "Relatório de Contas a Pagar Individual Quitado Por Fornecedor no Período: "},
    {"RptPagarcentralCusto",
     "Relatório de Contas a Pagar Quitadas por Central de Custo no Período: "},
    {"RptPagarGeralFornecedor", "Relatório Geral de Tipo de Fornecedor no Período: "},
};

void TestReports::everyReportKnown()
{
    QStringList names;
    for (const auto &r : kReports)
        names << r.first;
    QCOMPARE(Reports::names(), names);
}

void TestReports::emptyPeriod_data()
{
    QTest::addColumn<QString>("report");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QStringList>("captions");
    QTest::addColumn<QString>("summary");
    for (const auto &[name, title] : kReports) {
        QStringList captions{"Valor R$"};
        QString summary = "Quantidade de Notas => ";
        if (name.startsWith("RptPagarFilialVenc") || name == "RptPagarGerencialVenc02" ||
            name == "RptPagarFilialFornecedor")
            summary = "Quantidade de Lançamentos => ";
        if (name.startsWith("RptPagarquitadoInd")) {
            captions = QStringList{"Duplicata", "Vl. Pago R$"};
            summary = "Valor Total =>";
        }
        if (name == "RptPagarcentralCusto" || name == "RptPagarGeralFornecedor") {
            captions = QStringList{"Código", "Tipo de Conta", "Venda Total"};
            summary = "Total de Produtos:";
        }
        QTest::newRow(qPrintable(name))
            << name << title + "01/01/2023 à 31/01/2023" << captions << summary;
    }
}

void TestReports::emptyPeriod()
{
    QFETCH(QString, report);
    QFETCH(QString, title);
    QFETCH(QStringList, captions);
    QFETCH(QString, summary);
    Fixture f;
    REQUIRE_DB(f.db);
    QVERIFY(f.ok);

    Reports::Params p = period(QDate(2023, 1, 1), QDate(2023, 1, 31));
    p.filial = 1;
    p.fornecedor = 10;
    p.gerencial = 5;
    const PreparedReport r = Reports::prepare(report, p);
    QCOMPARE(r.pageCount(), 1);
    const QStringList texts = r.pages[0].texts();
    QVERIFY(texts.contains(kCompany));
    QVERIFY2(texts.contains(title), qPrintable(texts.join('\n')));
    for (const QString &c : captions)
        QVERIFY2(texts.contains(c), qPrintable(c));
    // The summary: its caption with a count of 0 (where it counts) and a sum of 0,00.
    const QString counted = summary == "Valor Total =>" ? summary : summary + "0";
    const int s = texts.indexOf(counted);
    QVERIFY2(s >= 0, qPrintable(texts.join('\n')));
    QVERIFY2(texts.mid(s).contains("0,00"), qPrintable(texts.join('\n')));
    QCOMPARE(listed(r), QStringList());
    // Nothing is laid out beyond the margins of the report's paper.
    const QMarginsF m = Reports::definition(report, p).margins;
    const double right = r.pageSize.width() - m.right() + 0.01;
    for (const Report::Item &it : r.pages[0].items)
        QVERIFY2(it.rect.right() <= right && it.rect.left() >= m.left() - 0.01,
                 qPrintable(it.text + " ends at " + QString::number(it.rect.right())));
}

void TestReports::groupHeaderBold_data()
{
    QTest::addColumn<QString>("report");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("valueBold");
    QTest::newRow("detalhado") << "RptPagarAberto01"
                               << "Data de Vencimento => " << true;
    QTest::newRow("por seleção") << "RptPagarFilialVenc02"
                                 << "Data de Vencimento => " << false;
    QTest::newRow("por filial") << "RptPagarAbertoGeral"
                                << "Data de Vencimento => " << true;
    QTest::newRow("negociadas") << "RptPagarNegociadas"
                                << "Nome do Fornecedor => " << true;
    QTest::newRow("quitado") << "RptPagarQuitado"
                             << "Data de Quitação  => " << true;
}

void TestReports::groupHeaderBold()
{
    QFETCH(QString, report);
    QFETCH(QString, caption);
    QFETCH(bool, valueBold);
    Fixture f;
    REQUIRE_DB(f.db);
    QVERIFY(f.ok);
    Reports::Params p = period();
    p.filial = 1;
    const PreparedReport r = Reports::prepare(report, p);
    const std::vector<Report::Item> &items = r.pages[0].items;
    int headers = 0;
    for (size_t i = 0; i < items.size(); ++i) {
        const Report::Item &it = items[i];
        if (it.kind != Report::Item::Kind::Text || !it.text.startsWith(caption))
            continue;
        ++headers;
        QVERIFY(r.fonts[it.font].bold());
        if (valueBold) {
            QVERIFY2(it.text.size() > caption.size(), qPrintable(it.text));
        } else {
            // The caption alone in bold, the value beside it in the plain font.
            QCOMPARE(it.text, caption);
            QVERIFY(i + 1 < items.size());
            const Report::Item &value = items[i + 1];
            QVERIFY2(QRegularExpression("^\\d\\d/\\d\\d/\\d{4}$").match(value.text).hasMatch(),
                     qPrintable(value.text));
            QVERIFY(!r.fonts[value.font].bold());
            QVERIFY(value.rect.left() >= it.rect.right() - 0.01);
        }
    }
    QVERIFY(headers > 0);
}

void TestReports::backwardsPeriodIsEmpty()
{
    Fixture f;
    REQUIRE_DB(f.db);
    QVERIFY(f.ok);
    const PreparedReport r = Reports::prepare("RptPagarAberto01", period(kTo, kFrom));
    QCOMPARE(listed(r), QStringList());
    QVERIFY(r.pages[0].texts().contains("Quantidade de Notas => 0"));
}

void TestReports::totalsByBranchGroupLoosely()
{
    Fixture f;
    REQUIRE_DB(f.db);
    QVERIFY(f.ok);
    // A second payable of branch 1 on the first day joins A1 and A2 in one row.
    f.open("A8", 1, 12, 7, kFrom, 9.75);

    const PreparedReport r = Reports::prepare("RptPagarAbertoGeral", period());
    QCOMPARE(r.tableTexts(TableRow::Kind::GroupHeader).size(), 2);
    const QStringList rows = r.tableTexts(TableRow::Kind::Detail);
    QCOMPARE(rows.size(), 2);
    QVERIFY2(rows[0].contains("CENTRO") && rows[0].contains("160,00"), qPrintable(rows.join('\n')));
    QVERIFY2(rows[1].contains("SHOPPING") && rows[1].contains("200,10"),
             qPrintable(rows.join('\n')));
    // Two branches due on the same date: two rows under one date group.
    f.open("A9", 2, 12, 7, kFrom, 1.00);
    const PreparedReport again = Reports::prepare("RptPagarAbertoGeral", period());
    const QStringList text = again.pages[0].texts();
    QCOMPARE(again.tableTexts(TableRow::Kind::GroupHeader).size(), 2);
    QCOMPARE(again.tableTexts(TableRow::Kind::Detail).size(), 3);
    QCOMPARE(text.filter(QRegularExpression("^Data de Vencimento => \\d")).size(), 2);
    checkSums(again, "Quantidade de Notas => ");
    // The count is of date-and-branch rows, not of payables.
    const QString summary = again.tableTexts(TableRow::Kind::Summary).join('|');
    QCOMPARE(summary, QString("Quantidade de Notas => 3|361,10"));
}

void TestReports::totalsByCostCentreAndSupplier()
{
    Fixture f;
    REQUIRE_DB(f.db);
    QVERIFY(f.ok);

    const PreparedReport c = Reports::prepare("RptPagarcentralCusto", period());
    const QStringList rows = c.tableTexts(TableRow::Kind::Detail);
    // Code 5 (A5 40,00 + Q1 79,90 + Q4 12,34 under two names) is one row;
    // the rows go by name.
    QCOMPARE(rows.size(), 2);
    QVERIFY2(rows[0].startsWith("5|ALUGUEL") && rows[0].endsWith("132,24"), qPrintable(rows[0]));
    QVERIFY2(rows[1].startsWith("6|ENERGIA") && rows[1].endsWith("20,50"), qPrintable(rows[1]));
    QCOMPARE(c.title, QString("Perc. de Venda"));
    checkSums(c, "Total de Produtos:");

    const PreparedReport s = Reports::prepare("RptPagarGeralFornecedor", period());
    const QStringList sup = s.tableTexts(TableRow::Kind::Detail);
    QCOMPARE(sup.size(), 2);
    QVERIFY2(sup[0].startsWith("10|ALFA LENTES") && sup[0].endsWith("132,24"), qPrintable(sup[0]));
    QVERIFY2(sup[1].startsWith("11|BETA ARMAÇÕES") && sup[1].endsWith("20,50"), qPrintable(sup[1]));
}

void TestReports::individualFootersAndPageCount()
{
    Fixture f;
    REQUIRE_DB(f.db);
    QVERIFY(f.ok);
    Reports::Params p = period();
    p.fornecedor = 10;
    const PreparedReport r = Reports::prepare("RptPagarquitadoIndFornecedorQ", p);
    // Three settlement dates, each footer with its own valor and totalpg.
    const QStringList footers = r.tableTexts(TableRow::Kind::GroupFooter);
    QCOMPARE(footers.size(), 3);
    QVERIFY2(footers[0].endsWith("80,00|79,90"), qPrintable(footers[0]));
    QVERIFY2(footers[1].endsWith("10,00|12,34"), qPrintable(footers[1]));
    QVERIFY2(footers[2].endsWith("40,00|40,00"), qPrintable(footers[2]));
    const QString summary = r.tableTexts(TableRow::Kind::Summary).join('|');
    QVERIFY2(summary.contains("130,00") && summary.contains("132,24"), qPrintable(summary));
    // The page footer counts the rows printed; the memo line carries obs.
    const QString page = r.pageText(r.pageCount() - 1);
    QVERIFY2(page.contains("Total de Itens => \n3") || page.contains("Total de Itens => 3"),
             qPrintable(page));
    QVERIFY(page.contains("memo de Q1"));
}

void TestReports::negotiatedByNameThenDueDate()
{
    Fixture f;
    REQUIRE_DB(f.db);
    QVERIFY(f.ok);
    // Stored out of order, beside A4 (ALFA LENTES, 15/04, 30,00).
    f.open("N2", 1, 12, 5, QDate(2024, 4, 2), 5.00, "S");
    f.open("N4", 2, 11, 6, QDate(2024, 4, 20), 7.50, "S");
    f.open("N3", 1, 10, 7, QDate(2024, 4, 5), 12.00, "S");
    const PreparedReport r = Reports::prepare("RptPagarNegociadas", period());
    QCOMPARE(printed(r), (QStringList{"# ALFA LENTES", "N3 12,00", "A4 30,00", "= 42,00",
                                      "# BETA ARMAÇÕES", "N4 7,50", "= 7,50", "# GAMA", "N2 5,00",
                                      "= 5,00", "Quantidade de Notas => 4 54,50"}));
}

CP_TEST(TestReports)
#include "tst_reports.moc"
