#include "case_file.h"
#include "core/app_info.h"
#include "core/code_page.h"
#include "crypto/book_cipher.h"
#include "crypto/book_key.h"
#include "document/data_file.h"
#include "qt_printing.h"
#include "test_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <csignal>
#include <fcntl.h>
#include <functional>
#include <gtest/gtest.h>
#include <locale.h>
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
    // A copy in the history folder, made at `when`.
    void writeCopy(const QString& name, const QByteArray& bytes, const QDateTime& when)
    {
        QFile file(writeBook(bytes, m_history + name));
        ASSERT_TRUE(file.open(QIODevice::ReadWrite) &&
                    file.setFileTime(when, QFileDevice::FileModificationTime));
    }
    QStringList files() const { return QDir(m_dir.path()).entryList(QDir::Files, QDir::Name); }

    QTemporaryDir m_dir;
    QString m_book;
    const QString m_history = QStringLiteral("home/.local/share/Velkaro Pro/History/");
};

} // namespace

// Each command of the case file, run on the book beside a copy of it in another
// form, an export, an encrypted copy, damaged books, things that are no book
// file and a history folder: none of them changes the book.
TEST_F(CliTest, RunsExitWithTheirStatusAndOutputLeavingTheBookAsItWas)
{
    const QByteArray before = readAll(m_book);
    const auto key = BookKey::create(u"тайна"_qs, BookKey::Limits::fastest());
    const QByteArray sealed = BookCipher::seal("1\r\n\"AB\",\"Jones 555-0100\"\r\n", *key);
    QByteArray damaged = sealed;
    damaged[damaged.size() / 2] = char(damaged[damaged.size() / 2] ^ 4);
    const QDateTime modified = QFileInfo(m_book).lastModified();
    // Nothing ever writes to the FIFO: a tool that opened it for reading would
    // wait for ever. The sparse file is one byte over the program's ceiling.
    ASSERT_TRUE(QDir(m_dir.path()).mkdir("fifo"));
    ASSERT_EQ(mkfifo(QFile::encodeName(path("fifo/velkaro.dat")).constData(), 0600), 0);
    QFile huge(path("huge.dat"));
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly) && huge.resize(DataFile::MaxFileBytes + 1));
    const QDateTime march(QDate(2026, 3, 12), QTime(18, 4, 5));
    writeCopy("velkaro.8", before, march);
    writeCopy("velkaro.36", "damaged\r\n", march.addDays(-80));
    writeCopy("velkaro.37", before, march);
    writeCopy("Velkaro.dat", before, march);
    const QHash<QString, QString> names{
        {u"{book}"_qs, m_book},
        {u"{dir}"_qs, m_dir.path()},
        {u"{version}"_qs, AppInfo::versionText()},
        {u"{size}"_qs, QString::number(before.size())},
        {u"{history}"_qs, path(m_history).chopped(1)},
        {u"{missing}"_qs, path("nowhere.dat")},
        {u"{old-export}"_qs, writeBook("old export", QStringLiteral("export"))},
        {u"{backup}"_qs, writeBook(DataFile::serialize(DataFile::defaultPages()), "velkaro.1")},
        {u"{sealed}"_qs, writeBook(sealed, "sealed.dat")},
        {u"{damaged}"_qs, writeBook(damaged, "damaged.dat")},
        {u"{private-password}"_qs, writeBook(u"тайна\n"_qs.toUtf8(), "private-password")},
        {u"{shared-password}"_qs, writeBook(u"тайна\n"_qs.toUtf8(), "shared-password")},
        {u"{data}"_qs, QStringLiteral(VELKARO_TEST_DATA "/cli")}};
    QFile::setPermissions(names[u"{private-password}"_qs], QFile::ReadOwner | QFile::WriteOwner);
    QFile::setPermissions(names[u"{shared-password}"_qs],
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther);
    const auto expand = [&names](QString text) {
        for (auto it = names.begin(); it != names.end(); ++it)
            text.replace(it.key(), it.value());
        return text == u"\"\""_qs ? QString() : text;
    };
    const QHash<QString, Prepare> starts{
        {u"full-disk"_qs,
         [](QProcess& process) { process.setStandardOutputFile(QStringLiteral("/dev/full")); }},
        {u"tiny-files"_qs, withTinyFileLimit},
        {u"book-on-stdin"_qs, [this](QProcess& process) { process.setStandardInputFile(m_book); }},
        {u"password-on-stdin"_qs,
         [this](QProcess& process) { process.setStandardInputFile(path("private-password")); }},
        {u"empty-stdin"_qs,
         [](QProcess& process) { process.setStandardInputFile(QProcess::nullDevice()); }},
        {u"zero-stdin"_qs, [](QProcess& process) { process.setStandardInputFile("/dev/zero"); }},
        // Nobody could type a password.
        {u"no-terminal"_qs,
         [](QProcess& process) { process.setChildProcessModifier([] { setsid(); }); }},
        {u"in-home"_qs, [this](QProcess& process) {
             QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
             env.insert("HOME", path("home"));
             env.remove("XDG_DATA_HOME");
             process.setProcessEnvironment(env);
         }}};
    for (const DataCase& c : readCases("cli/runs.cases")) {
        SCOPED_TRACE(c.name);
        QStringList args;
        for (const QString& arg : c.text(0).split(u' ', Qt::SkipEmptyParts))
            args << expand(arg);
        const QStringList status = c.text(1).split(u' ');
        const CliRun run = runCli(args, starts.value(status.value(1)));
        const QString out = status.contains(u"crlf"_qs) ? c.lines(2) : c.text(2);
        EXPECT_EQ(QString::number(run.exitCode) + u'\n' + run.out,
                  QString(status[0] + u'\n' + expand(out)))
            << run.out;
        const QString err = expand(c.text(3));
        EXPECT_TRUE(err.isEmpty() ? run.err.isEmpty() : run.err.contains(err)) << run.err;
    }
    EXPECT_TRUE(runCli({"--help"}).out.contains("--version"));
    EXPECT_TRUE(runCli({"find", "--help"}).out.contains(u"\"е\" and \"ё\""_qs));

    EXPECT_EQ(readAll(names[u"{old-export}"_qs]), "old export");
    EXPECT_EQ(readAll(m_book), before);
    EXPECT_EQ(QFileInfo(m_book).lastModified(), modified);
    EXPECT_EQ(files(),
              (QStringList{"Velkaro.dat", "damaged.dat", "export", "huge.dat", "private-password",
                           "sealed.dat", "shared-password", "velkaro.1"}));
}

// Without --utf8 the export is the saved export's Windows-1251 bytes, and a
// table starts with the byte order mark; given an OUT, whatever it is, the
// file holds what standard output would have.
TEST_F(CliTest, ExportsWriteTheirOutputIntoOutAsIntoStandardOutput)
{
    EXPECT_TRUE(runCli({"export-csv", m_book, "3"}).outBytes.startsWith("\xEF\xBB\xBF"));
    const CliRun exported = runCli({"export-text", m_book});
    EXPECT_EQ(exported.exitCode, 0);
    const QByteArray text = exported.outBytes;
    EXPECT_EQ(text, CodePage::encodeLossy(runCli({"export-text", m_book, "--utf8"}).out));
    const QString out = path("out");
    for (const QStringList& args : {QStringList{"export-text", m_book, out},
                                    {"export-vcard", m_book, "--output", out},
                                    {"export-csv", m_book, "3", "-o", out}}) {
        QStringList toOut = args;
        toOut.removeLast();
        if (toOut.last().startsWith(u'-'))
            toOut.removeLast();
        EXPECT_EQ(runCli(args).exitCode, 0) << args.join(' ');
        EXPECT_EQ(readAll(out), runCli(toOut).outBytes) << args.join(' ');
    }

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
    EXPECT_EQ(piped, text);
    EXPECT_FALSE(QFileInfo(path("pipe")).isFile());
}

// The commands that look at each page once read the book a part at a time: a
// record longer than a part reads whole, and a fault found past the first part
// is reported as when the book is read whole, with nothing printed before it.
TEST_F(CliTest, PagesReadOneByOneAreReadWholeAndAFaultFarInIsReportedAlone)
{
    const QByteArray longText(300000, 'x');
    const QByteArray book =
        "2\r\n\"AB\",\"" + longText + " 555-1\"\r\n\"CD\",\"Jones 555-0100\"\r\n";
    writeBook(book);
    EXPECT_EQ(runCli({"cat", m_book, "2"}).out, u"Jones 555-0100\n"_qs);
    const CliRun found = runCli({"find", m_book, "555-"});
    EXPECT_TRUE(found.out.startsWith(u"1:1:300002:xxx"_qs)) << found.out.left(20);
    EXPECT_TRUE(found.out.endsWith(u"x 555-1\n2:1:7:Jones 555-0100\n"_qs));
    EXPECT_EQ(runCli({"export-text", m_book}).outBytes,
              "$AB\r\n" + longText + " 555-1\r\n$CD\r\nJones 555-0100\r\n");

    writeBook(book.chopped(3));
    for (const QStringList& args : {QStringList{"export-text", m_book}, {"find", m_book, "555-"}}) {
        const CliRun run = runCli(args);
        EXPECT_EQ(run.out, QString()) << args.join(' ');
        EXPECT_TRUE(run.err.contains(u"line 3: Input past end of file"_qs)) << run.err;
    }

    // A part (256 KiB) that ends anywhere in a record, its line end included.
    const QByteArray second = "CD,Jones 555-0100\r\n";
    for (qsizetype cut = 0; cut <= second.size(); ++cut) {
        const QByteArray head = "3\r\n\"AB\",\"";
        const QByteArray tail = "\"\r\n";
        const QByteArray first =
            head + QByteArray(262144 - cut - head.size() - tail.size(), 'x') + tail;
        writeBook(first + second + "\"EF\",\"Smith\"\r\n");
        EXPECT_EQ(runCli({"cat", m_book, "2"}).out, u"Jones 555-0100\n"_qs) << cut;
        EXPECT_EQ(runCli({"cat", m_book, "3"}).out, u"Smith\n"_qs) << cut;
    }

    // Many pages to a part: the page asked for is found in whichever part it
    // falls, and a page without a title far in stops the reading at its line.
    QByteArray many = "20000\r\n";
    for (int page = 1; page <= 20000; ++page) {
        const QByteArray number = QByteArray::number(page);
        many += (page == 15000 ? "\"\"" : "\"P" + number + "\"") + ",\"Text " + number + "\"\r\n";
    }
    writeBook(many);
    for (const int page : {1, 9000, 14999})
        EXPECT_EQ(runCli({"cat", m_book, QString::number(page)}).out, u"Text %1\n"_qs.arg(page));
    const CliRun past = runCli({"cat", m_book, "20000"});
    EXPECT_EQ(past.out, QString());
    EXPECT_TRUE(past.err.contains(u"line 15001: A page without a title"_qs)) << past.err;
}

// The system's error texts follow the locale for messages, named as the C
// library looks for it: LC_ALL, then LC_MESSAGES, then LANG.
TEST_F(CliTest, SystemErrorTextsComeInTheLanguageTheEnvironmentNames)
{
    const locale_t russianLocale = newlocale(LC_MESSAGES_MASK, "ru_RU.UTF-8", locale_t(nullptr));
    if (!russianLocale)
        GTEST_SKIP() << "no Russian locale here";
    freelocale(russianLocale);
    const QString russian = u"Это не каталог"_qs;
    const QString english = u"Not a directory"_qs;
    const struct
    {
        QStringList variables;
        QString text;
    } cases[] = {
        {{"LANG=ru_RU.UTF-8"}, russian},
        {{"LANG=C.UTF-8"}, english},
        {{"LC_ALL=C", "LANG=ru_RU.UTF-8"}, english},
        {{"LC_ALL=", "LC_MESSAGES=ru_RU.UTF-8", "LANG=C.UTF-8"}, russian},
        {{"LC_MESSAGES=POSIX", "LANG=ru_RU.UTF-8"}, english},
        {{}, english},
    };
    for (const auto& [variables, text] : cases) {
        const CliRun run = runCli({"cat", m_book + u"/page"_qs, "1"}, [&](QProcess& process) {
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG", "LANGUAGE"})
                environment.remove(QString::fromLatin1(name));
            for (const QString& variable : variables)
                environment.insert(variable.section(u'=', 0, 0), variable.section(u'=', 1));
            process.setProcessEnvironment(environment);
        });
        EXPECT_EQ(run.exitCode, 1) << variables.join(u' ').toStdString();
        EXPECT_TRUE(run.err.endsWith(u": cannot read: %1\n"_qs.arg(text))) << run.err.toStdString();
    }
}
