#include "app/command_line.h"

#include "core/app_info.h"

namespace {

constexpr int kUsageError = 2;

// Qt's own options, which QApplication takes from the command line: these
// need a value, in the next argument or after "=".
const QStringList kQtOptionsWithValue = {
    "-platform", "-platformpluginpath", "-platformtheme", "-plugin", "-qwindowgeometry",
    "-qwindowtitle", "-qwindowicon", "-display", "-geometry", "-style", "-stylesheet",
    "-session", "-name", "-title", "-qmljsdebugger"};
const QStringList kQtSwitches = {"-reverse", "-nograb", "-dograb", "-sync", "-widgetcount",
                                 "-testability"};

QString usage()
{
    return QStringLiteral("Usage: velkaro [--log]\n"
                          "%1: the address book kept as a notebook.\n\n"
                          "Options:\n"
                          "  --log       keep the event log velkaro.log (in ~/.local/share/%1/)\n"
                          "  --help      show this help and exit\n"
                          "  --version   show the version and exit\n\n"
                          "Scripts read the book with velkaro-cli: 'velkaro-cli --help' lists "
                          "its commands.\n")
        .arg(AppInfo::title());
}

// The reply to the first argument the program does not take, if any.
std::optional<CommandLine::Reply> refusal(const QStringList& options)
{
    for (qsizetype i = 0; i < options.size(); ++i) {
        const QString& option = options[i];
        if (option == QLatin1String("--log"))
            continue;
        if (!option.startsWith(u'-') || option == QLatin1String("-")) {
            return CommandLine::Reply{
                QStringLiteral("velkaro: \"%1\" is not opened: the book is chosen in the options "
                               "(the page \"Address book\"); each user runs one copy with one "
                               "book.\n")
                    .arg(option),
                kUsageError};
        }
        // Qt takes "--style" as "-style".
        const QString qt = option.startsWith(QLatin1String("--")) ? option.mid(1) : option;
        const QString name = qt.section(u'=', 0, 0);
        if (kQtSwitches.contains(qt) || (kQtOptionsWithValue.contains(name) && qt.contains(u'=')))
            continue;
        if (kQtOptionsWithValue.contains(qt) && i + 1 < options.size()) {
            ++i;
            continue;
        }
        return CommandLine::Reply{
            QStringLiteral("velkaro: unknown option \"%1\"\n\n").arg(option) + usage(),
            kUsageError};
    }
    return std::nullopt;
}

} // namespace

std::optional<CommandLine::Reply> CommandLine::immediateReply(const QStringList& arguments)
{
    const QStringList options = arguments.mid(1);
    if (options.contains(QLatin1String("--help")) || options.contains(QLatin1String("-h")))
        return Reply{usage()};
    if (options.contains(QLatin1String("--version")))
        return Reply{QStringLiteral("velkaro (%1) %2\n").arg(AppInfo::title(), AppInfo::versionText())};
    return refusal(options);
}
