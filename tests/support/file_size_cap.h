#pragma once

#include <csignal>
#include <cstdint>

#ifdef Q_OS_WIN
// Windows has no limit on the size of the files a process writes.
class FileSizeCap
{
public:
    explicit FileSizeCap(std::uint64_t) {}
    bool isSet() const { return false; }
};
#else
#include <sys/resource.h>

// Files written while it lives stop at `bytes`, as on a disk that fills up.
// ctest runs each test in a process of its own, so the limit touches nothing
// else; the old limit comes back when it goes.
class FileSizeCap
{
public:
    explicit FileSizeCap(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_old);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        const rlimit cap{bytes, m_old.rlim_max};
        m_set = setrlimit(RLIMIT_FSIZE, &cap) == 0;
    }
    ~FileSizeCap()
    {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    FileSizeCap(const FileSizeCap&) = delete;
    FileSizeCap& operator=(const FileSizeCap&) = delete;
    bool isSet() const { return m_set; }

private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = nullptr;
    bool m_set = false;
};
#endif
