#pragma once

#include <QObject>
#include <QString>

class QLocalServer;

// Only one copy of the program may own the book. The first instance listens on
// a per-user local socket; a second start finds it there, asks it to come to
// the front and ends before it reads the settings or the book.
class SingleInstance : public QObject
{
    Q_OBJECT

public:
    explicit SingleInstance(QString serverName, QObject* parent = nullptr);
    ~SingleInstance() override;

    // True when another instance answered and was asked to activate itself.
    bool activateRunningInstance();
    // Starts listening; false when the name could not be taken.
    bool listen();

    static QString defaultServerName();

Q_SIGNALS:
    void activationRequested();

private:
    void onNewConnection();

    QString m_serverName;
    QLocalServer* m_server = nullptr;
};
