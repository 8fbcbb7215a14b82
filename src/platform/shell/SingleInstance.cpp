#include "shell/SingleInstance.h"

#include <QCryptographicHash>
#include <QLocalServer>
#include <QLocalSocket>

#include <unistd.h>

SingleInstance::SingleInstance(const QString &title, QObject *parent) : QObject(parent)
{
    const QByteArray hash =
        QCryptographicHash::hash(title.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    m_name = QStringLiteral("contas-pagar-%1-%2").arg(QString::fromLatin1(hash)).arg(getuid());
}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::anotherIsRunning()
{
    QLocalSocket socket;
    socket.connectToServer(m_name);
    if (!socket.waitForConnected(500))
        return false;
    socket.write("ativar\n");
    socket.flush();
    socket.waitForBytesWritten(500);
    socket.waitForReadyRead(500); // the running one answers when it has seen us
    socket.disconnectFromServer();
    return true;
}

bool SingleInstance::listen()
{
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(m_name)) {
        // A socket left behind by an instance that crashed.
        QLocalServer::removeServer(m_name);
        if (!m_server->listen(m_name))
            return false;
    }
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *s = m_server->nextPendingConnection()) {
            connect(s, &QLocalSocket::readyRead, this, [this, s] {
                if (s->readAll().contains("ativar")) {
                    s->write("ok\n");
                    s->flush();
                    emit activationRequested();
                }
            });
            connect(s, &QLocalSocket::disconnected, s, &QObject::deleteLater);
        }
    });
    return true;
}
