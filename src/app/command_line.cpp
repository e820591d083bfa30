#include "app/command_line.h"

#include "core/app_info.h"

std::optional<QString> CommandLine::immediateReply(const QStringList& arguments)
{
    const QStringList options = arguments.mid(1);
    if (options.contains(QLatin1String("--help")) || options.contains(QLatin1String("-h"))) {
        return QStringLiteral(
                   "Usage: velkaro [--log]\n"
                   "%1: the address book kept as a notebook.\n\n"
                   "Options:\n"
                   "  --log       keep the event log velkaro.log (in ~/.local/share/%1/)\n"
                   "  --help      show this help and exit\n"
                   "  --version   show the version and exit\n\n"
                   "Scripts read the book with velkaro-cli: 'velkaro-cli --help' lists "
                   "its commands.\n")
            .arg(AppInfo::title());
    }
    if (options.contains(QLatin1String("--version")))
        return QStringLiteral("velkaro (%1) %2\n").arg(AppInfo::title(), AppInfo::versionText());
    return std::nullopt;
}
