#include "cli/cli_sync.h"

#include "carddav/carddav_sync.h"
#include "carddav/password_store.h"
#include "cli/cli_book.h"
#include "cli/cli_commands.h"
#include "cli/cli_output.h"
#include "core/bounded_file.h"
#include "document/contact_export.h"

#include <QCommandLineParser>

namespace {

const char kHelp[] = "Compares the entries of the book's address pages with a CardDAV address\n"
                     "book and prints, one card a line, what a publish does: \"create\",\n"
                     "\"update\", \"delete\", \"conflict\" (changed on the server since it was\n"
                     "last published; never overwritten) and \"fetch\" (another program's card\n"
                     "new or changed there), then the entry's name or the card's path,\n"
                     "separated by a tab. Without --dry-run the cards are sent, and what was\n"
                     "agreed is kept in BOOK.carddav beside the book; the book itself is never\n"
                     "written.\n\n"
                     "Options:\n"
                     "  --url URL              the address book, or the server to find it on\n"
                     "  --user NAME            the user name on the server\n"
                     "  --password-file FILE   the password, the file's first line; by default\n"
                     "                         the desktop's secret store\n"
                     "  --dry-run              only print what would be done\n\n"
                     "Exit status: 0 done, 1 the book or the server failed, 2 wrong usage.\n";

QString problemText(DavProblem problem)
{
    switch (problem) {
    case DavProblem::None:
        return {};
    case DavProblem::NoNetwork:
        return QStringLiteral("the server cannot be reached");
    case DavProblem::WrongPassword:
        return QStringLiteral("the server refused the user name or password");
    case DavProblem::Tls:
        return QStringLiteral("the server's certificate was refused");
    case DavProblem::Conflict:
        return QStringLiteral("the card changed on the server meanwhile");
    case DavProblem::NotCardDav:
        return QStringLiteral("no CardDAV address book at this address");
    case DavProblem::NotFound:
        return QStringLiteral("not found on the server");
    case DavProblem::Server:
        break;
    }
    return QStringLiteral("the server reported an error");
}

int fail(const QString& message)
{
    CliOutput::err(QStringLiteral("velkaro-cli sync: %1\n").arg(message));
    return CliCommands::ExitFailure;
}

int usage(const QString& message)
{
    CliOutput::err(QStringLiteral("velkaro-cli sync: %1\nUsage: velkaro-cli %2\n")
                       .arg(message, CliSync::synopsis()));
    return CliCommands::ExitUsage;
}

std::optional<QString> passwordFrom(const QString& file, const QUrl& url, const QString& user)
{
    if (file.isEmpty())
        return PasswordStore::read(url, user);
    const BoundedFile::Result read = BoundedFile::read(file, 64 * 1024);
    if (!read.bytes)
        return std::nullopt;
    return QString::fromUtf8(read.bytes->split('\n').constFirst()).remove(QLatin1Char('\r'));
}

QString listing(const SyncPlan& plan)
{
    QString out;
    auto add = [&out](const char* what, const std::vector<CardAction>& actions) {
        for (const CardAction& action : actions)
            out += QStringLiteral("%1\t%2\n")
                       .arg(QLatin1String(what), action.name.isEmpty() ? action.path : action.name);
    };
    add("create", plan.creates);
    add("update", plan.updates);
    add("delete", plan.deletes);
    add("conflict", plan.conflicts);
    for (const QString& path : plan.fetched)
        out += QStringLiteral("fetch\t%1\n").arg(path);
    return out;
}

} // namespace

int CliSync::run(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help(QStringList{"h", "help"});
    const QCommandLineOption url("url", QString(), "URL");
    const QCommandLineOption user("user", QString(), "NAME");
    const QCommandLineOption passwordFile("password-file", QString(), "FILE");
    const QCommandLineOption dryRun("dry-run");
    parser.addOptions({help, url, user, passwordFile, dryRun});
    if (!parser.parse(QStringList{QStringLiteral("sync")} + arguments))
        return usage(parser.errorText());
    if (parser.isSet(help)) {
        return CliCommands::exitFor(CliOutput::out(
            QStringLiteral("Usage: velkaro-cli %1\n\n%2").arg(synopsis(), QLatin1String(kHelp))));
    }
    const QStringList books = parser.positionalArguments();
    if (books.size() != 1)
        return usage(books.isEmpty() ? QStringLiteral("missing arguments")
                                     : QStringLiteral("too many arguments"));
    if (books.constFirst() == QLatin1String("-"))
        return usage(
            QStringLiteral("the book must be a file: what was published is kept beside it"));
    if (!parser.isSet(url) || !parser.isSet(user))
        return usage(QStringLiteral("--url and --user are required"));

    const CliBook book(books.constFirst());
    if (!book.ok())
        return fail(book.problem());
    const QUrl server = QUrl::fromUserInput(parser.value(url));
    const auto password = passwordFrom(parser.value(passwordFile), server, parser.value(user));
    if (!password)
        return fail(parser.isSet(passwordFile)
                        ? QStringLiteral("%1 cannot be read").arg(parser.value(passwordFile))
                        : QStringLiteral("no password kept for this address book; "
                                         "give one with --password-file"));

    CardDavClient client(parser.value(user), *password);
    const CardDavClient::Discovery found = client.discover(server);
    if (found.problem != DavProblem::None)
        return fail(problemText(found.problem));
    CardDavSync sync(client, found.addressBook, SyncState::pathFor(books.constFirst()));
    const std::vector<Contact> contacts = ContactExport::ofBook(book.pages(true));
    const CardDavSync::Result result =
        parser.isSet(dryRun) ? sync.plan(contacts) : sync.publish(contacts);
    if (result.problem != DavProblem::None)
        return fail(problemText(result.problem));
    if (!CliOutput::out(listing(result.plan)))
        return CliCommands::ExitFailure;
    if (result.stateError)
        return fail(result.stateError->description);
    return CliCommands::ExitOk;
}
