// Opens the payables list of the maintenance screen over a large database and
// times it against the bare driver fetching the same rows.
//
//   bench_pagar [rows]      (default 200000; server from CP_BENCH_PORT, default 33062)
//
// Builds (once) the database cp_bench_pagar: five years of payables for 50
// suppliers and 5 branches. Prints, for the "Todas" list, a name search and a
// due-date period search, the screen's time, the bare fetch's time and their
// ratio, and the resident memory with the whole list open.

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

void generate(Connection &c, int rows)
{
    const QStringList filiais{"MATRIZ", "LOJA CENTRO", "LOJA NORTE", "LOJA SUL", "DEPOSITO"};
    const QStringList centros{"ALUGUEL",  "ENERGIA", "MERCADORIAS", "SERVICOS",
                              "IMPOSTOS", "FOLHA",   "MANUTENCAO",  "TRANSPORTE"};
    const QStringList despesas{"FIXA", "VARIAVEL", "INVESTIMENTO", "TRIBUTO"};
    const QStringList tipos{"BOLETO", "DINHEIRO", "PIX", "CHEQUE", "TRANSFERENCIA"};
    QRandomGenerator rnd(42);
    const QDate start = QDate::currentDate().addYears(-5);
    const int batch = 1000;
    int written = 0;
    c.begin();
    while (written < rows) {
        QStringList values;
        for (int i = 0; i < batch && written < rows; ++i, ++written) {
            const int forn = int(rnd.bounded(50)) + 1;
            const int fil = int(rnd.bounded(5));
            const int cc = int(rnd.bounded(centros.size()));
            const int n = int(rnd.bounded(6)) + 1;
            const int parcela = int(rnd.bounded(n)) + 1;
            const QDate emissao = start.addDays(rnd.bounded(5 * 365));
            const QDate venc = emissao.addDays(30 * parcela);
            const double total = 50 + rnd.bounded(500000) / 100.0;
            const double valor = qRound(total / n * 100) / 100.0;
            const bool paid = venc < QDate::currentDate() && rnd.bounded(10) < 8;
            const bool neg = rnd.bounded(50) == 0;
            const QString nota = QString::number(100000 + written / 3);
            values << QStringLiteral("('%1','%1/%2','%2º PARCELA',%3,'%4','%5',%6,%7,%8,%9,%10,"
                                     "'%11','%12',%13,'FORNECEDOR %13','FORNECEDOR %13',%14,'%15',"
                                     "'%15',%16,'%17','%17',%18,'%19',%20,'%21','%22','BENCH',"
                                     "'10:00:00','observação da nota %1')")
                          .arg(nota)
                          .arg(parcela)
                          .arg(n)
                          .arg(emissao.toString(Qt::ISODate), venc.toString(Qt::ISODate))
                          .arg(paid ? "'" + venc.addDays(rnd.bounded(5)).toString(Qt::ISODate) + "'"
                                    : QStringLiteral("NULL"))
                          .arg(valor)
                          .arg(total)
                          .arg(paid ? QString::number(valor) : QStringLiteral("NULL"))
                          .arg(paid ? QString::number(valor) : QStringLiteral("NULL"))
                          .arg(paid ? "S" : "N", neg ? "S" : "N")
                          .arg(forn)
                          .arg(fil + 1)
                          .arg(filiais[fil])
                          .arg(cc + 1)
                          .arg(centros[cc])
                          .arg(int(rnd.bounded(despesas.size())) + 1)
                          .arg(despesas[rnd.bounded(despesas.size())])
                          .arg(int(rnd.bounded(tipos.size())) + 1)
                          .arg(tipos[rnd.bounded(tipos.size())],
                               paid ? QStringLiteral("Pagamento Pagar") : QString());
        }
        c.exec(QStringLiteral(
                   "INSERT INTO pagar (Nota, notacontrole, condicao, parcelas, Dataemissao, "
                   "Datavenc, Dataquitacao, Valor, total, totalpg, valorpg, pago, negociacao, "
                   "CodigoFornecedor, Nome, nomefornecedor, Codigofilial, filial, nomefilial, "
                   "codigogerencial, gerencial, gerenial, codigodespesa, despesa, codigotipo, "
                   "tipo, especie, usuario, horalanc, Obs) VALUES ") +
               values.join(QLatin1Char(',')));
    }
    c.commit();
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
    if (c.scalar(QStringLiteral("SELECT COUNT(*) FROM pagar")).toInt() != rows) {
        c.exec(QStringLiteral("TRUNCATE TABLE pagar"));
        QElapsedTimer t;
        t.start();
        generate(c, rows);
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
