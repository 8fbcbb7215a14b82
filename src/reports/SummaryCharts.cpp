#include "reports/SummaryCharts.h"

#include "app/Helpers.h"
#include "charts/ChartWindow.h"
#include "db/DisplayFormat.h"
#include "reports/WorkTable.h"
#include "widgets/BusyNotice.h"

#include <QSqlQuery>

#include <vector>

using namespace Charts;

namespace SummaryCharts {

namespace {

enum class Total { None, Credit, Debit };

struct Member
{
    QString name;
    QString caption;
    QSize size;
    QString sql; // first column: the bar's label, second: its value
    Marks marks;
    Total total;
    QString totalCaption;
};

// Credits or debits of resumo per name (cost centres) or per key.
QString perGroup(const QString &labelColumn, const QString &keyColumn, const QString &condicao,
                 const QString &amount, const QString &groupBy)
{
    const QString label =
        groupBy == labelColumn ? labelColumn : QStringLiteral("min(%1) as %1").arg(labelColumn);
    return QStringLiteral("select %1, sum(%2) as total from resumo where %3 is not null and "
                          "condicao = '%4' and %2 <> 0 group by %5 order by %5")
        .arg(label, amount, keyColumn, condicao, groupBy);
}

const std::vector<Member> &members()
{
    static const std::vector<Member> m = [] {
        const QString cc = QStringLiteral("Grafico Geral de Central do Custo no Periodo");
        const QString td = QStringLiteral("Grafico Geral de Tipo de Despesa no Periodo");
        const QString fo = QStringLiteral("Grafico Geral de Fornecedor no Periodo");
        const QString months = QStringLiteral("select descricao, mes01 from pagarmes order by id");
        return std::vector<Member>{
            {"FrmGraficoCentralCusto",
             cc,
             {1244, 604},
             perGroup("gerencial", "codigogerencial", "CREDITO", "credito", "gerencial"),
             Marks::LabelAndPercent,
             Total::Credit,
             "Total de Credito R$ "},
            {"FrmGraficoCentralCustoDebito",
             cc,
             {1244, 604},
             perGroup("gerencial", "codigogerencial", "DEBITO", "debito", "gerencial"),
             Marks::LabelAndPercent,
             Total::Debit,
             "Total de Debito R$ "},
            {"FrmGraficoDespesa",
             td,
             {1244, 560},
             perGroup("plano", "codigoplano", "CREDITO", "credito", "codigoplano"),
             Marks::LabelAndPercent,
             Total::Credit,
             "Total de Credito R$"},
            // condicao is compared without regard to case (the column's collation).
            {"FrmGraficoDespesaDebito",
             td,
             {1244, 560},
             perGroup("plano", "codigoplano", "Debito", "debito", "codigoplano"),
             Marks::LabelAndPercent,
             Total::Debit,
             "Total de Debito R$"},
            {"FrmGraficoFornecedor",
             fo,
             {1244, 700},
             perGroup("historico", "codigofornecedor", "CREDITO", "credito", "codigofornecedor"),
             Marks::LabelAndPercent,
             Total::Credit,
             "Total de Credito R$"},
            {"FrmGraficoFornecedorDebito",
             fo,
             {1244, 700},
             perGroup("historico", "codigofornecedor", "DEBITO", "debito", "codigofornecedor"),
             Marks::LabelAndPercent,
             Total::Debit,
             "Total de Debito R$"},
            {"FrmResumoquitado",
             "Grafico de Contas a Pagar Quitada no Periodo",
             {1244, 560},
             months,
             Marks::Value,
             Total::None,
             {}},
            {"FrmResumoquitadoPorFilialFornecedor",
             "Grafico de Contas a Pagar Quitada no Periodo",
             {1244, 560},
             months,
             Marks::Value,
             Total::None,
             {}},
        };
    }();
    return m;
}

const Member *find(const QString &name)
{
    for (const Member &m : members())
        if (m.name.compare(name, Qt::CaseInsensitive) == 0)
            return &m;
    return nullptr;
}

QString dateText(const QDate &d)
{
    return d.toString(QStringLiteral("dd/MM/yyyy"));
}

} // namespace

QStringList names()
{
    QStringList n;
    for (const Member &m : members())
        n << m.name;
    return n;
}

QString query(const QString &name)
{
    const Member *m = find(name);
    return m ? m->sql : QString();
}

ChartSpec spec(const QString &name, const WorkTable &table, const Context &context)
{
    ChartSpec s;
    const Member *m = find(name);
    if (!m)
        return s;
    s.name = m->name;
    s.caption = m->caption;
    s.size = m->size;
    s.marks = m->marks;
    s.fileName = m->caption;
    QSqlQuery q = table.exec(m->sql);
    while (q.next())
        s.bars.push_back({q.value(0).toString(), q.value(1).toDouble()});
    if (m->total != Total::None) {
        const double total = m->total == Total::Credit ? context.creditTotal : context.debitTotal;
        s.strip = {stripLabel(m->totalCaption, true),
                   stripField(QStringLiteral("total"), DisplayFormat::money(total), 110, true),
                   stripLabel(QStringLiteral("Periodo")),
                   stripField(QStringLiteral("dataI"), dateText(context.dataI), 80),
                   stripLabel(QStringLiteral(" a ")),
                   stripField(QStringLiteral("dataF"), dateText(context.dataF), 80),
                   stripButton(QStringLiteral("gerarDados"),
                               QStringLiteral("Gerar Dados para o Grafico"), false)};
    }
    return s;
}

void open(const QString &name, const WorkTable &table, const Context &context, QWidget *parent)
{
    ChartSpec s;
    {
        BusyNotice waiting;
        s = spec(name, table, context);
    }
    RunScreen(new ChartWindow(s, parent));
}

} // namespace SummaryCharts
