// Opens the payables list of the maintenance screen over a large database and
// times it against the bare Qt driver and the client library's own streamed
// fetch of the same rows.
//
//   bench_pagar [rows]      (default 200000; server from CP_BENCH_PORT, default 33062)
//
// Builds (once) the database cp_bench_pagar: five years of payables for 50
// suppliers and 5 branches. Prints, for the "Todas" list, a name search and a
// due-date period search, the screen's time, the bare Qt driver's time, the
// client library's time (mysql_use_result, as "mariadb --quick" reads; the
// few constant values of the searches are written into its statement) and the
// screen's ratio to the client library, and the resident memory with the
// whole list open.

#include "BenchPayables.h"
#include "app/Application.h"
#include "app/DM.h"
#include "db/RecordSet.h"
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

#include <QSqlDriver>

#include <mysql.h>

#include <algorithm>
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

// The record set alone, without the screen around it.
int recordSetFetch(Connection &c, QString sql, const QVariantList &params)
{
    for (int i = 0; i < params.size(); ++i)
        sql.replace(sql.indexOf(QLatin1Char('?')), 1, QStringLiteral(":p%1").arg(i));
    RecordSet rs(&c, sql);
    for (int i = 0; i < params.size(); ++i)
        rs.setParam(QStringLiteral("p%1").arg(i), params[i]);
    rs.open();
    return rs.recordCount();
}

volatile unsigned long touchedBytes; // keeps the reading from being optimised away

// Every row and every cell's bytes touched, nothing kept.
int clientFetch(Connection &c, const QString &sql)
{
    const QVariant h = c.database().driver()->handle();
    MYSQL *m = *static_cast<MYSQL *const *>(h.constData());
    const QByteArray text = sql.toUtf8();
    if (mysql_real_query(m, text.constData(), (unsigned long)text.size()) != 0)
        qFatal("%s", mysql_error(m));
    MYSQL_RES *res = mysql_use_result(m);
    const unsigned cols = mysql_num_fields(res);
    int n = 0;
    unsigned long bytes = 0;
    while (MYSQL_ROW row = mysql_fetch_row(res)) {
        const unsigned long *len = mysql_fetch_lengths(res);
        for (unsigned i = 0; i < cols; ++i)
            bytes += row[i] ? len[i] : 0;
        ++n;
    }
    mysql_free_result(res);
    touchedBytes = bytes;
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
        QString literal; // the same statement for the client library
        std::function<void()> screen;
    };
    const QDate yearAgo = QDate::currentDate().addYears(-1);
    const QDate today = QDate::currentDate();
    QList<Case> cases{
        {"Todas",
         QStringLiteral("select * from pagar where negociacao = 'N' order by datavenc"),
         {},
         QStringLiteral("select * from pagar where negociacao = 'N' order by datavenc"),
         [&] {
             w.setOrdem(frmPagarManutencao::Todas);
             w.RadioGroupClick();
         }},
        {"R.Social 'FORNECEDOR 1'",
         QStringLiteral("select * from pagar where Nome like ? order by Nome"),
         {QStringLiteral("FORNECEDOR 1%")},
         QStringLiteral("select * from pagar where Nome like 'FORNECEDOR 1%' order by Nome"),
         [&] {
             w.setOrdem(frmPagarManutencao::Todas);
             w.searchEdit()->setText(QStringLiteral("FORNECEDOR 1"));
             w.SpeedButton1Click();
         }},
        {"Data Vencimento (1 ano)",
         QStringLiteral("select * from pagar where datavenc between ? and ? order by datavenc"),
         {yearAgo, today},
         QStringLiteral("select * from pagar where datavenc between '%1' and '%2' order by "
                        "datavenc")
             .arg(yearAgo.toString(Qt::ISODate), today.toString(Qt::ISODate)),
         [&] {
             w.setOrdem(frmPagarManutencao::Todas);
             w.dataInicial()->setDate(yearAgo);
             w.dataFinal()->setDate(today);
             w.SpeedButton10Click();
         }},
    };
    const int runs = qMax(1, qEnvironmentVariableIntValue("CP_BENCH_RUNS"));
    std::printf("melhor de %d; entre parênteses o pior\n", runs);
    std::printf("%-26s %16s %16s %16s %16s %6s %8s\n", "lista", "tela ms", "RecordSet ms",
                "driver Qt ms", "biblioteca ms", "razão", "linhas");
    bool withinTarget = true;
    bool first = true;
    for (const Case &k : cases) {
        int n = 0, nc = 0;
        QList<double> screen, bare, client, set;
        for (int i = 0; i < runs; ++i) {
            set << bestOf(1, [&] { (void)recordSetFetch(c, k.sql, k.params); });
            client << bestOf(1, [&] { nc = clientFetch(c, k.literal); });
            bare << bestOf(1, [&] { n = bareFetch(c, k.sql, k.params); });
            screen << bestOf(1, k.screen);
        }
        auto best = [](const QList<double> &v) { return *std::min_element(v.begin(), v.end()); };
        auto worst = [](const QList<double> &v) { return *std::max_element(v.begin(), v.end()); };
        const double ratio = best(screen) / best(client);
        withinTarget = withinTarget && ratio <= (first ? 1.5 : 1.3) &&
                       w.tbPagar()->recordCount() == n && nc == n;
        first = false;
        std::printf("%-26s %7.1f (%6.1f) %7.1f (%6.1f) %7.1f (%6.1f) %7.1f (%6.1f) %6.2f %8d\n",
                    k.name, best(screen), worst(screen), best(set), worst(set), best(bare),
                    worst(bare), best(client), worst(client), ratio, w.tbPagar()->recordCount());
    }
    w.setOrdem(frmPagarManutencao::Todas);
    w.RadioGroupClick();
    const long rss = rssMb();
    std::printf(
        "memória residente com a lista \"Todas\" aberta (%d linhas): %ld MB (antes: %ld MB)\n",
        w.tbPagar()->recordCount(), rss, rssBefore);
    withinTarget = withinTarget && rss < 250;
    std::printf("%s\n", withinTarget ? "dentro da meta (razão <= 1,5 em \"Todas\", <= 1,3 nas "
                                       "buscas, memória < 250 MB)"
                                     : "FORA DA META");
    return withinTarget ? 0 : 1;
}
