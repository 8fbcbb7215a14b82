#include "reports/AnnualMovementFill.h"

#include "reports/WorkTableWriter.h"

#include <QSqlQuery>

namespace {

// The month rows from the payments: one per supplier name and month, the
// month's total in its own column (the other eleven 0, as the columns'
// default). The group's plain columns are taken with min(), which every
// server mode accepts; the cost-centre name is set afterwards from a row of
// that code, since reading `resumo` twice in one statement is refused for a
// temporary table by some servers.
QString monthRowsSql()
{
    QString months, values;
    for (int m = 1; m <= 12; ++m) {
        const QString mm = QStringLiteral("%1").arg(m, 2, 10, QLatin1Char('0'));
        months += QStringLiteral(", `%1`").arg(mm);
        values += QStringLiteral(", if(mes = '%1', sum(credito), 0)").arg(mm);
    }
    return QStringLiteral("insert into resumoanual (codigocliente, descricao, codigoplano, mes%1) "
                          "select min(Codigocliente), descricao, min(codigoplano), mes%2 "
                          "from resumo where mes in ('01','02','03','04','05','06','07','08',"
                          "'09','10','11','12') group by descricao, mes order by descricao, mes")
        .arg(months, values);
}

} // namespace

AnnualMovementFill::AnnualMovementFill(Connection &connection)
    : m_conn(connection), m_resumo(&connection, QStringLiteral("resumo")),
      m_anual(&connection, QStringLiteral("resumoanual"))
{
}

QString AnnualMovementFill::periodProblem(const QDate &from, const QDate &to)
{
    if (!from.isValid() || !to.isValid() || from > to)
        return {};
    const int months = (to.year() - from.year()) * 12 + to.month() - from.month() + 1;
    return months > 12 ? QStringLiteral("O período deve ter no máximo 12 meses") : QString();
}

int AnnualMovementFill::run(const QDate &from, const QDate &to, const std::function<void()> &tick)
{
    if (const QString problem = periodProblem(from, to); !problem.isEmpty())
        throw DbError(problem);
    m_filled = false;
    m_resumo.claim();
    m_anual.claim();
    if (tick)
        tick();

    QSqlQuery q = m_conn.execNamed(
        QStringLiteral("select nota, dataquitacao, nome, totalpg, codigofilial, codigofornecedor, "
                       "codigogerencial, gerencial, filial from pagar "
                       "where dataquitacao >= :DataI and dataquitacao <= :DataF and totalpg <> 0 "
                       "order by dataquitacao, Controle"),
        {{QStringLiteral("DataI"), from}, {QStringLiteral("DataF"), to}});
    WorkTableWriter out(
        m_conn, m_resumo,
        {QStringLiteral("CodigoNota"), QStringLiteral("Data"), QStringLiteral("mes"),
         QStringLiteral("ano"), QStringLiteral("Descricao"), QStringLiteral("Credito"),
         QStringLiteral("tabela"), QStringLiteral("codigoFilial"), QStringLiteral("CodigoCliente"),
         QStringLiteral("codigoplano"), QStringLiteral("plano"), QStringLiteral("filial")});
    if (tick)
        out.onWritten = [&tick](int) { tick(); };
    const QString tabela = QStringLiteral("RECEBIMENTO NO PERIODO");
    while (q.next()) {
        const QDate paid = q.value(1).toDate();
        out.add({q.value(0), paid, QStringLiteral("%1").arg(paid.month(), 2, 10, QLatin1Char('0')),
                 QString::number(paid.year()), q.value(2), q.value(3), tabela, q.value(4),
                 q.value(5), q.value(6), q.value(7), q.value(8)});
    }
    out.finish();

    // Each statement runs only on this session's copies; one whose
    // connection was lost under it wrote, if anything, into a copy that is
    // gone with the session.
    auto onCopies = [this](const QString &sql) {
        m_resumo.require();
        m_anual.require();
        try {
            m_conn.exec(sql);
        } catch (const DbError &e) {
            if (!m_resumo.valid() || !m_anual.valid())
                throw DbError(Connection::privateCopyLostMessage(), e.nativeCode(), sql);
            throw;
        }
    };
    onCopies(monthRowsSql());
    onCopies(QStringLiteral("update resumoanual a join resumo r on r.descricao = a.descricao "
                            "and r.mes = a.mes and r.codigoplano = a.codigoplano "
                            "set a.plano = r.plano"));
    if (tick)
        tick();
    m_resumo.require();
    m_anual.require();
    m_filled = true;
    return out.written();
}

bool AnnualMovementFill::valid() const
{
    return m_filled && m_resumo.valid() && m_anual.valid();
}

void AnnualMovementFill::require() const
{
    if (!valid())
        throw DbError(Connection::privateCopyLostMessage());
}

void AnnualMovementFill::clearAnnual()
{
    if (m_anual.valid())
        m_conn.exec(QStringLiteral("TRUNCATE TABLE resumoanual"));
    m_filled = false;
}
