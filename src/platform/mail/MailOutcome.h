#pragma once
// What became of one send: sent means the server accepted the whole message
// (its reply to the end of the data was positive); anything else is a failure
// with the reason in Portuguese, ready to be shown to a clerk: the server's
// own reply when it refused something, the network's reason otherwise.
// retryable tells whether trying again later can help (a timeout, a lost
// connection, a temporary 4xx refusal) or not (a refused login, an unknown
// recipient, an untrusted certificate, a malformed message).

#include <QMetaType>
#include <QString>

struct MailOutcome
{
    bool sent = false;
    QString error;
    bool retryable = false;
    int serverCode = 0; // the server's reply code that ended the send, if any
    int attempts = 0;   // connections made; 0 when the message was refused before connecting
};

Q_DECLARE_METATYPE(MailOutcome)
