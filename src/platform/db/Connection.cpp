#include "db/Connection.h"

#include "db/NativeQuery.h"

#include <QDeadlineTimer>
#include <QRegularExpression>
#include <QSqlDriver>
#include <QSqlRecord>
#include <QThread>
#include <QUuid>

namespace {

QString errorText(const QSqlError &e)
{
    QString t = e.databaseText().trimmed();
    if (t.isEmpty())
        t = e.driverText().trimmed();
    if (t.isEmpty())
        t = e.text().trimmed();
    return t;
}

bool isIdentChar(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_');
}

} // namespace

DbError::DbError(const QString &message, const QString &nativeCode, const QString &statement)
    : std::runtime_error(message.toStdString()), m_message(message), m_code(nativeCode),
      m_statement(statement)
{
}

DbError DbError::fromSql(const QSqlError &error, const QString &statement)
{
    return DbError(errorText(error), error.nativeErrorCode(), statement);
}

bool DbError::isConnectionLost() const
{
    // 2006 server gone away, 2013 lost during query, 2055 lost at reading,
    // 1927 connection killed, 4031 closed by the server for inactivity.
    static const QStringList codes = {QStringLiteral("2006"), QStringLiteral("2013"),
                                      QStringLiteral("2055"), QStringLiteral("1927"),
                                      QStringLiteral("4031")};
    return codes.contains(m_code);
}

ParsedSql ParsedSql::parse(const QString &text)
{
    ParsedSql out;
    out.sql.reserve(text.size());
    const int n = text.size();
    int i = 0;
    while (i < n) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\'') || c == QLatin1Char('"') || c == QLatin1Char('`')) {
            // copy a quoted run; a doubled quote or a backslash escape stays inside
            int j = i + 1;
            while (j < n) {
                if (c != QLatin1Char('`') && text.at(j) == QLatin1Char('\\') && j + 1 < n) {
                    j += 2;
                    continue;
                }
                if (text.at(j) == c) {
                    if (j + 1 < n && text.at(j + 1) == c) {
                        j += 2;
                        continue;
                    }
                    break;
                }
                ++j;
            }
            j = qMin(j + 1, n);
            out.sql += text.mid(i, j - i);
            i = j;
        } else if (c == QLatin1Char('-') && i + 1 < n && text.at(i + 1) == QLatin1Char('-')) {
            int j = text.indexOf(QLatin1Char('\n'), i);
            if (j < 0)
                j = n;
            out.sql += text.mid(i, j - i);
            i = j;
        } else if (c == QLatin1Char('/') && i + 1 < n && text.at(i + 1) == QLatin1Char('*')) {
            int j = text.indexOf(QStringLiteral("*/"), i + 2);
            j = j < 0 ? n : j + 2;
            out.sql += text.mid(i, j - i);
            i = j;
        } else if (c == QLatin1Char(':') && i + 1 < n && isIdentChar(text.at(i + 1)) &&
                   !(i > 0 &&
                     (isIdentChar(text.at(i - 1)) || text.at(i - 1) == QLatin1Char(':')))) {
            int j = i + 1;
            while (j < n && isIdentChar(text.at(j)))
                ++j;
            out.names << text.mid(i + 1, j - i - 1);
            out.sql += QLatin1Char('?');
            i = j;
        } else if (c == QLatin1Char('?')) {
            out.names << QString();
            out.sql += c;
            ++i;
        } else {
            out.sql += c;
            ++i;
        }
    }
    return out;
}

Connection::Connection(const QString &connectionName, QObject *parent)
    : QObject(parent), m_name(connectionName)
{
    QSqlDatabase::addDatabase(QStringLiteral("QMYSQL"), m_name);
}

Connection::~Connection()
{
    {
        QSqlDatabase db = QSqlDatabase::database(m_name, false);
        if (db.isOpen())
            db.close();
    }
    QSqlDatabase::removeDatabase(m_name);
}

void Connection::setSettings(const ConnectionSettings &settings)
{
    m_settings = settings;
    m_columns.clear();
}

QSqlDatabase Connection::database() const
{
    return QSqlDatabase::database(m_name, false);
}

bool Connection::isOpen() const
{
    return database().isOpen();
}

QList<QPair<QString, int>> Connection::hosts() const
{
    QList<QPair<QString, int>> list;
    for (const QString &part : m_settings.host.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QString item = part.trimmed();
        if (item.isEmpty())
            continue;
        const int colon = item.lastIndexOf(QLatin1Char(':'));
        bool ok = false;
        const int port = colon > 0 ? item.mid(colon + 1).toInt(&ok) : 0;
        if (colon > 0 && ok && port > 0 && port <= 65535)
            list.append({item.left(colon), port});
        else
            list.append({item, m_settings.port});
    }
    if (list.isEmpty())
        list.append({m_settings.host, m_settings.port});
    return list;
}

void Connection::open()
{
    const QList<QPair<QString, int>> list = hosts();
    const int n = int(list.size());
    const int start = m_afterLoss ? (m_hostIndex + 1) % n : 0;
    m_afterLoss = false;
    QStringList failures;
    for (int k = 0; k < n; ++k) {
        const int i = (start + k) % n;
        try {
            openHost(list[i].first, list[i].second);
            m_hostIndex = i;
            m_currentHost = n > 1 ? list[i].first : QString();
            return;
        } catch (const DbError &e) {
            if (n == 1)
                throw;
            failures << QStringLiteral("%1: %2").arg(list[i].first, e.message());
        }
    }
    throw DbError(QStringLiteral("Nenhum dos servidores respondeu.\n%1")
                      .arg(failures.join(QLatin1Char('\n'))),
                  QStringLiteral("2003"));
}

void Connection::openHost(const QString &host, int port)
{
    QSqlDatabase db = database();
    if (db.isOpen())
        db.close();
    db.setHostName(m_settings.unixSocket.isEmpty() ? host : QStringLiteral("localhost"));
    db.setPort(port > 0 ? port : -1);
    db.setDatabaseName(m_settings.database);
    db.setUserName(m_settings.user);
    db.setPassword(m_settings.password);
    QStringList options;
    options
        << QStringLiteral("MYSQL_OPT_CONNECT_TIMEOUT=%1")
               .arg(qMax(1, m_settings.connectTimeoutSeconds))
        << QStringLiteral("MYSQL_OPT_READ_TIMEOUT=%1").arg(qMax(1, m_settings.readTimeoutSeconds))
        << QStringLiteral("MYSQL_OPT_WRITE_TIMEOUT=%1").arg(qMax(1, m_settings.writeTimeoutSeconds))
        // An UPDATE reports the rows it matched, not only those it changed,
        // so "nothing matched" reliably means the row is no longer as read.
        << QStringLiteral("CLIENT_FOUND_ROWS");
    if (!m_settings.unixSocket.isEmpty())
        options << QStringLiteral("UNIX_SOCKET=%1").arg(m_settings.unixSocket);
    db.setConnectOptions(options.join(QLatin1Char(';')));
    if (!db.open())
        throw DbError::fromSql(db.lastError());
    m_inTransaction = false;
    // The program's own dates and texts are exchanged in utf8mb4.
    QSqlQuery q(db);
    q.exec(QStringLiteral("SET NAMES utf8mb4"));
    m_sessionId = 0;
    if (q.exec(QStringLiteral("SELECT CONNECTION_ID()")) && q.next())
        m_sessionId = q.value(0).toLongLong();
    // A cluster node that is not ready refuses statements; one that is must
    // show what the other nodes committed before this session reads.
    const bool clusterNode =
        q.exec(QStringLiteral("SHOW VARIABLES LIKE 'wsrep_on'")) && q.next() &&
        q.value(1).toString().compare(QLatin1String("ON"), Qt::CaseInsensitive) == 0;
    if (clusterNode && q.exec(QStringLiteral("SHOW STATUS LIKE 'wsrep_ready'"))) {
        if (!q.next() ||
            q.value(1).toString().compare(QLatin1String("ON"), Qt::CaseInsensitive) != 0) {
            db.close();
            throw DbError(QStringLiteral("O servidor %1 faz parte de um cluster mas não está "
                                         "pronto (wsrep_ready OFF).")
                              .arg(host));
        }
        q.exec(QStringLiteral("SET SESSION wsrep_sync_wait = 1"));
    }
    ensureOperationTable();
}

void Connection::ensureOperationTable()
{
    if (m_settings.database.isEmpty())
        return;
    QSqlQuery q(database());
    // Other programs of the suite never read it; old ids are of no use once
    // every workstation has long since settled its lost replies.
    if (q.exec(QStringLiteral("CREATE TABLE IF NOT EXISTS %1 (id CHAR(36) NOT NULL PRIMARY KEY, "
                              "nome VARCHAR(60) NULL, momento DATETIME NOT NULL, KEY (momento)) "
                              "ENGINE=InnoDB")
                   .arg(operationTable())) &&
        !m_operationsPruned) {
        m_operationsPruned = true;
        q.exec(QStringLiteral("DELETE FROM %1 WHERE momento < NOW() - INTERVAL 30 DAY")
                   .arg(operationTable()));
    }
}

void Connection::close()
{
    QSqlDatabase db = database();
    if (db.isOpen())
        db.close();
    m_inTransaction = false;
    m_private.clear(); // temporary copies end with the session
}

void Connection::reconnect()
{
    close();
    m_afterLoss = true;
    open();
    emit reconnected();
}

QSqlQuery Connection::run(const QString &sql, const QVariantList &params)
{
    QSqlDatabase db = database();
    QSqlQuery q(db);
    q.setForwardOnly(true);
    q.setNumericalPrecisionPolicy(QSql::LowPrecisionDouble);
    bool ok;
    if (params.isEmpty()) {
        ok = q.exec(sql);
    } else {
        ok = q.prepare(sql);
        if (ok) {
            for (const QVariant &v : params)
                q.addBindValue(v);
            ok = q.exec();
        }
    }
    if (!ok)
        throw DbError::fromSql(q.lastError(), sql);
    return q;
}

bool Connection::isRetrySafe(const QString &sql)
{
    static const QRegularExpression lead(QStringLiteral("^(?:\\s+|/\\*.*?\\*/|--[^\\n]*\\n|\\()*"),
                                         QRegularExpression::DotMatchesEverythingOption);
    const QString text = sql.mid(lead.match(sql).capturedLength()).left(40).toUpper();
    static const QStringList safe = {QStringLiteral("SELECT"),
                                     QStringLiteral("SHOW"),
                                     QStringLiteral("SET"),
                                     QStringLiteral("DESCRIBE"),
                                     QStringLiteral("DESC"),
                                     QStringLiteral("EXPLAIN"),
                                     QStringLiteral("WITH"),
                                     QStringLiteral("USE"),
                                     QStringLiteral("TRUNCATE"),
                                     QStringLiteral("ROLLBACK"),
                                     QStringLiteral("DO"),
                                     QStringLiteral("KILL"),
                                     QStringLiteral("CREATE TEMPORARY"),
                                     QStringLiteral("DROP TEMPORARY")};
    for (const QString &word : safe)
        if (text.startsWith(word) &&
            (text.size() == word.size() || !text.at(word.size()).isLetterOrNumber()))
            return true;
    return false;
}

int Connection::rowsMatched(const QSqlQuery &query)
{
    return query.numRowsAffected();
}

QSqlQuery Connection::exec(const QString &sql, const QVariantList &params)
{
    if (!isOpen())
        open();
    for (;;) {
        try {
            return run(sql, params);
        } catch (const DbError &e) {
            settleFailure(e, sql);
        }
    }
}

void Connection::stream(const QString &sql, const QVariantList &params, RowSink &sink)
{
    if (!isOpen())
        open();
    for (;;) {
        try {
            NativeQuery::run(NativeQuery::handle(database()), sql, params, sink);
            return;
        } catch (const DbError &e) {
            settleFailure(e, sql);
        }
    }
}

void Connection::settleFailure(const DbError &e, const QString &sql)
{
    if (!e.isConnectionLost())
        throw;
    if (m_inTransaction) {
        // The statements before this one are gone with the session:
        // running this one alone again would commit half an operation.
        m_inTransaction = false;
        close();
        throw;
    }
    if (!isRetrySafe(sql)) {
        // The server may have applied it before the reply was lost;
        // sending it again could write it twice.
        close();
        static const QRegularExpression words(
            QStringLiteral("^\\W*(\\w+)(?:.*?\\b(?:INTO|FROM|UPDATE)\\s+`?(\\w+))?"),
            QRegularExpression::CaseInsensitiveOption |
                QRegularExpression::DotMatchesEverythingOption);
        const auto m = words.match(sql);
        QString what = m.captured(1).toUpper();
        if (m.captured(1).compare(QLatin1String("UPDATE"), Qt::CaseInsensitive) == 0) {
            static const QRegularExpression table(QStringLiteral("^\\W*UPDATE\\s+`?(\\w+)"),
                                                  QRegularExpression::CaseInsensitiveOption);
            what += QStringLiteral(" em ") + table.match(sql).captured(1);
        } else if (!m.captured(2).isEmpty()) {
            what += QStringLiteral(" em ") + m.captured(2);
        }
        throw DbError(QStringLiteral("A conexão com o servidor foi perdida durante a "
                                     "gravação (%1) e não se sabe se ela foi concluída. "
                                     "Confira os dados antes de repetir.")
                          .arg(what),
                      e.nativeCode(), sql)
            .withOutcome(DbError::Outcome::Unknown);
    }
    const LossAction action = connectionLostHandler ? connectionLostHandler(e) : LossAction::Raise;
    if (action == LossAction::Raise) {
        close();
        throw;
    }
    const QSet<QString> lostCopies = m_private;
    reconnect();
    if (namesAny(sql, lostCopies))
        throw DbError(privateCopyLostMessage(), e.nativeCode(), sql);
}

QString Connection::privateCopyLostMessage()
{
    return QStringLiteral("A conexão com o servidor foi refeita e os dados gerados nesta estação "
                          "se perderam. Clique em \"Gerar\" novamente.");
}

bool Connection::namesAny(const QString &sql, const QSet<QString> &tables)
{
    for (const QString &t : tables) {
        const QRegularExpression word(
            QStringLiteral("(?<![\\w$])`?%1`?(?![\\w$])").arg(QRegularExpression::escape(t)),
            QRegularExpression::CaseInsensitiveOption);
        if (word.match(sql).hasMatch())
            return true;
    }
    return false;
}

QSqlQuery Connection::execNamed(const QString &sql, const QVariantMap &params)
{
    const ParsedSql parsed = ParsedSql::parse(sql);
    if (parsed.names.isEmpty())
        return exec(sql);
    QHash<QString, QVariant> lower;
    for (auto it = params.begin(); it != params.end(); ++it)
        lower.insert(it.key().toLower(), it.value());
    QVariantList values;
    for (const QString &name : parsed.names) {
        if (!lower.contains(name.toLower()))
            throw DbError(QStringLiteral("Parâmetro '%1' não encontrado").arg(name), {}, sql);
        values << lower.value(name.toLower());
    }
    return exec(parsed.sql, values);
}

QVariant Connection::scalar(const QString &sql, const QVariantList &params)
{
    QSqlQuery q = exec(sql, params);
    return q.next() ? q.value(0) : QVariant();
}

void Connection::begin()
{
    if (!isOpen())
        open();
    // A connection found dead here is simply reopened: nothing is lost yet.
    try {
        run(QStringLiteral("START TRANSACTION"), {});
    } catch (const DbError &e) {
        if (!e.isConnectionLost())
            throw;
        const LossAction action =
            connectionLostHandler ? connectionLostHandler(e) : LossAction::Raise;
        if (action == LossAction::Raise) {
            close();
            throw;
        }
        reconnect();
        run(QStringLiteral("START TRANSACTION"), {});
    }
    m_inTransaction = true;
}

bool Connection::isConcurrencyConflict(const DbError &e)
{
    // 1213: deadlock, which is also how a cluster reports a certification
    // failure (another node committed a change to the same rows first).
    return e.nativeCode() == QLatin1String("1213");
}

DbError Connection::tooManyConflicts(const DbError &e, const QString &name)
{
    if (!isConcurrencyConflict(e))
        return e;
    return DbError(QStringLiteral("Outra estação alterou os mesmos dados ao mesmo tempo e %1 não "
                                  "foi gravada. Nada foi gravado; pode repetir.")
                       .arg(name.isEmpty() ? QStringLiteral("a gravação") : name),
                   e.nativeCode(), e.statement());
}

QString Connection::beginOperation()
{
    begin();
    return QUuid::createUuid().toString(QUuid::WithoutBraces);
}

void Connection::recordOperation(const QString &id, const QString &name)
{
    exec(QStringLiteral("INSERT INTO %1 (id, nome, momento) VALUES (?, ?, NOW())")
             .arg(operationTable()),
         {id, name.left(60)});
}

void Connection::commitOperation(const QString &id, const QString &name)
{
    const qint64 session = m_sessionId;
    const int host = m_hostIndex;
    try {
        run(QStringLiteral("COMMIT"), {});
        m_inTransaction = false;
        return;
    } catch (const DbError &e) {
        m_inTransaction = false;
        if (!e.isConnectionLost())
            throw;
        close();
        const QString what = name.isEmpty() ? QStringLiteral("a gravação") : name;
        bool done = false;
        try {
            done = settleLostCommit(id, session, host);
        } catch (const DbError &) {
            throw DbError(QStringLiteral("A conexão com o servidor caiu ao confirmar %1 e não foi "
                                         "possível saber se ela foi concluída. Confira os dados "
                                         "antes de repetir.")
                              .arg(what),
                          e.nativeCode(), QStringLiteral("COMMIT"))
                .withOutcome(DbError::Outcome::Unknown);
        }
        if (done)
            return;
        throw DbError(QStringLiteral("A conexão com o servidor caiu e %1 não foi gravada. Nada foi "
                                     "gravado; pode repetir.")
                          .arg(what),
                      e.nativeCode(), QStringLiteral("COMMIT"));
    }
}

bool Connection::settleLostCommit(const QString &id, qint64 lostSession, int lostHost)
{
    // A new session; a few attempts, each bounded by the connect timeout.
    for (int attempt = 0;; ++attempt) {
        try {
            open();
            break;
        } catch (const DbError &) {
            if (attempt >= 2)
                throw;
            QThread::msleep(500);
        }
    }
    // The old session may still be working on the COMMIT (a stalled reply):
    // only once it is gone is the answer final.
    // Session ids are per server: another node's session of the same number
    // is somebody else's. On a cluster the id is looked up with causal reads,
    // which wait for what the other nodes had committed.
    if (lostSession > 0 && lostSession != m_sessionId && lostHost == m_hostIndex) {
        try {
            run(QStringLiteral("KILL CONNECTION %1").arg(lostSession), {});
        } catch (const DbError &) {
            // already gone (unknown thread id)
        }
        QDeadlineTimer deadline(qint64(qMax(5, m_settings.readTimeoutSeconds)) * 1000);
        for (;;) {
            QSqlQuery q = run(QStringLiteral("SELECT COUNT(*) FROM information_schema.PROCESSLIST "
                                             "WHERE ID = %1")
                                  .arg(lostSession),
                              {});
            if (!q.next() || q.value(0).toLongLong() == 0)
                break;
            if (deadline.hasExpired())
                throw DbError(QStringLiteral("A sessão anterior não terminou."));
            QThread::msleep(50);
        }
    }
    QSqlQuery q =
        run(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE id = ?").arg(operationTable()), {id});
    return q.next() && q.value(0).toLongLong() > 0;
}

void Connection::commit()
{
    try {
        run(QStringLiteral("COMMIT"), {});
    } catch (...) {
        m_inTransaction = false;
        throw;
    }
    m_inTransaction = false;
}

void Connection::rollback()
{
    m_inTransaction = false;
    run(QStringLiteral("ROLLBACK"), {});
}

void Connection::rollbackQuietly()
{
    try {
        if (m_inTransaction && isOpen())
            rollback();
    } catch (...) {
    }
    m_inTransaction = false;
}

const QList<Connection::ColumnInfo> &Connection::tableColumns(const QString &table)
{
    const QString key = table.toLower();
    auto it = m_columns.find(key);
    if (it != m_columns.end())
        return it.value();
    QList<ColumnInfo> cols;
    QSqlQuery q = exec(QStringLiteral("SELECT COLUMN_NAME, DATA_TYPE, CHARACTER_MAXIMUM_LENGTH, "
                                      "EXTRA, COLUMN_KEY FROM information_schema.COLUMNS "
                                      "WHERE TABLE_SCHEMA = DATABASE() AND TABLE_NAME = ? "
                                      "ORDER BY ORDINAL_POSITION"),
                       {key});
    while (q.next()) {
        ColumnInfo c;
        c.name = q.value(0).toString();
        c.dataType = q.value(1).toString().toLower();
        const qint64 len = q.value(2).isNull() ? -1 : q.value(2).toLongLong();
        c.charLength = (len < 0 || len > 1000000) ? -1 : int(len); // long texts are not cut
        c.autoIncrement =
            q.value(3).toString().contains(QStringLiteral("auto_increment"), Qt::CaseInsensitive);
        c.primaryKey = q.value(4).toString() == QStringLiteral("PRI");
        cols << c;
    }
    return m_columns.insert(key, cols).value();
}

qint64 Connection::connectionId()
{
    return scalar(QStringLiteral("SELECT CONNECTION_ID()")).toLongLong();
}
