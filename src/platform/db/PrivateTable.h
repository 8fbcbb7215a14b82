#pragma once
// A work or staging table that belongs to the workstation that fills it.
//
// The summaries and the statement import fill tables of fixed names
// (`resumo`, `pagarmes`, `importacaobanco`, ...) that every workstation
// shares. claim() creates, on this connection, a temporary table of the same
// name and columns: from then on every statement of this session that names
// the table reads and writes the private copy, and another workstation's fill
// changes nothing here. The copy lives as long as the server session; after a
// reconnect it is gone and the same name would reach the shared table again,
// so:
//   - valid() tells whether the copy of the last claim() still exists;
//   - require() raises Connection::privateCopyLostMessage() when it does not
//     (screens call it before they show, print or chart);
//   - the connection refuses to run again, after a reconnect, a read that
//     names a claimed table (it would silently read the shared one).

#include "db/Connection.h"

#include <QString>

class PrivateTable
{
public:
    PrivateTable(Connection *connection, const QString &table);

    // Makes this session's own, empty copy of the table (columns and keys as
    // the shared one). Any earlier copy of this session is emptied.
    void claim();
    bool valid() const;
    void require() const;
    QString name() const { return m_table; }

private:
    Connection *m_conn;
    QString m_table;
    qint64 m_session = 0;
};
