#pragma once
// What the report engine's tests run on: a row of the sample payables, the
// sample report (grouped by branch, sums in the group footer and the
// summary, a memo as the second detail line), a data set of sample rows made
// in memory, and a look-up of a printed text.

#include "db/RecordSet.h"
#include "report/PreparedReport.h"
#include "report/ReportDefinition.h"

#include <QDate>
#include <QSqlField>
#include <QSqlRecord>
#include <QString>

using namespace Report;

struct Row
{
    QString filial;
    QString nome;
    double valor;
    QDate venc;
    QString obs;
};

// The sample rows as a data set in memory, in the order given, with the
// columns a query of pagar would give them (an empty obs is NULL).
inline void openSampleRows(RecordSet &rs, const QList<Row> &rows)
{
    QSqlRecord columns;
    columns.append(QSqlField(QStringLiteral("controle"), QMetaType(QMetaType::Int)));
    columns.append(QSqlField(QStringLiteral("nomefilial"), QMetaType(QMetaType::QString)));
    columns.append(QSqlField(QStringLiteral("nome"), QMetaType(QMetaType::QString)));
    columns.append(QSqlField(QStringLiteral("valor"), QMetaType(QMetaType::Double)));
    columns.append(QSqlField(QStringLiteral("datavenc"), QMetaType(QMetaType::QDate)));
    columns.append(QSqlField(QStringLiteral("obs"), QMetaType(QMetaType::QString)));
    QList<QVariantList> values;
    int controle = 0;
    for (const Row &r : rows)
        values << QVariantList{++controle, r.filial,
                               r.nome,     r.valor,
                               r.venc,     r.obs.isEmpty() ? QVariant() : QVariant(r.obs)};
    rs.openRows(columns, values);
}

// The kind of report the business builds: grouped by branch, sums in the
// group footer and the summary, a memo as the second detail line.
inline ReportDefinition branchReport(Flavour flavour = Flavour::Independent)
{
    ReportDefinition d;
    d.title = QStringLiteral("Manutenção de Contas");
    d.flavour = flavour;
    d.paper = Paper::A4;
    d.pageHeader.height = 14;
    d.pageHeader << label({0, 0, 120, 5}, QStringLiteral("EMPRESA DE TESTE")).bold()
                 << computed({0, 5, 150, 5},
                             [](const Context &) {
                                 return QStringLiteral("Relatório de Manutenção: 01/05/2024 à "
                                                       "31/05/2024");
                             })
                 << date({150, 0, 40, 5}).right()
                 << pageNumber({150, 5, 40, 5}, QStringLiteral("Página : "),
                               QStringLiteral("%1 de %2"))
                        .right()
                 << rule({0, 12, 190, 0});
    d.columnHeader.height = 5;
    d.columnHeader << label({0, 0, 90, 5}, QStringLiteral("Nome do Fornecedor")).bold()
                   << label({100, 0, 30, 5}, QStringLiteral("Dt.Vencimento")).bold()
                   << label({150, 0, 40, 5}, QStringLiteral("Valor R$")).bold().right();
    Group &g = d.addGroup(QStringLiteral("nomefilial"));
    g.header.height = 5;
    g.header << field({0, 0, 100, 5}, QStringLiteral("nomefilial"))
                    .prefix(QStringLiteral("Filial => "))
                    .bold();
    g.footer.height = 5;
    g.footer << label({100, 0, 40, 5}, QStringLiteral("Sub-Total => "))
             << sum({150, 0, 40, 5}, QStringLiteral("valor")).right();
    d.detail.height = 4.5;
    d.detail
        << field({0, 0, 90, 4.5}, QStringLiteral("nome"))
        << field({100, 0, 30, 4.5}, QStringLiteral("datavenc"))
        << field({150, 0, 40, 4.5}, QStringLiteral("valor"), QStringLiteral("#,##0.00")).right();
    d.detail2.height = 4;
    d.detail2.printIf = [](const Context &c) { return !c.text(QStringLiteral("obs")).isEmpty(); };
    d.detail2 << memo({10, 0, 120, 4}, QStringLiteral("obs"));
    d.summary.height = 6;
    d.summary << label({0, 0, 90, 5}, QStringLiteral("Quantidade de Lançamentos => "))
              << count({100, 0, 20, 5}) << sum({150, 0, 40, 5}, QStringLiteral("valor")).right();
    d.pageFooter.height = 5;
    d.pageFooter << detailCount({0, 0, 80, 5}, QStringLiteral("Total de Itens => "));
    return d;
}

inline const Item *findText(const Page &page, const QString &text)
{
    for (const Item &i : page.items)
        if (i.kind == Item::Kind::Text && i.text == text)
            return &i;
    return nullptr;
}
