// The banded report engine over rows given in memory: grouping and sums,
// empty reports, page breaks, growing memos and masks.

#include "ReportSamples.h"
#include "TestMain.h"
#include "db/DisplayFormat.h"
#include "db/RecordSet.h"
#include "report/ReportRunner.h"
#include "widgets/Clock.h"

#include <QtTest>

#include <algorithm>

class TstReportEngine : public QObject
{
    Q_OBJECT
private slots:
    void init() { Clock::setFixed(QDateTime(QDate(2024, 5, 31), QTime(10, 0))); }
    void cleanup() { Clock::setFixed({}); }

    void groupSubTotalsAndSummary();
    void nestedGroupsCloseInnerFirst();
    void emptyReportPrintsHeadersAndZeroSummary_data();
    void emptyReportPrintsHeadersAndZeroSummary();
    void pageBreakRepeatsHeaders();
    void memoGrowsItsBand();
    void stackedMemosPushDown();
    void masksMatchDisplayFormat();
};

void TstReportEngine::groupSubTotalsAndSummary()
{
    const QDate d(2024, 5, 10);
    RecordSet rs(nullptr);
    openSampleRows(rs, {{"CENTRO", "ALFA", 100.10, d, {}},
                        {"CENTRO", "BETA", 200.20, d, {}},
                        {"NORTE", "GAMA", 1000, d, {}},
                        {"SUL", "DELTA", 0.01, d, {}},
                        {"SUL", "EPSILON", 1234.56, d, {}},
                        {"SUL", "ZETA", -34.56, d, {}}});
    rs.moveTo(2);
    ReportDefinition def = branchReport();
    def.detail.rowColor = [](const Context &c) {
        return c.number("valor") < 0 ? QColor(Qt::red) : QColor();
    };
    def.detail.rowBackground = [](const Context &c) {
        return c.row() % 2 ? QColor(Qt::lightGray) : QColor();
    };
    const PreparedReport r = Report::run(def, rs);
    QCOMPARE(rs.recNo(), 2); // the run does not move the data set

    QCOMPARE(r.pageCount(), 1);
    QCOMPARE(r.tableTexts(TableRow::Kind::GroupHeader),
             QStringList({"Filial => CENTRO", "Filial => NORTE", "Filial => SUL"}));
    QCOMPARE(
        r.tableTexts(TableRow::Kind::GroupFooter),
        QStringList({"Sub-Total => |300,30", "Sub-Total => |1.000,00", "Sub-Total => |1.200,01"}));
    QCOMPARE(r.tableTexts(TableRow::Kind::Summary),
             QStringList({"Quantidade de Lançamentos => |6|2.500,31"}));
    QCOMPARE(r.tableTexts(TableRow::Kind::Detail).size(), 6);
    QCOMPARE(r.tableTexts(TableRow::Kind::Detail).first(), "ALFA|10/05/2024|100,10");
    QCOMPARE(r.tableTexts(TableRow::Kind::ColumnHeader),
             QStringList({"Nome do Fornecedor|Dt.Vencimento|Valor R$"}));

    // Order on the page: header, rows, footer per group; summary after the last.
    const QStringList texts = r.pages[0].texts();
    const auto at = [&](const QString &t) { return texts.indexOf(t); };
    QVERIFY(at("Filial => CENTRO") < at("ALFA"));
    QVERIFY(at("BETA") < at("300,30"));
    QVERIFY(at("300,30") < at("Filial => NORTE"));
    QVERIFY(at("1.200,01") < at("Quantidade de Lançamentos => "));
    QVERIFY(texts.contains("Data : 31/05/2024"));
    QVERIFY(texts.contains("Página : 1 de 1"));
    QVERIFY(texts.contains("Total de Itens => 6"));
    // Colour rules of the detail band, row by row.
    QCOMPARE(QColor(findText(r.pages[0], "ZETA")->color), QColor(Qt::red));
    QCOMPARE(QColor(findText(r.pages[0], "EPSILON")->color), QColor(Qt::black));
    const auto stripes =
        std::count_if(r.pages[0].items.begin(), r.pages[0].items.end(), [](const Item &i) {
            return i.kind == Item::Kind::Rect && QColor(i.fill) == QColor(Qt::lightGray);
        });
    QCOMPARE(stripes, 3);
    // Numbers stay numbers for the spreadsheets.
    const TableRow &footer = *std::find_if(r.table.begin(), r.table.end(), [](const TableRow &t) {
        return t.kind == TableRow::Kind::Summary;
    });
    const auto sumCell = std::find_if(footer.cells.begin(), footer.cells.end(),
                                      [](const Cell &c) { return c.text == "2.500,31"; });
    QVERIFY(sumCell != footer.cells.end());
    QVERIFY(sumCell->isNumber);
    QCOMPARE(sumCell->number, 2500.31);
}

void TstReportEngine::nestedGroupsCloseInnerFirst()
{
    RecordSet rs(nullptr);
    openSampleRows(rs, {{"CENTRO", "A", 1, QDate(2024, 5, 1), {}},
                        {"CENTRO", "B", 2, QDate(2024, 5, 2), {}},
                        {"SUL", "C", 4, QDate(2024, 5, 2), {}}});
    ReportDefinition d = branchReport();
    Group &inner = d.addGroup(QStringLiteral("datavenc"));
    inner.header.height = 4;
    inner.header << field({0, 0, 60, 4}, QStringLiteral("datavenc"))
                        .prefix(QStringLiteral("Data de Vencimento => "));
    inner.footer.height = 4;
    inner.footer << sum({150, 0, 40, 4}, QStringLiteral("valor")).prefix(QStringLiteral("dia "));
    const QStringList t = Report::run(d, rs).pages[0].texts();
    const QStringList expectedOrder = {"Filial => CENTRO",
                                       "Data de Vencimento => 01/05/2024",
                                       "A",
                                       "dia 1,00",
                                       "Data de Vencimento => 02/05/2024",
                                       "B",
                                       "dia 2,00",
                                       "3,00",
                                       "Filial => SUL",
                                       "Data de Vencimento => 02/05/2024",
                                       "C",
                                       "dia 4,00",
                                       "4,00",
                                       "7,00"};
    int last = -1;
    for (const QString &e : expectedOrder) {
        const int i = int(t.indexOf(e, last + 1));
        QVERIFY2(i > last, qPrintable(e + " out of order in " + t.join(" | ")));
        last = i;
    }
}

void TstReportEngine::emptyReportPrintsHeadersAndZeroSummary_data()
{
    QTest::addColumn<int>("flavour");
    QTest::newRow("modal engine") << int(Flavour::Modal);
    QTest::newRow("independent engine") << int(Flavour::Independent);
}

void TstReportEngine::emptyReportPrintsHeadersAndZeroSummary()
{
    QFETCH(int, flavour);
    RecordSet rs(nullptr);
    openSampleRows(rs, {});
    QVERIFY(rs.isEmpty());
    const PreparedReport r = Report::run(branchReport(Flavour(flavour)), rs);
    QCOMPARE(r.pageCount(), 1);
    const QStringList t = r.pages[0].texts();
    for (const char *expected : {"EMPRESA DE TESTE", "Nome do Fornecedor", "Valor R$",
                                 "Quantidade de Lançamentos => ", "0", "0,00", "Página : 1 de 1"})
        QVERIFY2(t.contains(expected), expected);
    QVERIFY(r.tableTexts(TableRow::Kind::GroupHeader).isEmpty());
    QCOMPARE(r.tableTexts(TableRow::Kind::Summary),
             QStringList({"Quantidade de Lançamentos => |0|0,00"}));
    // A definition run without any data set prints the same way.
    QCOMPARE(Report::run(branchReport(Flavour(flavour))).pages[0].texts(), t);
}

void TstReportEngine::pageBreakRepeatsHeaders()
{
    QList<Row> rows;
    for (int i = 0; i < 130; ++i)
        rows << Row{i < 70 ? "CENTRO" : "SUL",
                    QStringLiteral("FORNECEDOR %1").arg(i, 3, 10, QLatin1Char('0')),
                    1,
                    QDate(2024, 5, 1),
                    {}};
    RecordSet rs(nullptr);
    openSampleRows(rs, rows);
    ReportDefinition d = branchReport();
    d.pageFooter << sum({150, 0, 40, 5}, "valor").prefix("Total da Página => ");
    const PreparedReport r = Report::run(d, rs);
    // 297 mm less margins, header, captions and footer leave room for about
    // 55 rows of 4.5 mm per page.
    QCOMPARE(r.pageCount(), 3);
    int details = 0;
    for (int p = 0; p < r.pageCount(); ++p) {
        const int before = details;
        const Page &page = r.pages[size_t(p)];
        const QStringList t = page.texts();
        QVERIFY(t.contains("EMPRESA DE TESTE"));
        QVERIFY(t.contains("Nome do Fornecedor"));
        QVERIFY(t.contains(QStringLiteral("Página : %1 de 3").arg(p + 1)));
        const Item *caption = findText(page, "Nome do Fornecedor");
        const Item *header = findText(page, "EMPRESA DE TESTE");
        QVERIFY(header->rect.top() < caption->rect.top());
        double lowest = 0;
        for (const Item &i : page.items) {
            if (i.text.startsWith("FORNECEDOR ")) {
                ++details;
                QVERIFY(i.rect.top() > caption->rect.top());
            }
            if (!i.text.startsWith("Total d"))
                lowest = std::max(lowest, i.rect.bottom());
        }
        const auto footer = std::find_if(page.items.begin(), page.items.end(), [](const Item &i) {
            return i.text.startsWith("Total de Itens");
        });
        QVERIFY(footer != page.items.end());
        QVERIFY(lowest <= footer->rect.top() + 1e-6); // nothing runs into the page footer
        QCOMPARE(footer->rect.bottom(), 297.0 - d.margins.bottom());
        // The running count of the footer covers the rows printed so far.
        QVERIFY(details > before);
        QCOMPARE(footer->text, QStringLiteral("Total de Itens => %1").arg(details));
        QVERIFY(t.contains(QStringLiteral("Total da Página => %1,00").arg(details - before)));
    }
    QCOMPARE(details, 130);
    // The second page starts with the row after the last one of the first.
    const auto lastOn = [&](int p) {
        QString last;
        for (const QString &s : r.pages[size_t(p)].texts())
            if (s.startsWith("FORNECEDOR "))
                last = s;
        return last.mid(11).toInt();
    };
    const auto firstOn = [&](int p) {
        for (const QString &s : r.pages[size_t(p)].texts())
            if (s.startsWith("FORNECEDOR "))
                return s.mid(11).toInt();
        return -1;
    };
    QCOMPARE(firstOn(1), lastOn(0) + 1);
    QCOMPARE(firstOn(2), lastOn(1) + 1);
    QCOMPARE(r.tableTexts(TableRow::Kind::Summary),
             QStringList({"Quantidade de Lançamentos => |130|130,00"}));
}

void TstReportEngine::memoGrowsItsBand()
{
    const QString longObs = QString("texto longo da observação ").repeated(30);
    RecordSet rs(nullptr);
    openSampleRows(rs, {{"CENTRO", "CURTO", 1, QDate(2024, 5, 1), "uma linha"},
                        {"CENTRO", "LONGO", 2, QDate(2024, 5, 1), longObs},
                        {"CENTRO", "DEPOIS", 3, QDate(2024, 5, 1), {}}});
    const PreparedReport r = Report::run(branchReport(), rs);
    const Page &p = r.pages[0];
    const Item *shortMemo = findText(p, "uma linha");
    const Item *longMemo = findText(p, longObs);
    QVERIFY(shortMemo && longMemo);
    QVERIFY(longMemo->wrap);
    QCOMPARE(shortMemo->rect.height(), 4.0);
    // 780 characters at 8 points in 120 mm take several lines.
    QVERIFY2(longMemo->rect.height() > 4 * 4.0,
             qPrintable(QString::number(longMemo->rect.height())));
    // The next row starts below the grown band.
    QCOMPARE(findText(p, "DEPOIS")->rect.top(), longMemo->rect.bottom());
    QCOMPARE(findText(p, "LONGO")->rect.top() - findText(p, "CURTO")->rect.top(), 4.5 + 4.0);
    // A row without remark prints no second line at all.
    QCOMPARE(r.tableTexts(TableRow::Kind::Detail).size(), 5);
}

void TstReportEngine::stackedMemosPushDown()
{
    // The summary prints once with no row, so computed memos need no data.
    const QString longText = QString("observação bem comprida ").repeated(20);
    auto text = [](const QString &t) { return [t](const Context &) { return t; }; };
    ReportDefinition d;
    d.summary.height = 12;
    d.summary << memo({0, 0, 40, 4}, text(longText))         // grows
              << memo({0, 4, 40, 4}, text("SEGUNDO"))        // below it: pushed
              << label({0, 8, 40, 4}, "TERCEIRO")            // below both: pushed
              << label({50, 4, 30, 4}, "AO LADO")            // other column: stays
              << memo({90, 0, 40, 4}, text("CURTO AO LADO")) // side by side: stays
              << label({0, 12.5, 130, 4}, "RODAPÉ");         // across: pushed by the tallest
    const PreparedReport r = Report::run(d);
    const Page &p = r.pages[0];
    const Item *first = findText(p, longText);
    const Item *second = findText(p, "SEGUNDO");
    const Item *third = findText(p, "TERCEIRO");
    const Item *beside = findText(p, "AO LADO");
    const Item *shortMemo = findText(p, "CURTO AO LADO");
    const Item *across = findText(p, "RODAPÉ");
    QVERIFY(first && second && third && beside && shortMemo && across);
    QVERIFY2(first->rect.height() > 3 * 4.0, qPrintable(QString::number(first->rect.height())));
    const double growth = first->rect.height() - 4;
    QCOMPARE(second->rect.top(), first->rect.bottom());
    QCOMPARE(second->rect.height(), 4.0);
    QCOMPARE(third->rect.top() - first->rect.top(), 8 + growth);
    QCOMPARE(beside->rect.top() - first->rect.top(), 4.0);
    QCOMPARE(shortMemo->rect.top(), first->rect.top());
    QCOMPARE(across->rect.top() - first->rect.top(), 12.5 + growth);
}

void TstReportEngine::masksMatchDisplayFormat()
{
    const QList<double> values = {0, 0.005, 1234.5, -1234567.891, 999.995, 12, 1e9};
    QList<Row> rows;
    for (double v : values)
        rows << Row{"F", "N", v, QDate(2024, 1, 2), {}};
    RecordSet rs(nullptr);
    openSampleRows(rs, rows);
    const QStringList masks = {"#,##0.00", "###,##0.00", "0.00",        "R$ #,##0.00", "0",
                               "",         "#,##0.###",  "###,##0.###", "0.0#"};
    for (const QString &mask : masks) {
        ReportDefinition d;
        d.detail.height = 5;
        d.detail << field({0, 0, 50, 5}, "valor", mask)
                 << field({60, 0, 30, 5}, "datavenc", mask.isEmpty() ? "" : "dd/mm/yy");
        const QStringList got = Report::run(d, rs).tableTexts(TableRow::Kind::Detail);
        QCOMPARE(got.size(), values.size());
        for (int i = 0; i < values.size(); ++i) {
            QString expected = DisplayFormat::format(rs.valueAt(i, "valor"), mask);
            expected += "|" + DisplayFormat::format(rs.valueAt(i, "datavenc"),
                                                    mask.isEmpty() ? "" : "dd/mm/yy");
            QCOMPARE(got[i], expected);
        }
    }
}

CP_TEST(TstReportEngine)
#include "tst_engine.moc"
