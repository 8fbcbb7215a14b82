#pragma once
// A TCP proxy between the program and the test server that can make the
// network fail the way it does in an office: it relays the client/server
// protocol unchanged until told to
//   - lose the server's reply to the next statement that starts with a given
//     text (the server runs it, the client never hears back: the connection
//     is cut right after the reply arrived at the proxy),
//   - lose the next such statement itself (cut before it reaches the server),
//   - stall: hold every byte in both directions until resume(),
//   - cut every connection at once.
// It understands just enough of the MySQL protocol to find statements: text
// queries (COM_QUERY) and prepared statements (COM_STMT_PREPARE, whose reply
// is lost at the following COM_STMT_EXECUTE of that statement).

#include <QByteArray>
#include <QString>

#include <atomic>
#include <memory>

class FaultProxy
{
public:
    // Relays 127.0.0.1:port() to 127.0.0.1:serverPort.
    explicit FaultProxy(int serverPort);
    ~FaultProxy();
    FaultProxy(const FaultProxy &) = delete;
    FaultProxy &operator=(const FaultProxy &) = delete;

    bool ok() const;
    int port() const;

    // One-shot: the reply to the next statement starting with prefix (case
    // ignored, leading blanks skipped) is lost and that connection cut.
    void loseReplyTo(const QByteArray &prefix);
    // One-shot: the next statement starting with prefix never reaches the
    // server; the connection is cut.
    void loseRequest(const QByteArray &prefix);
    // One-shot: the next statement starting with prefix reaches the server,
    // and from then on everything stalls (its answer included) until resume().
    void stallAfter(const QByteArray &prefix);
    // One-shot: the next statement starting with prefix is kept back (and
    // the connection with it) until resume(), then sent on: two workstations
    // "at the same moment", made deterministic.
    void hold(const QByteArray &prefix);
    void stall();
    void resume();
    void cutAll();
    // How many times an armed fault has fired.
    int faultsFired() const;

    struct Impl;

private:
    std::unique_ptr<Impl> d;
};
