// The summary screens' reports as one table of shapes; build() turns a shape
// into a report definition.

#include "reports/SummaryReports.h"

#include "app/DM.h"
#include "db/RecordSet.h"
#include "report/ReportPreview.h"
#include "report/ReportRunner.h"
#include "reports/WorkTable.h"
#include "widgets/BusyNotice.h"

#include <vector>

using namespace Report;

namespace SummaryReports {

namespace {

const QString kMoney = QStringLiteral("#,##0.00");
const QString kMoneyFirstEngine = QStringLiteral("###,##0.00");

struct Column
{
    QString caption;
    QString field;
    double width; // mm
    bool money = false;
};

// One line of the summary: a bold caption and the value beside it.
struct SummaryLine
{
    enum Kind { Count, Sum, Difference };
    Kind kind;
    QString caption;
    QString field; // Sum
};

struct Shape
{
    QString name;
    Flavour flavour = Flavour::Modal;
    QString sql;
    QString title; // the title text before the period
    bool boldTitle = false;
    bool branchFirst = false; // the first line names the branch, not the company
    bool captionLine = false; // the screen's caption under the first line
    QString dateCaption;
    QString pageCaption;
    std::vector<Column> columns;
    std::vector<SummaryLine> summary;
    QString countMask;
    QString sumMask;
    QString jobTitle;
};

Shape firstEngine(const QString &name, const QString &sql, const QString &title, bool boldTitle,
                  const QString &keyField, const QString &nameCaption, const QString &nameField,
                  const QStringList &captions)
{
    Shape s;
    s.name = name;
    s.sql = sql;
    s.title = title;
    s.boldTitle = boldTitle;
    s.dateCaption = QStringLiteral("Emissão: ");
    s.pageCaption = QStringLiteral("Página: ");
    s.columns = {{QStringLiteral("Código"), keyField, 25},
                 {nameCaption, nameField, 110},
                 {QStringLiteral("Credito R$"), QStringLiteral("totalC"), 30, true},
                 {QStringLiteral("Debito R$"), QStringLiteral("totalD"), 30, true}};
    s.summary = {{SummaryLine::Count, captions[0], {}},
                 {SummaryLine::Sum, captions[1], QStringLiteral("totalC")},
                 {SummaryLine::Sum, captions[2], QStringLiteral("totalD")},
                 {SummaryLine::Difference, captions[3], {}}};
    s.countMask = QStringLiteral("###,##0.###");
    s.sumMask = kMoneyFirstEngine;
    s.jobTitle = QStringLiteral("Perc. de Venda");
    return s;
}

// One line per key; the name printed is the key's first name, the order is
// by that name and then by key, as the summary screen's lists.
QString perKey(const QString &key, const QString &name)
{
    return QStringLiteral("select %1, min(%2) as %2, coalesce(sum(debito), 0) as totalD, "
                          "coalesce(sum(credito), 0) as totalC from resumo where %1 is not null "
                          "group by %1 order by %2, %1")
        .arg(key, name);
}

const std::vector<Shape> &shapes()
{
    static const std::vector<Shape> all = [] {
        std::vector<Shape> s;
        s.push_back(firstEngine(
            "RptResumoPagarCorrente", perKey("CodigoGerencial", "gerencial"),
            "Relatorio de Central de Custo Por Contas a Pagar e Conta Corrente no Periodo "
            "Quitado : ",
            true, "CodigoGerencial", "Descrição da central de Custo", "gerencial",
            {"Total de Itens Listados : ", "Total de Credito R$", "Total de Debito R$",
             "Difrença"}));
        s.push_back(firstEngine(
            "RptResumoPagarCorrenteDespesa", perKey("codigoplano", "plano"),
            "Relatorio de Central de Custo Por Tipo de Despesa no Periodo Quitado : ", true,
            "codigoplano", "Tipo de Despesa", "plano",
            {"Total de Itens Listados :", "Total de Credito R$ ", "Total de Debito R$ ",
             "Diferença R$"}));
        s.push_back(
            firstEngine("RptResumoPagarCorrenteFornecedor", perKey("codigofornecedor", "historico"),
                        "Relatorio de Central de Custo Por Fornecedor no Periodo Quitado : ", false,
                        "codigofornecedor", "Razão Social do Fornecedor", "historico",
                        {"Total de Itens Listados : ", "Total de Creditos R$",
                         "Total de Debitos R$", "Diferença R$"}));

        Shape g;
        g.name = "RptPagarFilialFornecedorGrafico";
        g.flavour = Flavour::Independent;
        g.sql = "SELECT * FROM Pagarmes order by id";
        g.title = "Relatorio de Contas a Pagar Por FIlial e Fornecedor Quitado no Periodo ";
        g.branchFirst = true;
        g.dateCaption = "Data : ";
        g.pageCaption = "Página : ";
        g.columns = {{"Descrição do Mês", "descricao", 120}, {"Valor R$", "mes01", 40, true}};
        g.summary = {{SummaryLine::Count, "Quantidade de Lançamentos => ", {}},
                     {SummaryLine::Sum, {}, "mes01"}};
        g.sumMask = kMoney;
        s.push_back(g);

        Shape g1 = g;
        g1.name = "RptPagarFilialFornecedorGrafico01";
        g1.branchFirst = false;
        g1.captionLine = true;
        g1.title.clear();
        s.push_back(g1);
        return s;
    }();
    return all;
}

const Shape *find(const QString &name)
{
    for (const Shape &s : shapes())
        if (s.name.compare(name, Qt::CaseInsensitive) == 0)
            return &s;
    return nullptr;
}

QString period(const Reports::Params &p)
{
    return p.dataI.toString(QStringLiteral("dd/MM/yyyy")) + QStringLiteral(" à ") +
           p.dataF.toString(QStringLiteral("dd/MM/yyyy"));
}

QStringList lines(const Shape &s, const Reports::Params &p)
{
    const QString company = DM::instance() ? DM::instance()->companyName() : QString();
    if (s.branchFirst)
        return {p.filialNome, p.fornecedorNome, s.title + period(p)};
    if (s.captionLine)
        return {company, p.title};
    return {company, s.title + period(p)};
}

ReportDefinition build(const Shape &s, const Reports::Params &p)
{
    ReportDefinition d;
    d.title = s.jobTitle.isEmpty() ? s.name : s.jobTitle;
    d.flavour = s.flavour;
    d.paper = Paper::Letter;
    d.orientation = Orientation::Portrait;
    const double width =
        paperSize(d.paper, d.orientation).width() - d.margins.left() - d.margins.right();
    const double row = 4.5;

    const QStringList header = lines(s, p);
    d.pageHeader << label({0, 0, width - 60, 6}, header.value(0)).bold().size(10);
    d.pageHeader << date({width - 55, 0, 55, row}, s.dateCaption).right();
    d.pageHeader << pageNumber({width - 55, row, 55, row}, s.pageCaption).right();
    double y = 2 * row + 1;
    for (int i = 1; i < header.size(); ++i) {
        Element e = label({0, y, width, 5}, header[i]);
        // The title of the first engine's reports is its last line.
        if (s.boldTitle && i == header.size() - 1)
            e.bold();
        d.pageHeader << e;
        y += 5;
    }
    d.pageHeader.height = y + 1;

    double at = 0;
    std::vector<double> x;
    for (const Column &c : s.columns) {
        x.push_back(at);
        const double w = c.money ? c.width - 3 : c.width;
        Element caption = label({at, 0, w, 5}, c.caption).bold();
        Element value = field({at, 0, w, row}, c.field, c.money ? kMoney : QString());
        if (c.money) {
            caption.right();
            value.right();
        }
        d.columnHeader << caption;
        d.detail << value;
        at += c.width;
    }
    d.columnHeader << rule({0, 5.5, at, 0});
    d.columnHeader.height = 6;
    d.detail.height = row;

    // The summary: the captions at the left and their values beside them;
    // the month reports put the sum under the value column.
    d.summary << rule({0, 0.5, at, 0});
    double sy = 1;
    const double captionW = 60;
    const double valueW = 40;
    for (const SummaryLine &l : s.summary) {
        Element value;
        switch (l.kind) {
        case SummaryLine::Count:
            value = count({captionW, sy, valueW, 5}, s.countMask);
            break;
        case SummaryLine::Sum:
            value = sum({captionW, sy, valueW, 5}, l.field, s.sumMask);
            break;
        case SummaryLine::Difference:
            value = sum(
                {captionW, sy, valueW, 5},
                [](const Context &c) {
                    return c.number(QStringLiteral("totalC")) - c.number(QStringLiteral("totalD"));
                },
                s.sumMask);
            break;
        }
        if (s.flavour == Flavour::Independent && l.kind == SummaryLine::Sum) {
            // Under the column it sums, on the count's line.
            value.rect = QRectF(x.back(), 1, s.columns.back().width - 3, 5);
            d.summary << value.right().bold();
            continue;
        }
        d.summary << label({0, sy, captionW, 5}, l.caption).bold() << value.right().bold();
        sy += 5;
    }
    d.summary.height = sy + 1;
    return d;
}

} // namespace

QStringList names()
{
    QStringList n;
    for (const Shape &s : shapes())
        n << s.name;
    return n;
}

QString query(const QString &name)
{
    const Shape *s = find(name);
    return s ? s->sql : QString();
}

QStringList headerLines(const QString &name, const Reports::Params &params)
{
    const Shape *s = find(name);
    return s ? lines(*s, params) : QStringList();
}

ReportDefinition definition(const QString &name, const Reports::Params &params)
{
    const Shape *s = find(name);
    return s ? build(*s, params) : ReportDefinition();
}

PreparedReport prepare(const QString &name, const WorkTable &table, const Reports::Params &params)
{
    const Shape *s = find(name);
    if (!s)
        return {};
    RecordSet rows(table.connection(), s->sql);
    table.open(rows);
    return Report::run(build(*s, params), rows);
}

void show(const QString &name, const WorkTable &table, const Reports::Params &params,
          QWidget *parent)
{
    PreparedReport prepared;
    {
        BusyNotice waiting;
        prepared = prepare(name, table, params);
    }
    Report::preview(std::move(prepared), parent);
}

} // namespace SummaryReports
