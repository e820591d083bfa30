#include "cli/cli_commands.h"

#include "cli/cli_book.h"
#include "cli/cli_output.h"
#include "contacts/contact_export.h"
#include "core/code_page.h"
#include "core/folders.h"
#include "core/safe_file.h"
#include "document/backup_catalog.h"
#include "document/book_diff.h"
#include "document/stored_text_filter.h"
#include "document/text_export.h"
#include "richtext/text_finder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <optional>
#include <vector>

namespace {

// Whether the book opened; if not, says why and the caller exits with ExitFailure.
bool openedOrReported(const CliBook& book)
{
    if (!book.ok())
        CliOutput::err(QStringLiteral("velkaro-cli: %1\n").arg(book.problem()));
    return book.ok();
}

int usageError(const QString& command, const QString& message)
{
    CliOutput::err(
        QStringLiteral("velkaro-cli %1: %2\nTry 'velkaro-cli %1 --help'.\n").arg(command, message));
    return CliCommands::ExitUsage;
}

QString kindName(qint32 kind)
{
    return kind == PageRecord::TextPage ? QStringLiteral("text") : QStringLiteral("address");
}

// Terminal lines end in LF; the book's own CR LF would show as stray ^M.
QString forTerminal(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return text;
}

bool samePath(const QString& a, const QString& b)
{
    const QString left = QFileInfo(a).canonicalFilePath();
    return !left.isEmpty() && left == QFileInfo(b).canonicalFilePath();
}

bool reportWritten(const QString& path, const QString& error)
{
    CliOutput::err(QStringLiteral("velkaro-cli: %1: cannot write: %2\n").arg(path, error));
    return false;
}

// A device or FIFO (/dev/stdout, a pipe to another program) is written
// straight into: renaming a new file over it would put a plain file where
// the device node was.
bool writeInto(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) &&
        file.write(bytes) == bytes.size())
        return true;
    return reportWritten(path, file.errorString());
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    const QFileInfo info(path);
    if (info.isDir())
        return reportWritten(path, QStringLiteral("Is a folder"));
    if (info.exists() && !info.isFile())
        return writeInto(path, bytes);
    // The user named this file: a link there is his to follow.
    if (const std::optional<AppError> error =
            SafeFile::writeWhole(path, bytes, std::nullopt, SafeFile::Links::Follow))
        return reportWritten(path, error->description);
    return true;
}

struct LinePosition
{
    int line = 1;
    qsizetype lineStart = 0;
};

// Moves `at` forward to the line holding `pos`; matches come in ascending
// order, so a whole page costs one pass.
void advanceTo(const QString& text, qsizetype pos, LinePosition& at)
{
    for (qsizetype next = text.indexOf(u'\n', at.lineStart); next >= 0 && next < pos;
         next = text.indexOf(u'\n', at.lineStart)) {
        ++at.line;
        at.lineStart = next + 1;
    }
}

// The program's own name, whatever this tool is called: its backups are
// named after it.
const QString kProgramBaseName = QStringLiteral("velkaro");

QString changeName(BookDiff::Change change)
{
    switch (change) {
    case BookDiff::Change::Added:
        return QStringLiteral("added");
    case BookDiff::Change::Removed:
        return QStringLiteral("removed");
    case BookDiff::Change::Changed:
        break;
    }
    return QStringLiteral("changed");
}

QString pageNumber(int number)
{
    return number > 0 ? QString::number(number) : QStringLiteral("-");
}

QString lineAt(const QString& text, qsizetype lineStart)
{
    qsizetype end = text.indexOf(u'\n', lineStart);
    if (end < 0)
        end = text.size();
    if (end > lineStart && text.at(end - 1) == u'\r')
        --end;
    return text.mid(lineStart, end - lineStart);
}

std::optional<int> pageNumber(const QString& text)
{
    bool isNumber = false;
    const int number = text.toInt(&isNumber);
    return isNumber ? std::optional<int>(number) : std::nullopt;
}

// The status of a command that answers a question, once its output is out.
int answer(bool yes, const QString& out)
{
    if (!CliOutput::out(out))
        return CliCommands::ExitTrouble;
    return yes ? CliCommands::ExitOk : CliCommands::ExitNo;
}

int noSuchPage(const QString& command, int number, size_t count)
{
    return usageError(command, QStringLiteral("no page %1: the book has pages 1 to %2")
                                   .arg(QString::number(number), QString::number(count)));
}

// The contacts of the whole book, or of the page the second argument names.
int exportContacts(const CliArgs& args, ContactExport::Format format, const QString& command)
{
    const QString& book = args.positional.at(0);
    const std::optional<int> page =
        args.positional.size() > 1 ? pageNumber(args.positional.at(1)) : std::nullopt;
    if (args.positional.size() > 1 && !page)
        return usageError(command,
                          QStringLiteral("'%1' is not a page number").arg(args.positional.at(1)));
    if (!args.output.isEmpty() && samePath(book, args.output))
        return usageError(
            command,
            QStringLiteral("%1 is the book itself; it is never overwritten").arg(args.output));
    const CliBook opened(book, args.password);
    if (!openedOrReported(opened))
        return CliCommands::ExitFailure;
    if (page && (*page < 1 || *page > static_cast<int>(opened.pageCount())))
        return noSuchPage(command, *page, opened.pageCount());
    const std::vector<Contact> contacts = page ? ContactExport::ofPage(opened.page(*page, true))
                                               : ContactExport::ofBook(opened.pages(true));
    const QByteArray bytes = ContactExport::write(contacts, format);
    return CliCommands::exitFor(args.output.isEmpty() ? CliOutput::outBytes(bytes)
                                                      : writeFile(args.output, bytes));
}

// Visits every page of `book` once; a walked book found faulty part way is
// read whole, and `out` made again from the first page. False, the problem
// reported, when the book cannot be read.
template <typename Out>
bool visitEveryPage(CliBook& book, const std::function<void(size_t)>& visit, Out& out)
{
    if (!openedOrReported(book))
        return false;
    if (book.forEachPage(visit))
        return true;
    out.clear();
    return openedOrReported(book) && book.forEachPage(visit);
}

} // namespace

int CliCommands::list(const CliArgs& args)
{
    const CliBook book(args.positional.at(0), args.password);
    if (!openedOrReported(book))
        return ExitFailure;
    QString out;
    for (size_t number = 1; number <= book.pageCount(); ++number) {
        out += QStringLiteral("%1\t%2\t%3\n")
                   .arg(QString::number(number), kindName(book.kind(number)), book.title(number));
    }
    return exitFor(CliOutput::out(out));
}

int CliCommands::cat(const CliArgs& args)
{
    const std::optional<int> number = pageNumber(args.positional.at(1));
    if (!number)
        return usageError("cat",
                          QStringLiteral("'%1' is not a page number").arg(args.positional.at(1)));
    // The book is read up to the page printed; a page after it is not looked at.
    const CliBook book(args.positional.at(0), args.password, std::max(*number, 1),
                       CliBook::Reading::Walked);
    if (!openedOrReported(book))
        return ExitFailure;
    if (*number < 1 || *number > static_cast<int>(book.pageCount()))
        return noSuchPage("cat", *number, book.pageCount());
    const QString text = forTerminal(book.page(*number, true).plainText());
    return exitFor(CliOutput::out(text.isEmpty() || text.endsWith(u'\n') ? text : text + u'\n'));
}

int CliCommands::exportText(const CliArgs& args)
{
    const QString& book = args.positional.at(0);
    // OUT as the second argument, as earlier versions took it, or --output.
    if (args.positional.size() > 1 && !args.output.isEmpty())
        return usageError("export-text", QStringLiteral("give OUT or --output, not both"));
    const QString out = args.output.isEmpty() ? args.positional.value(1) : args.output;
    if (!out.isEmpty() && samePath(book, out))
        return usageError(
            "export-text",
            QStringLiteral("%1 is the book itself; it is never overwritten").arg(out));
    CliBook opened(book, args.password, 0, CliBook::Reading::Walked);
    // Page by page: no page is held longer than it takes to export it.
    QByteArray bytes;
    const auto exportPage = [&](size_t number) {
        const std::optional<QByteArrayView> title = opened.windows1251Title(number);
        if (!title || !TextExport::appendStoredText(bytes, *title, opened.pageText(number),
                                                    opened.kind(number)))
            TextExport::appendPage(bytes, opened.page(number, true));
    };
    if (!visitEveryPage(opened, exportPage, bytes))
        return ExitFailure;
    if (args.utf8)
        bytes = CodePage::decode(bytes).toUtf8();
    return exitFor(out.isEmpty() ? CliOutput::outBytes(bytes) : writeFile(out, bytes));
}

int CliCommands::check(const CliArgs& args)
{
    const QString& book = args.positional.at(0);
    const CliBook opened(book, args.password);
    if (!openedOrReported(opened))
        return ExitFailure;
    if (opened.trailingLine() > 0) {
        CliOutput::err(QStringLiteral("velkaro-cli: %1: line %2: text after the last of the %3 "
                                      "counted pages\n")
                           .arg(book, QString::number(opened.trailingLine()),
                                QString::number(opened.pageCount())));
        return ExitFailure;
    }
    return exitFor(CliOutput::out(
        QStringLiteral("%1: OK, %2 pages\n").arg(book, QString::number(opened.pageCount()))));
}

int CliCommands::find(const CliArgs& args)
{
    const QString& sample = args.positional.at(1);
    if (sample.isEmpty())
        return usageError("find", QStringLiteral("nothing to find: TEXT is empty"));
    CliBook book(args.positional.at(0), args.password, 0, CliBook::Reading::Walked);
    const int options = (args.matchCase ? TextFinder::matchCase : 0) |
                        (args.wholeWord ? TextFinder::wholeWord : 0) |
                        (args.yoAsYe ? TextFinder::yoAsYe : 0) |
                        (args.digitsOnly ? TextFinder::digitsOnly : 0);
    // Only a page whose bytes could spell the sample is decoded.
    const StoredTextFilter filter(sample, options);
    QString out;
    const auto findInPage = [&](size_t number) {
        const std::optional<QByteArrayView> stored = book.storedText(number);
        if (stored && !filter.mayHold(*stored))
            return;
        const QString text = book.page(number, true).plainText();
        LinePosition at;
        for (int pos = TextFinder::find(text, sample, 0, -1, options); pos >= 0;
             pos = TextFinder::find(text, sample, pos + 1, -1, options)) {
            advanceTo(text, pos, at);
            out += QStringLiteral("%1:%2:%3:%4\n")
                       .arg(QString::number(number), QString::number(at.line),
                            QString::number(pos - at.lineStart + 1), lineAt(text, at.lineStart));
        }
    };
    if (!visitEveryPage(book, findInPage, out))
        return ExitTrouble;
    return answer(!out.isEmpty(), out);
}

int CliCommands::exportVCard(const CliArgs& args)
{
    return exportContacts(args, ContactExport::Format::VCard, QStringLiteral("export-vcard"));
}

int CliCommands::exportCsv(const CliArgs& args)
{
    return exportContacts(args, ContactExport::Format::Csv, QStringLiteral("export-csv"));
}

int CliCommands::backups(const CliArgs& args)
{
    const QString folder = args.positional.isEmpty()
                               ? Folders::historyFolderIn(Folders::userSettingsFolder())
                               : Folders::withSeparator(args.positional.constFirst());
    if (!QFileInfo(folder).isDir()) {
        CliOutput::err(QStringLiteral("velkaro-cli: %1: no such folder\n")
                           .arg(QDir::toNativeSeparators(folder)));
        return ExitFailure;
    }
    QString out;
    for (const BackupCatalog::Entry& entry : BackupCatalog::list(folder, kProgramBaseName, {})) {
        out += QStringLiteral("%1\t%2\t%3\t%4\t%5\n")
                   .arg(QString::number(entry.period),
                        entry.modified.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
                        entry.pageCount   ? QString::number(*entry.pageCount)
                        : entry.encrypted ? QStringLiteral("encrypted")
                                          : QStringLiteral("damaged"),
                        QString::number(entry.size), QDir::toNativeSeparators(entry.path));
    }
    return exitFor(CliOutput::out(out));
}

int CliCommands::diff(const CliArgs& args)
{
    // Pages are compared as the files store them.
    const CliBook before(args.positional.at(0), args.password);
    if (!openedOrReported(before))
        return ExitTrouble;
    const CliBook after(args.positional.at(1), args.password);
    if (!openedOrReported(after))
        return ExitTrouble;
    const std::vector<BookDiff::Entry> entries =
        BookDiff::compare(before.pages(false), after.pages(false));
    QString out;
    for (const BookDiff::Entry& entry : entries) {
        out += QStringLiteral("%1\t%2\t%3\t%4\n")
                   .arg(changeName(entry.change), pageNumber(entry.before), pageNumber(entry.after),
                        entry.title);
    }
    return answer(out.isEmpty(), out);
}
