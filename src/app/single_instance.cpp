#include "app/single_instance.h"

#include "core/app_info.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>

namespace {

constexpr int kConnectTimeoutMs = 1000;
// A holder that has just taken the lock listens within moments; a slow disk
// or a loaded machine may take seconds.
constexpr int kHandOverTimeoutMs = 20000;
constexpr int kRetryMs = 20;

// Where QLocalServer puts a socket of that name.
QString lockPath(const QString& serverName)
{
    const QString socket =
        QDir::isAbsolutePath(serverName) ? serverName : QDir(QDir::tempPath()).filePath(serverName);
    return socket + QStringLiteral(".lock");
}
// One line: the word, then a tab and the activation token when there is one.
const QByteArray kActivateWord = QByteArrayLiteral("activate");

} // namespace

SingleInstance::SingleInstance(QString serverName, QObject* parent)
    : QObject(parent), m_serverName(std::move(serverName)), m_lock(lockPath(m_serverName))
{}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::defaultServerName()
{
    // One name per user and title: two users on one machine each run their own copy.
    const QByteArray user = QDir::homePath().toUtf8();
    const QByteArray hash =
        QCryptographicHash::hash(user, QCryptographicHash::Sha1).toHex().left(12);
    return AppInfo::title().remove(QLatin1Char(' ')).toLower() + QLatin1Char('-') +
           QString::fromLatin1(hash);
}

bool SingleInstance::tryLock()
{
    return m_lock.tryLock();
}

SingleInstance::Start SingleInstance::handOver(const QString& activationToken)
{
    const QDeadlineTimer deadline(kHandOverTimeoutMs);
    while (!deadline.hasExpired()) {
        if (activateRunningInstance(activationToken))
            return Start::HandedOver;
        if (tryLock())
            return Start::Holder;
        QThread::msleep(kRetryMs);
    }
    return Start::NoAnswer;
}

bool SingleInstance::activateRunningInstance(const QString& activationToken)
{
    QLocalSocket socket;
    socket.connectToServer(m_serverName);
    if (!socket.waitForConnected(kConnectTimeoutMs))
        return false;
    QByteArray message = kActivateWord;
    if (!activationToken.isEmpty())
        message += '\t' + activationToken.toUtf8();
    socket.write(message + '\n');
    socket.waitForBytesWritten(kConnectTimeoutMs);
    socket.disconnectFromServer();
    return true;
}

bool SingleInstance::listen()
{
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::onNewConnection);
    if (m_server->listen(m_serverName))
        return true;
    // A socket file left by a crashed instance: nobody answered on it, so take it over.
    QLocalServer::removeServer(m_serverName);
    return m_server->listen(m_serverName);
}

void SingleInstance::release()
{
    if (m_server)
        m_server->close();
    m_lock.unlock();
}

void SingleInstance::onNewConnection()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            while (socket->canReadLine()) {
                const QByteArray line = socket->readLine().trimmed();
                const qsizetype tab = line.indexOf('\t');
                const QByteArray word = tab < 0 ? line : line.first(tab);
                if (word == kActivateWord)
                    Q_EMIT activationRequested(tab < 0 ? QString()
                                                       : QString::fromUtf8(line.mid(tab + 1)));
            }
        });
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    }
}
