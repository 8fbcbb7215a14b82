#pragma once
// What the benchmarks over a large payables table share: the bench server's
// settings (CP_BENCH_PORT, default 33062) and the generator of payables:
// five years up to today, 50 suppliers ("FORNECEDOR n"), 5 branches, 8 cost
// centres; about 80 % of what fell due is settled, one in fifty is
// renegotiated. The same seed gives the same rows.

#include "db/Connection.h"

#include <QDate>
#include <QRandomGenerator>
#include <QStringList>

namespace BenchPayables {

inline ConnectionSettings settings(const QString &database)
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

inline void generate(Connection &c, int rows)
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

} // namespace BenchPayables
