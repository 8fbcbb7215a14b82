// The work-table reports as definitions for the report engine. The annual
// list and the synthetic payments follow the first engine's conventions
// ("Emissão: ", "Página: ", Letter portrait, modal preview); the others the
// second's ("Data : ", A4, a preview that stays open on its own).

#include "reports/WorkTableReports.h"

#include "app/DM.h"
#include "db/DisplayFormat.h"
#include "db/RecordSet.h"
#include "report/ReportPreview.h"
#include "report/ReportRunner.h"
#include "reports/AnnualMovementFill.h"
#include "reports/PaymentSummaryFill.h"
#include "widgets/Clock.h"
#include "widgets/WindowFit.h"

#include <QLocale>

using namespace Report;

namespace WorkTableReports {
namespace {

const QString kMoney = QStringLiteral("#,##0.00");
const QString kMoneyFirstEngine = QStringLiteral("###,##0.00");
const QString kCountFirstEngine = QStringLiteral("###,##0.###");
constexpr double kRow = 4.5;

QString companyName()
{
    return DM::instance() ? DM::instance()->companyName() : QString();
}

double contentWidth(const ReportDefinition &d)
{
    return paperSize(d.paper, d.orientation).width() - d.margins.left() - d.margins.right();
}

// The page header both engines share: the company name (bold) with the date
// and the page number at the right, the title line below.
struct HeaderShape
{
    QString title;
    bool boldTitle = true;
    QString dateCaption = QStringLiteral("Data : ");
    QString pageCaption = QStringLiteral("Página : ");
    bool pageFirst = false; // the page number above the date
};

void pageHeader(ReportDefinition &d, const HeaderShape &h)
{
    const double width = contentWidth(d);
    d.pageHeader << label({0, 0, width - 60, 6}, companyName()).bold().size(10);
    Element dateEl = date({width - 55, 0, 55, kRow}, h.dateCaption).right();
    Element pageEl = pageNumber({width - 55, 0, 55, kRow}, h.pageCaption).right();
    if (h.pageFirst) {
        dateEl.rect.moveTop(kRow);
        d.pageHeader << pageEl << dateEl;
    } else {
        pageEl.rect.moveTop(kRow);
        d.pageHeader << dateEl << pageEl;
    }
    Element title = label({0, 2 * kRow + 1, width, 5}, h.title);
    if (h.boldTitle)
        title.bold();
    d.pageHeader << title;
    d.pageHeader.height = 2 * kRow + 7;
}

struct Column
{
    QString caption;
    QString field;
    double width;
    QString mask; // a money column is right-aligned
};

// Captions in bold over the columns, the detail fields below them; returns
// the left edge of each column.
std::vector<double> columns(ReportDefinition &d, const std::vector<Column> &cols)
{
    std::vector<double> x;
    double at = 0;
    for (const Column &c : cols) {
        x.push_back(at);
        const bool right = !c.mask.isEmpty();
        const double w = right ? c.width - 3 : c.width;
        Element caption = label({at, 0, w, 5}, c.caption).bold();
        if (right)
            caption.right();
        d.columnHeader << caption;
        if (!c.field.isEmpty()) {
            Element value = field({at, 0, w, kRow}, c.field, c.mask);
            if (right)
                value.right();
            d.detail << value;
        }
        at += c.width;
    }
    x.push_back(at);
    d.columnHeader << rule({0, 5.5, at, 0});
    d.columnHeader.height = 6;
    d.detail.height = kRow;
    return x;
}

RecordSet *openRows(RecordSet &rows, const QString &sql, const QVariantMap &params)
{
    rows.setSql(sql);
    for (auto it = params.begin(); it != params.end(); ++it)
        rows.setParam(it.key(), it.value());
    rows.open();
    return &rows;
}

QVariantMap period(const QDate &from, const QDate &to)
{
    return {{QStringLiteral("DataI"), from}, {QStringLiteral("DataF"), to}};
}

// Annual movement

ReportDefinition annualNormalDefinition(const QString &titleText)
{
    ReportDefinition d;
    d.title = QStringLiteral("RptMovimentacaoAnual");
    d.flavour = Flavour::Modal;
    d.paper = Paper::Letter;
    pageHeader(d, {titleText, true, QStringLiteral("Emissão: "), QStringLiteral("Página: "), true});
    const std::vector<double> x =
        columns(d, {{QStringLiteral("Código"), {}, 20, {}},
                    {QStringLiteral("Tipo de Recebimento"), {}, 95, {}},
                    {QStringLiteral("Mes/Ano"), {}, 30, {}},
                    {QStringLiteral("Total R$"), QStringLiteral("total"), 40, kMoney}});
    // The month and the year side by side under "Mes/Ano".
    d.detail << field({x[2], 0, 7, kRow}, QStringLiteral("mes"))
             << field({x[2] + 7, 0, 12, kRow}, QStringLiteral("ano"));

    // Caption, code and name in one text, so that they follow each other
    // whatever the width of the bold face on the device.
    Group &g = d.addGroup(QStringLiteral("descricao"));
    g.header << computed({0, 0.5, x[4], 5}, [](const Context &c) {
                    return QStringLiteral("Descrição do Recebimento => ") +
                           DisplayFormat::format(c.value(QStringLiteral("Codigocliente"))) +
                           QStringLiteral("  ") + c.text(QStringLiteral("descricao"));
                }).bold();
    g.header.height = 6;
    g.footer << label({x[2] - 30, 0.5, 45, 5}, QStringLiteral("Sub Total R$")).right()
             << sum({x[3], 0.5, x[4] - x[3] - 3, 5}, QStringLiteral("total"), kMoneyFirstEngine)
                    .right()
                    .bold();
    g.footer.height = 7;

    d.summary << rule({0, 0.5, x[4], 0})
              << count({0, 1, x[3] - 2, 5}, kCountFirstEngine)
                     .prefix(QStringLiteral("Total de Itens Listados => "))
                     .bold()
              << sum({x[3], 1, x[4] - x[3] - 3, 5}, QStringLiteral("total"), kMoneyFirstEngine)
                     .right()
                     .bold();
    d.summary.height = 7;
    return d;
}

const QStringList kMonthNames{
    QStringLiteral("Janeiro"), QStringLiteral("Fevereiro"), QStringLiteral("Março"),
    QStringLiteral("Abril"),   QStringLiteral("Maio"),      QStringLiteral("Junho"),
    QStringLiteral("Julho"),   QStringLiteral("Agosto"),    QStringLiteral("Setembro"),
    QStringLiteral("Outubro"), QStringLiteral("Novembro"),  QStringLiteral("Dezembro")};

QString monthField(int m)
{
    return QStringLiteral("total%1").arg(m, 2, 10, QLatin1Char('0'));
}

ReportDefinition annualColumnsDefinition(const QString &name, const QString &titleText)
{
    ReportDefinition d;
    d.title = name;
    d.flavour = Flavour::Independent;
    d.paper = Paper::A4;
    d.orientation = Orientation::Landscape;
    d.font = QFont(QStringLiteral("Arial"), 7);
    const double width = contentWidth(d);

    // Header: the company, today's date written in full, the page number
    // and the title.
    d.pageHeader << label({0, 0, width - 90, 6}, companyName()).bold().size(10)
                 << computed({width - 90, 0, 90, kRow},
                             [](const Context &) {
                                 return QLocale(QLocale::Portuguese, QLocale::Brazil)
                                     .toString(Clock::today(), QLocale::LongFormat);
                             })
                        .right()
                 << pageNumber({width - 55, kRow, 55, kRow}, QStringLiteral("Pagina(s):")).right()
                 << label({0, 2 * kRow + 1, width, 5}, titleText).bold().size(9);
    d.pageHeader.height = 2 * kRow + 7;

    // The supplier, the twelve months and the total, a rule between each two.
    const double nameWidth = 45, monthWidth = 17.5;
    std::vector<double> x{0, nameWidth};
    for (int m = 1; m <= 12; ++m)
        x.push_back(nameWidth + m * monthWidth);
    x.push_back(width);
    auto cell = [&](size_t i) { return QRectF(x[i] + 0.8, 0, x[i + 1] - x[i] - 1.6, kRow); };
    auto rules = [&](Band &band, double height) {
        for (size_t i = 0; i < x.size(); ++i)
            band << rule({x[i], 0, 0, height});
        band << rule({0, height, width, 0});
    };

    // The narrow columns keep to the regular face, which fits them on every
    // device.
    d.columnHeader << label(cell(0), QStringLiteral("T.Pagamento"));
    for (int m = 1; m <= 12; ++m)
        d.columnHeader << label(cell(size_t(m)), kMonthNames[m - 1]).right();
    d.columnHeader << label(cell(13), QStringLiteral("Total R$")).right() << rule({0, 0, width, 0});
    rules(d.columnHeader, kRow + 0.5);
    d.columnHeader.height = kRow + 0.5;

    d.detail << field(cell(0), QStringLiteral("descricao"));
    for (int m = 1; m <= 12; ++m)
        d.detail << field(cell(size_t(m)), monthField(m), kMoney).right();
    d.detail << field(cell(13), QStringLiteral("totalgeral"), kMoney).right();
    rules(d.detail, kRow);
    d.detail.height = kRow;

    const QString sumMask = QStringLiteral("##,##0.00");
    d.summary << label(cell(0), QStringLiteral("Total R$")).bold();
    for (int m = 1; m <= 12; ++m)
        d.summary << sum(cell(size_t(m)), monthField(m), sumMask).right();
    d.summary << sum(cell(13), QStringLiteral("totalgeral"), sumMask).right();
    rules(d.summary, kRow);
    d.summary.height = kRow;
    return d;
}

QString annualColumnsSql(Scope scope)
{
    // An unset month counts as 0 even where the table's columns have no
    // default, so that every total is a number.
    QString sums, total;
    for (int m = 1; m <= 12; ++m) {
        const QString mm = QStringLiteral("%1").arg(m, 2, 10, QLatin1Char('0'));
        sums += QStringLiteral(", coalesce(sum(`%1`), 0) as total%1").arg(mm);
        total += (m > 1 ? QStringLiteral(" + ") : QString()) +
                 QStringLiteral("coalesce(sum(`%1`), 0)").arg(mm);
    }
    QString where;
    if (scope == Scope::Fornecedor)
        where = QStringLiteral(" where codigocliente = :MFornecedor");
    else if (scope == Scope::Gerencial)
        where = QStringLiteral(" where codigoplano = :MGerencial");
    return QStringLiteral("select min(Codigocliente) as Codigocliente, descricao%1, (%2) as "
                          "totalgeral from resumoanual%3 group by descricao order by descricao")
        .arg(sums, total, where);
}

// Netting

ReportDefinition nettingDefinition(const QString &titleText, const NettingVerdict &verdict)
{
    ReportDefinition d;
    d.title = QStringLiteral("RptEncontroContas");
    d.flavour = Flavour::Independent;
    d.paper = Paper::A4;
    pageHeader(d, {titleText});
    const std::vector<double> x =
        columns(d, {{QStringLiteral("Código"), QStringLiteral("CodigoCliente"), 18, {}},
                    {QStringLiteral("Nome do Cliente"), QStringLiteral("Descricao"), 72, {}},
                    {QStringLiteral("Nº Nota"), QStringLiteral("CodigoNota"), 24, {}},
                    {QStringLiteral("E/S"), QStringLiteral("es"), 10, {}},
                    {QStringLiteral("Credito R$"), QStringLiteral("Credito"), 33, kMoney},
                    {QStringLiteral("Debito R$"), QStringLiteral("Debito"), 33, kMoney}});
    const QColor green(0, 128, 0), red(204, 0, 0);
    d.detail.rowColor = [green, red](const Context &c) {
        return c.text(QStringLiteral("es")) == QLatin1String("E") ? green : red;
    };

    const QRectF credit(x[4], 0, x[5] - x[4] - 3, 5), debit(x[5], 0, x[6] - x[5] - 3, 5);
    Group &g = d.addGroup(QStringLiteral("Data"));
    g.header << field({0, 0.5, x[4], 5}, QStringLiteral("Data"))
                    .prefix(QStringLiteral("Data de Vencimento =< "))
                    .bold();
    g.header.height = 6;
    g.footer << label({x[2], 0.5, x[4] - x[2] - 2, 5}, QStringLiteral("Sub-Total => ")).right()
             << sum(credit.translated(0, 0.5), QStringLiteral("Credito")).right()
             << sum(debit.translated(0, 0.5), QStringLiteral("Debito")).right()
             << sum(
                    debit.translated(0, 5.5),
                    [](const Context &c) {
                        return c.number(QStringLiteral("Credito")) -
                               c.number(QStringLiteral("Debito"));
                    },
                    kMoney)
                    .right()
                    .bold();
    g.footer.height = 11.5;

    d.summary
        << rule({0, 0.5, x[6], 0})
        << count({0, 1, x[4] - 2, 5}).prefix(QStringLiteral("Quantidade de Lançamentos => ")).bold()
        << sum(credit.translated(0, 1), QStringLiteral("Credito")).right().bold()
        << sum(debit.translated(0, 1), QStringLiteral("Debito")).right().bold()
        << label({x[1], 8, x[6] - x[1], 8}, verdict.text)
               .bold()
               .size(12)
               .colour(verdict.colour)
               .center();
    d.summary.height = 18;
    return d;
}

// Payment summaries

ReportDefinition openAndPaidDefinition(const QString &titleText)
{
    ReportDefinition d;
    d.title = QStringLiteral("RptResumoPagamentoAbertoQuitado");
    d.flavour = Flavour::Independent;
    d.paper = Paper::A4;
    d.orientation = Orientation::Landscape;
    pageHeader(d, {titleText, true, QStringLiteral("Data : "), QStringLiteral("Pagina : ")});
    const std::vector<double> x =
        columns(d, {{QStringLiteral("Filial"), QStringLiteral("codigofilial"), 14, {}},
                    {QStringLiteral("Codigo"), QStringLiteral("codigo"), 16, {}},
                    {QStringLiteral("Descrição "), QStringLiteral("descricao"), 80, {}},
                    {QStringLiteral("Nº Controle"), QStringLiteral("codigonota"), 25, {}},
                    {QStringLiteral("Dt.Emissão"), QStringLiteral("data"), 22, {}},
                    {QStringLiteral("Dt.Venc."), QStringLiteral("datavenc"), 22, {}},
                    {QStringLiteral("Dt.Quitação"), QStringLiteral("dataquitacao"), 24, {}},
                    {QStringLiteral("Valor R$"), QStringLiteral("valor"), 34, kMoney},
                    {QStringLiteral("Vl.Pagto.R$"), QStringLiteral("credito"), 34, kMoney}});
    d.detail2 << label({x[2], 0, 28, kRow}, QStringLiteral("Central de Custo : "))
              << field({x[2] + 28, 0, x[7] - x[2] - 28, kRow}, QStringLiteral("gerencial"));
    d.detail2.height = kRow;

    const QRectF valor(x[7], 0.5, x[8] - x[7] - 3, 5), credito(x[8], 0.5, x[9] - x[8] - 3, 5);
    Group &g = d.addGroup(QStringLiteral("tabela"));
    g.header << field({0, 0.5, x[7], 5}, QStringLiteral("tabela"))
                    .prefix(QStringLiteral("Descrição do Tipo => "))
                    .bold();
    g.header.height = 6;
    g.footer << label({x[5], 0.5, x[7] - x[5] - 2, 5}, QStringLiteral("Sub-Total => ")).right()
             << sum(valor, QStringLiteral("valor")).right()
             << sum(credito, QStringLiteral("credito")).right();
    g.footer.height = 7;

    d.summary
        << rule({0, 0.5, x[9], 0})
        << count({0, 1, x[7] - 2, 5}).prefix(QStringLiteral("Quantidade de Registros => ")).bold()
        << sum(valor.translated(0, 0.5), QStringLiteral("valor")).right().bold()
        << sum(credito.translated(0, 0.5), QStringLiteral("credito")).right().bold();
    d.summary.height = 7;
    return d;
}

ReportDefinition syntheticDefinition(const QString &titleText)
{
    ReportDefinition d;
    d.title = QStringLiteral("Perc. de Venda");
    d.flavour = Flavour::Modal;
    d.paper = Paper::Letter;
    pageHeader(d,
               {titleText, false, QStringLiteral("Emissão: "), QStringLiteral("Página: "), true});
    const std::vector<double> x =
        columns(d, {{QStringLiteral("Código"), QStringLiteral("Codigocliente"), 25, {}},
                    {QStringLiteral("Descrição"), QStringLiteral("descricao"), 120, {}},
                    {QStringLiteral("Total R$"), QStringLiteral("total"), 45, kMoney}});
    d.summary << rule({0, 0.5, x[3], 0})
              << count({0, 1, x[2] - 2, 5}, kCountFirstEngine)
                     .prefix(QStringLiteral("Total de Itens Listados => "))
                     .bold()
              << sum({x[2], 1, x[3] - x[2] - 3, 5}, QStringLiteral("total"), kMoneyFirstEngine)
                     .right()
                     .bold();
    d.summary.height = 7;
    return d;
}

} // namespace

QString titleLine(const QString &title, const QDate &from, const QDate &to)
{
    return title + from.toString(QStringLiteral("dd/MM/yyyy")) + QStringLiteral(" à ") +
           to.toString(QStringLiteral("dd/MM/yyyy"));
}

QString annualNormalTitle(Scope scope)
{
    switch (scope) {
    case Scope::Geral:
        return QStringLiteral("Relatório Geral de Movimentação Anual no Período: ");
    case Scope::Fornecedor:
        return QStringLiteral("Relatório Por Fornecedor de Movimentação Anual no Período: ");
    case Scope::Gerencial:
        return QStringLiteral("Relatório Por Central de Custo de Movimentação Anual no Período: ");
    }
    return {};
}

PreparedReport annualNormal(const AnnualMovementFill &fill, Scope scope, const QDate &from,
                            const QDate &to)
{
    fill.require();
    RecordSet rows(&fill.connection());
    openRows(rows,
             QStringLiteral("select min(Controle) as Controle, Codigocliente, min(descricao) as "
                            "descricao, min(data) as data, mes, min(ano) as ano, sum(credito) as "
                            "total from resumo group by Codigocliente, mes "
                            "order by descricao, mes, Codigocliente"),
             {});
    return run(annualNormalDefinition(titleLine(annualNormalTitle(scope), from, to)), rows);
}

QString annualColumnsName(Scope scope)
{
    switch (scope) {
    case Scope::Geral:
        return QStringLiteral("RptMovimentacaoAnualColunas01");
    case Scope::Fornecedor:
        return QStringLiteral("RptMovimentacaoAnualColunasFornecedor01");
    case Scope::Gerencial:
        return QStringLiteral("RptMovimentacaoAnualColunasGerencial01");
    }
    return {};
}

QString annualColumnsTitle(Scope scope)
{
    switch (scope) {
    case Scope::Geral:
        return QStringLiteral("Relatório de Movimentação Anual Geral no Período: ");
    case Scope::Fornecedor:
        return QStringLiteral("Relatório de Movimentação Anual Por Fornecedor no Período: ");
    case Scope::Gerencial:
        return QStringLiteral("Relatório de Movimentação Anual Por Central de Custo no Período: ");
    }
    return {};
}

PreparedReport annualColumns(const AnnualMovementFill &fill, Scope scope,
                             std::optional<double> code, const QDate &from, const QDate &to)
{
    fill.require();
    RecordSet rows(&fill.connection());
    QVariantMap params;
    const QVariant bound = code ? QVariant(*code) : QVariant();
    if (scope == Scope::Fornecedor)
        params.insert(QStringLiteral("MFornecedor"), bound);
    else if (scope == Scope::Gerencial)
        params.insert(QStringLiteral("MGerencial"), bound);
    openRows(rows, annualColumnsSql(scope), params);
    return run(annualColumnsDefinition(annualColumnsName(scope),
                                       titleLine(annualColumnsTitle(scope), from, to)),
               rows);
}

NettingVerdict nettingVerdict(const RecordSet &rows)
{
    double credit = 0, debit = 0;
    const int es = rows.fieldIndex(QStringLiteral("es"));
    const int credito = rows.fieldIndex(QStringLiteral("Credito"));
    const int debito = rows.fieldIndex(QStringLiteral("Debito"));
    for (int r = 0; r < rows.recordCount(); ++r) {
        if (rows.valueAt(r, es).toString() == QLatin1String("E"))
            credit += rows.valueAt(r, credito).toDouble();
        else
            debit += rows.valueAt(r, debito).toDouble();
    }
    return NettingFill::verdict(credit, debit);
}

PreparedReport netting(const NettingFill &fill, const QDate &from, const QDate &to,
                       NettingVerdict *verdict)
{
    fill.require();
    RecordSet rows(&fill.connection());
    openRows(rows,
             QStringLiteral("SELECT * FROM Resumo02 WHERE (Data >=:DataI) AND (Data <=:DataF) "
                            "Order By Data, Es, Descricao"),
             period(from, to));
    const NettingVerdict v = nettingVerdict(rows);
    if (verdict)
        *verdict = v;
    return run(
        nettingDefinition(
            titleLine(QStringLiteral("Relatório de Encontro de Contas  no Perido "), from, to), v),
        rows);
}

PreparedReport openAndPaid(const PaymentSummaryFill &fill, const QDate &from, const QDate &to)
{
    fill.require();
    RecordSet rows(&fill.connection());
    openRows(rows, QStringLiteral("SELECT * FROM Resumo Order By tabela,Data,descricao"), {});
    return run(openAndPaidDefinition(titleLine(
                   QStringLiteral("Relatorio de Movimentação de Contas a Pagar Aberto e Quitado no "
                                  "Periodo: "),
                   from, to)),
               rows);
}

PreparedReport synthetic(const PaymentSummaryFill &fill, const QDate &from, const QDate &to)
{
    fill.require();
    RecordSet rows(&fill.connection());
    openRows(rows,
             QStringLiteral("select min(Codigocliente) as Codigocliente, descricao, sum(credito) "
                            "as total From Resumo WHERE (Data >=:DataI) AND (Data <=:DataF) "
                            "Group by descricao order by descricao"),
             period(from, to));
    return run(syntheticDefinition(titleLine(
                   QStringLiteral("Relatório Geral Sintético por Fornecedor e Data de Quitado no "
                                  "Periodoo: "),
                   from, to)),
               rows);
}

void show(PreparedReport report, QWidget *screen)
{
    if (report.flavour == Flavour::Modal) {
        Report::preview(std::move(report), screen);
        return;
    }
    auto *window = new ReportPreview(std::move(report));
    window->setModal(false);
    window->zoomPageWidth();
    WindowFit::showModeless(window);
}

void releasePreviews(QWidget *screen)
{
    for (ReportPreview *p : screen->findChildren<ReportPreview *>(Qt::FindDirectChildrenOnly)) {
        if (!p->isWindow())
            continue;
        const QRect where = p->geometry();
        const bool visible = p->isVisible();
        p->setParent(nullptr, p->windowFlags());
        p->setGeometry(where);
        if (visible)
            p->show();
    }
}

} // namespace WorkTableReports
