#include "payables/SettlementPlan.h"

#include "app/Helpers.h"
#include "books/Classification.h"

namespace {

// pagar.usuario is 20 wide, but the settlements have always written the
// user's name through a 15-character field.
constexpr int kUsuarioWidth = 15;
// An empty text, not NULL (a null QString reaches the server as NULL).
const QString kVazio = QStringLiteral("");

// Cost-centre description: gerenial when it holds something, else gerencial.
QString gerencialDesc(const PayableRow &p)
{
    const QString g = p.text("gerenial");
    return g.trimmed().isEmpty() ? p.text("gerencial") : g;
}

// The payment type, with the stand-in for a missing one (code 0 or none).
QString tipoDesc(const PayableRow &p)
{
    return p("codigotipo").toDouble() == 0 ? Classification::Diversos : p.text("tipo");
}

bool semDespesa(const PayableRow &p)
{
    return p("codigodespesa").toDouble() == 0;
}

QVariant despesaCode(const PayableRow &p)
{
    return semDespesa(p) ? QVariant(Classification::SemCodigo) : p("codigodespesa");
}

QString despesaDesc(const PayableRow &p)
{
    return semDespesa(p) ? Classification::Diversos : p.text("despesa");
}

bool settledAlready(const PayableRow &p, SettlementMode mode)
{
    const bool paid = p.text("pago") == QLatin1String("S");
    // F3 refuses what is marked paid, as the list's own check before it
    // does. The settlement screen is opened from the right-click entry,
    // which lets a payable marked paid but without a settlement date be
    // settled again; the screen refuses what that entry refuses.
    if (mode == SettlementMode::Full)
        return paid;
    return paid && p.hasDate("Dataquitacao");
}

// What the payable is settled for.
QVariant paid(const PayableRow &p, const SettlementRequest &r)
{
    // F3 pays the instalment in full, its value as stored.
    return r.mode == SettlementMode::Full ? p("Valor") : QVariant(r.valorPago);
}

// The species written into the settled payable. Each way of settling has
// always written its own text, and the rows stored so far (and the reports
// that list them) carry them as written: F3 and the bank the cash species
// in mixed case, the cash mode in capitals, the partial settlement its own.
QString especie(SettlementMode mode)
{
    switch (mode) {
    case SettlementMode::Full:
    case SettlementMode::Bank:
        return CashBook::Especie;
    case SettlementMode::Cash:
        return QStringLiteral("PAGAMENTO PAGAR DINHEIRO");
    case SettlementMode::Dpc:
        break;
    }
    return QStringLiteral("VALOR DO DPC");
}

RowValues workCopy(const PayableRow &p, const SettlementRequest &r)
{
    // F3 copies the instalment's amounts as stored; the screen copies them
    // as it works with them, rounded to cents. Obs1 holds 100 characters,
    // so the observation is stored cut to them on every path.
    const bool full = r.mode == SettlementMode::Full;
    return {{QStringLiteral("Codigofilial"), r.branchCode},
            {QStringLiteral("filial"), r.branchName},
            {QStringLiteral("CodigoFornecedor"), p("CodigoFornecedor")},
            {QStringLiteral("Nome"), p("Nome")},
            {QStringLiteral("Nota"), p("Nota")},
            {QStringLiteral("Dataemissao"), p("Dataemissao")},
            {QStringLiteral("Datavenc"), p("Datavenc")},
            {QStringLiteral("Dataquitacao"), r.date},
            {QStringLiteral("Valor"), full ? p("Valor") : QVariant(p.money("Valor"))},
            {QStringLiteral("total"), full ? p("total") : QVariant(p.money("total"))},
            {QStringLiteral("totalpg"), paid(p, r)},
            {QStringLiteral("notacontrole"), p("notacontrole")},
            {QStringLiteral("codigogerencial"), p("codigogerencial")},
            {QStringLiteral("gerenial"), p("gerencial")},
            {QStringLiteral("codigotipo"), p("codigotipo")},
            {QStringLiteral("tipo"), p("tipo")},
            {QStringLiteral("parcelas"), p("parcelas")},
            {QStringLiteral("Obs1"), p("Obs")},
            {QStringLiteral("usuario"), r.user},
            {QStringLiteral("pago"), QStringLiteral("S")}};
}

RowValues settledColumns(const PayableRow &p, const SettlementRequest &r)
{
    RowValues s{{QStringLiteral("pago"), QStringLiteral("S")},
                {QStringLiteral("Dataquitacao"), r.date},
                {QStringLiteral("totalpg"), paid(p, r)},
                {QStringLiteral("valorpg"), paid(p, r)},
                {QStringLiteral("horaquitado"), TimeText(r.at.time())},
                {QStringLiteral("especie"), especie(r.mode)},
                {QStringLiteral("usuario"), r.user.left(kUsuarioWidth)}};
    // F3 stops there; the settlement screen also says where, to whom and how
    // it was paid.
    if (r.mode == SettlementMode::Full)
        return s;
    QVariant tipo = tipoDesc(p);
    QString tiporecebimento = CashBook::Especie;
    QString gerenial = gerencialDesc(p);
    if (r.mode == SettlementMode::Bank) {
        gerenial = QStringLiteral("CONTA CORRENTE");
    } else if (r.mode == SettlementMode::Dpc) {
        // A partial payment keeps the payment type as it is.
        tipo = p("tipo");
        tiporecebimento = QStringLiteral("Dpc");
    }
    s += {{QStringLiteral("nomecomputador"), r.computer},
          {QStringLiteral("nomefornecedor"), p("Nome")},
          {QStringLiteral("filial"), p("nomefilial")},
          {QStringLiteral("tipo"), tipo},
          {QStringLiteral("tiporecebimento"), tiporecebimento},
          {QStringLiteral("gerenial"), gerenial}};
    if (r.mode == SettlementMode::Dpc && p("numerodpc").toDouble() == 0)
        s.append({QStringLiteral("numerodpc"), 1.0});
    return s;
}

LedgerMovement bankDebit(const PayableRow &p, const SettlementRequest &r)
{
    LedgerMovement m;
    m.tipos = QStringLiteral("DEBITO");
    // The interest pseudo-account: bank payments of payables are booked there.
    m.codigoconta = Classification::SemCodigo;
    m.conta = QStringLiteral("JUROS");
    m.banco = QStringLiteral("JUROS");
    m.agencia = QStringLiteral("9999");
    m.datalancamento = m.dataquitacao = m.datavencimento = r.date;
    m.debito = r.valorPago;
    m.codigofilial = r.branchCode;
    m.filial = r.branchName;
    m.codigofornecedor = p("CodigoFornecedor");
    m.fornecedor = p.text("Nome").left(50);
    m.codigogerencial = p("codigogerencial");
    m.gerencial = p.text("gerencial").left(50);
    m.codigotipo = p("codigotipo");
    // Through the payable's 25-character payment type.
    m.tipo = p.text("tipo").left(25);
    m.codigodespesa = despesaCode(p);
    m.tipodespesa = despesaDesc(p);
    m.obs = kVazio;
    m.es = QStringLiteral("S");
    m.tiposaida = CashBook::Especie;
    m.usuario = r.user;
    m.especie = CashBook::Especie;
    m.hora = r.at.time();
    m.nomecomputador = r.computer;
    return m;
}

CashPayment cashPayment(const PayableRow &p, const SettlementRequest &r)
{
    CashPayment c{
        p("Nota"),  p("Nome"),       p("CodigoFornecedor"), r.user,     r.date,
        paid(p, r), p("nomefilial"), p("Codigofilial"),     r.computer, TimeText(r.at.time())};
    // F3 books the cash in the branch chosen on the maintenance screen (the
    // one of its work row) and does not name the workstation; the screen
    // books it in the payable's own branch.
    if (r.mode == SettlementMode::Full) {
        c.filialName = r.branchName;
        c.filialCode = r.branchCode;
        c.computer.clear();
    }
    return c;
}

RowValues remainderPayable(const PayableRow &p, const SettlementRequest &r)
{
    const double n = p("numerodpc").toDouble() + 1;
    const QVariant nota = p("Nota");
    const QVariant nome = p("Nome");
    const QVariant nomefilial = p("nomefilial");
    return {{QStringLiteral("numerodpc"), n},
            {QStringLiteral("condicao"), QStringLiteral("DPC - ") + QString::number(n, 'f', 0)},
            {QStringLiteral("Nota"), nota},
            {QStringLiteral("notacontrole"), nota},
            {QStringLiteral("codigonota"), p("codigonota")},
            {QStringLiteral("controles"), p("controles")},
            {QStringLiteral("CodigoFornecedor"), p("CodigoFornecedor")},
            {QStringLiteral("Nome"), nome},
            {QStringLiteral("nomefornecedor"), nome},
            // The remainder keeps the due date of the payable it comes from.
            {QStringLiteral("Dataemissao"), p("Dataemissao")},
            {QStringLiteral("Datavenc"), p("Datavenc")},
            {QStringLiteral("Valor"), RoundDecimals(2, r.valorDuplicata - r.valorPago)},
            {QStringLiteral("total"), p.money("total")},
            {QStringLiteral("parcelas"), 1.0},
            {QStringLiteral("Codigofilial"), p("Codigofilial")},
            {QStringLiteral("filial"), nomefilial},
            {QStringLiteral("nomefilial"), nomefilial},
            {QStringLiteral("codigogerencial"), p("codigogerencial")},
            {QStringLiteral("gerenial"), gerencialDesc(p)},
            {QStringLiteral("gerencial"), gerencialDesc(p)},
            {QStringLiteral("codigotipo"), p("codigotipo")},
            {QStringLiteral("tipo"), p("tipo")},
            {QStringLiteral("codigodespesa"), despesaCode(p)},
            {QStringLiteral("despesa"), despesaDesc(p)},
            {QStringLiteral("chavenota"), p("chavenota")},
            {QStringLiteral("codigoparcela"), p("codigoparcela")},
            {QStringLiteral("descparcela"), p("descparcela")},
            {QStringLiteral("aplicacao"), p("aplicacao")},
            {QStringLiteral("Obs"), QStringLiteral("DPC")},
            {QStringLiteral("pago"), QStringLiteral("N")},
            {QStringLiteral("horalanc"), TimeText(r.at.time())},
            {QStringLiteral("usuario"), r.user.left(kUsuarioWidth)},
            {QStringLiteral("nomecomputador"), r.computer},
            {QStringLiteral("tiporecebimento"), kVazio}};
}

} // namespace

SettlementPlan SettlementPlan::make(const PayableRow &p, const SettlementRequest &r)
{
    SettlementPlan plan;
    if (settledAlready(p, r.mode)) {
        plan.refused = true;
        return plan;
    }
    // The partial settlement leaves the work copy alone.
    if (r.mode != SettlementMode::Dpc)
        plan.workRow = workCopy(p, r);
    plan.settled = settledColumns(p, r);
    if (r.mode == SettlementMode::Bank)
        plan.ledgerDebit = bankDebit(p, r);
    // The bank mode books the payment in the ledger, never in cash.
    if (r.toCash && r.mode != SettlementMode::Bank) {
        plan.cash = cashPayment(p, r);
        // A partial payment reaches the cash ledger only.
        plan.handOff = r.mode != SettlementMode::Dpc;
    }
    // What is left unpaid (or paid above the value) becomes a new open
    // payable of the same note. Paid in full, nothing is left: a remainder of
    // 0,00 would only be an open payable nobody owes.
    if (r.mode == SettlementMode::Dpc && RoundDecimals(2, r.valorPago - r.valorDuplicata) != 0)
        plan.remainder = remainderPayable(p, r);
    return plan;
}
