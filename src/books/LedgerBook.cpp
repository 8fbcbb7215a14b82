#include "books/LedgerBook.h"

namespace LedgerBook {

RowValues row(const LedgerMovement &m)
{
    const std::pair<const char *, const QVariant *> columns[] = {
        {"tipos", &m.tipos},
        {"codigoconta", &m.codigoconta},
        {"conta", &m.conta},
        {"banco", &m.banco},
        {"agencia", &m.agencia},
        {"datalancamento", &m.datalancamento},
        {"dataquitacao", &m.dataquitacao},
        {"datavencimento", &m.datavencimento},
        {"valor", &m.valor},
        {"debito", &m.debito},
        {"codigofilial", &m.codigofilial},
        {"filial", &m.filial},
        {"codigofornecedor", &m.codigofornecedor},
        {"fornecedor", &m.fornecedor},
        {"codigogerencial", &m.codigogerencial},
        {"gerencial", &m.gerencial},
        {"codigotipo", &m.codigotipo},
        {"tipo", &m.tipo},
        {"codigodespesa", &m.codigodespesa},
        {"tipodespesa", &m.tipodespesa},
        {"codigotipodespesa", &m.codigotipodespesa},
        {"documento", &m.documento},
        {"obs", &m.obs},
        {"es", &m.es},
        {"tiposaida", &m.tiposaida},
        {"usuario", &m.usuario},
        {"especie", &m.especie},
        {"hora", &m.hora},
        {"nomecomputador", &m.nomecomputador},
    };
    RowValues r;
    for (const auto &[name, value] : columns)
        if (value->isValid())
            r.append({QString::fromLatin1(name), *value});
    return r;
}

QVariant append(Connection &db, const LedgerMovement &m)
{
    return RowWriter::insert(db, QStringLiteral("contacorrente"), row(m));
}

} // namespace LedgerBook
