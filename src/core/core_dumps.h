#pragma once

// A crash dump of a running program holds what it holds: the book's text,
// the password as typed, the key. Both programs switch dumps off before they
// read anything (on Linux: no core file, and the process is not dumpable,
// so neither a core handler nor another process of the account can read its
// memory); the environment variable VELKARO_KEEP_CORE_DUMPS=1 leaves them on
// for debugging.
class CoreDumps
{
public:
    static constexpr const char* KeepVariable = "VELKARO_KEEP_CORE_DUMPS";

    // True when dumps are off, or were asked to stay on.
    static bool disable();
};
