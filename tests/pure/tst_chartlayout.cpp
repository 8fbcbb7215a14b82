// Where a bar chart puts its texts: for few and many bars, short and long
// names, positive and negative values, no label or mark ever overlaps
// another text or another bar, every text fits the room it was given, the
// marks stand inside the plot, and a chart with many bars scrolls sideways
// with upright slots at least one line wide.

#include "TestMain.h"
#include "charts/ChartLayout.h"

#include <QApplication>
#include <QtTest>

using namespace Charts;

class TstChartLayout : public QObject
{
    Q_OBJECT
private slots:
    void textsNeverOverlap_data();
    void textsNeverOverlap();
    void axisCoversBarsAndMarks_data();
    void axisCoversBarsAndMarks();
    void wrapsWordsAndCutsTheMiddle_data();
    void wrapsWordsAndCutsTheMiddle();
    void legendStandsBesideThePlot();
};

namespace {

QFont chartFont()
{
    QFont f = QApplication::font();
    f.setPointSizeF(8);
    return f;
}

LayoutInput input(int bars, int nameLength, bool marks, QSizeF room = {1232, 640})
{
    LayoutInput in;
    in.room = room;
    in.font = chartFont();
    const QString longName =
        QStringLiteral("FORNECEDOR DE MATERIAIS E SERVIÇOS GERAIS LTDA ME").left(nameLength);
    for (int i = 0; i < bars; ++i) {
        // Values of very different sizes, some negative.
        const double v = (i % 7 == 3) ? -150.0 * (i % 4 + 1) : 100.0 + (i * 37 % 11) * 950.0;
        in.values.push_back(v);
        in.labels << QStringLiteral("%1 %2").arg(longName).arg(i + 1);
        if (marks)
            in.marks << in.labels.last() + QStringLiteral("\n12,34 %");
    }
    return in;
}

bool overlaps(const QRectF &a, const QRectF &b)
{
    // Touching edges are no overlap; half a pixel of rounding is allowed.
    return a.adjusted(0.5, 0.5, -0.5, -0.5).intersects(b.adjusted(0.5, 0.5, -0.5, -0.5));
}

} // namespace

void TstChartLayout::textsNeverOverlap_data()
{
    QTest::addColumn<int>("bars");
    QTest::addColumn<int>("nameLength");
    QTest::addColumn<bool>("marks");
    QTest::addColumn<bool>("rotated");
    QTest::addColumn<bool>("scrolls");
    QTest::newRow("one bar") << 1 << 50 << true << false << false;
    QTest::newRow("twelve months") << 12 << 9 << true << false << false;
    QTest::newRow("twelve long names") << 12 << 50 << true << false << false;
    QTest::newRow("forty names") << 40 << 50 << true << true << false;
    QTest::newRow("two hundred names") << 200 << 50 << true << true << true;
    QTest::newRow("two hundred, no marks") << 200 << 20 << false << true << true;
}

void TstChartLayout::textsNeverOverlap()
{
    QFETCH(int, bars);
    QFETCH(int, nameLength);
    QFETCH(bool, marks);
    QFETCH(bool, rotated);
    QFETCH(bool, scrolls);
    const LayoutInput in = input(bars, nameLength, marks);
    const ChartGeometry g = layOut(in);
    QCOMPARE(int(g.bars.size()), bars);
    QCOMPARE(g.rotated, rotated);
    QCOMPARE(g.size.width() > in.room.width(), scrolls);
    QCOMPARE(g.size.height(), in.room.height());
    const QFontMetricsF fm(in.font);
    for (int i = 0; i < bars; ++i) {
        const BarPlace &b = g.bars[size_t(i)];
        QVERIFY2(!b.labelLines.isEmpty(), qPrintable(QString::number(i)));
        // Slots follow each other inside the plot, wide enough for a line.
        QVERIFY(b.slot.left() >= g.plot.left() - 0.5 && b.slot.right() <= g.plot.right() + 0.5);
        QVERIFY(b.slot.width() >= g.lineHeight + 4 - 1e-6);
        QVERIFY(b.bar.left() >= b.slot.left() && b.bar.right() <= b.slot.right());
        // Labels under the plot, within the chart, inside their slot.
        QVERIFY(b.label.top() >= g.plot.bottom());
        QVERIFY2(b.label.bottom() <= g.size.height() + 0.5, qPrintable(QString::number(i)));
        QVERIFY(b.label.left() >= b.slot.left() - 0.5 && b.label.right() <= b.slot.right() + 0.5);
        const double room = g.rotated ? b.label.height() : b.label.width();
        for (const QString &line : b.labelLines)
            QVERIFY2(fm.horizontalAdvance(line) <= room + 0.5, qPrintable(line));
        if (!marks) {
            QVERIFY(b.mark.isEmpty());
            continue;
        }
        // Marks inside the plot, inside their slot, clear of their bar.
        QVERIFY2(b.mark.top() >= g.plot.top() - 0.5 && b.mark.bottom() <= g.plot.bottom() + 0.5,
                 qPrintable(QString::number(i)));
        QVERIFY(b.mark.left() >= b.slot.left() - 0.5 && b.mark.right() <= b.slot.right() + 0.5);
        QVERIFY2(!overlaps(b.mark, b.bar), qPrintable(QString::number(i)));
        const double markRoom = g.rotated ? b.mark.height() : b.mark.width();
        for (const QString &line : b.markLines)
            QVERIFY2(fm.horizontalAdvance(line) <= markRoom + 0.5, qPrintable(line));
        // The percentage at the end of a mark is never cut away.
        QVERIFY2(b.markLines.last().endsWith(QStringLiteral("12,34 %")),
                 qPrintable(b.markLines.join('|')));
    }
    for (int i = 0; i < bars; ++i)
        for (int j = 0; j < bars; ++j) {
            if (i == j)
                continue;
            const BarPlace &a = g.bars[size_t(i)], &b = g.bars[size_t(j)];
            QVERIFY2(!overlaps(a.label, b.label),
                     qPrintable(QStringLiteral("%1 %2").arg(i).arg(j)));
            if (marks) {
                QVERIFY(!overlaps(a.mark, b.mark));
                QVERIFY(!overlaps(a.mark, b.bar));
            }
        }
}

void TstChartLayout::axisCoversBarsAndMarks_data()
{
    QTest::addColumn<QList<double>>("values");
    QTest::addColumn<bool>("negative");
    QTest::newRow("positive") << QList<double>{100, 250.5, 40} << false;
    QTest::newRow("a negative bar") << QList<double>{100, -60, 40} << true;
    QTest::newRow("all zero") << QList<double>{0, 0} << false;
    QTest::newRow("cents") << QList<double>{0.3, 0.05} << false;
}

void TstChartLayout::axisCoversBarsAndMarks()
{
    QFETCH(QList<double>, values);
    QFETCH(bool, negative);
    LayoutInput in;
    in.room = QSizeF(1000, 500);
    in.font = chartFont();
    for (double v : values) {
        in.values.push_back(v);
        in.labels << QStringLiteral("MÊS");
        in.marks << QLocale().toString(v, 'f', 2);
    }
    const ChartGeometry g = layOut(in);
    // From zero, or from below the lowest bar, to above the highest one.
    if (negative)
        QVERIFY(g.axisMin < *std::min_element(values.begin(), values.end()));
    else
        QCOMPARE(g.axisMin, 0.0);
    QVERIFY(g.axisMax > *std::max_element(values.begin(), values.end()));
    // Round ends and ticks that land on them.
    const double steps = (g.axisMax - g.axisMin) / g.axisStep;
    QVERIFY(std::fabs(steps - std::round(steps)) < 1e-9);
    QCOMPARE(g.tickCount, int(std::lround(steps)) + 1);
    for (size_t i = 0; i < g.bars.size(); ++i) {
        QVERIFY(g.bars[i].mark.top() >= g.plot.top() - 0.5);
        QVERIFY(g.bars[i].mark.bottom() <= g.plot.bottom() + 0.5);
    }
}

void TstChartLayout::wrapsWordsAndCutsTheMiddle_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("width"); // in widths of "M"
    QTest::addColumn<int>("maxLines");
    QTest::addColumn<int>("lines");
    QTest::addColumn<QString>("first");
    QTest::addColumn<bool>("cut");
    QTest::newRow("fits") << "ALUGUEL" << 20.0 << 3 << 1 << "ALUGUEL" << false;
    QTest::newRow("two words, two lines")
        << "ALUGUEL ENERGIA" << 8.0 << 3 << 2 << "ALUGUEL" << false;
    QTest::newRow("more than three lines")
        << "UM DOIS TRES QUATRO CINCO SEIS" << 5.0 << 3 << 3 << "UM" << true;
    QTest::newRow("a word wider than two lines")
        << "ABCDEFGHIJKLMNOPQRSTUVWXYZ ABCDEFGHIJKLMNOPQRSTUVWXYZ" << 6.0 << 2 << 2 << QString()
        << true;
    QTest::newRow("a month breaks after its slash")
        << "FEVEREIRO/2024" << 8.0 << 3 << 2 << "FEVEREIRO/" << false;
    QTest::newRow("empty") << "   " << 10.0 << 3 << 0 << QString() << false;
}

void TstChartLayout::wrapsWordsAndCutsTheMiddle()
{
    QFETCH(QString, text);
    QFETCH(double, width);
    QFETCH(int, maxLines);
    QFETCH(int, lines);
    QFETCH(QString, first);
    QFETCH(bool, cut);
    const QFontMetricsF fm(chartFont());
    const double w = width * fm.horizontalAdvance(QLatin1Char('M'));
    const QStringList out = wrapText(text, fm, w, maxLines);
    QCOMPARE(out.size(), lines);
    if (!first.isEmpty())
        QCOMPARE(out.first(), first);
    for (const QString &l : out)
        QVERIFY2(fm.horizontalAdvance(l) <= w + 0.5, qPrintable(l));
    QCOMPARE(out.join(QString()).contains(QChar(0x2026)), cut);
    if (lines > 0 && !cut) // every character kept, in order
        QCOMPARE(out.join(QString()).remove(QLatin1Char(' ')),
                 text.simplified().remove(QLatin1Char(' ')));
}

void TstChartLayout::legendStandsBesideThePlot()
{
    LayoutInput in = input(12, 9, true);
    in.legend = true;
    const ChartGeometry g = layOut(in);
    QVERIFY(!g.legend.isEmpty());
    QVERIFY(g.legend.left() >= g.plot.right());
    QVERIFY(g.legend.right() <= g.size.width());
    for (const BarPlace &b : g.bars) {
        QVERIFY(!overlaps(b.label, g.legend));
        QVERIFY(!overlaps(b.mark, g.legend));
    }
}

CP_TEST(TstChartLayout)
#include "tst_chartlayout.moc"
