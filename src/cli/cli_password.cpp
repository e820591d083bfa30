#include "cli/cli_password.h"

#include "core/bounded_file.h"

#include <QFile>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#ifdef Q_OS_UNIX
#include <termios.h>
#endif

#ifdef Q_OS_WIN
#include <algorithm>
#include <string>
#include <windows.h>
#endif

namespace {

constexpr qint64 kLargestPasswordFile = 64 * 1024;

QString firstLine(const QByteArray& bytes)
{
    QByteArray line = bytes.left(bytes.indexOf('\n') < 0 ? bytes.size() : bytes.indexOf('\n'));
    if (line.endsWith('\r'))
        line.chop(1);
    return QString::fromUtf8(line);
}

#ifdef Q_OS_WIN
// The console's input mode while the echo is off, put back by the handler
// of Ctrl+C, which ends the program on another thread.
HANDLE g_consoleInput = INVALID_HANDLE_VALUE;
DWORD g_savedMode = 0;

BOOL WINAPI restoreConsole(DWORD)
{
    ::SetConsoleMode(g_consoleInput, g_savedMode);
    return FALSE;
}

void writeConsole(HANDLE output, const QString& text)
{
    DWORD written = 0;
    ::WriteConsoleW(output, reinterpret_cast<const wchar_t*>(text.utf16()), DWORD(text.size()),
                    &written, nullptr);
}

std::optional<QString> readConsoleHidden(const QString& prompt)
{
    HANDLE input =
        ::CreateFileW(L"CONIN$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                      nullptr, OPEN_EXISTING, 0, nullptr);
    HANDLE output =
        ::CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                      nullptr, OPEN_EXISTING, 0, nullptr);
    DWORD saved = 0;
    if (input == INVALID_HANDLE_VALUE || output == INVALID_HANDLE_VALUE ||
        !::GetConsoleMode(input, &saved)) {
        if (input != INVALID_HANDLE_VALUE)
            ::CloseHandle(input);
        if (output != INVALID_HANDLE_VALUE)
            ::CloseHandle(output);
        return std::nullopt;
    }
    g_consoleInput = input;
    g_savedMode = saved;
    ::SetConsoleCtrlHandler(restoreConsole, TRUE);
    ::SetConsoleMode(input, (saved | ENABLE_LINE_INPUT | ENABLE_PROCESSED_INPUT) &
                                ~DWORD(ENABLE_ECHO_INPUT));
    writeConsole(output, prompt);
    std::wstring typed;
    wchar_t c = 0;
    DWORD read = 0;
    while (::ReadConsoleW(input, &c, 1, &read, nullptr) && read == 1 && c != L'\n')
        typed.push_back(c);
    ::SetConsoleMode(input, saved);
    ::SetConsoleCtrlHandler(restoreConsole, FALSE);
    writeConsole(output, QStringLiteral("\r\n"));
    ::CloseHandle(input);
    ::CloseHandle(output);
    QString password = QString::fromStdWString(typed);
    if (password.endsWith(u'\r'))
        password.chop(1);
    std::fill(typed.begin(), typed.end(), L'\0');
    return password;
}
#endif

} // namespace

CliPassword::Result CliPassword::obtain(const QString& book, const Source& source)
{
    return source.file.isEmpty() ? fromTerminal(book, source.option) : fromFile(source);
}

namespace {

// Up to the first line end of a pipe, a FIFO or standard input: whatever
// follows the line stays unread for whoever reads on.
std::optional<QByteArray> lineOf(int fd)
{
    QByteArray line;
    char c = 0;
    ssize_t got = 0;
    while (line.size() < kLargestPasswordFile && (got = ::read(fd, &c, 1)) == 1 && c != '\n')
        line.append(c);
    if (got < 0)
        return std::nullopt;
    return line;
}

int openForReading(const QString& path)
{
#ifdef Q_OS_WIN
    // Windows hands no handle to another program unasked.
    return ::_wopen(reinterpret_cast<const wchar_t*>(path.utf16()), O_RDONLY | O_BINARY);
#else
    return ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
#endif
}

// A file that others can read holds a password that is no secret. Windows
// says nothing of other users in a file's mode.
void warnIfShared(const QString& passwordFile, int fd)
{
#ifdef Q_OS_WIN
    Q_UNUSED(passwordFile);
    Q_UNUSED(fd);
#else
    struct stat info = {};
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && (info.st_mode & 077) != 0) {
        const QByteArray warning =
            QStringLiteral("velkaro-cli: warning: %1 can be read by other users\n")
                .arg(passwordFile)
                .toLocal8Bit();
        (void)!::write(STDERR_FILENO, warning.constData(), size_t(warning.size()));
    }
#endif
}

} // namespace

CliPassword::Result CliPassword::fromFile(const Source& source)
{
    const QString& passwordFile = source.file;
    const bool standardInput = passwordFile == u'-';
    const int fd = standardInput ? STDIN_FILENO : openForReading(passwordFile);
    if (fd < 0) {
        const BoundedFile::Result file = BoundedFile::read(passwordFile, kLargestPasswordFile);
        return {std::nullopt,
                QStringLiteral("%1 %2: %3").arg(source.option, passwordFile, file.error)};
    }
    warnIfShared(passwordFile, fd);
    std::optional<QByteArray> line = lineOf(fd);
    if (!standardInput)
        ::close(fd);
    if (!line)
        return {std::nullopt, QStringLiteral("%1 %2: %3")
                                  .arg(source.option, passwordFile,
                                       QString::fromLocal8Bit(std::strerror(errno)))};
    Result result{firstLine(*line), {}};
    line->fill('\0');
    return result;
}

#ifdef Q_OS_UNIX
namespace {

// The terminal's settings while echo is off: a signal that ends the program
// puts them back first.
int g_tty = -1;
termios g_saved = {};

void restoreEcho(int signal)
{
    ::tcsetattr(g_tty, TCSAFLUSH, &g_saved);
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

} // namespace
#endif

CliPassword::Result CliPassword::fromTerminal(const QString& book, const QString& option)
{
    const QString noTerminal =
        QStringLiteral("%1 is encrypted and there is no terminal to ask its password on; use %2")
            .arg(book, option);
#ifdef Q_OS_UNIX
    const int tty = ::open("/dev/tty", O_RDWR | O_CLOEXEC | O_NOCTTY);
    if (tty < 0)
        return {std::nullopt, noTerminal};
    termios saved = {};
    const bool echoOff = ::tcgetattr(tty, &saved) == 0;
    if (echoOff) {
        g_tty = tty;
        g_saved = saved;
        for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGTSTP})
            std::signal(signal, restoreEcho);
        termios quiet = saved;
        quiet.c_lflag &= ~tcflag_t(ECHO);
        ::tcsetattr(tty, TCSAFLUSH, &quiet);
    }
    const QByteArray prompt = QStringLiteral("Password for %1: ").arg(book).toLocal8Bit();
    (void)!::write(tty, prompt.constData(), size_t(prompt.size()));
    QByteArray typed;
    char c = 0;
    while (::read(tty, &c, 1) == 1 && c != '\n')
        typed.append(c);
    if (echoOff) {
        ::tcsetattr(tty, TCSAFLUSH, &saved);
        for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGTSTP})
            std::signal(signal, SIG_DFL);
    }
    (void)!::write(tty, "\n", 1);
    ::close(tty);
    Result result{firstLine(typed), {}};
    typed.fill('\0');
    return result;
#elif defined(Q_OS_WIN)
    std::optional<QString> typed = readConsoleHidden(QStringLiteral("Password for %1: ").arg(book));
    if (!typed)
        return {std::nullopt, noTerminal};
    return {std::move(typed), {}};
#else
    return {std::nullopt, noTerminal};
#endif
}
