#pragma once
// The staging table `importacaobanco` of this workstation: where a bank
// statement waits, after it was read and before it is transferred to the
// ledger.
//
// The table's name is shared by every workstation, but what one stages is
// its own: the first reading makes, on this connection, a private copy of
// the table (see PrivateTable), and from then on this session's statements
// that name `importacaobanco` work on that copy. Another workstation's
// reading neither removes nor mixes into these lines, and the shared
// table's rows are never read here.
//
// stage() replaces the lines in one operation: the old lines go and the new
// ones are written, many rows per statement, or, when anything fails, the
// old lines stay as they were and nothing of the new is staged.
//
// The private copy ends with the server session. After a reconnect it is
// gone; valid() is then false and require() raises lostMessage(), so the
// screen says that the statement must be read again instead of reading (or
// transferring) what the shared table holds.

#include "ledger/StatementReader.h"
#include "ledger/TransferPlan.h"

#include "db/PrivateTable.h"

#include <QDateTime>
#include <QList>
#include <QSet>

#include <functional>

class Connection;

class StatementStaging
{
public:
    explicit StatementStaging(Connection *connection);

    static QString table() { return QStringLiteral("importacaobanco"); }
    static QString lostMessage();

    // Stages the lines with the user's name, the time of day of now and its
    // day as the import day. progress is told the lines staged so far.
    void stage(const QList<StatementLine> &lines, const QString &user, const QDateTime &now,
               const std::function<void(int staged)> &progress = {});

    bool valid() const { return m_table.valid(); }
    void require() const;

    // The staged lines in table order.
    QList<StagedLine> lines() const;
    // The ids of the staged lines whose date, amount and document (as the
    // ledger stores it) some movement of the ledger already has: one
    // look-up for the whole statement, over the movements of its days.
    QSet<int> foundInLedger() const;

private:
    Connection *m_conn;
    PrivateTable m_table;
};
