#include "reports/PaymentSummaryFill.h"

#include "db/RowWriter.h"

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

// Copies what a pass selects into the private copy on the server alone, in
// one bound INSERT … SELECT: a plain copy gains nothing from sending every
// row through the program and back. expressions[i] goes into columns[i];
// a text is cut to its column's width, as a field of that width would store
// it, so the server never refuses a long name. Only the session's own copy
// is written (required first); a connection lost under the statement took
// the copy and whatever it wrote with it.
int copyOnServer(Connection &conn, const PrivateTable &table, const QStringList &columns,
                 const QStringList &expressions, const QString &fromSelect,
                 const QVariantMap &params, const QString &order = {})
{
    const QList<int> widths = RowWriter::textWidths(conn, table.name(), columns);
    QStringList selected;
    for (int i = 0; i < columns.size(); ++i)
        selected << (widths[i] > 0
                         ? QStringLiteral("LEFT(%1, %2)").arg(expressions[i]).arg(widths[i])
                         : expressions[i]);
    table.require();
    const QString sql = QStringLiteral("INSERT INTO %1 (%2) SELECT %3 FROM (%4) AS pass")
                            .arg(table.name(), columns.join(QStringLiteral(", ")),
                                 selected.join(QStringLiteral(", ")), fromSelect) +
                        (order.isEmpty() ? QString() : QStringLiteral(" ORDER BY ") + order);
    try {
        return conn.execNamed(sql, params).numRowsAffected();
    } catch (const DbError &e) {
        if (!table.valid())
            throw DbError(Connection::privateCopyLostMessage(), e.nativeCode(), e.statement());
        throw;
    }
}

const QStringList kOpenAndPaidColumns{
    QStringLiteral("CodigoNota"),     QStringLiteral("Data"),
    QStringLiteral("datavenc"),       QStringLiteral("dataquitacao"),
    QStringLiteral("Datai"),          QStringLiteral("dataf"),
    QStringLiteral("Descricao"),      QStringLiteral("valor"),
    QStringLiteral("Credito"),        QStringLiteral("tabela"),
    QStringLiteral("CodigoCliente"),  QStringLiteral("filial"),
    QStringLiteral("codigoFilial"),   QStringLiteral("gerencial"),
    QStringLiteral("codigogerencial")};

// What each pass puts into those columns, from kColumns' names.
QStringList openAndPaidExpressions(bool paid)
{
    return {QStringLiteral("notacontrole"),
            QStringLiteral("dataemissao"),
            QStringLiteral("datavenc"),
            paid ? QStringLiteral("dataquitacao") : QStringLiteral("NULL"),
            QStringLiteral(":PeriodoI"),
            QStringLiteral(":PeriodoF"),
            QStringLiteral("nome"),
            QStringLiteral("valor"),
            paid ? QStringLiteral("totalpg") : QStringLiteral("NULL"),
            paid ? QStringLiteral("'PAGAMENTO NO PERIODO'") : QStringLiteral("'ABERTO NO PERIODO'"),
            QStringLiteral("codigofornecedor"),
            QStringLiteral("filial"),
            QStringLiteral("codigofilial"),
            QStringLiteral("gerencial"),
            QStringLiteral("codigogerencial")};
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
        // No code matches no row (a NULL never equals), where the code
        // spliced into the text would have been a syntax error.
        const QVariantMap params{{QStringLiteral("DataI"), from},
                                 {QStringLiteral("DataF"), to},
                                 {QStringLiteral("PeriodoI"), from},
                                 {QStringLiteral("PeriodoF"), to},
                                 {QStringLiteral("Codigo"), code ? QVariant(*code) : QVariant()}};
        written += copyOnServer(m_conn, m_resumo, kOpenAndPaidColumns, openAndPaidExpressions(true),
                                paidPass(tipo), params);
        if (tick)
            tick();
        written += copyOnServer(m_conn, m_resumo, kOpenAndPaidColumns,
                                openAndPaidExpressions(false), openPass(tipo), params);
        if (tick)
            tick();
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
    const int written = copyOnServer(
        m_conn, m_resumo,
        {QStringLiteral("codigonota"), QStringLiteral("data"), QStringLiteral("descricao"),
         QStringLiteral("credito"), QStringLiteral("tabela"), QStringLiteral("codigocliente")},
        {QStringLiteral("nota"), QStringLiteral("dataquitacao"), QStringLiteral("nome"),
         QStringLiteral("totalpg"), QStringLiteral("'PAGAMENTO NO PERIODO'"),
         QStringLiteral("codigofornecedor")},
        QStringLiteral("select nota, dataquitacao, nome, totalpg, codigofornecedor, Controle "
                       "from pagar where dataquitacao >= :DataI and dataquitacao <= :DataF and "
                       "totalpg <> 0"),
        {{QStringLiteral("DataI"), from}, {QStringLiteral("DataF"), to}},
        QStringLiteral("dataquitacao, Controle"));
    if (tick)
        tick();
    m_resumo.require();
    m_filled = true;
    return written;
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
