#pragma once

#include <QString>

#ifdef Q_OS_WIN
#include <QLockFile>
#endif

// A lock on a file that one process at a time holds until it gives it up or
// ends. On Linux and other Unix systems it is the kernel's lock on the open
// file: it is never flushed to the disk, the file stays where it is when the
// lock is given up, and a process that dies, however it dies, leaves no lock
// behind. The file names its holder as a lock file of Qt's does, which is
// how earlier versions take the lock, so each kind sees the other's lock held
// and takes it over once its holder is gone. On Windows it is such a lock
// file.
class InstanceLock
{
public:
    explicit InstanceLock(QString path);
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // Takes the lock at once when nobody holds it; true when this process
    // holds it (also when it did already).
    bool tryLock();
    void unlock();

private:
#ifdef Q_OS_WIN
    QLockFile m_file;
#else
    QString m_path;
    int m_fd = -1;
#endif
};
