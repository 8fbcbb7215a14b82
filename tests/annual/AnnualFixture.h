#pragma once
// What the work-table tests stand on: a fresh database with the company,
// three suppliers (two of them of one name) and two cost centres, the data
// module connected to it, the clock fixed on Monday 06/05/2024, and small
// makers of payables and receivables. The rows of each case are the case's
// own; the expected values are worked out by hand in the tests.

#include "TestDb.h"
#include "app/DM.h"
#include "report/PreparedReport.h"
#include "widgets/Clock.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariantMap>

namespace AnnualTest {

inline const QDate kToday(2024, 5, 6);
inline const QString kCompany = QStringLiteral("ÓTICAS BOA VISTA LTDA");

struct Fixture
{
    TestDb db;
    DM dm;
    bool ok = false;

    Fixture()
    {
        Clock::setFixed(QDateTime(kToday, QTime(9, 0)));
        if (!db.ok())
            return;
        exec("insert into configuracao (Nome) values (?)", {kCompany});
        for (const auto &[code, name] :
             {std::pair{10, "ALFA LENTES"}, {20, "BETA ÓPTICA"}, {21, "BETA ÓPTICA"}})
            exec("insert into fornecedor (codigofornecedor, nome) values (?, ?)", {code, name});
        for (const auto &[code, name] : {std::pair{5, "ALUGUEL"}, {6, "ENERGIA"}})
            exec("insert into contagerencial (codigogerencial, gerencial) values (?, ?)",
                 {code, name});
        ok = dm.connectWith(TestDb::serverSettings(db.databaseName()));
    }
    ~Fixture() { Clock::setFixed({}); }

    Connection &conn() { return *dm.MyConnection1; }

    void exec(const QString &sql, const QVariantList &values = {})
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
        QStringList marks(columns.size(), QStringLiteral("?"));
        exec(QStringLiteral("insert into %1 (%2) values (%3)")
                 .arg(table, columns.keys().join(QLatin1Char(',')), marks.join(QLatin1Char(','))),
             columns.values());
    }

    // A payable of the supplier (10 ALFA LENTES, 20 or 21 BETA ÓPTICA) and
    // cost centre (5 ALUGUEL, 6 ENERGIA), branch 1 "CENTRO"; settled on
    // quitacao with totalpg when quitacao is valid, open otherwise.
    void payable(const QString &nota, int fornecedor, int gerencial, const QDate &venc,
                 double valor, const QDate &quitacao = {}, const QVariant &totalpg = {},
                 const QString &negociacao = QStringLiteral("N"))
    {
        QVariantMap r{{"nota", nota},
                      {"notacontrole", nota + "/1"},
                      {"codigofilial", 1},
                      {"filial", "CENTRO"},
                      {"nomefilial", "CENTRO"},
                      {"codigofornecedor", fornecedor},
                      {"nome", fornecedor == 10 ? "ALFA LENTES" : "BETA ÓPTICA"},
                      {"codigogerencial", gerencial},
                      {"gerencial", gerencial == 5 ? "ALUGUEL" : "ENERGIA"},
                      {"dataemissao", QDate(2024, 1, 2)},
                      {"datavenc", venc},
                      {"valor", valor},
                      {"negociacao", negociacao}};
        if (quitacao.isValid()) {
            r["dataquitacao"] = quitacao;
            r["totalpg"] = totalpg.isValid() ? totalpg : QVariant(valor);
            r["valorpg"] = r["totalpg"];
            r["pago"] = "S";
        }
        insert("pagar", r);
    }

    void receivable(int cliente, const QString &nome, const QDate &venc, double valor,
                    const QDate &quitacao = {})
    {
        QVariantMap r{{"CodigoNota", "R" + QString::number(cliente)},
                      {"CodigoCliente", cliente},
                      {"Nome", nome},
                      {"DataVenc", venc},
                      {"Valor", valor}};
        if (quitacao.isValid()) {
            r["DataQuitacao"] = quitacao;
            r["TotalPg"] = valor;
        }
        insert("receber", r);
    }

    // Rows of a table as the program's connection sees it (its own copy of
    // a work table), each row's columns joined by "|".
    QStringList rows(const QString &sql)
    {
        QStringList out;
        QSqlQuery q = conn().exec(sql);
        while (q.next()) {
            QStringList cells;
            for (int i = 0; i < q.record().count(); ++i)
                cells << (q.value(i).isNull() ? QStringLiteral("NULL") : q.value(i).toString());
            out << cells.join(QLatin1Char('|'));
        }
        return out;
    }
};

// The table rows of one kind, every cell in its column (empty ones too),
// joined by "|": a value in the wrong column shows.
inline QStringList cells(const Report::PreparedReport &r, Report::TableRow::Kind kind)
{
    QStringList out;
    for (const Report::TableRow &row : r.table) {
        if (row.kind != kind)
            continue;
        QStringList texts;
        for (const Report::Cell &c : row.cells)
            texts << c.text;
        out << texts.join(QLatin1Char('|'));
    }
    return out;
}

} // namespace AnnualTest
