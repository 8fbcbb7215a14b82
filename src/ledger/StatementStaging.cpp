#include "ledger/StatementStaging.h"

#include "books/Operation.h"
#include "db/Connection.h"
#include "db/RowWriter.h"

#include <QSqlQuery>

StatementStaging::StatementStaging(Connection *connection)
    : m_conn(connection), m_table(connection, table())
{
}

QString StatementStaging::lostMessage()
{
    return QStringLiteral("A conexão com o servidor foi refeita e o extrato lido nesta estação se "
                          "perdeu. Nada foi transferido. Leia o extrato novamente em \"Importar "
                          "Extrato\".");
}

void StatementStaging::require() const
{
    if (!valid())
        throw DbError(lostMessage());
}

void StatementStaging::stage(const QList<StatementLine> &lines, const QString &user,
                             const QDateTime &now, const std::function<void(int)> &progress)
{
    if (!valid())
        m_table.claim();
    const QTime hora = QTime(now.time().hour(), now.time().minute(), now.time().second());
    const QDate today = now.date();
    static const QStringList columns = {
        QStringLiteral("data"),         QStringLiteral("hora"),      QStringLiteral("usuario"),
        QStringLiteral("historico"),    QStringLiteral("documento"), QStringLiteral("valor"),
        QStringLiteral("debito"),       QStringLiteral("saldo"),     QStringLiteral("importado"),
        QStringLiteral("dataimportado")};
    const QVariant none(QMetaType::fromType<double>()); // NULL
    QList<QVariantList> rows;
    rows.reserve(lines.size());
    for (const StatementLine &l : lines) {
        const bool credit = l.amount > 0;
        rows << QVariantList{l.data,
                             hora,
                             user,
                             l.historico,
                             l.documento,
                             credit ? QVariant(l.amount) : none,
                             credit ? none : QVariant(-l.amount + 0.0),
                             l.saldo ? QVariant(*l.saldo) : none,
                             QStringLiteral("S"),
                             today};
    }
    runOperation(*m_conn, QStringLiteral("a leitura do extrato"), [&] {
        m_table.require();
        m_conn->exec(QStringLiteral("DELETE FROM importacaobanco"));
        RowWriter::insertMany(*m_conn, table(), columns, rows, progress);
    });
    // A lost reply to the commit is settled on a new session, where the
    // private copy no longer exists.
    require();
}

QList<StagedLine> StatementStaging::lines() const
{
    require();
    QList<StagedLine> out;
    QSqlQuery q = m_conn->exec(QStringLiteral(
        "SELECT id, data, historico, documento, valor, debito FROM importacaobanco ORDER BY id"));
    while (q.next()) {
        StagedLine l;
        l.id = q.value(0).toInt();
        l.data = q.value(1).toDate();
        l.historico = q.value(2).toString();
        l.documento = q.value(3).toString();
        l.valor = q.value(4);
        l.debito = q.value(5);
        out << l;
    }
    return out;
}

QSet<int> StatementStaging::foundInLedger() const
{
    require();
    QSet<int> ids;
    // Only the ledger's movements of the statement's days can match. Those
    // are read once into a keyed set the staged lines are looked up in: a
    // look-up per line through the date index alone costs a read of every
    // movement of that day, seconds for a statement over a big ledger.
    QSqlQuery span =
        m_conn->exec(QStringLiteral("SELECT MIN(data), MAX(data) FROM importacaobanco"));
    if (!span.next() || span.value(0).isNull())
        return ids;
    const QVariant first = span.value(0), last = span.value(1);
    QSqlQuery q = m_conn->exec(
        QStringLiteral("SELECT i.id FROM importacaobanco i WHERE (i.data, CASE WHEN "
                       "COALESCE(i.valor, 0) <> 0 THEN i.valor ELSE i.debito END, "
                       "LEFT(i.documento, %1)) IN (SELECT c.datalancamento, c.valordoc, "
                       "c.documento FROM contacorrente c WHERE c.datalancamento BETWEEN ? AND ?)")
            .arg(TransferPlan::StoredDocumentWidth),
        {first, last});
    while (q.next())
        ids.insert(q.value(0).toInt());
    return ids;
}
