#include "cli/cli_password.h"

#include "core/bounded_file.h"

#include <QFile>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>
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

} // namespace

CliPassword::Result CliPassword::obtain(const QString& book, const QString& passwordFile)
{
    return passwordFile.isEmpty() ? fromTerminal(book) : fromFile(passwordFile);
}

CliPassword::Result CliPassword::fromFile(const QString& passwordFile)
{
    const BoundedFile::Result file = BoundedFile::read(passwordFile, kLargestPasswordFile);
    if (!file.bytes)
        return {std::nullopt, QStringLiteral("%1: %2").arg(passwordFile, file.error)};
    return {firstLine(*file.bytes), {}};
}

CliPassword::Result CliPassword::fromTerminal(const QString& book)
{
    const QString noTerminal = QStringLiteral(
        "%1 is encrypted and there is no terminal to ask its password on; use --password-file");
#ifdef Q_OS_UNIX
    const int tty = ::open("/dev/tty", O_RDWR | O_CLOEXEC | O_NOCTTY);
    if (tty < 0)
        return {std::nullopt, noTerminal.arg(book)};
    termios saved = {};
    const bool echoOff = ::tcgetattr(tty, &saved) == 0;
    if (echoOff) {
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
    if (echoOff)
        ::tcsetattr(tty, TCSAFLUSH, &saved);
    (void)!::write(tty, "\n", 1);
    ::close(tty);
    Result result{firstLine(typed), {}};
    typed.fill('\0');
    return result;
#else
    return {std::nullopt, noTerminal.arg(book)};
#endif
}
