#pragma once
// A small company for the report tests: three branches, three suppliers,
// three cost centres and payables open, negotiated and settled around the
// period 01/04/2024 to 30/04/2024. Every payable's total (the whole invoice)
// is 1.000,00 above its valor and every paid one's valorpg 500,00 above its
// totalpg, so a report that prints or sums the wrong money column shows it.

#include "TestDb.h"
#include "app/DM.h"
#include "report/PreparedReport.h"
#include "reports/Reports.h"
#include "widgets/Clock.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariantMap>

namespace ReportsTest {

inline const QDate kToday(2024, 5, 6);
inline const QDate kFrom(2024, 4, 1);
inline const QDate kTo(2024, 4, 30);
inline const QString kCompany = QStringLiteral("ÓTICAS BOA VISTA LTDA");

struct Fixture
{
    TestDb db;
    DM dm;
    bool ok = false;

    explicit Fixture(bool withRows = true)
    {
        Clock::setFixed(QDateTime(kToday, QTime(9, 0)));
        if (!db.ok())
            return;
        exec("insert into configuracao (Nome) values (?)", {kCompany});
        for (const auto &[code, name] : {std::pair{1, "CENTRO"}, {2, "SHOPPING"}, {3, "VAZIA"}})
            exec("insert into filial (codigofilial, nomefilial) values (?, ?)", {code, name});
        for (const auto &[code, name] :
             {std::pair{10, "ALFA LENTES"}, {11, "BETA ARMAÇÕES"}, {12, "GAMA"}})
            exec("insert into fornecedor (codigofornecedor, nome) values (?, ?)", {code, name});
        for (const auto &[code, name] : {std::pair{5, "ALUGUEL"}, {6, "ENERGIA"}, {7, "FRETE"}})
            exec("insert into contagerencial (codigogerencial, gerencial) values (?, ?)",
                 {code, name});
        if (withRows)
            standardRows();
        ok = dm.connectWith(TestDb::serverSettings(db.databaseName()));
    }
    ~Fixture() { Clock::setFixed({}); }

    void exec(const QString &sql, const QVariantList &values = {})
    {
        QSqlQuery q(db.sql());
        q.prepare(sql);
        for (const QVariant &v : values)
            q.addBindValue(v);
        if (!q.exec())
            qFatal("%s: %s", qPrintable(sql), qPrintable(q.lastError().text()));
    }

    // One payable; columns not given take the table's defaults.
    void payable(const QVariantMap &columns)
    {
        QStringList names = columns.keys();
        QStringList marks(names.size(), QStringLiteral("?"));
        QVariantList values;
        for (const QString &n : names)
            values << columns.value(n);
        exec(QStringLiteral("insert into pagar (%1) values (%2)")
                 .arg(names.join(QLatin1Char(',')), marks.join(QLatin1Char(','))),
             values);
    }

    // nota, branch, supplier, cost centre, due date, amount; open.
    void open(const QString &nota, int filial, int fornecedor, int gerencial, const QDate &venc,
              double valor, const QString &negociacao = QStringLiteral("N"))
    {
        payable(row(nota, filial, fornecedor, gerencial, venc, valor, negociacao));
    }
    void paid(const QString &nota, int filial, int fornecedor, int gerencial, const QDate &venc,
              double valor, const QDate &quitacao, double totalpg,
              const QString &negociacao = QStringLiteral("N"), const QString &gerenial = QString())
    {
        QVariantMap r = row(nota, filial, fornecedor, gerencial, venc, valor, negociacao);
        r["dataquitacao"] = quitacao;
        r["totalpg"] = totalpg;
        r["valorpg"] = totalpg + 500;
        r["pago"] = "S";
        r["gerenial"] = gerenial.isEmpty() ? r["gerencial"] : QVariant(gerenial);
        payable(r);
    }

    static QVariantMap row(const QString &nota, int filial, int fornecedor, int gerencial,
                           const QDate &venc, double valor, const QString &negociacao)
    {
        static const QMap<int, QString> filiais{{1, "CENTRO"}, {2, "SHOPPING"}, {3, "VAZIA"}};
        static const QMap<int, QString> fornecedores{
            {10, "ALFA LENTES"}, {11, "BETA ARMAÇÕES"}, {12, "GAMA"}};
        static const QMap<int, QString> gerenciais{{5, "ALUGUEL"}, {6, "ENERGIA"}, {7, "FRETE"}};
        return {{"nota", nota},
                {"notacontrole", nota + "/1"},
                {"codigofilial", filial},
                {"nomefilial", filiais.value(filial)},
                {"filial", filiais.value(filial)},
                {"codigofornecedor", fornecedor},
                {"nome", fornecedores.value(fornecedor)},
                {"codigogerencial", gerencial},
                {"gerencial", gerenciais.value(gerencial)},
                {"dataemissao", QDate(2024, 3, 1)},
                {"datavenc", venc},
                {"valor", valor},
                {"total", valor + 1000},
                {"negociacao", negociacao},
                {"obs01", "obs01 de " + nota},
                {"obs", "memo de " + nota}};
    }

    // Open: A1, A2 (branch 1, first day), A3 (branch 2, last day); A4
    // negotiated; A5 settled inside the period; A6 due the day after, A7 the
    // day before. Paid: Q1 on the first day, Q2 on the last, Q3 the day
    // after, Q4 negotiated and settled, with an older cost-centre name.
    void standardRows()
    {
        open("A1", 1, 10, 5, kFrom, 100.00);
        open("A2", 1, 11, 6, kFrom, 50.25);
        open("A3", 2, 10, 5, kTo, 200.10);
        open("A4", 1, 10, 5, QDate(2024, 4, 15), 30.00, "S");
        paid("A5", 1, 10, 5, QDate(2024, 4, 15), 40.00, QDate(2024, 4, 20), 40.00);
        open("A6", 1, 10, 5, kTo.addDays(1), 70.00);
        open("A7", 1, 10, 5, kFrom.addDays(-1), 80.00);
        paid("Q1", 1, 10, 5, QDate(2024, 3, 1), 80.00, kFrom, 79.90);
        paid("Q2", 2, 11, 6, QDate(2024, 3, 2), 20.50, kTo, 20.50);
        paid("Q3", 1, 10, 5, QDate(2024, 3, 3), 15.00, kTo.addDays(1), 15.00);
        paid("Q4", 1, 10, 5, QDate(2024, 3, 4), 10.00, QDate(2024, 4, 10), 12.34, "S",
             "ALUGUEL VELHO");
    }
};

inline Reports::Params period(const QDate &from = kFrom, const QDate &to = kTo)
{
    Reports::Params p;
    p.dataI = from;
    p.dataF = to;
    return p;
}

} // namespace ReportsTest
