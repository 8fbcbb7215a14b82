#pragma once
// The stand-in of the public services (loopback_services.py beside this
// file) as a real process on loopback for the duration of a test class; a
// port where nothing listens, for the "service is down" cases; and a
// listener whose queue is full, so a connection to it is never completed.

#include <QProcess>
#include <QString>
#include <QTcpServer>
#include <QTcpSocket>

#include <memory>
#include <vector>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

class LoopbackServices
{
public:
    ~LoopbackServices()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(5000);
        }
    }

    // Starts the script with Debian's interpreter (the python3 on PATH may be
    // a build without the standard modules) and reads the port it printed.
    bool start(const QString &script, QString *error)
    {
        m_process.setProcessChannelMode(QProcess::SeparateChannels);
        m_process.start(QStringLiteral("/usr/bin/python3"), {script});
        if (!m_process.waitForStarted(5000)) {
            *error = m_process.errorString();
            return false;
        }
        while (!m_process.canReadLine() && m_process.waitForReadyRead(10000)) {
        }
        m_port = m_process.readLine().trimmed().toInt();
        if (m_port <= 0)
            *error = QString::fromLocal8Bit(m_process.readAllStandardError());
        return m_port > 0;
    }

    int port() const { return m_port; }
    QString base() const { return QStringLiteral("http://127.0.0.1:%1").arg(m_port); }

    // A loopback port that refuses connections: bound once, then released.
    static int closedPort()
    {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost, 0);
        const int port = probe.serverPort();
        probe.close();
        return port;
    }

private:
    QProcess m_process;
    int m_port = 0;
};

// A socket that listens with a queue of one and never accepts: once two
// connections fill the queue, the kernel drops every further SYN, the way a
// saturated or firewalled server leaves a client waiting to connect.
class StalledListener
{
public:
    ~StalledListener()
    {
        m_fillers.clear();
        if (m_fd >= 0)
            ::close(m_fd);
    }

    bool start()
    {
        m_fd = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof address;
        if (m_fd < 0 || ::bind(m_fd, reinterpret_cast<sockaddr *>(&address), size) != 0 ||
            ::listen(m_fd, 0) != 0 ||
            ::getsockname(m_fd, reinterpret_cast<sockaddr *>(&address), &size) != 0)
            return false;
        m_port = ntohs(address.sin_port);
        for (int i = 0; i < 2; ++i) {
            m_fillers.push_back(std::make_unique<QTcpSocket>());
            m_fillers.back()->connectToHost(QHostAddress::LocalHost, quint16(m_port));
            m_fillers.back()->waitForConnected(1000);
        }
        return true;
    }
    int port() const { return m_port; }

private:
    int m_fd = -1;
    int m_port = 0;
    std::vector<std::unique_ptr<QTcpSocket>> m_fillers;
};
