#pragma once
// The one database connection of the program and the error type every data
// operation raises. A statement runs through exec(): when the server is found
// gone, the loss handler decides between raising the error and reconnecting
// and running the same statement again.

#include <QHash>
#include <QObject>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <stdexcept>

class DbError : public std::runtime_error
{
public:
    explicit DbError(const QString &message, const QString &nativeCode = {},
                     const QString &statement = {});
    static DbError fromSql(const QSqlError &error, const QString &statement = {});

    QString message() const { return m_message; }
    QString nativeCode() const { return m_code; }
    QString statement() const { return m_statement; }
    // True for the client errors that mean the server connection is gone.
    bool isConnectionLost() const;

private:
    QString m_message;
    QString m_code;
    QString m_statement;
};

struct ConnectionSettings
{
    QString host;
    int port = 0; // 0: the client library's default port
    QString database;
    QString user;
    QString password;
    int connectTimeoutSeconds = 120;
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
    QString serverName() const { return m_settings.host; }

    void open(); // throws DbError
    void close();
    bool isOpen() const;
    QSqlDatabase database() const;

    // Runs one statement. Positional "?" values come from params; a SELECT
    // can then be read from the returned query. Without params the text
    // protocol is used (every statement kind works there).
    QSqlQuery exec(const QString &sql, const QVariantList &params = {});
    // Named ":Name" placeholders bound from the map (names are matched
    // without regard to case).
    QSqlQuery execNamed(const QString &sql, const QVariantMap &params);
    QVariant scalar(const QString &sql, const QVariantList &params = {});

    void begin();
    void commit();
    void rollback();
    bool inTransaction() const { return m_inTransaction; }
    // Runs f inside a transaction: committed when f returns, rolled back when
    // it throws (the exception goes on).
    template <class F> void transaction(F &&f)
    {
        begin();
        try {
            f();
        } catch (...) {
            rollbackQuietly();
            throw;
        }
        commit();
    }

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

    // Decides what happens when a statement finds the connection lost.
    // Without a handler the error is raised.
    std::function<LossAction(const DbError &)> connectionLostHandler;

signals:
    void reconnected();

private:
    QSqlQuery run(const QString &sql, const QVariantList &params);
    void rollbackQuietly();
    void reconnect();

    QString m_name;
    ConnectionSettings m_settings;
    bool m_inTransaction = false;
    QHash<QString, QList<ColumnInfo>> m_columns;
};
