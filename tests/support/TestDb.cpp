#include "TestDb.h"

#include "schema/Schema.h"

#include <QCoreApplication>
#include <QFile>
#include <QSqlError>
#include <QSqlQuery>

#include <csignal>
#include <sys/types.h>

namespace {
int g_counter = 0;
}

ConnectionSettings TestDb::serverSettings(const QString &database)
{
    ConnectionSettings s;
    s.host = qEnvironmentVariable("CP_TEST_HOST", QStringLiteral("127.0.0.1"));
    s.port = qEnvironmentVariableIntValue("CP_TEST_PORT");
    if (s.port == 0)
        s.port = 33062;
    s.user = QStringLiteral("root");
    s.password = QStringLiteral("kqz7314");
    s.database = database;
    s.connectTimeoutSeconds = 10;
    return s;
}

QString TestDb::sourceDir()
{
    return qEnvironmentVariable("CP_SOURCE_DIR", QStringLiteral(CP_SOURCE_DIR));
}

QString TestDb::binaryDir()
{
    return qEnvironmentVariable("CP_BINARY_DIR", QStringLiteral(CP_BINARY_DIR));
}

TestDb::TestDb()
{
    m_name = QStringLiteral("cpt_%1_%2").arg(QCoreApplication::applicationPid()).arg(++g_counter);
    try {
        {
            Connection admin(QStringLiteral("testdb_admin_%1").arg(m_name));
            admin.setSettings(serverSettings());
            admin.open();
            admin.exec(QStringLiteral("DROP DATABASE IF EXISTS `%1`").arg(m_name));
            admin.exec(QStringLiteral("CREATE DATABASE `%1` CHARACTER SET utf8mb4 COLLATE "
                                      "utf8mb4_unicode_ci")
                           .arg(m_name));
        }
        m_conn = std::make_unique<Connection>(QStringLiteral("testdb_%1").arg(m_name));
        m_conn->setSettings(serverSettings(m_name));
        m_conn->open();
        Schema::create(*m_conn);
    } catch (const DbError &e) {
        m_error = QStringLiteral("banco de teste: ") + e.message();
        stopIfServerDied();
    }
}

void TestDb::stopIfServerDied()
{
    // A test server that crashed must end the run at once, with its own
    // account of why, rather than let every later test wait and fail.
    const QString dir =
        qEnvironmentVariable("CP_TEST_DB_DIR", binaryDir() + QStringLiteral("/var/testdb"));
    QFile pidFile(dir + QStringLiteral("/mariadb.pid"));
    if (!pidFile.open(QIODevice::ReadOnly))
        return; // not the fixture's server (CP_TEST_HOST elsewhere)
    const qint64 pid = pidFile.readAll().trimmed().toLongLong();
    // A killed server may linger as a zombie, which kill(pid, 0) still finds.
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    const bool zombie = stat.open(QIODevice::ReadOnly) && stat.readAll().contains(") Z ");
    if (pid > 0 && ::kill(pid_t(pid), 0) == 0 && !zombie)
        return;
    QFile log(dir + QStringLiteral("/error.log"));
    QByteArray tail;
    if (log.open(QIODevice::ReadOnly)) {
        const QList<QByteArray> lines = log.readAll().split('\n');
        for (qsizetype i = qMax<qsizetype>(0, lines.size() - 40); i < lines.size(); ++i)
            tail += lines[i] + '\n';
    }
    qFatal("O servidor de teste (pid %lld) terminou. Últimas linhas de %s/error.log:\n%s", pid,
           qPrintable(dir), tail.constData());
}

TestDb::~TestDb()
{
    if (!m_sqlName.isEmpty())
        QSqlDatabase::removeDatabase(m_sqlName);
    try {
        if (m_conn && m_conn->isOpen())
            m_conn->exec(QStringLiteral("DROP DATABASE IF EXISTS `%1`").arg(m_name));
    } catch (...) {
    }
    m_conn.reset();
}

QSqlDatabase TestDb::sql()
{
    if (m_sqlName.isEmpty()) {
        m_sqlName = QStringLiteral("testdb_plain_%1").arg(m_name);
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QMYSQL"), m_sqlName);
        const ConnectionSettings s = serverSettings(m_name);
        db.setHostName(s.host);
        db.setPort(s.port);
        db.setUserName(s.user);
        db.setPassword(s.password);
        db.setDatabaseName(m_name);
        if (!db.open())
            qWarning("TestDb::sql: %s", qPrintable(db.lastError().text()));
    }
    return QSqlDatabase::database(m_sqlName);
}

bool TestDb::loadSqlFile(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        m_error = QStringLiteral("arquivo não encontrado: ") + path;
        return false;
    }
    try {
        Schema::runScript(*m_conn, QString::fromUtf8(f.readAll()));
    } catch (const DbError &e) {
        m_error = e.message();
        return false;
    }
    return true;
}

void TestDb::exec(const QString &statement)
{
    QSqlQuery q(sql());
    if (!q.exec(statement))
        qFatal("%s: %s", qPrintable(statement), qPrintable(q.lastError().text()));
}

QVariant TestDb::scalar(const QString &statement)
{
    QSqlQuery q(sql());
    return (q.exec(statement) && q.next()) ? q.value(0) : QVariant();
}

int TestDb::count(const QString &table)
{
    return scalar(QStringLiteral("select count(*) from ") + table).toInt();
}
