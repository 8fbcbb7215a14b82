#include "books/CashBook.h"

namespace CashBook {

namespace {

// What both rows say of the movement; only its kind differs.
RowValues movement(const QString &tipo, const CashPayment &p)
{
    return {{QStringLiteral("Tipo"), tipo},
            {QStringLiteral("Descricao"), p.nome},
            {QStringLiteral("Opcao"), QStringLiteral("2")},
            {QStringLiteral("Tp"), QStringLiteral("1")},
            {QStringLiteral("es"), QStringLiteral("S")},
            {QStringLiteral("CodigoNota"), p.nota},
            {QStringLiteral("CodigoCliente"), p.fornecedor},
            {QStringLiteral("Usuario"), p.user},
            {QStringLiteral("Data"), p.data},
            {QStringLiteral("Debito"), p.valor},
            {QStringLiteral("especie"), Especie}};
}

} // namespace

RowValues caixaRow(const CashPayment &p)
{
    RowValues row = movement(QStringLiteral("DEBITO"), p);
    row += {{QStringLiteral("NomeFuncionario"), p.user},
            {QStringLiteral("NomeFunciionario"), p.user},
            {QStringLiteral("valor"), p.valor},
            {QStringLiteral("Hora"), p.hora},
            {QStringLiteral("Condicao"), Especie},
            {QStringLiteral("filial"), p.filialName},
            {QStringLiteral("codigoFilial"), p.filialCode}};
    if (!p.computer.isEmpty())
        row.append({QStringLiteral("nomecomputador"), p.computer});
    return row;
}

RowValues caixatempRow(const CashPayment &p)
{
    RowValues row = movement(QStringLiteral("CREDITO"), p);
    row.append({QStringLiteral("Condicao"), QStringLiteral("BAIXA CONTA A PAGAR")});
    return row;
}

void writeCaixa(Connection &db, const CashPayment &p)
{
    RowWriter::insert(db, QStringLiteral("caixa"), caixaRow(p));
}

void writeCaixatemp(Connection &db, const CashPayment &p)
{
    RowWriter::insert(db, QStringLiteral("caixatemp"), caixatempRow(p));
}

} // namespace CashBook
