#include "cli/cli_output.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

bool CliOutput::out(const QString& text)
{
    return outBytes(text.toUtf8());
}

// Flushed here, not at exit: a write error shows only when the buffer goes
// out, and by exit the status is already decided.
bool CliOutput::outBytes(const QByteArray& bytes)
{
    errno = 0;
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout);
    if (std::fflush(stdout) == 0 && !std::ferror(stdout))
        return true;
    const int error = errno;
    err(QStringLiteral("velkaro-cli: cannot write to standard output: %1\n")
            .arg(QString::fromLocal8Bit(std::strerror(error))));
    return false;
}

void CliOutput::err(const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stderr);
}
