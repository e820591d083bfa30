#include "core/code_page.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct CliRun
{
    int exitCode = -1;
    QString out;
    QString err;
    QByteArray outBytes;
};

CliRun runCli(const QStringList& arguments)
{
    QProcess process;
    process.start(QStringLiteral(VELKARO_CLI), arguments);
    if (!process.waitForFinished(60000))
        return {};
    const QByteArray out = process.readAllStandardOutput();
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(out), QString::fromUtf8(process.readAllStandardError()), out};
}

QString u8(const char* text)
{
    return QString::fromUtf8(text);
}

// "Иванов" in Windows-1251 escapes, as the rich-edit control writes it.
constexpr const char* kIvanovRtf = "{\\rtf1\\ansi\\ansicpg1251\\deff0{\\fonttbl{\\f0\\fswiss "
                                   "Tahoma;}}\\f0\\fs20 \\'c8\\'e2\\'e0\\'ed\\'ee\\'e2\\tab\\tab "
                                   "555-12-34\\par\r\n\\tab\\tab\\tab note $5\\par\r\n}";

class CliTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }

    QString path(const QString& name) const { return m_dir.filePath(name); }

    QString writeBook(const QByteArray& bytes, const QString& name = QStringLiteral("Velkaro.dat"))
    {
        QFile file(path(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName();
    }

    // Three pages: an RTF address page with runs of tabs, a plain address page,
    // and a text page whose title carries the "~" marker on disk.
    QString sampleBook()
    {
        QByteArray bytes = "3\r\n";
        bytes += CodePage::encodeLossy(u8("\"АБ\",\"")) + kIvanovRtf + "\"\r\n";
        bytes += CodePage::encodeLossy(u8("\"ВГ\",\"Петров\t777\r\nиванова\tдом ''7''\"\r\n"));
        bytes += CodePage::encodeLossy(u8("\"~Заметки\",\"Позвонить Иванову, Ёлкину\"\r\n"));
        return writeBook(bytes);
    }

    QTemporaryDir m_dir;
};

QByteArray digest(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly)
               ? QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256)
               : QByteArray();
}

} // namespace

TEST_F(CliTest, ListShowsNumberKindAndTitleInUtf8)
{
    const CliRun run = runCli({"list", sampleBook()});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, u8("1\taddress\tАБ\n2\taddress\tВГ\n3\ttext\tЗаметки\n"));
}

TEST_F(CliTest, CatPrintsThePageAsTheProgramShowsIt)
{
    const QString book = sampleBook();
    const CliRun rich = runCli({"cat", book, "1"});
    EXPECT_EQ(rich.exitCode, 0) << rich.err.toStdString();
    EXPECT_EQ(rich.out, u8("Иванов\t555-12-34\n\t\tnote $5\n"));
    EXPECT_EQ(runCli({"cat", book, "2"}).out, u8("Петров\t777\nиванова\tдом \"7\"\n"));
}

TEST_F(CliTest, CatRefusesPagesThatDoNotExist)
{
    const QString book = sampleBook();
    for (const char* number : {"0", "4", "-1", "two"}) {
        const CliRun run = runCli({"cat", book, number});
        EXPECT_EQ(run.exitCode, 2) << number;
        EXPECT_TRUE(run.out.isEmpty());
        EXPECT_FALSE(run.err.isEmpty());
    }
    EXPECT_TRUE(runCli({"cat", book, "4"}).err.contains("1 to 3"));
}

TEST_F(CliTest, ExportTextIsTheSavedExportByteForByte)
{
    const QString book = sampleBook();
    const CliRun run = runCli({"export-text", book});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QByteArray expected =
        CodePage::encodeLossy(u8("$АБ\r\nИванов\t555-12-34\r\n\t\tnote &dollar;5\r\n"
                                 "$ВГ\r\nПетров\t777\r\nиванова\tдом \"7\"\r\n"
                                 "$Заметки\r\nПозвонить Иванову, Ёлкину\r\n"));
    EXPECT_EQ(run.outBytes, expected);

    const QString out = path("export");
    EXPECT_EQ(runCli({"export-text", book, out}).exitCode, 0);
    QFile written(out);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll(), expected);

    EXPECT_EQ(runCli({"export-text", book, "--utf8"}).out, CodePage::decode(expected));
}

TEST_F(CliTest, NoCommandChangesTheBook)
{
    const QString book = sampleBook();
    const QByteArray before = digest(book);
    const QDateTime modified = QFileInfo(book).lastModified();
    for (const QStringList& args : {QStringList{"list", book},
                                    {"cat", book, "1"},
                                    {"export-text", book},
                                    {"find", book, "tab"}})
        EXPECT_EQ(runCli(args).exitCode, 0) << args.join(' ').toStdString();
    const CliRun check = runCli({"check", book});
    EXPECT_EQ(check.exitCode, 0);
    EXPECT_TRUE(check.out.contains("OK, 3 pages")) << check.out.toStdString();

    const CliRun overBook =
        runCli({"export-text", book, QDir(m_dir.path()).filePath("./Velkaro.dat")});
    EXPECT_EQ(overBook.exitCode, 2);
    const CliRun underFile = runCli({"export-text", book, book + "/export"});
    EXPECT_EQ(underFile.exitCode, 1);
    EXPECT_TRUE(underFile.err.contains("cannot write")) << underFile.err.toStdString();

    EXPECT_EQ(digest(book), before);
    EXPECT_EQ(QFileInfo(book).lastModified(), modified);
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files), QStringList{"Velkaro.dat"});
}

TEST_F(CliTest, CheckSaysWhatIsWrongAndWhere)
{
    struct Case
    {
        QByteArray bytes;
        const char* where;
    };
    const Case cases[] = {
        {"0\r\n", "line 1"},
        {"-3\r\n\"A\",\"\"\r\n", "line 1"},
        {"3\r\n\"A\",\"one\r\ntwo\"\r\n\"B\",\"\"\r\n", "line 5: Input past end"},
        {"2\r\n\"A\",\"x\"\r\n\"B\",\"unbalanced\r\n", "line "},
        {QByteArray("1\r\n\"A\",\"x\0y\"\r\n", 14), "line 2"},
    };
    for (const Case& c : cases) {
        const QString book = writeBook(c.bytes, QStringLiteral("bad.dat"));
        const CliRun run = runCli({"check", book});
        EXPECT_EQ(run.exitCode, 1) << c.bytes.toStdString();
        EXPECT_TRUE(run.err.contains(book)) << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(c.where)) << run.err.toStdString();
        EXPECT_TRUE(run.out.isEmpty());
    }
}

TEST_F(CliTest, MissingBookIsABadBookForEveryCommand)
{
    const QString missing = path("nowhere.dat");
    for (const QStringList& args : {QStringList{"list", missing},
                                    {"cat", missing, "1"},
                                    {"export-text", missing},
                                    {"check", missing},
                                    {"find", missing, "x"}}) {
        const CliRun run = runCli(args);
        EXPECT_EQ(run.exitCode, 1) << args.join(' ').toStdString();
        EXPECT_TRUE(run.err.contains(missing)) << run.err.toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(missing));
    EXPECT_EQ(runCli({"check", m_dir.path()}).exitCode, 1);
}

TEST_F(CliTest, FindReportsPageLineAndColumnOfEveryMatch)
{
    const QString book = sampleBook();
    const CliRun any = runCli({"find", book, u8("иванов")});
    EXPECT_EQ(any.exitCode, 0) << any.err.toStdString();
    EXPECT_EQ(any.out, u8("1:1:1:Иванов\t555-12-34\n"
                          "2:2:1:иванова\tдом \"7\"\n"
                          "3:1:11:Позвонить Иванову, Ёлкину\n"));
    EXPECT_EQ(runCli({"find", book, u8("иванов"), "--case"}).out, u8("2:2:1:иванова\tдом \"7\"\n"));
    EXPECT_EQ(runCli({"find", book, u8("иванов"), "--word"}).out, u8("1:1:1:Иванов\t555-12-34\n"));
    EXPECT_EQ(runCli({"find", book, u8("ёлкин")}).out, u8("3:1:20:Позвонить Иванову, Ёлкину\n"));
    const CliRun none = runCli({"find", book, "absent"});
    EXPECT_EQ(none.exitCode, 0);
    EXPECT_TRUE(none.out.isEmpty());
    // Each search starts one character after the previous match, so matches overlap.
    const QString overlapping = writeBook("1\r\n\"A\",\"aaaa\r\nx aa\"\r\n", "a.dat");
    EXPECT_EQ(runCli({"find", overlapping, "aa"}).out,
              "1:1:1:aaaa\n1:1:2:aaaa\n1:1:3:aaaa\n1:2:3:x aa\n");
}

TEST_F(CliTest, UsageErrorsExitWithTwo)
{
    const QString book = sampleBook();
    for (const QStringList& args : {QStringList{},
                                    {"frobnicate", book},
                                    {"list"},
                                    {"list", book, "extra"},
                                    {"cat", book},
                                    {"find", book},
                                    {"find", book, ""},
                                    {"list", book, "--case"},
                                    {"check", book, "--bogus"}}) {
        const CliRun run = runCli(args);
        EXPECT_EQ(run.exitCode, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(run.out.isEmpty());
        EXPECT_TRUE(run.err.contains("velkaro-cli")) << run.err.toStdString();
    }
}

TEST_F(CliTest, HelpForTheProgramAndEachCommand)
{
    const CliRun overall = runCli({"--help"});
    EXPECT_EQ(overall.exitCode, 0);
    for (const char* command : {"list", "cat", "export-text", "check", "find"}) {
        EXPECT_TRUE(overall.out.contains(command));
        const CliRun one = runCli({command, "--help"});
        EXPECT_EQ(one.exitCode, 0) << command;
        EXPECT_TRUE(one.out.startsWith(QStringLiteral("Usage: velkaro-cli %1").arg(command)));
    }
}
