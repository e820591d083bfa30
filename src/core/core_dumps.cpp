#include "core/core_dumps.h"

#include <cstdlib>
#include <cstring>

#ifdef __linux__
#include <sys/prctl.h>
#include <sys/resource.h>
#endif

bool CoreDumps::disable()
{
    const char* keep = std::getenv(KeepVariable);
    if (keep && std::strcmp(keep, "1") == 0)
        return true;
#ifdef __linux__
    const rlimit none{0, 0};
    const bool noCore = setrlimit(RLIMIT_CORE, &none) == 0;
    return prctl(PR_SET_DUMPABLE, 0, 0, 0, 0) == 0 && noCore;
#else
    // Windows Error Reporting may still keep a dump of a crash; the README
    // says so.
    return true;
#endif
}
