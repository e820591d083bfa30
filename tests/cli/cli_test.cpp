#include "case_file.h"
#include "core/app_info.h"
#include "core/code_page.h"
#include "document/book_cipher.h"
#include "document/book_key.h"
#include "document/contact_export.h"
#include "document/data_file.h"
#include "test_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <csignal>
#include <fcntl.h>
#include <functional>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using Prepare = std::function<void(QProcess&)>;

struct CliRun
{
    int exitCode = -1;
    QString out;
    QString err;
    QByteArray outBytes;
};

// `prepare` sets up the process before it starts: where its output goes,
// limits applied in the child.
CliRun runCli(const QStringList& arguments, const Prepare& prepare = {})
{
    QProcess process;
    if (prepare)
        prepare(process);
    process.start(QStringLiteral(VELKARO_CLI), arguments);
    if (!process.waitForFinished(60000))
        return {};
    const QByteArray out = process.readAllStandardOutput();
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(out), QString::fromUtf8(process.readAllStandardError()), out};
}

// One command and what it must do: its exit status, its whole output and a
// part of what it says on standard error (empty: it says nothing there).
struct Case
{
    QStringList args;
    int status;
    QString out;
    QString err = {};
    Prepare prepare = {};
};

void expectRun(const Case& c)
{
    SCOPED_TRACE(c.args.join(' ').toStdString());
    const CliRun run = runCli(c.args, c.prepare);
    EXPECT_EQ(QStringList({QString::number(run.exitCode), run.out}),
              QStringList({QString::number(c.status), c.out}));
    if (c.err.isEmpty())
        EXPECT_EQ(run.err, QString());
    else
        EXPECT_TRUE(run.err.contains(c.err)) << run.err.toStdString();
}

void toFullDisk(QProcess& process)
{
    process.setStandardOutputFile(QStringLiteral("/dev/full"));
}

// Files the child writes stop at a few bytes, as on a disk that fills up;
// the signal is ignored so the write fails instead of killing the child.
void withTinyFileLimit(QProcess& process)
{
    process.setChildProcessModifier([] {
        const rlimit cap{16, 16};
        setrlimit(RLIMIT_FSIZE, &cap);
        signal(SIGXFSZ, SIG_IGN);
    });
}

class CliTest : public ::testing::Test
{
protected:
    // Three pages: an RTF address page with runs of tabs, a plain address page,
    // and a text page whose title carries the "~" marker on disk.
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_book = writeBook(readAll(QStringLiteral(VELKARO_TEST_DATA "/cli/book.dat")));
    }

    QString path(const QString& name) const { return m_dir.filePath(name); }

    QString writeBook(const QByteArray& bytes, const QString& name = QStringLiteral("Velkaro.dat"))
    {
        EXPECT_TRUE(writeAll(path(name), bytes));
        return path(name);
    }

    QStringList files() const { return QDir(m_dir.path()).entryList(QDir::Files, QDir::Name); }

    QTemporaryDir m_dir;
    QString m_book;
};

} // namespace

// Each command of the case file, run on the book beside a copy of it in another
// form, an export and an encrypted copy: none of them changes the book.
TEST_F(CliTest, RunsExitWithTheirStatusAndOutputLeavingTheBookAsItWas)
{
    const QByteArray before = readAll(m_book);
    const auto key = BookKey::create(u"тайна"_qs, BookKey::Limits::fastest());
    const QByteArray sealed = BookCipher::seal("1\r\n\"AB\",\"Jones 555-0100\"\r\n", *key);
    QByteArray damaged = sealed;
    damaged[damaged.size() / 2] = char(damaged[damaged.size() / 2] ^ 4);
    const QDateTime modified = QFileInfo(m_book).lastModified();
    const QHash<QString, QString> names{
        {u"{book}"_qs, m_book},
        {u"{dir}"_qs, m_dir.path()},
        {u"{version}"_qs, AppInfo::versionText()},
        {u"{missing}"_qs, path("nowhere.dat")},
        {u"{old-export}"_qs, writeBook("old export", QStringLiteral("export"))},
        {u"{overlapping}"_qs, writeBook("1\r\n\"A\",\"aaaa\r\nx aa\"\r\n", "a.dat")},
        {u"{other}"_qs, QStringLiteral(VELKARO_TEST_DATA "/cli/other.dat")},
        {u"{backup}"_qs, writeBook(DataFile::serialize(DataFile::defaultPages()), "velkaro.1")},
        {u"{sealed}"_qs, writeBook(sealed, "sealed.dat")},
        {u"{damaged}"_qs, writeBook(damaged, "damaged.dat")},
        {u"{right}"_qs, writeBook(u"тайна\r\n"_qs.toUtf8(), "right")},
        {u"{wrong}"_qs, writeBook("Тайна\n", "wrong")}};
    const auto expand = [&names](QString text) {
        for (auto it = names.begin(); it != names.end(); ++it)
            text.replace(it.key(), it.value());
        return text == u"\"\""_qs ? QString() : text;
    };
    const QHash<QString, Prepare> starts{
        {u"full-disk"_qs, toFullDisk},
        {u"tiny-files"_qs, withTinyFileLimit},
        {u"book-on-stdin"_qs, [this](QProcess& process) { process.setStandardInputFile(m_book); }},
        {u"empty-stdin"_qs,
         [](QProcess& process) { process.setStandardInputFile(QProcess::nullDevice()); }},
        // Nobody could type a password.
        {u"no-terminal"_qs,
         [](QProcess& process) { process.setChildProcessModifier([] { setsid(); }); }}};
    for (const DataCase& c : readCases("cli/runs.cases")) {
        SCOPED_TRACE(c.name);
        QStringList args;
        for (const QString& arg : c.text(0).split(u' ', Qt::SkipEmptyParts))
            args << expand(arg);
        const QStringList status = c.text(1).split(u' ');
        expectRun({args, status[0].toInt(), expand(c.text(2)), expand(c.text(3)),
                   starts.value(status.value(1))});
    }
    for (const QStringList& args : {QStringList{"cat", m_book, "1"},
                                    {"export-text", m_book},
                                    {"find", m_book, "note"},
                                    {"diff", m_book, m_book}})
        EXPECT_EQ(runCli(args).exitCode, 0) << args.join(' ').toStdString();
    EXPECT_TRUE(runCli({"--help"}).out.contains("--version"));
    EXPECT_TRUE(runCli({"find", "--help"}).out.contains(u"\"е\" and \"ё\""_qs));

    EXPECT_EQ(readAll(names[u"{old-export}"_qs]), "old export");
    EXPECT_EQ(readAll(m_book), before);
    EXPECT_EQ(QFileInfo(m_book).lastModified(), modified);
    EXPECT_EQ(files(), (QStringList{"Velkaro.dat", "a.dat", "damaged.dat", "export", "right",
                                    "sealed.dat", "velkaro.1", "wrong"}));
}

TEST_F(CliTest, ExportTextIsTheSavedExportByteForByte)
{
    const CliRun run = runCli({"export-text", m_book});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QByteArray expected =
        CodePage::encodeLossy(QString::fromUtf8("$АБ\r\nИванов\t555-12-34\r\n\t\tnote &dollar;5\r\n"
                                                "$ВГ\r\nПетров\t777\r\nиванова\tдом \"7\"\r\n"
                                                "$Заметки\r\nПозвонить Иванову, Ёлкину\r\n"));
    EXPECT_EQ(run.outBytes, expected);
    EXPECT_EQ(runCli({"export-text", m_book, path("export")}).exitCode, 0);
    EXPECT_EQ(readAll(path("export")), expected);
    EXPECT_EQ(runCli({"export-text", m_book, "--utf8"}).out, CodePage::decode(expected));

    // A pipe given as OUT is written into and stays a pipe. Its reading end is
    // open before the export starts, so the writer never waits.
    const QByteArray fifo = QFile::encodeName(path("pipe"));
    ASSERT_EQ(mkfifo(fifo.constData(), 0600), 0);
    const int reader = ::open(fifo.constData(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    EXPECT_EQ(runCli({"export-text", m_book, path("pipe")}).exitCode, 0);
    QByteArray piped(4096, '\0');
    piped.resize(std::max<ssize_t>(0, ::read(reader, piped.data(), piped.size())));
    ::close(reader);
    EXPECT_EQ(piped, expected);
    EXPECT_FALSE(QFileInfo(path("pipe")).isFile());
}

TEST_F(CliTest, ExportVCardAndCsvWriteTheEntriesOfAddressPagesOrOfOnePage)
{
    const CliRun book = runCli({"export-vcard", m_book});
    ASSERT_EQ(book.exitCode, 0) << book.err.toStdString();
    const QString card = u"BEGIN:VCARD\r\nVERSION:4.0\r\nFN:%1\r\nN:%1;;;;\r\n%2CATEGORIES:%3\r\n"
                         "END:VCARD\r\n"_qs;
    // Every card has its own UID; the rest is as the entries have it.
    const QRegularExpression uid(u"UID:urn:uuid:[0-9a-f-]{36}\r\n"_qs);
    EXPECT_EQ(book.out.count(uid), 3);
    EXPECT_EQ(QString(book.out).remove(uid),
              card.arg(u"Иванов"_qs, u"TEL:555-12-34\r\nNOTE:note $5\r\n"_qs, u"АБ"_qs) +
                  card.arg(u"Петров"_qs, u"NOTE:777\r\n"_qs, u"ВГ"_qs) +
                  card.arg(u"иванова"_qs, u"NOTE:дом \"7\"\r\n"_qs, u"ВГ"_qs))
        << "the text page holds no entries";

    // One page is exported whatever its kind.
    const CliRun notes = runCli({"export-csv", m_book, "3"});
    ASSERT_EQ(notes.exitCode, 0) << notes.err.toStdString();
    std::vector<Contact> note{{u"Позвонить Иванову, Ёлкину"_qs, {}, {}, {}, u"Заметки"_qs}};
    ContactExport::assignUids(note);
    EXPECT_EQ(notes.outBytes, "\xEF\xBB\xBF" + (u"Name,Phone,E-mail,Note,Category,Birthday,UID\r\n"
                                                u"\"Позвонить Иванову, Ёлкину\",,,,Заметки,,"_qs +
                                                note[0].uid + u"\r\n"_qs)
                                                   .toUtf8());

    const QString out = path("contacts.vcf");
    EXPECT_EQ(runCli({"export-vcard", m_book, "--output", out}).exitCode, 0);
    EXPECT_EQ(readAll(out), book.outBytes);
    EXPECT_EQ(runCli({"export-csv", m_book, "3", "-o", out}).exitCode, 0);
    EXPECT_EQ(readAll(out), notes.outBytes);
}

// Damaged books say what is wrong and where; what is not a book file at all
// is never read, however it would answer.
TEST_F(CliTest, CheckSaysWhatIsWrongAndWhere)
{
    const std::pair<QByteArray, const char*> cases[] = {
        {"0\r\n", "line 1"},
        {"3\r\n\"A\",\"one\r\ntwo\"\r\n\"B\",\"\"\r\n", "line 5: Input past end"},
        {"1\r\n\"A\",\"x\"\r\n\"B\",\"y\"\r\n", "line 3: text after the last of the 1 counted"}};
    for (const auto& [bytes, where] : cases) {
        const QString book = writeBook(bytes, QStringLiteral("bad.dat"));
        expectRun({{"check", book}, 1, {}, book + ": " + where});
    }
    // Nothing ever writes to the FIFO: a tool that opened it for reading
    // would wait for ever instead of answering.
    ASSERT_TRUE(QDir(m_dir.path()).mkdir("fifo"));
    const QString fifo = path("fifo/velkaro.dat");
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    // Sparse, so it takes no disk space: one byte over the program's ceiling.
    QFile huge(path("huge.dat"));
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly) && huge.resize(DataFile::MaxFileBytes + 1));
    for (const QString& book : {m_dir.path(), fifo, QStringLiteral("/dev/zero"), huge.fileName()})
        expectRun({{"check", book}, 1, {}, book + ": not a book file"});
}

// The history folder given or the user's own; damaged copies say so, other
// names are not backups.
TEST_F(CliTest, BackupsListsTheDatedCopiesNewestFirst)
{
    const QString history = path("home/.local/share/Velkaro Pro/History/");
    const auto copy = [&](const QString& name, const QByteArray& bytes, const QDateTime& when) {
        ASSERT_TRUE(writeAll(history + name, bytes));
        QFile file(history + name);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite) &&
                    file.setFileTime(when, QFileDevice::FileModificationTime));
    };
    const QDateTime march(QDate(2026, 3, 12), QTime(18, 4, 5));
    copy("velkaro.8", readAll(m_book), march);
    copy("velkaro.36", "damaged\r\n", march.addDays(-80));
    copy("velkaro.37", readAll(m_book), march);
    copy("Velkaro.dat", readAll(m_book), march);
    const QString expected = QStringLiteral("8\t2026-03-12 18:04:05\t3\t%1\t%2velkaro.8\n"
                                            "36\t2025-12-22 18:04:05\tdamaged\t9\t%2velkaro.36\n")
                                 .arg(QFileInfo(m_book).size())
                                 .arg(history);
    const auto inHome = [&](QProcess& process) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("HOME", path("home"));
        env.remove("XDG_DATA_HOME");
        process.setProcessEnvironment(env);
    };
    expectRun({{"backups", history}, 0, expected});
    expectRun({{"backups", history.chopped(1)}, 0, expected});
    expectRun({{"backups"}, 0, expected, {}, inHome});
}
