// Times the work-table fills over a large database next to the single
// INSERT ... SELECT that produces the same rows in the same private table,
// measured in the same run (alternated, best of five), and prints their ratio:
//
//   - the annual movement over the last twelve calendar months (`resumo` and
//     the month rows of `resumoanual`);
//   - the netting over a year of due dates (`resumo02`);
//   - the open-and-paid movement of the busiest cost centre over five years;
//   - the synthetic payments over five years (every settled payable).
//
//   bench_annual [rows] [name]   (default 200000; server from CP_BENCH_PORT, default
//                                33062; name: only the fills whose name contains it)
//
// Builds (once) the database cp_bench_annual: the payables of BenchPayables
// and 50,000 receivables. Exit code 0 when every fill is within 3 times its
// baseline and writes the same rows.

#include "BenchPayables.h"
#include "db/PrivateTable.h"
#include "reports/AnnualMovementFill.h"
#include "reports/NettingFill.h"
#include "reports/PaymentSummaryFill.h"
#include "schema/Schema.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>

#include <cstdio>
#include <functional>

namespace {

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

void generateReceivables(Connection &c, int rows)
{
    QRandomGenerator rnd(7314);
    const QDate start = QDate::currentDate().addYears(-5);
    c.begin();
    for (int written = 0; written < rows;) {
        QStringList values;
        for (int i = 0; i < 1000 && written < rows; ++i, ++written) {
            const int cliente = int(rnd.bounded(500)) + 1;
            const QDate venc = start.addDays(rnd.bounded(5 * 365 + 180));
            const bool paid = venc < QDate::currentDate() && rnd.bounded(10) < 7;
            const double valor = 20 + rnd.bounded(300000) / 100.0;
            values << QStringLiteral("('%1',%2,'CLIENTE %2',1,'MATRIZ','%3',%4,%5,%6,'BOLETO')")
                          .arg(written + 1)
                          .arg(cliente)
                          .arg(venc.toString(Qt::ISODate))
                          .arg(paid ? "'" + venc.toString(Qt::ISODate) + "'"
                                    : QStringLiteral("NULL"))
                          .arg(valor)
                          .arg(paid ? QString::number(valor) : QStringLiteral("NULL"));
        }
        c.exec(QStringLiteral("INSERT INTO receber (CodigoNota, CodigoCliente, Nome, CodigoFilial, "
                              "filial, DataVenc, DataQuitacao, Valor, TotalPg, especie) VALUES ") +
               values.join(QLatin1Char(',')));
    }
    c.commit();
}

// Rows and a checksum of a table as this session sees it.
QString summary(Connection &c, const QString &table, const QString &amount)
{
    return QStringLiteral("%1 linhas, soma %2")
        .arg(c.scalar(QStringLiteral("SELECT COUNT(*) FROM %1").arg(table)).toLongLong())
        .arg(
            c.scalar(
                 QStringLiteral("SELECT ROUND(COALESCE(SUM(%1), 0), 2) FROM %2").arg(amount, table))
                .toDouble(),
            0, 'f', 2);
}

const QString kMonthColumns =
    QStringLiteral("`01`, `02`, `03`, `04`, `05`, `06`, `07`, `08`, `09`, `10`, `11`, `12`");

QString monthValues()
{
    QStringList v;
    for (int m = 1; m <= 12; ++m)
        v << QStringLiteral("if(mes = '%1', sum(credito), 0)").arg(m, 2, 10, QLatin1Char('0'));
    return v.join(QStringLiteral(", "));
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int rows = argc > 1 ? QByteArray(argv[1]).toInt() : 200000;
    const QString only = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();
    const QString dbName = QStringLiteral("cp_bench_annual");
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
    Connection c(QStringLiteral("bench"));
    c.setSettings(BenchPayables::settings(dbName));
    c.open();
    if (c.scalar(QStringLiteral("SELECT COUNT(*) FROM pagar")).toInt() != rows) {
        c.exec(QStringLiteral("TRUNCATE TABLE pagar"));
        c.exec(QStringLiteral("TRUNCATE TABLE receber"));
        QElapsedTimer t;
        t.start();
        BenchPayables::generate(c, rows);
        generateReceivables(c, 50000);
        std::printf("gerados %d pagamentos e 50000 recebimentos em %.1f s\n", rows,
                    t.elapsed() / 1000.0);
    }

    const QDate today = QDate::currentDate();
    const QDate yearStart = QDate(today.year(), today.month(), 1).addMonths(-11);
    const QDate fiveYears = today.addYears(-5);
    const QDate nextYear = today.addYears(1);
    const double busiest =
        c.scalar(QStringLiteral("SELECT codigogerencial FROM pagar GROUP BY codigogerencial "
                                "ORDER BY COUNT(*) DESC LIMIT 1"))
            .toDouble();
    const QVariantList oneYear{yearStart, today};

    PrivateTable resumo(&c, QStringLiteral("resumo"));
    PrivateTable resumoanual(&c, QStringLiteral("resumoanual"));
    PrivateTable resumo02(&c, QStringLiteral("resumo02"));
    AnnualMovementFill annual(c);
    NettingFill netting(c);
    PaymentSummaryFill payments(c);

    struct Case
    {
        const char *name;
        std::function<void()> fill;
        std::function<void()> baseline;
        std::function<QString()> result;
    };
    const QList<Case> cases{
        {"movimentação anual (12 meses)", [&] { annual.run(yearStart, today); },
         [&] {
             resumo.claim();
             resumoanual.claim();
             c.exec(QStringLiteral(
                        "INSERT INTO resumo (CodigoNota, Data, mes, ano, Descricao, Credito, "
                        "tabela, codigoFilial, CodigoCliente, codigoplano, plano, filial) "
                        "SELECT LEFT(nota, 10), dataquitacao, DATE_FORMAT(dataquitacao, '%m'), "
                        "YEAR(dataquitacao), LEFT(nome, 50), totalpg, 'RECEBIMENTO NO PERIODO', "
                        "codigofilial, codigofornecedor, codigogerencial, gerencial, filial "
                        "FROM pagar WHERE dataquitacao >= ? AND dataquitacao <= ? "
                        "AND totalpg <> 0 ORDER BY dataquitacao, Controle"),
                    oneYear);
             c.exec(QStringLiteral("INSERT INTO resumoanual (codigocliente, descricao, "
                                   "codigoplano, mes, %1) SELECT MIN(Codigocliente), descricao, "
                                   "MIN(codigoplano), mes, %2 FROM resumo GROUP BY descricao, mes "
                                   "ORDER BY descricao, mes")
                        .arg(kMonthColumns, monthValues()));
             c.exec(QStringLiteral("UPDATE resumoanual a JOIN resumo r ON r.descricao = "
                                   "a.descricao AND r.mes = a.mes AND r.codigoplano = "
                                   "a.codigoplano SET a.plano = r.plano"));
         },
         [&] {
             return summary(c, QStringLiteral("resumo"), QStringLiteral("credito")) + "; " +
                    summary(c, QStringLiteral("resumoanual"),
                            QStringLiteral("`01`+`02`+`03`+`04`+`05`+`06`+`07`+`08`+`09`+`10`+"
                                           "`11`+`12`"));
         }},
        {"encontro de contas (1 ano)", [&] { netting.run(today, nextYear); },
         [&] {
             resumo02.claim();
             c.exec(QStringLiteral(
                        "INSERT INTO resumo02 (CodigoNota, CodigoCliente, Descricao, Data, "
                        "Credito, Debito, es) "
                        "SELECT * FROM (SELECT CAST(Controle AS CHAR CHARACTER SET utf8mb4) "
                        "COLLATE utf8mb4_unicode_ci, CodigoCliente, Nome, "
                        "DataVenc, Valor, NULL AS d, 'E' FROM receber WHERE DataVenc >= ? AND "
                        "DataVenc <= ? AND Dataquitacao IS NULL ORDER BY DataVenc, Controle) r "
                        "UNION ALL SELECT * FROM (SELECT LEFT(nota, 10), codigofornecedor, "
                        "LEFT(nome, 50), datavenc, NULL AS c, valor, 'D' FROM pagar WHERE "
                        "Datavenc >= ? AND Datavenc <= ? AND Dataquitacao IS NULL "
                        "ORDER BY Controle) p"),
                    {today, nextYear, today, nextYear});
         },
         [&] {
             return summary(c, QStringLiteral("resumo02"),
                            QStringLiteral("COALESCE(Credito, 0) - COALESCE(Debito, 0)"));
         }},
        {"aberto e quitado (5 anos)",
         [&] {
             payments.openAndPaid(PaymentSummaryFill::Tipo::Gerencial, busiest, fiveYears,
                                  nextYear);
         },
         [&] {
             resumo.claim();
             const QString columns = QStringLiteral(
                 "LEFT(notacontrole, 10), dataemissao, datavenc, %1, ?, ?, LEFT(nome, 50), "
                 "valor, %2, '%3', codigofornecedor, filial, codigofilial, gerencial, "
                 "codigogerencial FROM pagar ");
             c.exec(QStringLiteral("INSERT INTO resumo (CodigoNota, Data, datavenc, "
                                   "dataquitacao, Datai, dataf, Descricao, valor, Credito, "
                                   "tabela, CodigoCliente, filial, codigoFilial, gerencial, "
                                   "codigogerencial) SELECT ") +
                        columns.arg("dataquitacao", "totalpg", "PAGAMENTO NO PERIODO") +
                        QStringLiteral("WHERE dataquitacao >= ? AND dataquitacao <= ? AND "
                                       "negociacao = 'N' AND nome IS NOT NULL AND "
                                       "codigogerencial = ? UNION ALL SELECT ") +
                        columns.arg("NULL", "NULL", "ABERTO NO PERIODO") +
                        QStringLiteral("WHERE Datavenc >= ? AND Datavenc <= ? AND negociacao = "
                                       "'N' AND dataquitacao IS NULL AND nome IS NOT NULL AND "
                                       "codigogerencial = ?"),
                    {fiveYears, nextYear, fiveYears, nextYear, busiest, fiveYears, nextYear,
                     fiveYears, nextYear, busiest});
         },
         [&] { return summary(c, QStringLiteral("resumo"), QStringLiteral("valor")); }},
        {"pagamentos sintético (5 anos)", [&] { payments.payments(fiveYears, nextYear); },
         [&] {
             resumo.claim();
             c.exec(QStringLiteral("INSERT INTO resumo (codigonota, data, descricao, credito, "
                                   "tabela, codigocliente) SELECT LEFT(nota, 10), dataquitacao, "
                                   "LEFT(nome, 50), totalpg, 'PAGAMENTO NO PERIODO', "
                                   "codigofornecedor FROM pagar WHERE dataquitacao >= ? AND "
                                   "dataquitacao <= ? AND totalpg <> 0 "
                                   "ORDER BY dataquitacao, Controle"),
                    {fiveYears, nextYear});
         },
         [&] { return summary(c, QStringLiteral("resumo"), QStringLiteral("credito")); }},
    };

    std::printf("%-32s %10s %12s %7s  %s\n", "preenchimento", "tela ms", "INSERT..SELECT", "razão",
                "linhas");
    bool withinTarget = true;
    for (const Case &k : cases) {
        if (!QString::fromUtf8(k.name).contains(only))
            continue;
        // Alternated, so that a burst of load on the shared machine falls on
        // both sides alike; the best of five of each.
        QString baselineRows, fillRows;
        double base = 1e18, fill = 1e18;
        for (int run = 0; run < 5; ++run) {
            base = qMin(base, bestOf(1, k.baseline));
            baselineRows = k.result();
            fill = qMin(fill, bestOf(1, k.fill));
            fillRows = k.result();
        }
        const double ratio = fill / base;
        const bool same = fillRows == baselineRows;
        withinTarget = withinTarget && ratio <= 3.0 && same;
        std::printf("%-32s %10.1f %12.1f %7.2f  %s%s\n", k.name, fill, base, ratio,
                    qPrintable(fillRows), same ? "" : qPrintable(" != " + baselineRows));
    }
    std::printf("%s\n",
                withinTarget ? "dentro da meta (razão <= 3, as mesmas linhas)" : "FORA DA META");
    return withinTarget ? 0 : 1;
}
