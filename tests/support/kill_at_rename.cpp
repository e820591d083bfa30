// Preloaded into a child process: while VELKARO_KILL_AT_RENAME=n is set, the
// process dies as `kill -9` kills it just before the n-th file it puts in
// place: a file written aside renamed over the old one, or linked under its
// name where none was.

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>

namespace {

void dieAtTheChosenRename()
{
    static int seen = 0;
    const char* at = std::getenv("VELKARO_KILL_AT_RENAME");
    if (at && ++seen == std::atoi(at))
        std::raise(SIGKILL);
}

template <typename Function> Function real(const char* name)
{
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

} // namespace

extern "C" int rename(const char* from, const char* to) noexcept
{
    static const auto next = real<int (*)(const char*, const char*)>("rename");
    dieAtTheChosenRename();
    return next(from, to);
}

// Qt replaces files through renameat2.
extern "C" int renameat2(int fromDir, const char* from, int toDir, const char* to,
                         unsigned int flags) noexcept
{
    static const auto next =
        real<int (*)(int, const char*, int, const char*, unsigned int)>("renameat2");
    dieAtTheChosenRename();
    return next(fromDir, from, toDir, to, flags);
}

// Qt links a new file, written unnamed, under its name.
extern "C" int linkat(int fromDir, const char* from, int toDir, const char* to, int flags) noexcept
{
    static const auto next = real<int (*)(int, const char*, int, const char*, int)>("linkat");
    dieAtTheChosenRename();
    return next(fromDir, from, toDir, to, flags);
}
