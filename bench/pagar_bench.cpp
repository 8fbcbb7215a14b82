// Opens the payables list of the maintenance screen over a large database and
// times it against the bare driver fetching the same rows.
//
//   bench_pagar [rows]      (default 200000; server from CP_BENCH_PORT, default 33062)
//
// Builds (once) the database cp_bench_pagar: five years of payables for 50
// suppliers and 5 branches. Prints, for the "Todas" list, a name search and a
// due-date period search, the screen's time, the bare fetch's time and their
// ratio, and the resident memory with the whole list open.

#include "BenchPayables.h"
#include "app/Application.h"
#include "app/DM.h"
#include "payables/frmPagarManutencao.h"
#include "schema/Schema.h"
#include "widgets/DateEdit.h"
#include "widgets/Messages.h"
#include "widgets/UpperEdit.h"

#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSqlQuery>
#include <QSqlRecord>

#include <cstdio>
#include <functional>

namespace {

long rssMb()
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : f.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong() / 1024;
    return -1;
}

double bestOf(int runs, const std::function<void()> &f)
{
    double best = 1e18;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        f();
        best = qMin(best, t.nsecsElapsed() / 1e6);
    }
    return best;
}

int bareFetch(Connection &c, const QString &sql, const QVariantList &params)
{
    QSqlQuery q = c.exec(sql, params);
    const int cols = q.record().count();
    int n = 0;
    while (q.next()) {
        for (int i = 0; i < cols; ++i)
            (void)q.value(i);
        ++n;
    }
    return n;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    Application app(argc, argv);
    const int rows = argc > 1 ? QByteArray(argv[1]).toInt() : 200000;
    const QString dbName = QStringLiteral("cp_bench_pagar");
    Messages::setHandler([](const MessageBoxRequest &r) {
        std::fprintf(stderr, "mensagem: %s\n", qPrintable(r.text));
        return QMessageBox::Ok;
    });
    {
        Connection admin(QStringLiteral("admin"));
        admin.setSettings(BenchPayables::settings({}));
        admin.open();
        admin.exec(QStringLiteral("CREATE DATABASE IF NOT EXISTS %1 CHARACTER SET utf8mb4 "
                                  "COLLATE utf8mb4_unicode_ci")
                       .arg(dbName));
        admin.exec(QStringLiteral("USE %1").arg(dbName));
        Schema::create(admin);
    }
    DM dm;
    if (!dm.connectWith(BenchPayables::settings(dbName)))
        qFatal("no server");
    Connection &c = *dm.MyConnection1;
    if (c.scalar(QStringLiteral("SELECT COUNT(*) FROM pagar")).toInt() != rows) {
        c.exec(QStringLiteral("TRUNCATE TABLE pagar"));
        QElapsedTimer t;
        t.start();
        BenchPayables::generate(c, rows);
        std::printf("gerados %d pagamentos em %.1f s\n", rows, t.elapsed() / 1000.0);
    }

    frmPagarManutencao w;
    w.show();
    const long rssBefore = rssMb();

    struct Case
    {
        const char *name;
        QString sql;
        QVariantList params;
        std::function<void()> screen;
    };
    const QDate yearAgo = QDate::currentDate().addYears(-1);
    const QDate today = QDate::currentDate();
    QList<Case> cases{
        {"Todas",
         QStringLiteral("select * from pagar where negociacao = 'N' order by datavenc"),
         {},
         [&] {
             w.setOrdem(frmPagarManutencao::Todas);
             w.RadioGroupClick();
         }},
        {"R.Social 'FORNECEDOR 1'",
         QStringLiteral("select * from pagar where Nome like ? order by Nome"),
         {QStringLiteral("FORNECEDOR 1%")},
         [&] {
             w.setOrdem(frmPagarManutencao::Todas);
             w.searchEdit()->setText(QStringLiteral("FORNECEDOR 1"));
             w.SpeedButton1Click();
         }},
        {"Data Vencimento (1 ano)",
         QStringLiteral("select * from pagar where datavenc between ? and ? order by datavenc"),
         {yearAgo, today},
         [&] {
             w.setOrdem(frmPagarManutencao::Todas);
             w.dataInicial()->setDate(yearAgo);
             w.dataFinal()->setDate(today);
             w.SpeedButton10Click();
         }},
    };
    std::printf("%-28s %10s %10s %8s %8s\n", "lista", "tela ms", "driver ms", "razão", "linhas");
    bool withinTarget = true;
    for (const Case &k : cases) {
        int n = 0;
        const double bare = bestOf(3, [&] { n = bareFetch(c, k.sql, k.params); });
        const double screen = bestOf(3, k.screen);
        const double ratio = screen / bare;
        withinTarget = withinTarget && ratio <= 2.0 && w.tbPagar()->recordCount() == n;
        std::printf("%-28s %10.1f %10.1f %8.2f %8d\n", k.name, screen, bare, ratio,
                    w.tbPagar()->recordCount());
    }
    w.setOrdem(frmPagarManutencao::Todas);
    w.RadioGroupClick();
    const long rss = rssMb();
    std::printf(
        "memória residente com a lista \"Todas\" aberta (%d linhas): %ld MB (antes: %ld MB)\n",
        w.tbPagar()->recordCount(), rss, rssBefore);
    withinTarget = withinTarget && rss < 400;
    std::printf("%s\n",
                withinTarget ? "dentro da meta (razão <= 2, memória < 400 MB)" : "FORA DA META");
    return withinTarget ? 0 : 1;
}
