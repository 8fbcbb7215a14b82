// Times the bank statement import through its window over a ledger of
// 200,000 movements, next to baselines measured in the same run:
//   - "&Importar Extrato" on a 10,000-line statement (xlsx, then OFX):
//     reading, staging and showing the staged lines, beside one multi-row
//     INSERT of the same 10,000 lines into a table of the staging table's
//     shape; the reading and the staging are also timed apart, to say which
//     one bounds it;
//   - "&Transferir C.C." of those lines (each with its duplicate look-up in
//     the ledger), beside a batched insert of the same 10,000 movements
//     (1,000 rows per statement, in one transaction).
// Best of three of each; the movements a run writes are removed before the
// next one, so every run looks its lines up in the same 200,000 movements.
//
//   bench_import [lines]    (default 10000; server from CP_BENCH_PORT, default 33062)

#include "StatementSamples.h"
#include "app/Application.h"
#include "app/DM.h"
#include "db/RecordSet.h"
#include "ledger/FrmImportaarquivobanco.h"
#include "ledger/StatementReader.h"
#include "ofx/Ofx.h"
#include "schema/Schema.h"
#include "widgets/FilePicker.h"
#include "widgets/LookupCombo.h"
#include "widgets/Messages.h"
#include "workbook/Workbook.h"

#include <QElapsedTimer>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>

namespace {

constexpr int kLedgerRows = 200000;

ConnectionSettings settings(const QString &database)
{
    ConnectionSettings s;
    s.host = QStringLiteral("127.0.0.1");
    s.port = qEnvironmentVariableIntValue("CP_BENCH_PORT");
    if (s.port == 0)
        s.port = 33062;
    s.user = QStringLiteral("root");
    s.password = QStringLiteral("kqz7314");
    s.database = database;
    return s;
}

double bestOf(int runs, const std::function<void()> &before, const std::function<void()> &job)
{
    double best = 1e18;
    for (int i = 0; i < runs; ++i) {
        before();
        QElapsedTimer t;
        t.start();
        job();
        best = qMin(best, t.nsecsElapsed() / 1e6);
    }
    return best;
}

QString literal(const QString &text)
{
    QString t = text;
    t.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    t.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + t + QLatin1Char('\'');
}

// Five years of movements on two accounts, documents unlike the statement's.
void generateLedger(Connection &c)
{
    QRandomGenerator rnd(7);
    const QDate start(2020, 1, 1);
    c.begin();
    for (int written = 0; written < kLedgerRows;) {
        QStringList values;
        for (int i = 0; i < 1000; ++i, ++written) {
            const QDate d = start.addDays(rnd.bounded(5 * 366));
            const double amount = 10 + rnd.bounded(500000) / 100.0;
            const bool credit = rnd.bounded(3) == 0;
            values << QStringLiteral("(2,'12345-6','BRADESCO','0123','%1','%1','%1',%2,%3,'%4',"
                                     "'%5','BANCO','BANCO',99999,'MOVIMENTO %6',99999,'BANCO',1,"
                                     "'VARIAVEL','L%6',%7,'S','%1','BENCH')")
                          .arg(d.toString(Qt::ISODate))
                          .arg(credit ? QString::number(amount) : QStringLiteral("NULL"))
                          .arg(credit ? QStringLiteral("NULL") : QString::number(amount))
                          .arg(credit ? "E" : "S", credit ? "ENTRADA" : "DEBITO")
                          .arg(written)
                          .arg(amount);
        }
        c.exec(QStringLiteral("INSERT INTO contacorrente (codigoconta, conta, banco, agencia, "
                              "datalancamento, datavencimento, dataquitacao, valor, debito, es, "
                              "tipos, especie, tiposaida, codigofornecedor, fornecedor, "
                              "codigogerencial, gerencial, codigotipo, tipo, documento, "
                              "valordoc, importado, dataimportado, usuario) VALUES ") +
               values.join(QLatin1Char(',')));
    }
    c.commit();
}

QString stagingValues(const QList<StatementLine> &lines)
{
    QStringList values;
    for (const StatementLine &l : lines)
        values << QStringLiteral("('%1','10:00:00','BENCH',%2,%3,%4,%5,%6,'S','2024-12-31')")
                      .arg(l.data.toString(Qt::ISODate), literal(l.historico), literal(l.documento),
                           l.amount > 0 ? QString::number(l.amount) : QStringLiteral("NULL"),
                           l.amount > 0 ? QStringLiteral("NULL") : QString::number(-l.amount),
                           l.saldo ? QString::number(*l.saldo) : QStringLiteral("NULL"));
    return values.join(QLatin1Char(','));
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    Application app(argc, argv);
    Application::setUp();
    const int lines = argc > 1 ? qMax(1, QByteArray(argv[1]).toInt()) : 10000;
    const QString dbName = QStringLiteral("cp_bench_import");
    int questions = 0;
    Messages::setHandler([&](const MessageBoxRequest &r) {
        if (r.buttons & QMessageBox::Yes) {
            ++questions;
            return QMessageBox::Yes;
        }
        std::fprintf(stderr, "mensagem: %s\n", qPrintable(r.text));
        return QMessageBox::Ok;
    });
    {
        Connection admin(QStringLiteral("admin"));
        admin.setSettings(settings({}));
        admin.open();
        admin.exec(QStringLiteral("CREATE DATABASE IF NOT EXISTS %1 CHARACTER SET utf8mb4 "
                                  "COLLATE utf8mb4_unicode_ci")
                       .arg(dbName));
        admin.exec(QStringLiteral("USE %1").arg(dbName));
        Schema::create(admin);
    }
    DM dm;
    if (!dm.connectWith(settings(dbName)))
        qFatal("no server");
    Connection &c = *dm.MyConnection1;
    if (c.scalar(QStringLiteral("SELECT COUNT(*) FROM contacorrente")).toInt() != kLedgerRows) {
        c.exec(QStringLiteral("TRUNCATE TABLE contacorrente"));
        QElapsedTimer t;
        t.start();
        generateLedger(c);
        std::printf("gerados %d lançamentos em %.1f s\n", kLedgerRows, t.elapsed() / 1000.0);
    }
    if (c.scalar(QStringLiteral("SELECT COUNT(*) FROM configuracao")).toInt() == 0)
        c.exec(QStringLiteral("INSERT INTO configuracao (Controle, Nome) VALUES (1, 'EMPRESA')"));
    // The account the OFX statement names, so that no account question
    // comes between the clicks timed.
    c.exec(QStringLiteral("DELETE FROM conta"));
    c.exec(QStringLiteral("INSERT INTO conta (codigoconta, banco, agencia, conta) VALUES "
                          "(2, 'BRADESCO', '1234', '56789-0')"));
    c.exec(QStringLiteral("CREATE TABLE IF NOT EXISTS bench_importacao LIKE importacaobanco"));
    c.exec(QStringLiteral("CREATE TABLE IF NOT EXISTS bench_contacorrente LIKE contacorrente"));
    const int lastLedger =
        c.scalar(QStringLiteral("SELECT MAX(controle) FROM contacorrente")).toInt();

    QTemporaryDir dir;
    const QString xlsx = dir.filePath(QStringLiteral("extrato.xlsx"));
    const QString ofx = dir.filePath(QStringLiteral("extrato.ofx"));
    if (!StatementSamples::writeXlsx(xlsx, lines))
        return 1;
    {
        QFile f(ofx);
        if (!f.open(QIODevice::WriteOnly) || f.write(StatementSamples::ofxText(lines)) < 0)
            return 1;
    }

    FrmImportaarquivobanco w;
    w.show();
    w.bancoBox()->setCurrentIndex(0);
    const auto removeTransferred = [&] {
        c.exec(QStringLiteral("DELETE FROM contacorrente WHERE controle > %1").arg(lastLedger));
    };
    const auto readThrough = [&](const QString &path) {
        w.bancoClicado();
        FilePicker::setAnswers({path});
        w.ImportarExtrato();
    };
    std::printf("%d linhas; razão = tela / referência\n", lines);
    bool within = true;
    for (const QString &file : {xlsx, ofx}) {
        const bool isOfx = file == ofx;
        QList<StatementLine> parsed;
        const double readOnly = bestOf(
            3, [] {},
            [&] {
                parsed = isOfx ? StatementReader::fromOfx(Ofx::read(file))
                               : StatementReader::fromGrid(Workbook::read(file));
            });
        StatementStaging staging(&c);
        const double stageOnly = bestOf(
            3, [] {},
            [&] { staging.stage(parsed, QStringLiteral("BENCH"), QDateTime::currentDateTime()); });
        const QString values = stagingValues(parsed);
        const double insertBase = bestOf(
            3, [&] { c.exec(QStringLiteral("TRUNCATE TABLE bench_importacao")); },
            [&] {
                c.exec(QStringLiteral("INSERT INTO bench_importacao (data, hora, usuario, "
                                      "historico, documento, valor, debito, saldo, importado, "
                                      "dataimportado) VALUES ") +
                       values);
            });
        const double screenRead = bestOf(
            3, [] {}, [&] { readThrough(file); });
        const int staged = w.staging()->recordCount();
        std::printf(
            "%-4s ler e preparar (tela): %7.1f ms (%d linhas)   um INSERT de várias linhas: "
            "%6.1f ms   razão %5.2f\n",
            isOfx ? "ofx" : "xlsx", screenRead, staged, insertBase, screenRead / insertBase);
        std::printf("     dos quais: leitura do arquivo %7.1f ms, gravação na tabela de preparo "
                    "%6.1f ms (razão %4.2f)\n",
                    readOnly, stageOnly, stageOnly / insertBase);
        within &= screenRead <= 3 * insertBase;
    }

    // The transfer of the OFX statement's lines, staged just above.
    QList<QString> batches;
    {
        QSqlQuery q = c.exec(QStringLiteral("SELECT data, historico, documento, valor, debito "
                                            "FROM importacaobanco ORDER BY id"));
        QStringList values;
        while (q.next()) {
            const bool credit = !q.value(3).isNull() && q.value(3).toDouble() != 0;
            const double amount = credit ? q.value(3).toDouble() : q.value(4).toDouble();
            values << QStringLiteral("(%1,0,'56789-0','BRADESCO','0341','%2','%2','%2',%3,%4,"
                                     "'%5','%6','BANCO','BANCO',1,'EMPRESA',99999,%7,99999,"
                                     "'BANCO',1,'VARIAVEL',%8,%9,'S','2024-12-31','BENCH',"
                                     "'10:00:00')")
                          .arg(QStringLiteral("NULL"), q.value(0).toDate().toString(Qt::ISODate),
                               credit ? QString::number(amount) : QStringLiteral("NULL"),
                               credit ? QStringLiteral("NULL") : QString::number(amount),
                               credit ? "E" : "S", credit ? "ENTRADA" : "DEBITO",
                               literal(q.value(1).toString().left(50)),
                               literal(q.value(2).toString().left(15)))
                          .arg(amount);
            if (values.size() == 1000) {
                batches << values.join(QLatin1Char(','));
                values.clear();
            }
        }
        if (!values.isEmpty())
            batches << values.join(QLatin1Char(','));
    }
    const double batched = bestOf(
        3, [&] { c.exec(QStringLiteral("TRUNCATE TABLE bench_contacorrente")); },
        [&] {
            c.begin();
            for (const QString &b : batches)
                c.exec(QStringLiteral("INSERT INTO bench_contacorrente (controle, codigoconta, "
                                      "conta, banco, agencia, datalancamento, datavencimento, "
                                      "dataquitacao, valor, debito, es, tipos, especie, "
                                      "tiposaida, codigofilial, filial, codigofornecedor, "
                                      "fornecedor, codigogerencial, gerencial, codigotipo, tipo, "
                                      "documento, valordoc, importado, dataimportado, usuario, "
                                      "hora) VALUES ") +
                       b);
            c.commit();
        });
    const double transfer = bestOf(
        3,
        [&] {
            removeTransferred();
            readThrough(ofx);
        },
        [&] { w.TransferirCC(); });
    const int written =
        c.scalar(QStringLiteral("SELECT COUNT(*) FROM contacorrente WHERE controle > %1")
                     .arg(lastLedger))
            .toInt();
    removeTransferred();
    std::printf("transferir %d linhas (razão de %d lançamentos, cada uma com sua busca de "
                "duplicados): %7.1f ms   inserção em lotes: %6.1f ms   razão %5.2f   "
                "(perguntas: %d)\n",
                written, kLedgerRows, transfer, batched, transfer / batched, questions);
    within &= transfer <= 5 * batched;
    return within ? 0 : 2;
}
