#pragma once
// One running instance per user and program title: a later start finds the
// running one through a local socket, asks it to come forward and ends.

#include <QObject>
#include <QString>

class QLocalServer;

class SingleInstance : public QObject
{
    Q_OBJECT
public:
    explicit SingleInstance(const QString &title, QObject *parent = nullptr);
    ~SingleInstance() override;

    // True when another instance is running (it has been asked to come forward).
    bool anotherIsRunning();
    // Starts answering later starts; false if the name could not be taken.
    bool listen();
    QString serverName() const { return m_name; }

signals:
    void activationRequested();

private:
    QString m_name;
    QLocalServer *m_server = nullptr;
};
