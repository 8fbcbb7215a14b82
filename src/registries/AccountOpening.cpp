#include "registries/AccountOpening.h"

#include "books/Operation.h"

namespace AccountOpening {

LedgerMovement movement(const OpeningAccount &a, const QTime &hora)
{
    LedgerMovement m;
    m.codigoconta = a.codigoconta;
    m.banco = a.banco;
    m.agencia = a.agencia;
    m.conta = a.conta;
    m.codigofilial = a.codigofilial;
    m.filial = a.filial;
    m.datalancamento = a.data;
    m.datavencimento = a.data;
    m.dataquitacao = a.data;
    m.es = a.es;
    m.codigogerencial = a.codigogerencial;
    m.gerencial = a.gerencial;
    m.codigotipo = a.codigotipo;
    m.tipo = a.tipo;
    m.codigotipodespesa = a.codigodespesa;
    m.tipodespesa = a.despesa;
    m.especie = QStringLiteral("DINHEIRO");
    m.hora = hora;
    // A null amount counts as 0.
    if (a.valor.toDouble() != 0)
        m.valor = a.valor;
    else
        m.debito = a.debito;
    return m;
}

QVariant create(Connection &db, const RowValues &accountRow, OpeningAccount account,
                const QTime &hora)
{
    QVariant key;
    runOperation(db, QStringLiteral("a gravação da conta"), [&] {
        key = RowWriter::insert(db, QStringLiteral("conta"), accountRow);
        account.codigoconta = key;
        LedgerBook::append(db, movement(account, hora));
    });
    return key;
}

} // namespace AccountOpening
