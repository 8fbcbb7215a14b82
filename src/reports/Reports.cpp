// The open- and paid-payables reports as one table of definitions. Each row
// says what a report reads (query, parameters, order), what its header says
// (title, selection lines, date and page captions) and how its rows are laid
// out (columns, group, sums, summary); build() turns a row into a report
// definition for the engine.

#include "reports/Reports.h"

#include "widgets/BusyNotice.h"

#include "app/DM.h"
#include "db/RecordSet.h"
#include "report/ReportPreview.h"
#include "report/ReportRunner.h"
#include "widgets/BusyNotice.h"

#include <QFontMetricsF>
#include <QImage>

#include <cmath>
#include <vector>

using namespace Report;

namespace Reports {
namespace {

// A payable open and due in the period; the renegotiated ones are left out.
const QString kOpen = QStringLiteral("dataquitacao is null and negociacao = 'N' and "
                                     "datavenc >= :DataI and datavenc <= :DataF");
const QString kPaid = QStringLiteral("dataquitacao >= :DataI and dataquitacao <= :DataF");
const QString kIndividualColumns =
    QStringLiteral("select codigofornecedor, nome, dataemissao, dataquitacao, datavenc, nota, "
                   "valor, valorpg, totalpg, especie, usuario, obs from pagar where ");

const QString kMoney = QStringLiteral("#,##0.00");
const QString kMoneyFirstEngine = QStringLiteral("###,##0.00");

struct Column
{
    QString caption;
    QString field;
    double width; // mm
    bool money = false;
    bool right = false;
};

// One line of the page header below the company name.
struct Line
{
    enum Kind { Title, Extra, Filial, Fornecedor, Gerencial };
    Kind kind;
    QString caption; // printed before the name of the selection
};

// What follows each detail row.
enum class Notes {
    None,
    Obs01,       // "Obs.:" and obs01
    Obs01AndObs, // "Obs.:" and obs01, then the memo obs
    Obs          // the memo obs across the width
};

struct ReportShape
{
    QString name;
    Flavour flavour = Flavour::Independent;
    Paper paper = Paper::A4;
    Orientation orientation = Orientation::Portrait;
    QString sql;
    QString clientOrder; // order applied by the data set, after the query
    QList<Selection> selections;
    QString title;
    std::vector<Line> lines;
    QString dateCaption = QStringLiteral("Data : ");
    QString pageCaption = QStringLiteral("Pagina : ");
    bool pageBeforeDate = false;
    bool largeCompany = false;
    bool boldTitle = false;
    std::vector<Column> columns;
    bool boldDetail = false;
    Notes notes = Notes::None;
    QString groupField; // empty: no group
    QString groupCaption;
    bool groupRule = false;
    bool groupValueBold = true; // false: only the caption of the group header is bold
    bool footerBold = false;
    QStringList sums; // money columns summed in the group footer and the summary
    QString summaryCaption;
    bool summaryCount = true;
    QString countMask;
    QString summaryMask = kMoney;
    QString pageFooterCount; // caption of a running count in the page footer
    QString jobTitle;
};

const std::vector<ReportShape> &shapes()
{
    using L = Line;
    static const std::vector<ReportShape> all = [] {
        std::vector<ReportShape> s;

        // Detailed by due date.
        const std::vector<Column> aberto{
            {"Filial", "codigofilial", 14},     {"Codigo", "codigofornecedor", 15},
            {"Nome do Fornecedor", "nome", 78}, {"Descrição da Central de Custo", "gerencial", 58},
            {"Nº Controle", "nota", 30},        {"Dt.Emissão", "dataemissao", 22},
            {"Dt.Vencimento", "datavenc", 25},  {"Valor R$", "valor", 30, true, true},
        };
        ReportShape a;
        a.name = "RptPagarAberto";
        a.orientation = Orientation::Landscape;
        a.sql = "select * from pagar where codigofilial = :MFilial and " + kOpen +
                " order by datavenc, nome";
        a.selections = {Selection::Filial};
        a.title = "Relatório de Conta a Pagar Em Aberta no Período: ";
        a.lines = {{L::Title, {}}, {L::Extra, {}}};
        a.columns = aberto;
        a.notes = Notes::Obs01AndObs;
        a.groupField = "datavenc";
        a.groupCaption = "Data de Vencimento => ";
        a.sums = {"valor"};
        a.summaryCaption = "Quantidade de Notas => ";
        s.push_back(a);

        ReportShape a01 = a;
        a01.name = "RptPagarAberto01";
        a01.paper = Paper::A4Extra;
        a01.orientation = Orientation::Portrait;
        a01.sql = "select * from pagar where " + kOpen + " order by datavenc, nome";
        a01.selections = {};
        a01.title = "Relatório Geral de Contas a Pagar em Aberta no Período: ";
        a01.columns = aberto;
        a01.columns.erase(a01.columns.begin() + 3); // no cost centre
        // The supplier takes the room left, within the 215 mm of A4 Extra.
        a01.columns[2].width = 79;
        a01.notes = Notes::Obs01;
        s.push_back(a01);

        // By selection and due date.
        ReportShape v;
        v.name = "RptPagarFilialVenc";
        v.paper = Paper::Letter;
        v.sql = "select * from pagar where codigofornecedor = :MFornecedor and codigofilial = "
                ":MFilial and codigogerencial = :MGerencial and " +
                kOpen + " order by datavenc";
        v.selections = {Selection::Fornecedor, Selection::Filial, Selection::Gerencial};
        v.title = "Relatorio de Contas a Pagar Por Fornecedor,Filial e Conta Gerencial em Aberto "
                  "no Periodo";
        v.lines = {{L::Title, {}},
                   {L::Filial, "Nome do Filial: "},
                   {L::Fornecedor, "Nome do Fornecedor:"},
                   {L::Gerencial, "Conta Gerencial:"}};
        v.pageCaption = "Página : ";
        v.columns = {
            {"Código", "codigofornecedor", 16},       {"Nome do Fornecedor", "nome", 85},
            {"Nº Controle", "nota", 30, false, true}, {"Dt.Emissão", "dataemissao", 28},
            {"Valor R$", "valor", 35, true, true},
        };
        v.groupField = "datavenc";
        v.groupCaption = "Data de Vencimento => ";
        v.groupRule = true;
        v.groupValueBold = false;
        v.sums = {"valor"};
        v.summaryCaption = "Quantidade de Lançamentos => ";
        s.push_back(v);

        ReportShape v1 = v;
        v1.name = "RptPagarFilialVenc01";
        v1.sql = "select * from pagar where codigofornecedor = :MFornecedor and " + kOpen +
                 " order by datavenc";
        v1.selections = {Selection::Fornecedor};
        v1.title = "Relatorio de Contas a Pagar Por Fornecedor em Aberto no Periodo";
        v1.lines = {{L::Title, {}}, {L::Extra, {}}, {L::Fornecedor, "Nome do Fornecedor:     "}};
        v1.columns = {
            {"Filial", "codigofilial", 14},       {"Código", "codigogerencial", 16},
            {"Conta Gerencial", "gerencial", 72}, {"Nº Controle", "nota", 30},
            {"Dt.Emissão", "dataemissao", 28},    {"Valor R$", "valor", 35, true, true},
        };
        s.push_back(v1);

        ReportShape v2 = v;
        v2.name = "RptPagarFilialVenc02";
        v2.sql =
            "select * from pagar where codigofilial = :MFilial and " + kOpen + " order by datavenc";
        v2.selections = {Selection::Filial};
        v2.title = "Relatorio de Contas a Pagar Por Filial em Aberto no Periodo";
        v2.lines = {{L::Title, {}}, {L::Extra, {}}, {L::Filial, "Nome do Filial:     "}};
        v2.columns[1].caption = "Nome do Cliente";
        s.push_back(v2);

        ReportShape g2 = v2;
        g2.name = "RptPagarGerencialVenc02";
        g2.sql = "select * from pagar where codigogerencial = :MGerencial and " + kOpen +
                 " order by datavenc";
        g2.selections = {Selection::Gerencial};
        g2.title = "Relatorio de Contas a Pagar Por Conta Gerencial em Aberto no Periodo";
        g2.lines = {{L::Title, {}}, {L::Extra, {}}, {L::Gerencial, "Conta Gerencial:     "}};
        s.push_back(g2);

        ReportShape ff = v;
        ff.name = "RptPagarFilialFornecedor";
        ff.sql = "select * from pagar where codigofornecedor = :MFornecedor and codigofilial = "
                 ":MFilial and " +
                 kOpen + " order by datavenc";
        ff.selections = {Selection::Fornecedor, Selection::Filial};
        ff.title = "Relatorio de Contas a Pagar Por FIlial e Fornecedor em Aberto no Periodo ";
        ff.lines = {{L::Filial, "Nome do Filial: "},
                    {L::Fornecedor, "Nome do Fornecedor:"},
                    {L::Title, {}}};
        ff.columns = {
            {"Código", "codigogerencial", 16},     {"Conta Gerencial", "gerencial", 85},
            {"Nº Controle", "nota", 30},           {"Dt.Emissão", "dataemissao", 28},
            {"Valor R$", "valor", 35, true, true},
        };
        s.push_back(ff);

        // Totals by branch and due date. The branch code of a group only
        // orders the rows; min() picks one whatever the server's group mode.
        ReportShape ag;
        ag.name = "RptPagarAbertoGeral";
        ag.paper = Paper::Letter;
        ag.sql = "select min(codigofilial) as codigofilial, nomefilial, datavenc, sum(valor) as "
                 "Total from pagar where " +
                 kOpen + " group by datavenc, nomefilial order by datavenc, codigofilial";
        ag.title = "Relatório de Conta a Pagar Em Aberto no Período de Todas as Oticas: ";
        ag.lines = {{L::Title, {}}};
        ag.columns = {{"Filial", "nomefilial", 120}, {"Valor R$", "Total", 40, true, true}};
        ag.groupField = "datavenc";
        ag.groupCaption = "Data de Vencimento => ";
        ag.groupRule = true;
        ag.footerBold = true;
        ag.sums = {"Total"};
        ag.summaryCaption = "Quantidade de Notas => ";
        s.push_back(ag);

        ReportShape n;
        n.name = "RptPagarNegociadas";
        n.paper = Paper::A4Extra;
        n.sql = "select * from pagar where dataquitacao is null and negociacao = 'S' and "
                "datavenc >= :DataI and datavenc <= :DataF order by nome, datavenc";
        n.title = "Relatório de Contas a Pagar Negociadas no Período: ";
        n.lines = {{L::Title, {}}};
        n.columns = {
            {"Filial", "codigofilial", 16},        {"Nº Controle", "nota", 40},
            {"Dt.Emissão", "dataemissao", 28},     {"Dt.Vencimento", "datavenc", 28},
            {"Valor R$", "valor", 35, true, true},
        };
        n.notes = Notes::Obs01AndObs;
        n.groupField = "nome";
        n.groupCaption = "Nome do Fornecedor => ";
        n.sums = {"valor"};
        n.summaryCaption = "Quantidade de Notas => ";
        s.push_back(n);

        // Paid in the period.
        ReportShape q;
        q.name = "RptPagarQuitado";
        q.paper = Paper::Letter;
        q.sql = "select * from pagar where " + kPaid + " order by dataquitacao, nome";
        q.title = "Relatório de Contas a Pagar Geral de Fornecedor Detalhado Por Data de "
                  "Quitação no Periodo: ";
        q.lines = {{L::Title, {}}};
        q.columns = {
            {"Codigo", "codigofornecedor", 15},
            {"Nome do Fornecedor", "nome", 74},
            {"Nº Controle", "notacontrole", 30, false, true},
            {"Dt.Emissão", "dataemissao", 22},
            {"Dt.Vencimento", "datavenc", 24},
            {"Valor R$", "totalpg", 30, true, true},
        };
        q.groupField = "dataquitacao";
        q.groupCaption = "Data de Quitação  => ";
        q.groupRule = true;
        q.sums = {"totalpg"};
        q.summaryCaption = "Quantidade de Notas => ";
        s.push_back(q);

        ReportShape i;
        i.name = "RptPagarquitadoIndFornecedorQ";
        i.flavour = Flavour::Modal;
        i.orientation = Orientation::Landscape;
        i.sql = kIndividualColumns + "codigofornecedor = :MFornecedor and " + kPaid +
                " order by dataquitacao, nome";
        i.selections = {Selection::Fornecedor};
        i.title = "Relatório de Contas a Pagar Individual Quitado Por Fornecedor no Período: ";
        i.lines = {{L::Title, {}}};
        i.pageCaption = "Página : ";
        i.columns = {
            {"Duplicata", "nota", 35},
            {"Nome do Fornecedor", "nome", 110},
            {"Dt.Emissão", "dataemissao", 26},
            {"Dt.Venc.", "datavenc", 26},
            {"Valor R$", "valor", 35, true, true},
            {"Vl. Pago R$", "totalpg", 35, true, true},
        };
        i.notes = Notes::Obs;
        i.groupField = "dataquitacao";
        i.groupCaption = "Data de Quitação => ";
        i.sums = {"valor", "totalpg"};
        i.summaryCaption = "Valor Total =>";
        i.summaryCount = false;
        i.pageFooterCount = "Total de Itens => ";
        s.push_back(i);

        ReportShape f = i;
        f.name = "RptPagarquitadoIndFilialQ";
        f.sql = kIndividualColumns + "codigofilial = :MFilial and " + kPaid +
                " order by dataquitacao, nome";
        f.selections = {Selection::Filial};
        f.lines = {{L::Title, {}}, {L::Filial, {}}};
        s.push_back(f);

        // One line per cost centre / supplier. The name shown for a code is
        // that of one of its rows; the order by name is the data set's.
        ReportShape c;
        c.name = "RptPagarcentralCusto";
        c.flavour = Flavour::Modal;
        c.paper = Paper::Letter;
        c.sql = "select codigogerencial, min(gerenial) as gerenial, sum(totalpg) as total from "
                "pagar where " +
                kPaid + " group by codigogerencial";
        c.clientOrder = "gerenial";
        c.title = "Relatório de Contas a Pagar Quitadas por Central de Custo no Período: ";
        c.lines = {{L::Title, {}}};
        c.dateCaption = "Emissão: ";
        c.pageCaption = "Página: ";
        c.pageBeforeDate = true;
        c.largeCompany = true;
        c.boldTitle = true;
        c.columns = {
            {"Código", "codigogerencial", 25},
            {"Tipo de Conta", "gerenial", 115},
            {"Venda Total", "total", 45, true, true},
        };
        c.boldDetail = true;
        c.sums = {"total"};
        c.summaryCaption = "Total de Produtos:";
        c.countMask = "###,##0.###";
        c.summaryMask = kMoneyFirstEngine;
        c.jobTitle = "Perc. de Venda";
        s.push_back(c);

        ReportShape gf = c;
        gf.name = "RptPagarGeralFornecedor";
        gf.sql = "select codigofornecedor, min(nome) as nome, sum(totalpg) as total from pagar "
                 "where " +
                 kPaid + " group by codigofornecedor";
        gf.clientOrder = "nome";
        gf.title = "Relatório Geral de Tipo de Fornecedor no Período: ";
        gf.columns[0].field = "codigofornecedor";
        gf.columns[1].field = "nome";
        s.push_back(gf);
        return s;
    }();
    return all;
}

const ReportShape *find(const QString &name)
{
    for (const ReportShape &s : shapes())
        if (s.name.compare(name, Qt::CaseInsensitive) == 0)
            return &s;
    return nullptr;
}

// Width in mm of a text in the report's font, measured on a fixed
// high-resolution reference as the engine measures its memos.
double textWidth(QFont font, bool bold, const QString &text)
{
    constexpr double dpi = 600;
    static QImage reference = [] {
        QImage i(1, 1, QImage::Format_ARGB32);
        i.setDotsPerMeterX(int(std::lround(dpi / 0.0254)));
        i.setDotsPerMeterY(int(std::lround(dpi / 0.0254)));
        return i;
    }();
    font.setBold(bold);
    return QFontMetricsF(font, &reference).horizontalAdvance(text) / (dpi / 25.4);
}

QString dateText(const QDate &d)
{
    return d.toString(QStringLiteral("dd/MM/yyyy"));
}

QString lineText(const ReportShape &s, const Line &line, const Params &p)
{
    switch (line.kind) {
    case Line::Title:
        return titleLine(s.name, p);
    case Line::Extra:
        return p.extraLine;
    case Line::Filial:
        return line.caption + p.filialNome;
    case Line::Fornecedor:
        return line.caption + p.fornecedorNome;
    case Line::Gerencial:
        return line.caption + p.gerencialNome;
    }
    return {};
}

ReportDefinition build(const ReportShape &s, const Params &p)
{
    ReportDefinition d;
    d.title = s.jobTitle.isEmpty() ? s.name : s.jobTitle;
    d.flavour = s.flavour;
    d.paper = s.paper;
    d.orientation = s.orientation;
    const double width =
        paperSize(d.paper, d.orientation).width() - d.margins.left() - d.margins.right();
    const double row = 4.5;

    // Page header: company name, the date and page number at the right, then
    // the report's lines.
    const double companyHeight = s.largeCompany ? 8 : 6;
    d.pageHeader << label({0, 0, width - 60, companyHeight},
                          DM::instance() ? DM::instance()->companyName() : QString())
                        .bold()
                        .size(s.largeCompany ? 14 : 10);
    const Element dateEl = date({width - 55, 0, 55, row}, s.dateCaption).right();
    const Element pageEl = pageNumber({width - 55, 0, 55, row}, s.pageCaption).right();
    Element first = s.pageBeforeDate ? pageEl : dateEl;
    Element second = s.pageBeforeDate ? dateEl : pageEl;
    second.rect.moveTop(row);
    d.pageHeader << first << second;
    double y = std::max(companyHeight, 2 * row) + 1;
    for (const Line &line : s.lines) {
        Element e = label({0, y, width, 5}, lineText(s, line, p));
        if (line.kind == Line::Title && s.boldTitle)
            e.bold();
        d.pageHeader << e;
        y += 5;
    }
    d.pageHeader.height = y + 1;

    // Column captions and detail columns.
    std::vector<double> x;
    double at = 0;
    for (const Column &c : s.columns) {
        x.push_back(at);
        // Right-aligned columns keep a gap before the next column.
        const double w = c.right ? c.width - 3 : c.width;
        Element caption = label({at, 0, w, 5}, c.caption).bold();
        if (c.right)
            caption.right();
        d.columnHeader << caption;
        Element value = field({at, 0, w, row}, c.field, c.money ? kMoney : QString());
        if (c.right)
            value.right();
        if (s.boldDetail)
            value.bold();
        d.detail << value;
        at += c.width;
    }
    d.columnHeader << rule({0, 5.5, at, 0});
    d.columnHeader.height = 6;
    d.detail.height = row;

    switch (s.notes) {
    case Notes::None:
        break;
    case Notes::Obs01:
    case Notes::Obs01AndObs: {
        const bool withObs = s.notes == Notes::Obs01AndObs;
        d.detail2 << label({x.size() > 1 ? x[1] : 0, 0, 12, row}, QStringLiteral("Obs.:")).bold()
                  << memo({(x.size() > 1 ? x[1] : 0) + 12, 0, at - 12 - (x.size() > 1 ? x[1] : 0),
                           row},
                          [withObs](const Context &c) {
                              const QString obs01 = c.text(QStringLiteral("obs01"));
                              const QString obs = c.text(QStringLiteral("obs")).trimmed();
                              return withObs && !obs.isEmpty() ? obs01 + QLatin1Char('\n') + obs
                                                               : obs01;
                          });
        d.detail2.height = row;
        break;
    }
    case Notes::Obs:
        d.detail2 << memo({0, 0, at, row}, QStringLiteral("obs"));
        d.detail2.height = row;
        break;
    }

    // Where the sums of a band stand: under their columns.
    auto placeSums = [&](Band &band, const QString &mask, bool bold) {
        for (size_t i = 0; i < s.columns.size(); ++i)
            if (s.sums.contains(s.columns[i].field, Qt::CaseInsensitive)) {
                Element e =
                    sum({x[i], 1, s.columns[i].width - 3, 5}, s.columns[i].field, mask).right();
                if (bold)
                    e.bold();
                band << e;
            }
    };
    // Captions of the footers and the summary stand left of the first sum.
    double firstSum = at;
    for (size_t i = 0; i < s.columns.size(); ++i)
        if (s.sums.contains(s.columns[i].field, Qt::CaseInsensitive)) {
            firstSum = x[i];
            break;
        }

    if (!s.groupField.isEmpty()) {
        Group &g = d.addGroup(s.groupField);
        double gy = 0;
        if (s.groupRule) {
            g.header << rule({0, 0.5, at, 0});
            gy = 1;
        }
        if (s.groupValueBold) {
            // Caption and value in one text, so the value always follows the caption.
            g.header << field({0, gy, at, 5}, s.groupField).prefix(s.groupCaption).bold();
        } else {
            // The value starts where the bold caption ends. Bold metrics
            // differ from one device to another (the PDF's bold face is
            // about a tenth wider than the one measured here), so the
            // caption gets a fifth more room than measured.
            const double captionWidth = textWidth(d.font, true, s.groupCaption) * 1.2;
            g.header << label({0, gy, captionWidth, 5}, s.groupCaption).bold()
                     << field({captionWidth, gy, at - captionWidth, 5}, s.groupField);
        }
        g.header.height = gy + 5.5;

        Element caption = label({firstSum - 50, 1, 40, 5}, QStringLiteral("Sub-Total => "));
        caption.right();
        if (s.footerBold)
            caption.bold();
        g.footer << caption;
        placeSums(g.footer, kMoney, s.footerBold);
        g.footer.height = 7;
    }

    d.summary << rule({0, 0.5, at, 0});
    if (s.summaryCount)
        d.summary << count({0, 1, firstSum - 2, 5}, s.countMask).prefix(s.summaryCaption).bold();
    else
        d.summary << label({0, 1, firstSum - 2, 5}, s.summaryCaption).bold();
    placeSums(d.summary, s.summaryMask, true);
    d.summary.height = 7;

    if (!s.pageFooterCount.isEmpty()) {
        d.pageFooter << rule({0, 0.5, at, 0}) << detailCount({0, 1, 80, 5}, s.pageFooterCount);
        d.pageFooter.height = 6;
    }
    return d;
}

} // namespace

QStringList names()
{
    QStringList n;
    for (const ReportShape &s : shapes())
        n << s.name;
    return n;
}

bool exists(const QString &name)
{
    return find(name) != nullptr;
}

QList<Selection> selections(const QString &name)
{
    const ReportShape *s = find(name);
    return s ? s->selections : QList<Selection>();
}

QString query(const QString &name)
{
    const ReportShape *s = find(name);
    return s ? s->sql : QString();
}

QString titleLine(const QString &name, const Params &params)
{
    const ReportShape *s = find(name);
    const QString text = !params.title.isEmpty() ? params.title : s ? s->title : QString();
    return text + dateText(params.dataI) + QStringLiteral(" à ") + dateText(params.dataF);
}

ReportDefinition definition(const QString &name, const Params &params)
{
    const ReportShape *s = find(name);
    return s ? build(*s, params) : ReportDefinition();
}

void openQuery(RecordSet &rows, const QString &name, const Params &params)
{
    const ReportShape *s = find(name);
    if (!s)
        return;
    rows.close();
    rows.setSql(s->sql);
    rows.setParam(QStringLiteral("DataI"), params.dataI);
    rows.setParam(QStringLiteral("DataF"), params.dataF);
    // Codes go to the server as numbers; a selection not made matches no row.
    auto code = [](const std::optional<double> &v) { return v ? QVariant(*v) : QVariant(); };
    for (Selection sel : s->selections) {
        switch (sel) {
        case Selection::Filial:
            rows.setParam(QStringLiteral("MFilial"), code(params.filial));
            break;
        case Selection::Fornecedor:
            rows.setParam(QStringLiteral("MFornecedor"), code(params.fornecedor));
            break;
        case Selection::Gerencial:
            rows.setParam(QStringLiteral("MGerencial"), code(params.gerencial));
            break;
        }
    }
    rows.setOrder(s->clientOrder);
    rows.open();
}

PreparedReport prepare(const QString &name, const Params &params)
{
    if (!exists(name))
        return {};
    RecordSet rows(DM::instance()->MyConnection1);
    openQuery(rows, name, params);
    return Report::run(definition(name, params), rows);
}

void show(const QString &name, const Params &params, QWidget *parent)
{
    if (!exists(name))
        return;
    Report::PreparedReport prepared;
    {
        BusyNotice waiting;
        prepared = prepare(name, params);
    }
    Report::preview(std::move(prepared), parent);
}

} // namespace Reports
