#include "payables/CashBook.h"

#include "app/Helpers.h"
#include "db/RowWriter.h"

namespace CashBook {

void writeCaixa(Connection &db, const CashPayment &p)
{
    RowValues row{{QStringLiteral("Tipo"), QStringLiteral("DEBITO")},
                  {QStringLiteral("Descricao"), p.nome},
                  {QStringLiteral("Opcao"), QStringLiteral("2")},
                  {QStringLiteral("Tp"), QStringLiteral("1")},
                  {QStringLiteral("es"), QStringLiteral("S")},
                  {QStringLiteral("CodigoNota"), p.nota},
                  {QStringLiteral("CodigoCliente"), p.fornecedor},
                  {QStringLiteral("Usuario"), p.user},
                  {QStringLiteral("NomeFuncionario"), p.user},
                  {QStringLiteral("NomeFunciionario"), p.user},
                  {QStringLiteral("Data"), p.data},
                  {QStringLiteral("Debito"), p.valor},
                  {QStringLiteral("valor"), p.valor},
                  {QStringLiteral("Hora"), CurrentTimeText()},
                  {QStringLiteral("especie"), Especie},
                  {QStringLiteral("Condicao"), Especie},
                  {QStringLiteral("filial"), p.filialName},
                  {QStringLiteral("codigoFilial"), p.filialCode}};
    if (!p.computer.isEmpty())
        row.append({QStringLiteral("nomecomputador"), p.computer});
    RowWriter::insert(db, QStringLiteral("caixa"), row);
}

void writeCaixatemp(Connection &db, const CashPayment &p)
{
    RowWriter::insert(db, QStringLiteral("caixatemp"),
                      {{QStringLiteral("Tipo"), QStringLiteral("CREDITO")},
                       {QStringLiteral("Descricao"), p.nome},
                       {QStringLiteral("Opcao"), QStringLiteral("2")},
                       {QStringLiteral("Tp"), QStringLiteral("1")},
                       {QStringLiteral("es"), QStringLiteral("S")},
                       {QStringLiteral("CodigoNota"), p.nota},
                       {QStringLiteral("CodigoCliente"), p.fornecedor},
                       {QStringLiteral("Data"), p.data},
                       {QStringLiteral("Debito"), p.valor},
                       {QStringLiteral("Usuario"), p.user},
                       {QStringLiteral("especie"), Especie},
                       {QStringLiteral("Condicao"), QStringLiteral("BAIXA CONTA A PAGAR")}});
}

} // namespace CashBook
