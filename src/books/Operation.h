#pragma once
// The one way an operation that writes several rows reaches the database: a
// settlement, a generation of instalments, a transfer, an import. The work
// runs inside one transaction on the given connection, committed when it
// returns and rolled back when it throws (the DbError goes on to the
// caller), so a failure leaves nothing of the operation written.
//
// Every book runs its operations through runOperation, so what all of them
// must do alike (for instance marking the transaction with the operation's
// name and an id, so that after a lost reply to the commit the program can
// find out whether it took place) is done here, in one place.
//
// name says what the operation is, as the messages after a lost connection
// put it ("A conexão com o servidor caiu e a baixa não foi gravada."): a
// Portuguese phrase with its article, "a baixa", "a geração das parcelas".

#include <QString>

#include <functional>

class Connection;

void runOperation(Connection &db, const QString &name, const std::function<void()> &work);
