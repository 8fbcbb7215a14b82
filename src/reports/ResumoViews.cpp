#include "reports/ResumoViews.h"

#include "reports/ResumoFill.h"
#include "reports/WorkTable.h"

#include <QHash>
#include <QSqlQuery>

#include <algorithm>

namespace ResumoViews {

namespace {

struct Shape
{
    QString key;          // key column of resumo
    QString name;         // name column of resumo (the view's order)
    QString registry;     // registry table
    QString registryKey;  // its code column
    QString registryName; // its name column
    bool upper;           // the list shows the registry's name upper-cased
    QString totalsFilter; // condition of the totals
};

const Shape &shape(View v)
{
    static const Shape costCentre{"codigogerencial",
                                  "gerencial",
                                  "contagerencial",
                                  "codigogerencial",
                                  "gerencial",
                                  false,
                                  {}};
    static const Shape expense{"codigoplano",
                               "plano",
                               "tipodespesa",
                               "codigodespesa",
                               "despesa",
                               true,
                               "where codigoplano is not null"};
    static const Shape supplier{"codigofornecedor",
                                "historico",
                                "fornecedor",
                                "codigofornecedor",
                                "nome",
                                true,
                                "where codigofornecedor is not null"};
    switch (v) {
    case View::CostCentre:
        return costCentre;
    case View::ExpenseType:
        return expense;
    case View::Supplier:
        break;
    }
    return supplier;
}

bool sameKey(const QVariant &a, const QVariant &b)
{
    return a.toDouble() == b.toDouble();
}

} // namespace

std::vector<Group> controlBreak(const std::vector<Entry> &entries)
{
    std::vector<Group> groups;
    size_t i = 0;
    while (i < entries.size()) {
        Group g;
        g.key = entries[i].key;
        while (i < entries.size() && sameKey(entries[i].key, g.key)) {
            g.debito += entries[i].debito;
            g.credito += entries[i].credito;
            ++i;
        }
        groups.push_back(g);
    }
    return groups;
}

std::vector<Row> list(const WorkTable &resumo, View view)
{
    const Shape &s = shape(view);
    // The rows summed per key and name: the control break then joins the
    // names of one key, which the order keeps together.
    std::vector<Entry> entries;
    {
        QSqlQuery q = resumo.exec(QStringLiteral("select %1, sum(debito), sum(credito), "
                                                 "min(%2) over (partition by %1) as ordem "
                                                 "from resumo where %1 is not null group by %1, %2 "
                                                 "order by ordem, %1, %2")
                                      .arg(s.key, s.name));
        while (q.next())
            entries.push_back({q.value(0), q.value(1).toDouble(), q.value(2).toDouble()});
    }
    const std::vector<Group> groups = controlBreak(entries);

    // The names of the keys listed, in one read of the registry.
    QHash<qint64, QString> names;
    {
        QSqlQuery q = resumo.exec(QStringLiteral("select %1, %2 from %3 where %1 in "
                                                 "(select distinct %4 from resumo where %4 is "
                                                 "not null)")
                                      .arg(s.registryKey, s.registryName, s.registry, s.key));
        while (q.next())
            names.insert(q.value(0).toLongLong(), q.value(1).toString());
    }

    std::vector<Row> rows;
    rows.reserve(groups.size());
    for (const Group &g : groups) {
        Row r;
        const auto key = ResumoFill::codeKey(g.key);
        const auto it = key ? names.constFind(*key) : names.cend();
        if (it != names.cend()) {
            r.codigo = double(*key);
            r.descricao = s.upper ? it->toUpper() : *it;
        }
        r.valor = g.debito;
        r.credito = g.credito;
        rows.push_back(r);
    }
    // Each cost centre goes in before the one listed last.
    if (view == View::CostCentre)
        std::reverse(rows.begin(), rows.end());
    return rows;
}

Totals totals(const WorkTable &resumo, View view)
{
    const Shape &s = shape(view);
    QSqlQuery q = resumo.exec(
        QStringLiteral("select sum(debito), sum(credito) from resumo %1").arg(s.totalsFilter));
    Totals t;
    if (q.next()) {
        t.debito = q.value(0).toDouble();
        t.credito = q.value(1).toDouble();
    }
    return t;
}

} // namespace ResumoViews
