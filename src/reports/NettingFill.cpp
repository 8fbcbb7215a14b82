#include "reports/NettingFill.h"

#include "app/Helpers.h"
#include "db/DisplayFormat.h"
#include "reports/WorkTableWriter.h"

#include <QSqlQuery>

NettingFill::NettingFill(Connection &connection)
    : m_conn(connection), m_table(&connection, QStringLiteral("resumo02"))
{
}

void NettingFill::run(const QDate &from, const QDate &to,
                      const std::function<void(int total)> &started,
                      const std::function<void(int done)> &step)
{
    m_filled = false;
    m_table.claim();
    const QVariantMap period{{QStringLiteral("DataI"), from}, {QStringLiteral("DataF"), to}};
    QSqlQuery receber = m_conn.execNamed(
        QStringLiteral("select Controle, CodigoCliente, Nome, DataVenc, Valor from receber "
                       "where DataVenc >= :DataI and DataVenc <= :DataF and Dataquitacao is null "
                       "order by DataVenc, Controle"),
        period);
    QSqlQuery pagar = m_conn.execNamed(
        QStringLiteral("select nota, codigofornecedor, nome, datavenc, valor from pagar "
                       "where Datavenc >= :DataI and Datavenc <= :DataF and Dataquitacao is null "
                       "order by Controle"),
        period);
    if (started)
        started(qMax(0, receber.size()) + qMax(0, pagar.size()));

    WorkTableWriter out(m_conn, m_table,
                        {QStringLiteral("CodigoNota"), QStringLiteral("CodigoCliente"),
                         QStringLiteral("Descricao"), QStringLiteral("Data"),
                         QStringLiteral("Credito"), QStringLiteral("Debito"),
                         QStringLiteral("es")});
    if (step)
        out.onWritten = step;
    const QVariant none;
    while (receber.next())
        out.add({receber.value(0).toString(), receber.value(1), receber.value(2), receber.value(3),
                 receber.value(4), none, QStringLiteral("E")});
    while (pagar.next())
        out.add({pagar.value(0), pagar.value(1), pagar.value(2), pagar.value(3), none,
                 pagar.value(4), QStringLiteral("D")});
    out.finish();
    m_table.require();
    m_filled = true;
}

bool NettingFill::valid() const
{
    return m_filled && m_table.valid();
}

void NettingFill::require() const
{
    if (!valid())
        throw DbError(Connection::privateCopyLostMessage());
}

NettingVerdict NettingFill::verdict(double creditTotal, double debitTotal)
{
    NettingVerdict v;
    v.credit = RoundDecimals(2, creditTotal);
    v.debit = RoundDecimals(2, debitTotal);
    // The difference of two amounts in cents, itself rounded to cents, so
    // that 0,30 - 0,10 prints 0,20 and not 0,19999...
    v.balance = RoundDecimals(2, v.credit - v.debit);
    QString message;
    if (v.credit > v.debit) {
        v.kind = NettingVerdict::Kind::Free;
        message = QStringLiteral("SALDO LIVRE PARA COMPROMETIMENTO, ECONOMIZE!!! R$ ");
        v.colour = QColor(0, 128, 0);
    } else if (v.credit < v.debit) {
        v.kind = NettingVerdict::Kind::Committed;
        message = QStringLiteral("SALDO COMPROMETIDO, VALOR NEGATIVO!!! R$ ");
        v.colour = QColor(204, 0, 0);
    } else {
        v.kind = NettingVerdict::Kind::Unstable;
        message = QStringLiteral("SALDO INSTAVEL, COMPROMETER !!! R$ ");
        // Yellow, dark enough to be read on white paper.
        v.colour = QColor(214, 170, 0);
        v.balance = 0; // never "-0,00"
    }
    v.text = message + DisplayFormat::money(v.balance);
    return v;
}
