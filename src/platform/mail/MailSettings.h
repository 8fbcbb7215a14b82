#pragma once
// Where and how a message is handed to the mail server: the account's server,
// port and kind of security, the login, how long to wait for the server and
// how its certificate is checked.
//
// The password only travels to the server (inside the TLS session unless
// security is None); nothing in the mail layer prints or logs it, and this
// value deliberately has no debug output.

#include <QString>

struct MailSettings
{
    enum class Security {
        None,       // plain SMTP, no encryption at all
        StartTls,   // plain connection upgraded with STARTTLS; refused if the server cannot
        ImplicitTls // TLS from the first byte ("smtps", usually port 465)
    };

    QString host;
    int port = 465;
    Security security = Security::ImplicitTls;
    QString user; // empty: no authentication
    QString password;
    // How long to wait for the connection and for each reply of the server.
    int timeoutSeconds = 30;
    bool verifyCertificate = true;
    QString caFile; // trusted certificates instead of the system's (tests)
};
