#include "cli/cli_sync.h"

#include "carddav/carddav_sync.h"
#include "carddav/password_store.h"
#include "cli/cli_book.h"
#include "cli/cli_commands.h"
#include "cli/cli_output.h"
#include "cli/cli_password.h"
#include "contacts/contact_export.h"

#include <QCommandLineParser>

namespace {

const char kHelp[] = "Compares the entries of the book's address pages with a CardDAV address\n"
                     "book and prints, one card a line, what a publish does: \"create\",\n"
                     "\"update\" (only what the entry changed; the card's other lines stay),\n"
                     "\"delete\", \"conflict\" (changed on the server and in the book since\n"
                     "the last publish; never overwritten) and \"fetch\" (a card new or\n"
                     "changed there), then the entry's name or the card's path, separated by\n"
                     "a tab. A card deleted on the server since the last sync whose entry is\n"
                     "still in the book is listed as \"deleted\": its entry is kept without a\n"
                     "card, which no later sync sends, unless --resend-deleted sends it again\n"
                     "(\"create\" follows). Without --dry-run the cards are sent, and what was\n"
                     "agreed is kept in BOOK.carddav beside the book; the book itself is never\n"
                     "written. An encrypted book's password is asked on the terminal, without\n"
                     "echo, or read from --book-password-file; BOOK.carddav is then encrypted\n"
                     "with the book's key. Either password file may be '-', one line of\n"
                     "standard input, but not both. A --url that holds several address\n"
                     "books lists them and exits with status 2: give one of them.\n\n"
                     "Options:\n";
const char kExitHelp[] = "\nExit status: 0 done, 1 the book or the server failed, 2 wrong usage.\n";

// Every option of the command: its name, its value's name and its help.
struct SyncOption
{
    const char* name;
    const char* value;
    const char* help;
};

constexpr SyncOption kOptions[] = {
    {"url", "URL",
     "the address book, or the server to find it on\n"
     "(https:// where no scheme is given)"},
    {"user", "NAME", "the user name on the server"},
    {"password-file", "FILE",
     "the server's password, the file's first line;\n"
     "by default the desktop's secret store"},
    {"book-password-file", "FILE",
     "an encrypted book's password, the file's\n"
     "first line; by default asked on the terminal"},
    {"ca-file", "FILE",
     "certificate authorities (PEM) to trust besides\n"
     "the system's"},
    {"allow-http", nullptr,
     "allow plain http:// to another machine, where\n"
     "the password and the contacts travel readable"},
    {"resend-deleted", nullptr,
     "send again the cards deleted on the server\n"
     "whose entries are still in the book"},
    {"dry-run", nullptr, "only print what would be done"},
};

QString optionsHelp()
{
    constexpr int kColumn = 30; // where every option's help starts
    QString help;
    for (const SyncOption& option : kOptions) {
        const QString head = QStringLiteral("  --%1 %2")
                                 .arg(QLatin1String(option.name), QLatin1String(option.value));
        help += head.leftJustified(kColumn) +
                QString::fromUtf8(option.help)
                    .replace(u'\n', QStringLiteral("\n") + QString(kColumn, u' ')) +
                u'\n';
    }
    return help;
}

QString tlsReason(const QList<QSslError::SslError>& errors)
{
    QStringList reasons;
    for (const QSslError::SslError error : errors) {
        switch (error) {
        case QSslError::SelfSignedCertificate:
        case QSslError::SelfSignedCertificateInChain:
            reasons << QStringLiteral("it is self-signed");
            break;
        case QSslError::CertificateExpired:
            reasons << QStringLiteral("it has expired");
            break;
        case QSslError::CertificateNotYetValid:
            reasons << QStringLiteral("it is not valid yet");
            break;
        case QSslError::HostNameMismatch:
            reasons << QStringLiteral("it was issued for another host name");
            break;
        case QSslError::UnableToGetLocalIssuerCertificate:
        case QSslError::UnableToGetIssuerCertificate:
        case QSslError::UnableToVerifyFirstCertificate:
        case QSslError::CertificateUntrusted:
            reasons << QStringLiteral("its issuer is not trusted");
            break;
        default:
            reasons << QSslError(error).errorString();
        }
    }
    reasons.removeDuplicates();
    return reasons.join(QStringLiteral(", "));
}

QString problemText(DavProblem problem, const CardDavClient& client)
{
    switch (problem) {
    case DavProblem::None:
        return {};
    case DavProblem::NoNetwork:
        return QStringLiteral("the server cannot be reached");
    case DavProblem::WrongPassword:
        return QStringLiteral("the server refused the user name or password");
    case DavProblem::Tls:
        return QStringLiteral("the server's certificate was refused: %1")
            .arg(tlsReason(client.refusal().errors));
    case DavProblem::PlainHttp:
        return QStringLiteral("plain http:// to another machine sends the password and the "
                              "contacts readable; use https:// or --allow-http");
    case DavProblem::Conflict:
        return QStringLiteral("the card changed on the server meanwhile");
    case DavProblem::NotCardDav:
        return QStringLiteral("no CardDAV address book at this address");
    case DavProblem::NotAddressBook:
        return QStringLiteral("the address is neither an address book nor a CardDAV principal");
    case DavProblem::SeveralBooks:
        return QStringLiteral("the address holds several address books");
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

// A principal of several address books: the URL must name one.
int severalBooks(const CardDavClient::Discovery& found)
{
    QString list;
    for (const CardDavClient::AddressBook& book : found.books) {
        list += QStringLiteral("  ") + book.url.toString(QUrl::RemoveUserInfo) +
                (book.name.isEmpty() ? QString() : QStringLiteral("  (") + book.name + u')') +
                u'\n';
    }
    CliOutput::err(QStringLiteral("velkaro-cli sync: %1 holds several address books; give "
                                  "one of them with --url:\n%2")
                       .arg(found.detail, list));
    return CliCommands::ExitUsage;
}

CliPassword::Result passwordFrom(const QString& file, const QUrl& url, const QString& user)
{
    if (!file.isEmpty())
        return CliPassword::fromFile({file});
    std::optional<QString> kept = PasswordStore::read(url, user);
    if (!kept)
        return {std::nullopt, QStringLiteral("no password kept for this address book; "
                                             "give one with --password-file")};
    return {std::move(kept), {}};
}

QString listing(const SyncPlan& plan)
{
    QString out;
    auto add = [&out](const char* what, const std::vector<CardAction>& actions) {
        for (const CardAction& action : actions)
            out += QStringLiteral("%1\t%2\n")
                       .arg(QLatin1String(what), action.name.isEmpty() ? action.path : action.name);
    };
    add("deleted", plan.deleted);
    add("create", plan.creates);
    add("update", plan.updates);
    add("delete", plan.deletes);
    add("conflict", plan.conflicts);
    for (const QString& path : plan.fetched)
        out += QStringLiteral("fetch\t%1\n").arg(path);
    for (const CardAction& action : plan.changed)
        out += QStringLiteral("fetch\t%1\n").arg(action.path);
    return out;
}

} // namespace

int CliSync::run(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addOption(QCommandLineOption(QStringList{"h", "help"}));
    for (const SyncOption& option : kOptions) {
        parser.addOption(
            QCommandLineOption(QLatin1String(option.name), QString(),
                               option.value ? QLatin1String(option.value) : QString()));
    }
    if (!parser.parse(QStringList{QStringLiteral("sync")} + arguments))
        return usage(parser.errorText());
    if (parser.isSet("help")) {
        return CliCommands::exitFor(CliOutput::out(
            QStringLiteral("Usage: velkaro-cli %1\n\n%2%3%4")
                .arg(synopsis(), QLatin1String(kHelp), optionsHelp(), QLatin1String(kExitHelp))));
    }
    const QStringList books = parser.positionalArguments();
    if (books.size() != 1)
        return usage(books.isEmpty() ? QStringLiteral("missing arguments")
                                     : QStringLiteral("too many arguments"));
    if (books.constFirst() == QLatin1String("-"))
        return usage(
            QStringLiteral("the book must be a file: what was published is kept beside it"));
    if (!parser.isSet("url") || !parser.isSet("user"))
        return usage(QStringLiteral("--url and --user are required"));
    if (parser.value("password-file") == u'-' && parser.value("book-password-file") == u'-')
        return usage(QStringLiteral("--password-file and --book-password-file cannot both be "
                                    "-: standard input holds one password"));

    const CliBook book(books.constFirst(), {parser.value("book-password-file"),
                                            QStringLiteral("--book-password-file")});
    if (!book.ok())
        return fail(book.problem());
    // An address without a scheme is HTTPS.
    const QString typed = parser.value("url");
    const QUrl server = QUrl::fromUserInput(
        typed.contains(QStringLiteral("://")) ? typed : QStringLiteral("https://") + typed);
    CardDavClient::Trust trust;
    trust.plainHttp = parser.isSet("allow-http");
    if (parser.isSet("ca-file")) {
        trust.authorities = QSslCertificate::fromPath(parser.value("ca-file"), QSsl::Pem);
        if (trust.authorities.isEmpty())
            return fail(QStringLiteral("%1 holds no certificate").arg(parser.value("ca-file")));
    }
    const QString user = parser.value("user");
    const CliPassword::Result password = passwordFrom(parser.value("password-file"), server, user);
    if (!password.password)
        return fail(password.problem);

    CardDavClient client(user, *password.password);
    client.setTrust(trust);
    const CardDavClient::Discovery found = client.discover(server);
    if (found.problem == DavProblem::NotAddressBook)
        return fail(QStringLiteral("%1 is neither an address book nor a CardDAV principal")
                        .arg(found.detail));
    if (found.problem == DavProblem::SeveralBooks)
        return severalBooks(found);
    if (found.problem != DavProblem::None)
        return fail(problemText(found.problem, client));
    CardDavSync sync(client, found.addressBook, SyncState::pathFor(books.constFirst()));
    sync.setStateKey(book.key());
    const bool resend = parser.isSet("resend-deleted");
    sync.setDeletedQuestion([resend](const std::vector<CardAction>&) {
        return resend ? CardDavSync::Deleted::Resend : CardDavSync::Deleted::Unbind;
    });
    const std::vector<Contact> contacts = ContactExport::ofBook(book.pages(true));
    const CardDavSync::Result result =
        parser.isSet("dry-run") ? sync.plan(contacts) : sync.publish(contacts);
    if (result.problem != DavProblem::None)
        return fail(problemText(result.problem, client));
    if (!CliOutput::out(listing(result.plan)))
        return CliCommands::ExitFailure;
    if (result.stateError)
        return fail(result.stateError->description);
    if (!resend && !result.plan.deleted.empty()) {
        CliOutput::err(QStringLiteral("velkaro-cli sync: %1 card(s) deleted on the server are "
                                      "not sent again; their entries stay in the book without "
                                      "cards (--resend-deleted sends them)\n")
                           .arg(result.plan.deleted.size()));
    }
    return CliCommands::ExitOk;
}
