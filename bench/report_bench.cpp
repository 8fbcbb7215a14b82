// Times a typical paid-payables report (data set open + banded run + PDF)
// for 20,000 and 40,000 settled payables, next to a baseline measured in the
// same run: a bare forward-only query writing one line per row to a
// QPdfWriter. Prints the figures, the growth 40k/20k and report/baseline.
//
//   bench_report            (server on CP_BENCH_PORT, default 33062)

#include "app/Application.h"
#include "db/Connection.h"
#include "db/DisplayFormat.h"
#include "db/RecordSet.h"
#include "report/ReportExport.h"
#include "report/ReportRunner.h"
#include "schema/Schema.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <cstdio>
#include <random>

using namespace Report;

namespace {

const char *kDatabase = "cp_bench_report";
const QString kSelect =
    QStringLiteral("select Controle, Nota, Dataemissao, Datavenc, Dataquitacao, Valor, totalpg, "
                   "CodigoFornecedor, Nome, Codigofilial, nomefilial from pagar "
                   "where Dataquitacao >= :DataI and Dataquitacao <= :DataF and Controle <= :N "
                   "order by nomefilial, Dataquitacao, Nome");

ConnectionSettings settings(const QString &database)
{
    ConnectionSettings s;
    s.host = QStringLiteral("127.0.0.1");
    s.port = qEnvironmentVariableIsSet("CP_BENCH_PORT")
                 ? qEnvironmentVariableIntValue("CP_BENCH_PORT")
                 : 33062;
    s.user = QStringLiteral("root");
    s.password = QStringLiteral("kqz7314");
    s.database = database;
    return s;
}

void fill(Connection &c, int rows)
{
    std::mt19937 rng(7314);
    const QStringList branches = {"CENTRO", "NORTE",    "SUL",       "LESTE",
                                  "OESTE",  "SHOPPING", "AEROPORTO", "RODOVIARIA"};
    const QDate base(2023, 1, 1);
    constexpr int chunk = 1000;
    for (int start = 0; start < rows; start += chunk) {
        const int n = std::min(chunk, rows - start);
        QString sql = QStringLiteral(
            "insert into pagar (Nota, Dataemissao, Datavenc, Dataquitacao, Valor, totalpg, "
            "valorpg, pago, negociacao, CodigoFornecedor, Nome, Codigofilial, nomefilial, "
            "codigogerencial, gerencial, obs01) values ");
        QVariantList params;
        params.reserve(n * 16);
        for (int i = 0; i < n; ++i) {
            if (i > 0)
                sql += QLatin1Char(',');
            sql += QStringLiteral("(?,?,?,?,?,?,?,'S','N',?,?,?,?,?,?,?)");
            const int id = start + i;
            const QDate emissao = base.addDays(int(rng() % 365));
            const QDate venc = emissao.addDays(30);
            const QDate quit = venc.addDays(int(rng() % 10));
            const double valor = double(rng() % 500000) / 100.0;
            const int supplier = int(rng() % 400) + 1;
            const int branch = int(rng() % branches.size());
            params << QStringLiteral("NF%1").arg(id) << emissao << venc << quit << valor << valor
                   << valor << double(supplier)
                   << QStringLiteral("FORNECEDOR DE TESTE NÚMERO %1 LTDA").arg(supplier)
                   << double(branch + 1) << branches[branch] << double(supplier % 20 + 1)
                   << QStringLiteral("CONTA %1").arg(supplier % 20 + 1)
                   << QStringLiteral("Pagamento da nota %1").arg(id);
        }
        c.exec(sql, params);
    }
}

// A typical paid-payables layout: grouped by branch, sub-totals, summary.
ReportDefinition paidReport()
{
    ReportDefinition d;
    d.title = QStringLiteral("Contas Pagas por Filial");
    d.paper = Paper::Letter;
    d.pageHeader.height = 16;
    d.pageHeader
        << label({0, 0, 120, 6}, QStringLiteral("EMPRESA DEMONSTRAÇÃO LTDA")).bold().size(11)
        << label({0, 7, 150, 5}, QStringLiteral("Relatório de Contas a Pagar Quitadas "
                                                "no Período: 01/01/2023 à 31/12/2024"))
        << date({150, 0, 46, 5}).right()
        << pageNumber({150, 7, 46, 5}, QStringLiteral("Pagina : "), QStringLiteral("%1 de %2"))
               .right()
        << rule({0, 14, 196, 0});
    d.columnHeader.height = 5;
    d.columnHeader << label({0, 0, 15, 5}, QStringLiteral("Codigo")).bold()
                   << label({16, 0, 80, 5}, QStringLiteral("Nome do Fornecedor")).bold()
                   << label({98, 0, 22, 5}, QStringLiteral("Nº Controle")).bold()
                   << label({122, 0, 22, 5}, QStringLiteral("Dt.Emissão")).bold()
                   << label({146, 0, 22, 5}, QStringLiteral("Dt.Quitação")).bold()
                   << label({170, 0, 26, 5}, QStringLiteral("Valor R$")).bold().right();
    Group &g = d.addGroup(QStringLiteral("nomefilial"));
    g.header.height = 6;
    g.header << rule({0, 0.5, 196, 0})
             << field({0, 1, 120, 5}, QStringLiteral("nomefilial"))
                    .prefix(QStringLiteral("Filial => "))
                    .bold();
    g.footer.height = 6;
    g.footer << label({120, 0, 40, 5}, QStringLiteral("Sub-Total => ")).bold()
             << sum({160, 0, 36, 5}, QStringLiteral("totalpg")).right().bold();
    d.detail.height = 4.2;
    d.detail
        << field({0, 0, 15, 4.2}, QStringLiteral("CodigoFornecedor"))
        << field({16, 0, 80, 4.2}, QStringLiteral("Nome"))
        << field({98, 0, 22, 4.2}, QStringLiteral("Nota")).right()
        << field({122, 0, 22, 4.2}, QStringLiteral("Dataemissao"))
        << field({146, 0, 22, 4.2}, QStringLiteral("Dataquitacao"))
        << field({170, 0, 26, 4.2}, QStringLiteral("totalpg"), QStringLiteral("#,##0.00")).right();
    d.summary.height = 6;
    d.summary << label({0, 1, 80, 5}, QStringLiteral("Quantidade de Notas => ")).bold()
              << count({80, 1, 20, 5})
              << sum({160, 1, 36, 5}, QStringLiteral("totalpg")).right().bold();
    return d;
}

struct Figures
{
    double open = 0, run = 0, pdf = 0;
    int pages = 0;
    double total() const { return open + run + pdf; }
};

Figures timeReport(Connection &c, int n, const QString &path)
{
    Figures f;
    QElapsedTimer t;
    t.start();
    RecordSet rs(&c, kSelect);
    rs.setParam(QStringLiteral("DataI"), QDate(2023, 1, 1));
    rs.setParam(QStringLiteral("DataF"), QDate(2024, 12, 31));
    rs.setParam(QStringLiteral("N"), n);
    rs.open();
    f.open = t.nsecsElapsed() / 1e9;
    t.restart();
    const PreparedReport p = run(paidReport(), rs);
    f.run = t.nsecsElapsed() / 1e9;
    t.restart();
    QString error;
    if (!writePdf(p, path, &error))
        std::fprintf(stderr, "PDF: %s\n", qPrintable(error));
    f.pdf = t.nsecsElapsed() / 1e9;
    f.pages = p.pageCount();
    return f;
}

// The simplest thing that puts the same rows on paper.
Figures timeBaseline(Connection &c, int n, const QString &path)
{
    Figures f;
    QElapsedTimer t;
    t.start();
    QSqlQuery q(c.database());
    q.setForwardOnly(true);
    q.prepare(ParsedSql::parse(kSelect).sql);
    q.addBindValue(QDate(2023, 1, 1));
    q.addBindValue(QDate(2024, 12, 31));
    q.addBindValue(n);
    q.exec();
    QPdfWriter pdf(path);
    pdf.setResolution(1200);
    pdf.setPageSize(QPageSize(QPageSize::Letter));
    pdf.setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
    QPainter p(&pdf);
    p.setFont(QFont(QStringLiteral("Arial"), 8));
    const double lineHeight = 4.2 / 25.4 * 1200;
    const double bottom = pdf.height();
    double y = lineHeight;
    while (q.next()) {
        if (y > bottom) {
            pdf.newPage();
            y = lineHeight;
            ++f.pages;
        }
        const QString line = q.value(7).toString() + QLatin1Char(' ') + q.value(8).toString() +
                             QLatin1Char(' ') + q.value(1).toString() + QLatin1Char(' ') +
                             q.value(2).toDate().toString(QStringLiteral("dd/MM/yyyy")) +
                             QLatin1Char(' ') +
                             q.value(4).toDate().toString(QStringLiteral("dd/MM/yyyy")) +
                             QLatin1Char(' ') + DisplayFormat::money(q.value(6).toDouble());
        p.drawText(QPointF(0, y), line);
        y += lineHeight;
    }
    p.end();
    f.open = t.nsecsElapsed() / 1e9;
    ++f.pages;
    return f;
}

} // namespace

int main(int argc, char **argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    Application::setUp();
    try {
        {
            Connection admin(QStringLiteral("bench_admin"));
            admin.setSettings(settings(QString()));
            admin.open();
            admin.exec(QStringLiteral("drop database if exists %1").arg(kDatabase));
            admin.exec(QStringLiteral("create database %1 character set utf8mb4 collate "
                                      "utf8mb4_unicode_ci")
                           .arg(kDatabase));
        }
        Connection c(QStringLiteral("bench"));
        c.setSettings(settings(QString::fromLatin1(kDatabase)));
        c.open();
        Schema::create(c);
        QElapsedTimer t;
        t.start();
        fill(c, 40000);
        std::printf("filled 40000 settled payables in %.2f s\n", t.nsecsElapsed() / 1e9);

        QTemporaryDir dir;
        const int reps = 3;
        double report[2] = {0, 0}, base[2] = {0, 0};
        const int sizes[2] = {20000, 40000};
        for (int s = 0; s < 2; ++s) {
            Figures bestR, bestB;
            for (int r = 0; r < reps; ++r) {
                const Figures fr = timeReport(c, sizes[s], dir.filePath("report.pdf"));
                const Figures fb = timeBaseline(c, sizes[s], dir.filePath("baseline.pdf"));
                if (r == 0 || fr.total() < bestR.total())
                    bestR = fr;
                if (r == 0 || fb.total() < bestB.total())
                    bestB = fb;
            }
            report[s] = bestR.total();
            base[s] = bestB.total();
            std::printf("%5d rows: report %.3f s (open %.3f, run %.3f, pdf %.3f; %d pages, %.0f KB)"
                        " | baseline %.3f s (%d pages) | report/baseline %.2f\n",
                        sizes[s], bestR.total(), bestR.open, bestR.run, bestR.pdf, bestR.pages,
                        QFileInfo(dir.filePath("report.pdf")).size() / 1024.0, bestB.total(),
                        bestB.pages, bestR.total() / bestB.total());
        }
        std::printf("growth 40k/20k: report %.2f (target <= 2.2), baseline %.2f\n",
                    report[1] / report[0], base[1] / base[0]);
        std::printf("report/baseline at 40k: %.2f (target <= 2)\n", report[1] / base[1]);
        if (qEnvironmentVariableIsSet("CP_BENCH_KEEP")) {
            QFile::copy(dir.filePath("report.pdf"), qEnvironmentVariable("CP_BENCH_KEEP"));
        }
        Connection admin(QStringLiteral("bench_drop"));
        admin.setSettings(settings(QString()));
        admin.open();
        admin.exec(QStringLiteral("drop database if exists %1").arg(kDatabase));
    } catch (const DbError &e) {
        std::fprintf(stderr, "database error: %s\n", qPrintable(e.message()));
        return 1;
    }
    return 0;
}
