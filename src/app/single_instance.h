#pragma once

#include "app/instance_lock.h"

#include <QObject>
#include <QString>

class QLocalServer;

// Only one copy of the program may own the book. The copy that holds a lock
// on a file beside a per-user local socket listens on the socket; a second start
// finds the lock taken, asks the holder through the socket to come to the
// front and ends before it reads the settings or the book. Two starts at the
// same moment cannot both take the lock, and a lock whose process has died is
// taken over. The second start hands over the activation token the desktop
// gave it (Wayland lets a window come forward only with one).
class SingleInstance : public QObject
{
    Q_OBJECT

public:
    explicit SingleInstance(QString serverName, QObject* parent = nullptr);
    ~SingleInstance() override;

    // Takes the lock at once when nobody holds it, or a dead process did.
    bool tryLock();
    enum class Start
    {
        Holder,     // the holder went away: this copy holds the lock now
        HandedOver, // the holder was asked to come to the front
        NoAnswer,   // the holder neither listened nor ended in time
    };
    // For a copy that did not get the lock: waits for the holder to listen
    // and asks it to activate itself.
    Start handOver(const QString& activationToken = {});

    // True when another instance answered and was asked to activate itself.
    bool activateRunningInstance(const QString& activationToken = {});
    // Starts listening, taking over a socket file left behind; for the
    // lock's holder. False when the name could not be taken.
    bool listen();
    // Stops listening and gives the lock up; a start from then on holds it.
    void release();

    static QString defaultServerName();

Q_SIGNALS:
    // activationToken: the second start's, empty when it had none.
    void activationRequested(const QString& activationToken);

private:
    void onNewConnection();

    QString m_serverName;
    InstanceLock m_lock;
    QLocalServer* m_server = nullptr;
};
