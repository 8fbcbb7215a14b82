#include "payables/EntryPlan.h"

#include "app/Helpers.h"

namespace {

void replace(RowValues &row, const QString &column, const QVariant &value)
{
    for (auto &[name, v] : row)
        if (name.compare(column, Qt::CaseInsensitive) == 0) {
            v = value;
            return;
        }
    row.append({column, value});
}

} // namespace

double EntryPlan::instalmentValue(double total, double parcelas)
{
    return parcelas != 0 ? RoundDecimals(2, total / parcelas) : RoundDecimals(2, total);
}

int EntryPlan::instalmentCount(double parcelas)
{
    return qMax(0, RoundToInteger(parcelas));
}

RowValues EntryPlan::instalmentRow(const NewPayableValues &v, int i, const QString &user,
                                   const QString &hora)
{
    const QString nome = v.nomeFornecedor.left(NomeWidth);
    const QDate venc = v.primeiroVencimento.isValid()
                           ? v.primeiroVencimento.addDays(30 * qint64(i - 1))
                           : v.emissao.addDays(30 * qint64(i));
    RowValues row = {
        {QStringLiteral("Nota"), v.nota.left(NotaWidth)},
        {QStringLiteral("notacontrole"), v.nota + QLatin1Char('/') + QString::number(i)},
        {QStringLiteral("condicao"), QString::number(i) + QStringLiteral("º PARCELA")},
        {QStringLiteral("Dataemissao"), v.emissao},
        {QStringLiteral("Datavenc"), venc},
        {QStringLiteral("Valor"), v.valorParcela},
        {QStringLiteral("total"), v.total},
        {QStringLiteral("parcelas"), v.parcelas},
        {QStringLiteral("pago"), QStringLiteral("N")},
        {QStringLiteral("CodigoFornecedor"), v.codigoFornecedor},
        {QStringLiteral("Nome"), nome},
        {QStringLiteral("nomefornecedor"), nome},
        {QStringLiteral("Codigofilial"), v.codigoFilial},
        {QStringLiteral("nomefilial"), v.nomeFilial},
        {QStringLiteral("filial"), v.nomeFilial},
        {QStringLiteral("codigogerencial"), v.codigoGerencial},
        {QStringLiteral("gerencial"), v.gerencial},
        {QStringLiteral("gerenial"), v.gerencial},
        {QStringLiteral("codigotipo"), v.codigoTipo},
        {QStringLiteral("tipo"), v.tipo},
        {QStringLiteral("codigodespesa"), v.codigoDespesa},
        {QStringLiteral("despesa"), v.despesa},
        {QStringLiteral("Obs"), v.obs},
        {QStringLiteral("usuario"), user},
        {QStringLiteral("horalanc"), hora},
    };
    if (!v.codigoBarras.isEmpty())
        row.append({QStringLiteral("codigobarras"), v.codigoBarras});
    return row;
}

EntryPlan EntryPlan::instalments(const NewPayableValues &v, const QString &user,
                                 const QString &hora)
{
    EntryPlan plan;
    const int n = instalmentCount(v.parcelas);
    for (int i = 1; i <= n; ++i)
        plan.payables << instalmentRow(v, i, user, hora);
    return plan;
}

EntryPlan EntryPlan::paidAtEntry(const NewPayableValues &v, const QDate &quitacao,
                                 const QDate &today, const QString &user, const QString &hora)
{
    // The first instalment's row, due and settled at once.
    RowValues payable = instalmentRow(v, 1, user, hora);
    replace(payable, QStringLiteral("Datavenc"), v.emissao);
    replace(payable, QStringLiteral("Dataquitacao"), quitacao);
    replace(payable, QStringLiteral("Valor"), v.valorParcela);
    replace(payable, QStringLiteral("totalpg"), v.valorParcela);
    replace(payable, QStringLiteral("parcelas"), 0.0);
    replace(payable, QStringLiteral("pago"), QStringLiteral("S"));
    replace(payable, QStringLiteral("especie"), CashBook::Especie);
    replace(payable, QStringLiteral("horaquitado"), hora);

    EntryPlan plan;
    plan.payables << payable;
    // The cash moves today, for the total as typed, whatever day the bill
    // is settled on.
    plan.cash = CashPayment{v.nota + QStringLiteral("/1"),
                            v.nomeFornecedor.left(NomeWidth),
                            v.codigoFornecedor,
                            user,
                            today,
                            v.total,
                            v.nomeFilial,
                            v.codigoFilial,
                            {},
                            hora};
    return plan;
}
