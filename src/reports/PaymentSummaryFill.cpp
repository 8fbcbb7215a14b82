#include "reports/PaymentSummaryFill.h"

#include "reports/WorkTableWriter.h"

#include <QSqlQuery>

namespace {

const QString kColumns =
    QStringLiteral("select notacontrole, dataemissao, datavenc, dataquitacao, nome, valor, "
                   "totalpg, codigofornecedor, filial, codigofilial, gerencial, codigogerencial "
                   "from pagar ");

// The passes' conditions; the code is the last parameter.
QString paidPass(PaymentSummaryFill::Tipo tipo)
{
    return tipo == PaymentSummaryFill::Tipo::Gerencial
               ? kColumns + QStringLiteral("where ((dataquitacao >=:DataI) AND (dataquitacao "
                                           "<=:DataF)) and (negociacao = 'N') and ((nome <> '') "
                                           "or (Nome is not null)) and codigogerencial=:Codigo")
               : kColumns + QStringLiteral("WHERE ((Dataquitacao >=:DataI) AND (Dataquitacao "
                                           "<=:DataF)) and (negociacao = 'N') and ((nome <> '') "
                                           "or (Nome is not null)) and codigofornecedor=:Codigo");
}

QString openPass(PaymentSummaryFill::Tipo tipo)
{
    return tipo == PaymentSummaryFill::Tipo::Gerencial
               ? kColumns + QStringLiteral("WHERE ((Datavenc >=:DataI) AND (Datavenc <=:DataF)) "
                                           "and ((nome <> '') or (Nome is not null)) and "
                                           "(negociacao = 'N') and (dataquitacao is null) and "
                                           "codigogerencial=:Codigo")
               : kColumns + QStringLiteral("WHERE ((Datavenc >=:DataI) AND (Datavenc <=:DataF)) "
                                           "and (negociacao = 'N') and (dataquitacao is null) and "
                                           "((nome <> '') or (Nome is not null)) and "
                                           "codigofornecedor=:Codigo");
}

} // namespace

PaymentSummaryFill::PaymentSummaryFill(Connection &connection)
    : m_conn(connection), m_resumo(&connection, QStringLiteral("resumo"))
{
}

int PaymentSummaryFill::openAndPaid(Tipo tipo, std::optional<double> code, const QDate &from,
                                    const QDate &to, const std::function<void()> &tick)
{
    m_filled = false;
    m_resumo.claim();
    if (tick)
        tick();
    int written = 0;
    if (tipo != Tipo::None) {
        WorkTableWriter out(
            m_conn, m_resumo,
            {QStringLiteral("CodigoNota"), QStringLiteral("Data"), QStringLiteral("datavenc"),
             QStringLiteral("dataquitacao"), QStringLiteral("Datai"), QStringLiteral("dataf"),
             QStringLiteral("Descricao"), QStringLiteral("valor"), QStringLiteral("Credito"),
             QStringLiteral("tabela"), QStringLiteral("CodigoCliente"), QStringLiteral("filial"),
             QStringLiteral("codigoFilial"), QStringLiteral("gerencial"),
             QStringLiteral("codigogerencial")});
        if (tick)
            out.onWritten = [&tick](int) { tick(); };
        // No code matches no row (a NULL never equals), where the code
        // spliced into the text would have been a syntax error.
        const QVariantMap params{{QStringLiteral("DataI"), from},
                                 {QStringLiteral("DataF"), to},
                                 {QStringLiteral("Codigo"), code ? QVariant(*code) : QVariant()}};
        const QVariant none;
        QSqlQuery paid = m_conn.execNamed(paidPass(tipo), params);
        while (paid.next())
            out.add({paid.value(0), paid.value(1), paid.value(2), paid.value(3), from, to,
                     paid.value(4), paid.value(5), paid.value(6),
                     QStringLiteral("PAGAMENTO NO PERIODO"), paid.value(7), paid.value(8),
                     paid.value(9), paid.value(10), paid.value(11)});
        QSqlQuery open = m_conn.execNamed(openPass(tipo), params);
        while (open.next())
            out.add({open.value(0), open.value(1), open.value(2), none, from, to, open.value(4),
                     open.value(5), none, QStringLiteral("ABERTO NO PERIODO"), open.value(7),
                     open.value(8), open.value(9), open.value(10), open.value(11)});
        out.finish();
        written = out.written();
    }
    m_resumo.require();
    m_filled = true;
    return written;
}

int PaymentSummaryFill::payments(const QDate &from, const QDate &to,
                                 const std::function<void()> &tick)
{
    m_filled = false;
    m_resumo.claim();
    if (tick)
        tick();
    QSqlQuery q = m_conn.execNamed(
        QStringLiteral("select nota, dataquitacao, nome, totalpg, codigofornecedor from pagar "
                       "where dataquitacao >= :DataI and dataquitacao <= :DataF and totalpg <> 0 "
                       "order by dataquitacao, Controle"),
        {{QStringLiteral("DataI"), from}, {QStringLiteral("DataF"), to}});
    WorkTableWriter out(m_conn, m_resumo,
                        {QStringLiteral("codigonota"), QStringLiteral("data"),
                         QStringLiteral("descricao"), QStringLiteral("credito"),
                         QStringLiteral("tabela"), QStringLiteral("codigocliente")});
    if (tick)
        out.onWritten = [&tick](int) { tick(); };
    const QString tabela = QStringLiteral("PAGAMENTO NO PERIODO");
    while (q.next())
        out.add({q.value(0), q.value(1), q.value(2), q.value(3), tabela, q.value(4)});
    out.finish();
    m_resumo.require();
    m_filled = true;
    return out.written();
}

bool PaymentSummaryFill::valid() const
{
    return m_filled && m_resumo.valid();
}

void PaymentSummaryFill::require() const
{
    if (!valid())
        throw DbError(Connection::privateCopyLostMessage());
}
