#pragma once
// A fresh database per test case on the private test server that the CTest
// fixture starts (address in CP_TEST_PORT / CP_TEST_HOST), made from the
// program's own schema script and dropped afterwards.

#include "db/Connection.h"

#include <QSqlDatabase>
#include <QString>

#include <memory>

class TestDb
{
public:
    TestDb();
    ~TestDb();
    TestDb(const TestDb &) = delete;
    TestDb &operator=(const TestDb &) = delete;

    bool ok() const { return m_error.isEmpty(); }
    QString error() const { return m_error; }
    // The program's kind of connection, open on the fresh database.
    Connection &connection() { return *m_conn; }
    // A plain handle on the same database for checks made by the test.
    QSqlDatabase sql();
    QString databaseName() const { return m_name; }
    bool loadSqlFile(const QString &path);
    // The test's own statements on sql(): exec stops the test run when the
    // fixture's SQL is wrong; scalar gives the first column of the first row.
    void exec(const QString &statement);
    QVariant scalar(const QString &statement);
    int count(const QString &table);

    static ConnectionSettings serverSettings(const QString &database = {});
    static QString sourceDir();
    static QString binaryDir();

private:
    static void stopIfServerDied();
    QString m_name;
    QString m_error;
    QString m_sqlName;
    std::unique_ptr<Connection> m_conn;
};

// Fails the current test when the database could not be made.
#define REQUIRE_DB(db) QVERIFY2((db).ok(), qPrintable((db).error()))
