#include "core/event_log.h"

#include "core/app_info.h"
#include "core/code_page.h"

#include <QDateTime>
#include <QFile>
#include <QLocale>

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
    QFile file(m_path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return;
    file.write(CodePage::encodeLossy(formatEntry(message, level, timestamp)));
    file.close();
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
