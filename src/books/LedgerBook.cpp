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
        {"valordoc", &m.valordoc},
        {"importado", &m.importado},
        {"dataimportado", &m.dataimportado},
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

void appendMany(Connection &db, const QList<LedgerMovement> &movements,
                const std::function<void(int written)> &progress)
{
    // One column list for all: every column some movement sets, in the
    // order row() gives them.
    QList<RowValues> rows;
    rows.reserve(movements.size());
    QStringList columns;
    for (const LedgerMovement &m : movements) {
        rows << row(m);
        for (const auto &value : rows.last())
            if (!columns.contains(value.first))
                columns << value.first;
    }
    QList<QVariantList> values;
    values.reserve(rows.size());
    for (const RowValues &r : rows) {
        QVariantList v(columns.size()); // invalid: the column's default
        for (const auto &[column, value] : r)
            v[columns.indexOf(column)] = value;
        values << v;
    }
    RowWriter::insertMany(db, QStringLiteral("contacorrente"), columns, values, progress);
}

} // namespace LedgerBook
