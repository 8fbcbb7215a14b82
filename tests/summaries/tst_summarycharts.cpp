// The six chart windows of the cost-centre summary, opened from its menus
// over the small company of SummariesFixture.h: their captions, strips,
// bars and marks; each bar drawn in its own colour; the chart saved as PNG
// and PDF and printed, and a save that cannot be written.

#include "FileSizeLimit.h"
#include "ScriptedMessages.h"
#include "SummariesFixture.h"
#include "TestMain.h"
#include "charts/ChartWindow.h"
#include "reports/FrmResumoCentralCustoQuitado.h"
#include "widgets/DateEdit.h"
#include "widgets/FilePicker.h"
#include "widgets/Modal.h"

#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>

using namespace SummariesTest;
using ResumoViews::View;

Q_DECLARE_METATYPE(View)

class TstSummaryCharts : public QObject
{
    Q_OBJECT
private slots:
    void chartWindows_data();
    void chartWindows();
    void savesPrintsAndRefuses();
};

namespace {

QString pdfText(const QString &path)
{
    QProcess p;
    p.start("pdftotext", {"-layout", path, "-"});
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

// Opens a chart from the summary screen's menu and hands the window to
// check while it is "modal".
void openChart(View view, bool credit, const std::function<void(Charts::ChartWindow *)> &check)
{
    FrmResumoCentralCustoQuitado w;
    w.dataInicial()->setDate(kFrom);
    w.dataFinal()->setDate(kTo);
    w.gerar();
    bool seen = false;
    Modal::ScopedHandler handler([&](QDialog *d) {
        if (auto *c = qobject_cast<Charts::ChartWindow *>(d)) {
            seen = true;
            c->show();
            check(c);
        }
        return int(QDialog::Accepted);
    });
    w.grafico(view, credit);
    QVERIFY(seen);
}

} // namespace

void TstSummaryCharts::chartWindows_data()
{
    QTest::addColumn<View>("view");
    QTest::addColumn<bool>("credit");
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("height");
    QTest::addColumn<QString>("totalCaption");
    QTest::addColumn<QString>("total");
    QTest::addColumn<QStringList>("bars"); // label=value
    QTest::addColumn<QStringList>("marks");
    const QString cc = "Grafico Geral de Central do Custo no Periodo";
    const QString td = "Grafico Geral de Tipo de Despesa no Periodo";
    const QString fo = "Grafico Geral de Fornecedor no Periodo";
    // Credits: the receivables of the period (the one with nothing received
    // counts as a debit without an amount and has no bar).
    QTest::newRow("cost centre, credit")
        << View::CostCentre << true << "FrmGraficoCentralCusto" << cc << 604
        << "Total de Credito R$ "
        << "350,00" << QStringList{"DIVERSOS=350"} << QStringList{"DIVERSOS\n100,00 %"};
    // Grouped by name: the registry's DIVERSOS and the 99999 substitute make one bar.
    QTest::newRow("cost centre, debit")
        << View::CostCentre << false << "FrmGraficoCentralCustoDebito" << cc << 604
        << "Total de Debito R$ "
        << "235,00" << QStringList{"ALUGUEL=100", "DIVERSOS=94.5", "ENERGIA=40.5"}
        << QStringList{"ALUGUEL\n42,55 %", "DIVERSOS\n40,21 %", "ENERGIA\n17,23 %"};
    QTest::newRow("expense type, credit")
        << View::ExpenseType << true << "FrmGraficoDespesa" << td << 560 << "Total de Credito R$"
        << "350,00" << QStringList{"DIVERSOS=350"} << QStringList{"DIVERSOS\n100,00 %"};
    QTest::newRow("expense type, debit") << View::ExpenseType << false << "FrmGraficoDespesaDebito"
                                         << td << 560 << "Total de Debito R$"
                                         << "235,00" << QStringList{"DIVERSOS=110", "IMPOSTOS=125"}
                                         << QStringList{"DIVERSOS\n46,81 %", "IMPOSTOS\n53,19 %"};
    QTest::newRow("supplier, credit")
        << View::Supplier << true << "FrmGraficoFornecedor" << fo << 700 << "Total de Credito R$"
        << "350,00" << QStringList{"CLIENTE DEZ=300", "CLIENTE TRINTA=50"}
        << QStringList{"CLIENTE DEZ\n85,71 %", "CLIENTE TRINTA\n14,29 %"};
    QTest::newRow("supplier, debit")
        << View::Supplier << false << "FrmGraficoFornecedorDebito" << fo << 700
        << "Total de Debito R$"
        << "235,00" << QStringList{"ALFA LENTES=110", "BETA ARMAÇÕES=65.5", "GAMA=59.5"}
        << QStringList{"ALFA LENTES\n46,81 %", "BETA ARMAÇÕES\n27,87 %", "GAMA\n25,32 %"};
}

void TstSummaryCharts::chartWindows()
{
    QFETCH(View, view);
    QFETCH(bool, credit);
    QFETCH(QString, window);
    QFETCH(QString, caption);
    QFETCH(int, height);
    QFETCH(QString, totalCaption);
    QFETCH(QString, total);
    QFETCH(QStringList, bars);
    QFETCH(QStringList, marks);
    Fixture f;
    REQUIRE_DB(f.db);
    openChart(view, credit, [&](Charts::ChartWindow *c) {
        QCOMPARE(c->objectName(), window);
        QCOMPARE(c->windowTitle(), caption);
        // The size of the window, where the screen holds it.
        const QSize room = c->screen()->availableGeometry().size();
        QCOMPARE(c->size(), QSize(1244, height).boundedTo(room));
        // The strip: the summary screen's total and period.
        QStringList labels;
        for (QLabel *l : c->findChildren<QLabel *>())
            labels << l->text();
        QVERIFY2(labels.contains(totalCaption), qPrintable(labels.join('|')));
        QVERIFY(labels.contains("Periodo") && labels.contains(" a "));
        QCOMPARE(c->field("total")->text(), total);
        QCOMPARE(c->field("dataI")->text(), QString("01/04/2024"));
        QCOMPARE(c->field("dataF")->text(), QString("30/04/2024"));
        QVERIFY(c->button("gerarDados") && c->button("gerarDados")->isHidden());
        QCOMPARE(c->closeButton()->text(), QString("&Fechar"));
        // One bar per row of the data set, its mark its label and share.
        QStringList shown;
        for (const Charts::Bar &b : c->chart()->spec().bars)
            shown << b.label + "=" + QString::number(b.value);
        QCOMPARE(shown, bars);
        QCOMPARE(c->chart()->markTexts(), marks);
        // Each bar is painted in its own colour, in the middle of its rectangle.
        const QImage image = c->chart()->toImage();
        const auto &g = c->chart()->chartGeometry();
        QList<QRgb> colours;
        for (size_t i = 0; i < g.bars.size(); ++i) {
            const QPoint centre = g.bars[i].bar.center().toPoint();
            const QColor painted = image.pixelColor(centre);
            const QColor wanted = Charts::BarChart::barColor(int(i));
            QVERIFY2(std::abs(painted.red() - wanted.red()) < 8 &&
                         std::abs(painted.green() - wanted.green()) < 8 &&
                         std::abs(painted.blue() - wanted.blue()) < 8,
                     qPrintable(QString::number(i)));
            QVERIFY(!colours.contains(painted.rgb()));
            colours << painted.rgb();
        }
        QVERIFY(c->closeButton()->isVisible());
        c->closeButton()->click();
        QVERIFY(!c->isVisible());
    });
}

void TstSummaryCharts::savesPrintsAndRefuses()
{
    Fixture f;
    REQUIRE_DB(f.db);
    QTemporaryDir dir;
    const QString png = dir.filePath("grafico.png");
    const QString pdf = dir.filePath("grafico.pdf");
    const QString printed = dir.filePath("impresso.pdf");
    const QString kept = dir.filePath("antigo.png");
    openChart(View::CostCentre, false, [&](Charts::ChartWindow *c) {
        QList<FilePickerRequest> asked;
        FilePicker::setAnswers({png, pdf}, &asked);
        c->saveButton()->click();
        c->saveButton()->click();
        QCOMPARE(asked.size(), 2);
        QCOMPARE(asked[0].filter, QString("Imagem PNG (*.png);;Documento PDF (*.pdf)"));
        QImage image(png);
        QVERIFY(!image.isNull());
        QCOMPARE(image.size(), c->chart()->chartGeometry().size.toSize());
        const QString text = pdfText(pdf);
        for (const char *t : {"ALUGUEL", "DIVERSOS", "ENERGIA", "42,55 %", "17,23 %"})
            QVERIFY2(text.contains(t), qPrintable(text));

        // Printing goes through the printer dialog; here the printer is a PDF file.
        {
            Modal::ScopedHandler handler([&](QDialog *d) {
                auto *pd = qobject_cast<QPrintDialog *>(d);
                if (!pd)
                    return int(QDialog::Rejected);
                pd->printer()->setOutputFormat(QPrinter::PdfFormat);
                pd->printer()->setOutputFileName(printed);
                return int(QDialog::Accepted);
            });
            c->printButton()->click();
        }
        QVERIFY2(pdfText(printed).contains("ENERGIA"), qPrintable(pdfText(printed)));

        // A file that cannot be written whole is not written at all.
        QFile old(kept);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("imagem anterior");
        old.close();
        ScriptedMessages boxes;
        {
            FileSizeLimit limit(4096);
            QVERIFY(limit.ok());
            FilePicker::setAnswers({kept});
            c->saveButton()->click();
        }
        QCOMPARE(boxes.boxes.size(), 1);
        QCOMPARE(boxes.boxes[0].title, QString("Atenção"));
        QVERIFY2(boxes.boxes[0].text.contains("o arquivo excede o tamanho permitido"),
                 qPrintable(boxes.boxes[0].text));
        QFile back(kept);
        QVERIFY(back.open(QIODevice::ReadOnly));
        QCOMPARE(back.readAll(), QByteArray("imagem anterior"));
        FilePicker::setHandler({});
    });
}

CP_TEST(TstSummaryCharts)
#include "tst_summarycharts.moc"
