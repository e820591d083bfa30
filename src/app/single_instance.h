#pragma once

#include <QObject>
#include <QString>

class QLocalServer;

// Only one copy of the program may own the book. The first instance listens on
// a per-user local socket; a second start finds it there, asks it to come to
// the front and ends before it reads the settings or the book. The second
// start hands over the activation token the desktop gave it (Wayland lets a
// window come forward only with one).
class SingleInstance : public QObject
{
    Q_OBJECT

public:
    explicit SingleInstance(QString serverName, QObject* parent = nullptr);
    ~SingleInstance() override;

    // True when another instance answered and was asked to activate itself.
    bool activateRunningInstance(const QString& activationToken = {});
    // Starts listening; false when the name could not be taken.
    bool listen();

    static QString defaultServerName();

Q_SIGNALS:
    // activationToken: the second start's, empty when it had none.
    void activationRequested(const QString& activationToken);

private:
    void onNewConnection();

    QString m_serverName;
    QLocalServer* m_server = nullptr;
};
