// What a settlement costs on a replicated cluster against a single server:
// the same cash settlements (each one identified operation: re-read FOR
// UPDATE, settled row, cash and hand-off rows, operation id, COMMIT) on the
// single server of CP_BENCH_PORT (default 33062) and on the first node of
// the cluster at CP_CLUSTER_PORT (default 24200), in the same run.
//
//   bench_cluster [settlements]   (default 300)

#include "app/Application.h"
#include "payables/PayablesBook.h"
#include "schema/Schema.h"

#include <QElapsedTimer>

#include <cstdio>

namespace {

ConnectionSettings settings(int port, const QString &database)
{
    ConnectionSettings s;
    s.host = QStringLiteral("127.0.0.1");
    s.port = port;
    s.user = QStringLiteral("root");
    s.password = QStringLiteral("kqz7314");
    s.database = database;
    return s;
}

double perSettlement(int port, int count)
{
    const QString db = QStringLiteral("cp_bench_cluster");
    {
        Connection admin(QStringLiteral("admin%1").arg(port));
        admin.setSettings(settings(port, {}));
        admin.open();
        admin.exec(QStringLiteral("DROP DATABASE IF EXISTS %1").arg(db));
        admin.exec(QStringLiteral("CREATE DATABASE %1 CHARACTER SET utf8mb4 COLLATE "
                                  "utf8mb4_unicode_ci")
                       .arg(db));
    }
    Connection c(QStringLiteral("bench%1").arg(port));
    c.setSettings(settings(port, db));
    c.open();
    Schema::create(c);
    QStringList rows;
    for (int i = 1; i <= count; ++i)
        rows << QStringLiteral("(%1, 'N%1', 'FORNECEDOR', 7, 100, 100, '2026-12-01', 'N', 'N', "
                               "'MATRIZ', 1)")
                    .arg(i);
    c.exec(QStringLiteral("insert into pagar (Controle, Nota, Nome, Codigofornecedor, Valor, "
                          "total, Datavenc, pago, negociacao, nomefilial, Codigofilial) values ") +
           rows.join(QLatin1Char(',')));
    QElapsedTimer t;
    t.start();
    for (int i = 1; i <= count; ++i) {
        SettlementRequest r;
        r.key = i;
        r.mode = SettlementMode::Cash;
        r.date = QDate(2026, 12, 10);
        r.valorPago = 100;
        r.valorDuplicata = 100;
        r.toCash = true;
        r.user = QStringLiteral("BENCH");
        r.at = QDateTime(QDate(2026, 12, 10), QTime(9, 0));
        r.branchCode = 1;
        r.branchName = QStringLiteral("MATRIZ");
        PayablesBook::settle(c, r);
    }
    const double ms = double(t.nsecsElapsed()) / 1e6 / count;
    c.exec(QStringLiteral("DROP DATABASE %1").arg(db));
    return ms;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    Application::setUp();
    const int count = argc > 1 ? QByteArray(argv[1]).toInt() : 300;
    const int single = qEnvironmentVariableIntValue("CP_BENCH_PORT");
    const int cluster = qEnvironmentVariableIntValue("CP_CLUSTER_PORT");
    try {
        const double a = perSettlement(single ? single : 33062, count);
        const double b = perSettlement(cluster ? cluster : 24200, count);
        std::printf("settlement (cash, %d): single server %.2f ms, cluster node %.2f ms, ratio "
                    "%.2f\n",
                    count, a, b, b / a);
    } catch (const DbError &e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.message()));
        return 1;
    }
    return 0;
}
