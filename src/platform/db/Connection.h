#pragma once
// The one database connection of the program and the error type every data
// operation raises. A statement runs through exec() (or stream(), for the
// rows of a list): when the server is found gone, the loss handler decides
// between raising the error and reconnecting and running the same statement
// again.

#include "db/RowSink.h"

#include <QHash>
#include <QObject>
#include <QPair>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <stdexcept>
#include <utility>

class DbError : public std::runtime_error
{
public:
    explicit DbError(const QString &message, const QString &nativeCode = {},
                     const QString &statement = {});
    static DbError fromSql(const QSqlError &error, const QString &statement = {});

    // What is known of the data after the error. Most errors leave nothing
    // written (the statement or the whole transaction failed); after a lost
    // reply to a write it may be unknown whether the server applied it, and a
    // conflict means another workstation changed the row first.
    enum class Outcome { NotWritten, Unknown, Conflict };

    QString message() const { return m_message; }
    QString nativeCode() const { return m_code; }
    QString statement() const { return m_statement; }
    Outcome outcome() const { return m_outcome; }
    DbError &withOutcome(Outcome o)
    {
        m_outcome = o;
        return *this;
    }
    // True for the client errors that mean the server connection is gone.
    bool isConnectionLost() const;
    // True when the server may have applied the write: nobody may say that
    // nothing was written, and nobody may simply send it again.
    bool outcomeUnknown() const { return m_outcome == Outcome::Unknown; }
    bool isConflict() const { return m_outcome == Outcome::Conflict; }

private:
    QString m_message;
    QString m_code;
    QString m_statement;
    Outcome m_outcome = Outcome::NotWritten;
};

struct ConnectionSettings
{
    // One host, or several for a replicated cluster, separated by commas, each
    // with an optional ":port" ("srv-sp,srv-rj:3307,10.0.0.5"); without one a
    // host takes port below.
    QString host;
    int port = 0; // 0: the client library's default port
    QString database;
    QString user;
    QString password;
    // A stuck server or network must not hang the program: a connection
    // attempt, a reply and a send that take longer count as a lost connection.
    int connectTimeoutSeconds = 10;
    int readTimeoutSeconds = 60;
    int writeTimeoutSeconds = 60;
    QString unixSocket; // when set, host is ignored and the socket is used
};

// SQL text with ":Name" placeholders turned into positional "?" ones. Quoted
// strings, back-quoted names and comments are left alone, so a time literal
// like '10:30' or an assignment ":=" is never taken for a parameter.
struct ParsedSql
{
    QString sql;
    QStringList names; // one per "?", in order (a name may repeat)
    static ParsedSql parse(const QString &text);
};

class Connection : public QObject
{
    Q_OBJECT
public:
    enum class LossAction { Raise, Reconnect };

    explicit Connection(const QString &connectionName = QStringLiteral("MyConnection1"),
                        QObject *parent = nullptr);
    ~Connection() override;

    void setSettings(const ConnectionSettings &settings);
    const ConnectionSettings &settings() const { return m_settings; }
    // The host of the server the connection uses now (of the list, the one
    // that answered).
    QString serverName() const { return m_currentHost.isEmpty() ? m_settings.host : m_currentHost; }
    // The hosts of settings().host in order, each with its port (0: default).
    QList<QPair<QString, int>> hosts() const;

    // Opens the connection (throws DbError). With several hosts, the first
    // that answers and, when it is a cluster node, is ready (wsrep_ready ON);
    // after a lost connection the hosts after the lost one are tried first.
    // On a cluster node the session reads what other nodes committed before
    // (wsrep_sync_wait), so a row written elsewhere is seen at once.
    void open();
    void close();
    bool isOpen() const;
    QSqlDatabase database() const;

    // Runs one statement. Positional "?" values come from params; a SELECT
    // can then be read from the returned query. Without params the text
    // protocol is used (every statement kind works there).
    //
    // A lost connection goes to the loss handler. A statement that changes
    // nothing (SELECT, SHOW, SET, ...) or that gives the same result when run
    // twice (TRUNCATE, the temporary work tables) is run again after a
    // reconnect; any other write whose reply was lost may have been applied,
    // so it is never sent again: it raises an error whose outcome() is
    // Unknown. Writes that must survive a lost reply run in transaction().
    QSqlQuery exec(const QString &sql, const QVariantList &params = {});
    // Named ":Name" placeholders bound from the map (names are matched
    // without regard to case).
    QSqlQuery execNamed(const QString &sql, const QVariantMap &params);
    QVariant scalar(const QString &sql, const QVariantList &params = {});
    // Runs one statement that returns rows and hands them to sink as they
    // come off the network, through the client library on this same session
    // (same transaction, temporary tables and timeouts; see NativeQuery).
    // Parameters and the handling of a lost connection are those of exec():
    // a read lost part way is run again after reconnecting, and the sink then
    // starts over from columns(). The sink must not use this connection.
    void stream(const QString &sql, const QVariantList &params, RowSink &sink);

    void begin();
    void commit();
    void rollback();
    bool inTransaction() const { return m_inTransaction; }
    // Runs f as one identified operation: inside a transaction, committed
    // when f returns, rolled back when it throws (the exception goes on).
    // Inside an enclosing transaction f simply runs as part of it.
    //
    // The transaction also writes a unique operation id into the
    // operations table, so a COMMIT whose reply is lost is settled on the
    // server: after reconnecting, the session that sent it is ended for sure
    // and the id is looked up. Found: the operation was done and transaction()
    // returns normally. Not found: it raises a DbError saying the operation
    // was not written and may be repeated. When the server cannot be reached
    // to find out, the DbError's outcome() is Unknown and says so.
    template <class F> void transaction(F &&f) { transaction(QString(), std::forward<F>(f)); }
    template <class F> void transaction(const QString &operationName, F &&f)
    {
        if (m_inTransaction) {
            f();
            return;
        }
        // Another transaction that touched the same rows at the same moment
        // (a deadlock, or a cluster's certification failure at COMMIT) undoes
        // this one entirely: it is run again from the start, re-reading what
        // it works on, a few times.
        for (int attempt = 1;; ++attempt) {
            const QString id = beginOperation();
            try {
                f();
                recordOperation(id, operationName);
            } catch (const DbError &e) {
                rollbackQuietly();
                if (isConcurrencyConflict(e) && attempt < MaxConflictAttempts)
                    continue;
                throw tooManyConflicts(e, operationName);
            } catch (...) {
                rollbackQuietly();
                throw;
            }
            try {
                commitOperation(id, operationName);
                return;
            } catch (const DbError &e) {
                if (isConcurrencyConflict(e) && attempt < MaxConflictAttempts)
                    continue;
                throw tooManyConflicts(e, operationName);
            }
        }
    }
    static constexpr int MaxConflictAttempts = 4;
    static bool isConcurrencyConflict(const DbError &e);
    // The table of operation ids (created when missing at connect time).
    static QString operationTable() { return QStringLiteral("cp_operacao"); }
    // Rows matched (not only changed) by the last UPDATE of the query.
    static int rowsMatched(const QSqlQuery &query);

    struct ColumnInfo
    {
        QString name;
        QString dataType;
        int charLength = -1; // -1 for non-text columns
        bool autoIncrement = false;
        bool primaryKey = false;
    };
    // Columns of a base table of the current database, cached per run.
    const QList<ColumnInfo> &tableColumns(const QString &table);
    void forgetTableColumns() { m_columns.clear(); }

    qint64 connectionId();
    // The server's id of the current session (0 when closed); it changes
    // with every reconnect.
    qint64 sessionId() const { return isOpen() ? m_sessionId : 0; }
    // A table name that, in this session, means a temporary copy of this
    // workstation's (see PrivateTable). After a reconnect the copy is gone,
    // and a read naming it is not run again: it raises instead.
    void markPrivate(const QString &table) { m_private.insert(table.toLower()); }
    bool isPrivate(const QString &table) const { return m_private.contains(table.toLower()); }
    static QString privateCopyLostMessage();

    // Decides what happens when a statement finds the connection lost.
    // Without a handler the error is raised.
    std::function<LossAction(const DbError &)> connectionLostHandler;

    // Whether a statement may be sent again after a lost reply.
    static bool isRetrySafe(const QString &sql);

signals:
    void reconnected();

private:
    QSqlQuery run(const QString &sql, const QVariantList &params);
    // The loss policy of exec() and stream(), called from the handler of the
    // statement's DbError: raises (the error itself or what it means for the
    // data) unless the connection was made again and the statement may run
    // once more.
    void settleFailure(const DbError &e, const QString &sql);
    void rollbackQuietly();
    void reconnect();
    QString beginOperation();
    void recordOperation(const QString &id, const QString &name);
    void commitOperation(const QString &id, const QString &name);
    // After a lost COMMIT: true when the operation is on the server.
    bool settleLostCommit(const QString &id, qint64 lostSession, int lostHost);
    void ensureOperationTable();
    void openHost(const QString &host, int port);
    static DbError tooManyConflicts(const DbError &e, const QString &name);
    static bool namesAny(const QString &sql, const QSet<QString> &tables);

    QString m_name;
    ConnectionSettings m_settings;
    bool m_inTransaction = false;
    qint64 m_sessionId = 0; // the server's id of the current session
    bool m_operationsPruned = false;
    QString m_currentHost;
    int m_hostIndex = 0;      // of hosts(), the one in use
    bool m_afterLoss = false; // the next open starts after the lost host
    QSet<QString> m_private;  // tables shadowed by this session's temporary copies
    QHash<QString, QList<ColumnInfo>> m_columns;
};
