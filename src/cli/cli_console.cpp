#include "cli/cli_console.h"

#include <clocale>

#ifdef Q_OS_WIN
#include <cstdio>
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#endif

QStringList CliConsole::arguments(int argc, char** argv)
{
    QStringList arguments;
#ifdef Q_OS_WIN
    int count = 0;
    if (wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count)) {
        for (int i = 0; i < count; ++i)
            arguments << QString::fromWCharArray(wide[i]);
        ::LocalFree(wide);
        return arguments;
    }
#endif
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

void CliConsole::prepare()
{
#ifdef Q_OS_WIN
    ::SetConsoleOutputCP(CP_UTF8);
    ::_setmode(::_fileno(stdout), _O_BINARY);
    ::_setmode(::_fileno(stderr), _O_BINARY);
#endif
}

namespace {

// Whether the locale for messages that LC_ALL, LC_MESSAGES and LANG name, in
// that order, is C's own.
[[maybe_unused]] bool messagesInCLocale()
{
    const QByteArray all = qgetenv("LC_ALL");
    const QByteArray messages = qgetenv("LC_MESSAGES");
    const QByteArray name = !all.isEmpty() ? all : !messages.isEmpty() ? messages : qgetenv("LANG");
    return name.isEmpty() || name == "C" || name == "POSIX" || name.startsWith("C.");
}

} // namespace

void CliConsole::useUsersLocale()
{
#ifndef Q_OS_WIN
    if (messagesInCLocale())
        return;
#endif
    std::setlocale(LC_ALL, "");
}
