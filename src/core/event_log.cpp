#include "core/event_log.h"

#include "core/app_info.h"
#include "core/code_page.h"
#include "core/safe_file.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QLocale>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#endif

void EventLog::openLog(const QString& path, int mode)
{
    Q_UNUSED(mode);
    m_path = path;
    m_on = true;
}

void EventLog::writeLog(const QString& message, int level)
{
    if (!m_on || m_path.isEmpty())
        return;
    const QString timestamp =
        QLocale::system().toString(QDateTime::currentDateTime(), QLocale::ShortFormat);
    // Appending, not rewriting: the log only ever grows, and a failure here
    // must never reach the caller.
    QFile file;
    if (!openForAppending(file))
        return;
    file.write(CodePage::encodeLossy(formatEntry(message, level, timestamp)));
    file.close();
}

// Never through a link: one in the log's place is none of the program's.
bool EventLog::openForAppending(QFile& file) const
{
    if (QFileInfo(m_path).isSymLink() && !SafeFile::removeLink(m_path))
        return false;
#ifdef Q_OS_UNIX
    const int fd = ::open(QFile::encodeName(m_path).constData(),
                          O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0666);
    if (fd < 0)
        return false;
    if (file.open(fd, QIODevice::WriteOnly | QIODevice::Append, QFileDevice::AutoCloseHandle))
        return true;
    ::close(fd);
    return false;
#else
    file.setFileName(m_path);
    return file.open(QIODevice::WriteOnly | QIODevice::Append);
#endif
}

bool EventLog::keepOnRequested(const QStringList& arguments)
{
    return arguments.contains(QLatin1String("--log"));
}

QString EventLog::formatEntry(const QString& message, int level, const QString& timestamp)
{
    const QString crlf = QStringLiteral("\r\n");
    return crlf + crlf + levelWord(level) + QLatin1String(" from ") + AppInfo::title() +
           QLatin1String(" v") + AppInfo::versionText() + QLatin1String(" on ") + timestamp +
           QLatin1Char(':') + crlf + QLatin1String("    ") + message + crlf;
}

QString EventLog::levelWord(int level)
{
    switch (level) {
    case Error:
        return QStringLiteral("ERROR");
    case Warning:
        return QStringLiteral("WARNING");
    case Information:
        return QStringLiteral("INFORMATION");
    default:
        return {};
    }
}
