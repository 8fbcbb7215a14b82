#pragma once
// A small company for the summary tests. Period 01/04/2024 to 30/04/2024.
//
// Registries: cost centres 5 "Aluguel", 6 "ENERGIA", 3 "DIVERSOS"; expense
// types 1 "material de escritório", 2 "IMPOSTOS"; suppliers 10 "Alfa
// Lentes", 11 "BETA ARMAÇÕES", 20 "GAMA"; branches 1 "CENTRO", 2
// "SHOPPING".
//
// Payables settled (nota, day, valorpg / totalpg, expense type, supplier,
// cost centre):
//   N1  01/04  100,00          2   10  5
//   N2  15/04  0               2   10  5      valorpg 0: no row
//   N3  16/04  -5,00           2   10  5      negative: no row
//   N4  12/04  null / 40,50    -   11  6      paid at entry
//   N5  30/04  59,50           1   20  77     cost centre not in the registry
//   N6  20/04  10,00           -   10  3      the registry's DIVERSOS
//   NOTA-MUITO-LONGA  10/04  25,00  2  11  -  no cost centre; nota cut to 10
//   N7  31/03, N8  01/05: outside the period
// Receivables received (note, day, TotalPg, customer):
//   R-1  05/04  300,00  10 "cliente dez"
//   ""   06/04   50,00  30 "cliente trinta"
//   R-3  07/04    0,00  30 "cliente trinta"
//   R-4  31/03   99,00  10: outside the period

#include "ProgramFixture.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariantMap>

namespace SummariesTest {

inline const QDate kFrom(2024, 4, 1);
inline const QDate kTo(2024, 4, 30);
inline const QString kCompany = QStringLiteral("ÓTICAS BOA VISTA LTDA");

struct Fixture : ProgramFixture
{
    explicit Fixture(bool withRows = true)
        : ProgramFixture(QDateTime(QDate(2024, 5, 6), QTime(9, 0)))
    {
        if (!db.ok())
            return;
        run("insert into configuracao (Nome) values (?)", {kCompany});
        run("insert into contagerencial (codigogerencial, gerencial) values "
            "(5, 'Aluguel'), (6, 'ENERGIA'), (3, 'DIVERSOS')");
        run("insert into tipodespesa (codigodespesa, despesa) values "
            "(1, 'material de escritório'), (2, 'IMPOSTOS')");
        run("insert into fornecedor (codigofornecedor, nome) values "
            "(10, 'Alfa Lentes'), (11, 'BETA ARMAÇÕES'), (20, 'GAMA')");
        run("insert into filial (codigofilial, nomefilial) values (1, 'CENTRO'), (2, 'SHOPPING')");
        if (withRows)
            standardRows();
        // The data module read the company table before it had a row.
        dm.tbConfiguracao->close();
        dm.tbConfiguracao->open();
    }

    void run(const QString &sql, const QVariantList &values = {})
    {
        QSqlQuery q(db.sql());
        q.prepare(sql);
        for (const QVariant &v : values)
            q.addBindValue(v);
        if (!q.exec())
            qFatal("%s: %s", qPrintable(sql), qPrintable(q.lastError().text()));
    }

    void insert(const QString &table, const QVariantMap &columns)
    {
        QStringList names = columns.keys();
        QStringList marks(names.size(), QStringLiteral("?"));
        QVariantList values;
        for (const QString &n : names)
            values << columns.value(n);
        run(QStringLiteral("insert into %1 (%2) values (%3)")
                .arg(table, names.join(QLatin1Char(',')), marks.join(QLatin1Char(','))),
            values);
    }

    // A settled payable: nota, settlement day, valorpg, totalpg, expense
    // type (0: none), supplier, cost centre (0: none).
    void paid(const QString &nota, const QDate &day, const QVariant &valorpg,
              const QVariant &totalpg, int despesa, int fornecedor, int gerencial)
    {
        static const QMap<int, QString> suppliers{
            {10, "Alfa Lentes"}, {11, "BETA ARMAÇÕES"}, {20, "GAMA"}};
        static const QMap<int, QString> expenses{{1, "material de escritório"}, {2, "impostos"}};
        QVariantMap r{{"nota", nota},
                      {"dataquitacao", day},
                      {"datavenc", day},
                      {"valor", totalpg.isNull() ? valorpg : totalpg},
                      {"valorpg", valorpg},
                      {"totalpg", totalpg},
                      {"pago", "S"},
                      {"especie", "boleto"},
                      {"nome", suppliers.value(fornecedor)},
                      {"codigofornecedor", fornecedor},
                      {"codigofilial", 1},
                      {"nomefilial", "centro"}};
        if (despesa) {
            r["codigodespesa"] = despesa;
            r["despesa"] = expenses.value(despesa);
        }
        if (gerencial)
            r["codigogerencial"] = gerencial;
        insert("pagar", r);
    }

    void received(const QString &nota, const QDate &day, double total, int cliente,
                  const QString &nome)
    {
        insert("receber", {{"CodigoNota", nota},
                           {"DataQuitacao", day},
                           {"DataVenc", day},
                           {"Valor", total},
                           {"TotalPg", total},
                           {"CodigoFilial", 2},
                           {"filial", "Shopping"},
                           {"CodigoCliente", cliente},
                           {"Nome", nome},
                           {"especie", "pix"}});
    }

    void standardRows()
    {
        const QVariant none;
        paid("N1", kFrom, 100.00, 100.00, 2, 10, 5);
        paid("N2", QDate(2024, 4, 15), 0.0, 0.0, 2, 10, 5);
        paid("N3", QDate(2024, 4, 16), -5.0, -5.0, 2, 10, 5);
        paid("N4", QDate(2024, 4, 12), none, 40.50, 0, 11, 6);
        paid("N5", kTo, 59.50, 59.50, 1, 20, 77);
        paid("N6", QDate(2024, 4, 20), 10.00, 10.00, 0, 10, 3);
        paid("NOTA-MUITO-LONGA", QDate(2024, 4, 10), 25.00, 25.00, 2, 11, 0);
        paid("N7", kFrom.addDays(-1), 1000.0, 1000.0, 2, 10, 5);
        paid("N8", kTo.addDays(1), 2000.0, 2000.0, 2, 10, 5);
        received("R-1", QDate(2024, 4, 5), 300.00, 10, "cliente dez");
        received("", QDate(2024, 4, 6), 50.00, 30, "cliente trinta");
        received("R-3", QDate(2024, 4, 7), 0.0, 30, "cliente trinta");
        received("R-4", kFrom.addDays(-1), 99.00, 10, "cliente dez");
    }
};

} // namespace SummariesTest
