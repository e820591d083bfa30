#include "app/instance_lock.h"

#ifndef Q_OS_WIN
#include <QFile>
#include <QFileInfo>
#include <QSysInfo>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

#ifdef Q_OS_WIN

InstanceLock::InstanceLock(QString path) : m_file(path)
{
    // The holder runs for hours: only a dead holder makes a lock stale.
    m_file.setStaleLockTime(0);
}

InstanceLock::~InstanceLock() = default;

bool InstanceLock::tryLock()
{
    return m_file.isLocked() || m_file.tryLock(0);
}

void InstanceLock::unlock()
{
    m_file.unlock();
}

#else

namespace {

// The holder as a lock file of Qt's names it (process, program, machine), so
// that a version that takes the lock that way sees it held, and taken over
// once the holder is gone.
QByteArray holderLines()
{
    const QString program =
        QFileInfo(QFile::symLinkTarget(QStringLiteral("/proc/self/exe"))).fileName();
    return QByteArray::number(qint64(::getpid())) + '\n' + QFile::encodeName(program) + '\n' +
           QSysInfo::machineHostName().toUtf8() + '\n';
}

} // namespace

InstanceLock::InstanceLock(QString path) : m_path(std::move(path)) {}

InstanceLock::~InstanceLock()
{
    unlock();
}

bool InstanceLock::tryLock()
{
    if (m_fd >= 0)
        return true;
    // Never through a link someone planted in the shared folder.
    const int fd = ::open(QFile::encodeName(m_path).constData(),
                          O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0)
        return false;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return false;
    }
    m_fd = fd;
    // For earlier versions; the lock holds whether or not they are written.
    // Written over what was there rather than emptied first: a file that
    // keeps its block frees none, which a disk mounted with discard would
    // wait for.
    const QByteArray lines = holderLines();
    [[maybe_unused]] const bool written =
        ::pwrite(fd, lines.constData(), size_t(lines.size()), 0) == lines.size() &&
        ::ftruncate(fd, lines.size()) == 0;
    return true;
}

void InstanceLock::unlock()
{
    if (m_fd < 0)
        return;
    ::close(m_fd);
    m_fd = -1;
}

#endif
