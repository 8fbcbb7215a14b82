#include "db/Connection.h"

#include <QSqlDriver>
#include <QSqlRecord>

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

void Connection::open()
{
    QSqlDatabase db = database();
    if (db.isOpen())
        db.close();
    db.setHostName(m_settings.unixSocket.isEmpty() ? m_settings.host : QStringLiteral("localhost"));
    db.setPort(m_settings.port > 0 ? m_settings.port : -1);
    db.setDatabaseName(m_settings.database);
    db.setUserName(m_settings.user);
    db.setPassword(m_settings.password);
    QStringList options;
    options << QStringLiteral("MYSQL_OPT_CONNECT_TIMEOUT=%1").arg(m_settings.connectTimeoutSeconds);
    if (!m_settings.unixSocket.isEmpty())
        options << QStringLiteral("UNIX_SOCKET=%1").arg(m_settings.unixSocket);
    db.setConnectOptions(options.join(QLatin1Char(';')));
    if (!db.open())
        throw DbError::fromSql(db.lastError());
    m_inTransaction = false;
    // The program's own dates and texts are exchanged in utf8mb4.
    QSqlQuery q(db);
    q.exec(QStringLiteral("SET NAMES utf8mb4"));
}

void Connection::close()
{
    QSqlDatabase db = database();
    if (db.isOpen())
        db.close();
    m_inTransaction = false;
}

void Connection::reconnect()
{
    close();
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

QSqlQuery Connection::exec(const QString &sql, const QVariantList &params)
{
    if (!isOpen())
        open();
    for (;;) {
        try {
            return run(sql, params);
        } catch (const DbError &e) {
            if (!e.isConnectionLost())
                throw;
            if (m_inTransaction) {
                // The statements before this one are gone with the session:
                // running this one alone again would commit half an operation.
                m_inTransaction = false;
                close();
                throw;
            }
            const LossAction action =
                connectionLostHandler ? connectionLostHandler(e) : LossAction::Raise;
            if (action == LossAction::Raise) {
                close();
                throw;
            }
            reconnect();
        }
    }
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
