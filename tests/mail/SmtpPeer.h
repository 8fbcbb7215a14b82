#pragma once
// The test's own SMTP server: tests/mail/smtp_peer.py run by Debian's Python
// (aiosmtpd), with a certificate for 127.0.0.1 made here by the openssl
// tool. It saves every message it accepts, already read by Python's email
// package, so the tests check what a mail reader would see.

#include "TestDb.h"
#include "mail/MailSettings.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

class SmtpPeer
{
public:
    static inline const QString User = QStringLiteral("relatorios");
    static inline const QString Password = QStringLiteral("s3nha-de-teste");

    SmtpPeer() { m_error = start(); }
    ~SmtpPeer()
    {
        m_server.closeWriteChannel(); // the peer ends when its input closes
        if (!m_server.waitForFinished(5000))
            m_server.kill();
        m_server.waitForFinished(2000);
    }
    SmtpPeer(const SmtpPeer &) = delete;
    SmtpPeer &operator=(const SmtpPeer &) = delete;

    bool ok() const { return m_error.isEmpty(); }
    QString error() const { return m_error; }
    int port(const QString &kind) const { return m_ports.value(kind); }
    QString certificate() const { return path("cert.pem"); }

    // Settings that reach the given server and log in as the known user.
    MailSettings settings(const QString &kind) const
    {
        MailSettings s;
        s.host = "127.0.0.1";
        s.port = port(kind);
        s.security = kind == "tls"        ? MailSettings::Security::ImplicitTls
                     : kind == "starttls" ? MailSettings::Security::StartTls
                                          : MailSettings::Security::None;
        if (kind != "plain") {
            s.user = User;
            s.password = Password;
        }
        s.timeoutSeconds = 5;
        s.caFile = certificate();
        return s;
    }

    // Forgets what earlier tests left.
    void clear()
    {
        QDir out(outDir());
        for (const QString &name : out.entryList(QDir::Files))
            out.remove(name);
    }
    // The accepted messages as the peer read them, in arrival order.
    QList<QJsonObject> messages() const
    {
        QList<QJsonObject> list;
        const QDir out(outDir());
        for (const QString &name : out.entryList({"*.json"}, QDir::Files, QDir::Name)) {
            QFile f(out.filePath(name));
            if (f.open(QIODevice::ReadOnly))
                list << QJsonDocument::fromJson(f.readAll()).object();
        }
        return list;
    }
    QByteArray raw(int index) const
    {
        QFile f(QDir(outDir()).filePath(QString("%1.eml").arg(index + 1, 3, 10, QChar('0'))));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    // "EHLO tls", "AUTH starttls LOGIN relatorios", "RCPT plain a@b.com"...
    QStringList events() const
    {
        QFile f(QDir(outDir()).filePath("events.log"));
        if (!f.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(f.readAll()).split('\n', Qt::SkipEmptyParts);
    }

private:
    // Makes the certificate and starts the peer; the reason when it fails.
    QString start()
    {
        if (!m_dir.isValid())
            return "no temporary folder";
        QDir(m_dir.path()).mkpath("out");
        QProcess openssl;
        openssl.start("openssl",
                      {"req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1",
                       "-nodes", "-keyout", path("key.pem"), "-out", certificate(), "-days", "2",
                       "-subj", "/CN=127.0.0.1", "-addext",
                       "subjectAltName=IP:127.0.0.1,DNS:localhost"});
        if (!openssl.waitForFinished(30000) || openssl.exitCode() != 0)
            return "openssl: " + QString::fromLocal8Bit(openssl.readAllStandardError());
        m_server.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_server.start("/usr/bin/python3",
                       {TestDb::sourceDir() + "/tests/mail/smtp_peer.py", "--dir", outDir(),
                        "--cert", certificate(), "--key", path("key.pem"), "--user", User,
                        "--password", Password});
        if (!m_server.waitForStarted(10000))
            return "python3 did not start";
        while (!m_server.canReadLine() && m_server.waitForReadyRead(15000)) {
        }
        const QJsonObject ports = QJsonDocument::fromJson(m_server.readLine()).object();
        for (const QString kind : {"plain", "starttls", "tls", "silent", "mute"})
            m_ports[kind] = ports.value(kind).toInt();
        if (m_ports.value("mute") == 0)
            return "the SMTP peer did not report its ports";
        return {};
    }
    QString path(const QString &name) const { return QDir(m_dir.path()).filePath(name); }
    QString outDir() const { return path("out"); }

    QTemporaryDir m_dir;
    QProcess m_server;
    QHash<QString, int> m_ports;
    QString m_error;
};
