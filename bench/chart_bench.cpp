// Times the opening of a chart window: from building the window with N bars
// (long supplier-like names, marks with label and percentage) to its first
// complete paint, best of five, for 12, 50 and 200 bars. No database.
//
//   bench_chart [--png DIR]   (DIR: also writes what each window showed)

#include "app/Application.h"
#include "charts/ChartWindow.h"

#include <QDir>
#include <QElapsedTimer>
#include <QPixmap>

#include <algorithm>
#include <cstdio>

using namespace Charts;

namespace {

ChartSpec spec(int bars)
{
    ChartSpec s;
    s.name = QStringLiteral("FrmGraficoFornecedor");
    s.caption = QStringLiteral("Grafico Geral de Fornecedor no Periodo");
    s.size = QSize(1244, 700);
    s.marks = Marks::LabelAndPercent;
    s.strip = {stripLabel(QStringLiteral("Total de Debito R$"), true),
               stripField(QStringLiteral("total"), QStringLiteral("1.234.567,89"), 110, true),
               stripLabel(QStringLiteral("Periodo")),
               stripField(QStringLiteral("dataI"), QStringLiteral("01/01/2024"), 80),
               stripLabel(QStringLiteral(" a ")),
               stripField(QStringLiteral("dataF"), QStringLiteral("31/12/2024"), 80)};
    for (int i = 0; i < bars; ++i)
        s.bars.push_back(
            {QStringLiteral("FORNECEDOR DE MATERIAIS E SERVIÇOS NÚMERO %1 LTDA").arg(i + 1),
             1000.0 + (i * 7919 % 500) * 37.5});
    return s;
}

qint64 openOnce(int bars, const QString &png)
{
    QElapsedTimer t;
    t.start();
    ChartWindow w(spec(bars));
    w.show();
    // grab() paints the whole window now, the chart included.
    const QPixmap shot = w.grab();
    const qint64 ms = t.elapsed();
    if (!png.isEmpty())
        shot.save(png);
    return ms;
}

} // namespace

int main(int argc, char **argv)
{
    Application app(argc, argv);
    QString pngDir;
    const QStringList args = app.arguments();
    const int at = int(args.indexOf(QStringLiteral("--png")));
    if (at > 0 && at + 1 < args.size())
        pngDir = args.at(at + 1);
    openOnce(3, {}); // fonts and the chart's first-use costs, outside the figures
    std::printf("%-6s %10s\n", "bars", "open (ms)");
    for (int bars : {12, 50, 200}) {
        qint64 best = -1;
        for (int k = 0; k < 5; ++k) {
            const QString png =
                !pngDir.isEmpty() && k == 0
                    ? QDir(pngDir).filePath(QStringLiteral("chart_%1.png").arg(bars))
                    : QString();
            const qint64 ms = openOnce(bars, png);
            best = best < 0 ? ms : std::min(best, ms);
        }
        std::printf("%-6d %10lld\n", bars, static_cast<long long>(best));
    }
    return 0;
}
