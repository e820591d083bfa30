#include "cli/cli_app.h"

#include "cli/cli_commands.h"
#include "cli/cli_output.h"
#include "cli/cli_sync.h"
#include "cli/cli_sync_program.h"
#include "core/app_info.h"

#include <QCommandLineParser>
#include <array>

namespace {

struct Command
{
    const char* name;
    const char* synopsis;
    const char* help;
    int minArgs;
    int maxArgs;
    bool searchOptions;
    bool utf8Option;
    int (*run)(const CliArgs&);
    bool outputOption = false;
};

constexpr std::array kCommands{
    Command{"list", "list BOOK",
            "Prints the number, kind (address or text) and title of every page,\n"
            "one page a line, separated by tabs.\n",
            1, 1, false, false, &CliCommands::list},
    Command{"cat", "cat BOOK N", "Prints the plain text of page N (counted from 1).\n", 2, 2, false,
            false, &CliCommands::cat},
    Command{"export-text", "export-text BOOK [--output OUT] [--utf8]",
            "Writes the text export the program writes beside the book at every save,\n"
            "byte for byte (Windows-1251, CR LF), to standard output or OUT (also taken\n"
            "as the second argument).\n\n"
            "Options:\n"
            "  -o, --output OUT   write to OUT, replaced whole or not at all (never the\n"
            "                     book itself), instead of standard output\n"
            "  --utf8             convert to UTF-8, for reading in a terminal\n",
            1, 2, false, true, &CliCommands::exportText, true},
    Command{"check", "check BOOK",
            "Tells whether the book file loads as it is. When it does not, says what\n"
            "is wrong and on which line of the file, and exits with status 1.\n",
            1, 1, false, false, &CliCommands::check},
    Command{"find", "find BOOK TEXT [--case] [--word] [--yo] [--digits]",
            "Prints page:line:column:line text for every match of TEXT, page by page.\n"
            "Without --case the search ignores case (Cyrillic included).\n\n"
            "Options:\n"
            "  --case     match case\n"
            "  --word     match whole words only\n"
            "  --yo       treat Cyrillic \"е\" and \"ё\" as the same letter\n"
            "  --digits   compare digits only: 9125551234 finds +7 (912) 555-12-34\n",
            2, 2, true, false, &CliCommands::find},
    Command{"export-vcard", "export-vcard BOOK [PAGE] [--output OUT]",
            "Writes the entries of every address page, or of page PAGE (counted from 1)\n"
            "whatever its kind, as vCard 4.0 contacts: one card per entry, with the name,\n"
            "the telephone numbers and e-mail addresses found in the details, the rest as\n"
            "a note, and the page title as the category. UTF-8, CR LF.\n\n"
            "Options:\n"
            "  -o, --output OUT   write to OUT, replaced whole or not at all (never the\n"
            "                     book itself), instead of standard output\n",
            1, 2, false, false, &CliCommands::exportVCard, true},
    Command{"export-csv", "export-csv BOOK [PAGE] [--output OUT]",
            "Writes the same contacts as export-vcard as a table for spreadsheets: the\n"
            "columns Name, Phone, E-mail, Note and Category, one row per entry, UTF-8\n"
            "with a byte-order mark, values quoted as RFC 4180 says.\n\n"
            "Options:\n"
            "  -o, --output OUT   write to OUT, replaced whole or not at all (never the\n"
            "                     book itself), instead of standard output\n",
            1, 2, false, false, &CliCommands::exportCsv, true},
    Command{"backups", "backups [FOLDER]",
            "Lists the dated backups the program keeps, one per ten days of the year,\n"
            "the newest first: the number of its ten days (1 to 36), the date and time\n"
            "it was written, its page count from its first line (\"damaged\" when that\n"
            "line is not one), its size in bytes and its path, separated by tabs.\n"
            "FOLDER is the history folder; by default the user's own\n"
            "(~/.local/share/Velkaro Pro/History/).\n",
            0, 1, false, false, &CliCommands::backups},
    Command{"diff", "diff BOOK OTHER",
            "Tells which pages OTHER adds to BOOK, lacks or holds otherwise, one page a\n"
            "line: \"added\", \"removed\" or \"changed\", the page's number in BOOK and\n"
            "in OTHER (\"-\" where it has none) and its title, separated by tabs.\n"
            "Pages are matched by title; pages sharing a title are matched in their\n"
            "order. A page whose text or kind differs is changed; one that only moved\n"
            "is not. Prints nothing when the books hold the same pages.\n",
            2, 2, false, false, &CliCommands::diff},
};

QString overallHelp()
{
    QString text = QStringLiteral("Usage: velkaro-cli COMMAND ARGUMENTS\n"
                                  "Reads a %1 book file; never changes it.\n\nCommands:\n")
                       .arg(AppInfo::title());
    for (const Command& command : kCommands)
        text += QStringLiteral("  velkaro-cli %1\n").arg(QLatin1String(command.synopsis));
    text += QStringLiteral("  velkaro-cli %1\n").arg(CliSync::synopsis());
    text +=
        QStringLiteral("\n'velkaro-cli COMMAND --help' describes one command;\n"
                       "'velkaro-cli --version' tells the version.\n"
                       "BOOK may be '-', the book read from standard input.\n"
                       "An encrypted book's password is asked on the terminal, without echo,\n"
                       "or read from the first line of the file given with --password-file\n"
                       "FILE (sync: --book-password-file FILE), '-' for one line of standard\n"
                       "input; never from the command line, which others can see.\n\n"
                       "Exit status: 0 done, 1 the book cannot be read or the output cannot be\n"
                       "written, 2 wrong usage. find and diff, like grep and diff: 0 found or\n"
                       "the same, 1 nothing found or different, 2 any trouble.\n");
    return text;
}

// The version the program shows in its about box and its log.
QString versionLine()
{
    return QStringLiteral("velkaro-cli (%1) %2\n").arg(AppInfo::title(), AppInfo::versionText());
}

QString commandHelp(const Command& command)
{
    // The help names Cyrillic letters; the source is UTF-8.
    return QStringLiteral("Usage: velkaro-cli %1\n\n%2")
        .arg(QLatin1String(command.synopsis), QString::fromUtf8(command.help));
}

const Command* findCommand(const QString& name)
{
    for (const Command& command : kCommands) {
        if (name == QLatin1String(command.name))
            return &command;
    }
    return nullptr;
}

int usage(const QString& message)
{
    CliOutput::err(QStringLiteral("velkaro-cli: %1\nTry 'velkaro-cli --help'.\n").arg(message));
    return CliCommands::ExitUsage;
}

int commandUsage(const Command& command, const QString& message)
{
    CliOutput::err(QStringLiteral("velkaro-cli %1: %2\nUsage: velkaro-cli %3\n")
                       .arg(QLatin1String(command.name), message, QLatin1String(command.synopsis)));
    return CliCommands::ExitUsage;
}

int runCommand(const Command& command, const QStringList& rest)
{
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help(QStringList{"h", "help"});
    const QCommandLineOption matchCase("case");
    const QCommandLineOption wholeWord("word");
    const QCommandLineOption yo("yo");
    const QCommandLineOption digits("digits");
    const QCommandLineOption utf8("utf8");
    const QCommandLineOption output(QStringList{"o", "output"}, QString(), QStringLiteral("OUT"));
    const QCommandLineOption passwordFile("password-file", QString(), QStringLiteral("FILE"));
    parser.addOption(help);
    parser.addOption(passwordFile);
    if (command.searchOptions)
        parser.addOptions({matchCase, wholeWord, yo, digits});
    if (command.utf8Option)
        parser.addOption(utf8);
    if (command.outputOption)
        parser.addOption(output);
    if (!parser.parse(QStringList{QLatin1String(command.name)} + rest))
        return commandUsage(command, parser.errorText());
    if (parser.isSet(help)) {
        return CliCommands::exitFor(CliOutput::out(commandHelp(command)));
    }
    CliArgs args;
    args.positional = parser.positionalArguments();
    if (args.positional.size() < command.minArgs)
        return commandUsage(command, QStringLiteral("missing arguments"));
    if (args.positional.size() > command.maxArgs)
        return commandUsage(command, QStringLiteral("too many arguments"));
    args.matchCase = command.searchOptions && parser.isSet(matchCase);
    args.wholeWord = command.searchOptions && parser.isSet(wholeWord);
    args.yoAsYe = command.searchOptions && parser.isSet(yo);
    args.digitsOnly = command.searchOptions && parser.isSet(digits);
    args.utf8 = command.utf8Option && parser.isSet(utf8);
    if (command.outputOption)
        args.output = parser.value(output);
    args.password.file = parser.value(passwordFile);
    return command.run(args);
}

} // namespace

int CliApp::run(const QStringList& arguments)
{
    const QStringList rest = arguments.mid(1);
    if (rest.isEmpty())
        return usage(QStringLiteral("no command given"));
    const QString& name = rest.first();
    if (name == QLatin1String("--help") || name == QLatin1String("-h") ||
        name == QLatin1String("help")) {
        return CliCommands::exitFor(CliOutput::out(overallHelp()));
    }
    if (name == QLatin1String("--version"))
        return CliCommands::exitFor(CliOutput::out(versionLine()));
    if (name == QLatin1String("sync"))
        return CliSyncProgram::run(rest.mid(1));
    const Command* command = findCommand(name);
    if (!command)
        return usage(QStringLiteral("unknown command '%1'").arg(name));
    return runCommand(*command, rest.mid(1));
}
