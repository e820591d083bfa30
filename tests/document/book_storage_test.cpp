#include "core/code_page.h"
#include "core/message_service.h"
#include "document/book_preload.h"
#include "document/book_storage.h"
#include "document/data_file.h"
#include "document/history_backup.h"
#include "document/tab_cleanup.h"
#include "document/text_export.h"
#include "richtext/rtf_plain_text.h"
#include "unit_test.h"

#include <QDirIterator>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QByteArray kDefaultBook = DataFile::serialize(DataFile::defaultPages());

class BookStorageTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        configure(m_dir.path() + "/data/");
        QDir().mkpath(m_storage.filePath());
    }

    void configure(const QString& filePath)
    {
        m_storage.setFilePath(filePath);
        m_storage.setSettingsFolder(m_dir.path() + "/settings/");
    }

    // A regular file, so that any path below it cannot be created.
    QString blocker()
    {
        writeAll(m_dir.path() + "/regular-file", "not a folder");
        return m_dir.path() + "/regular-file";
    }

    QTemporaryDir m_dir;
    Book m_book;
    BookStorage m_storage{m_book};
};

// Every file is replaced by renaming a new one over it: a file written again
// has another inode, whether or not its bytes changed.
ino_t inodeOf(const QString& path)
{
    struct stat st = {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_ino : 0;
}

// Another program's copy of `path` with the same size and modification time:
// renamed over it (a sync tool, rsync -t) or written into it (cp -p).
void replaceKeepingStamp(const QString& path, const QByteArray& bytes, bool inPlace = false)
{
    const QDateTime modified = QFileInfo(path).lastModified();
    const QString target = inPlace ? path : path + ".sync";
    writeAll(target, bytes);
    QFile file(target);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(modified, QFileDevice::FileModificationTime));
    file.close();
    ASSERT_TRUE(inPlace || ::rename(QFile::encodeName(target).constData(),
                                    QFile::encodeName(path).constData()) == 0);
}

} // namespace

// A change by another program is noticed whatever it keeps of the file's
// size and time, after a load and after a save alike, and nothing is written
// over it.
TEST_F(BookStorageTest, AChangeKeepingSizeAndTimeIsNoticedAndNotWrittenOver)
{
    const QString book = m_storage.fullDataPath();
    for (const bool inPlace : {false, true}) {
        for (const bool afterSave : {false, true}) {
            writeAll(book, "1\r\n\"A\",\"555-12-34\"\r\n");
            ASSERT_FALSE(m_storage.loadBook().has_value());
            m_book.setPageText(1, u"555-12-34 ours"_qs);
            if (afterSave) {
                ASSERT_TRUE(m_storage.saveBook().dataSaved());
            }
            const QByteArray before = readAll(book);
            replaceKeepingStamp(book, before.left(before.size() - 4) + "5\"\r\n", inPlace);
            const QByteArray changed = readAll(book);
            EXPECT_EQ(std::pair(m_storage.saveBook().changedOnDisk, readAll(book)),
                      std::pair(true, changed))
                << inPlace << afterSave;
        }
    }
}

TEST_F(BookStorageTest, FirstStartWritesTheDefaultBookIntoANewFolderAndCleansUpAddressPages)
{
    configure(m_dir.path() + "/new/");
    ASSERT_FALSE(m_storage.loadBook().has_value());
    EXPECT_EQ(m_book.pageCount(), 14);
    EXPECT_EQ(readAll(m_storage.fullDataPath()), kDefaultBook);
    // Only address pages pass through the clean-up.
    writeAll(m_storage.fullDataPath(), "2\r\n\"A\",\"a\"\r\n\"~T\",\"t\"\r\n");
    m_storage.setPageCleanup([](const QString& text) { return text + u"!"_qs; });
    ASSERT_FALSE(m_storage.loadBook().has_value());
    EXPECT_EQ(m_book.page(1).text + m_book.page(2).text, u"a!t"_qs);
    // What Revert would drop: a page the clean-up changed is none of it, a
    // page typed back to what it was neither; a page added moves the rest.
    const std::pair<std::function<void()>, int> steps[] = {
        {[] {}, 0},
        {[&] { m_book.setPageText(2, u"typed"_qs); }, 1},
        {[&] { m_book.setPageText(2, u"t"_qs); }, 0},
        {[&] { m_book.setPageText(1, u"other"_qs); }, 1},
        {[&] { m_book.insertPage(u"B"_qs, 2); }, 2},
        {[&] { ASSERT_TRUE(m_storage.saveBook().dataSaved()); }, 0}};
    for (const auto& [step, unsaved] : steps) {
        step();
        EXPECT_EQ(m_storage.unsavedPageCount(), unsaved);
    }
    // What only the clean-up changed is written by the next save all the same.
    writeAll(m_storage.fullDataPath(), "1\r\n\"A\",\"a\"\r\n");
    ASSERT_FALSE(m_storage.loadBook().has_value());
    ASSERT_TRUE(m_storage.saveBook().dataSaved());
    EXPECT_EQ(readAll(m_storage.fullDataPath()), "1\r\n\"A\",\"a!\"\r\n");
}

TEST_F(BookStorageTest, UnreadableFilesAreKeptAsideUnderDistinctNamesAndNeverOverwritten)
{
    QStringList kept;
    for (const char* name : {"count_zero.dat", "truncated.dat", "binary_junk.dat", "empty.dat"}) {
        const QByteArray bytes = readAll(QStringLiteral(VELKARO_TEST_DATA "/books/") + name);
        writeAll(m_storage.fullDataPath(), bytes);
        const bool loaded = !m_storage.loadBook();
        const BookStorage::LoadReport& report = m_storage.loadReport();
        EXPECT_EQ(
            QList<bool>({loaded, m_book.pageCount() == 14,
                         report.keptAside.startsWith(m_storage.fullDataPath() + ".unreadable-20"),
                         readAll(report.keptAside) == bytes,
                         report.parseError && report.parseError->line > 0,
                         readAll(m_storage.fullDataPath()) == kDefaultBook,
                         !m_storage.holdsUserBook()}),
            QList<bool>(7, true))
            << name;
        kept << report.keptAside;
    }
    EXPECT_EQ(kept.removeDuplicates(), 0);
    // A path that exists but is no file is moved aside whole as well.
    QFile::remove(m_storage.fullDataPath());
    writeAll(m_storage.fullDataPath() + "/inside", "precious");
    ASSERT_FALSE(m_storage.loadBook().has_value());
    EXPECT_EQ(readAll(m_storage.loadReport().keptAside + "/inside"), QByteArray("precious"));
    // So is a FIFO, without ever being opened: nothing writes to it, so a read
    // would wait for ever and start-up with it.
    QFile::remove(m_storage.fullDataPath());
    ASSERT_EQ(mkfifo(QFile::encodeName(m_storage.fullDataPath()).constData(), 0600), 0);
    ASSERT_FALSE(m_storage.loadBook().has_value());
    struct stat keptFifo = {};
    ASSERT_EQ(stat(QFile::encodeName(m_storage.loadReport().keptAside).constData(), &keptFifo), 0);
    EXPECT_TRUE(S_ISFIFO(keptFifo.st_mode) && readAll(m_storage.fullDataPath()) == kDefaultBook);
}

TEST_F(BookStorageTest, AnExistingUsersBookWithNulBytesLoadsExportsAndSavesUnchanged)
{
    const QByteArray stored = readAll(QStringLiteral(VELKARO_TEST_DATA "/books/rich_edit_nul.dat"));
    writeAll(m_storage.fullDataPath(), stored);
    m_storage.setPageCleanup(&TabCleanup::clean, &TabCleanup::mayNeedCollapseStored);
    ASSERT_FALSE(m_storage.loadBook().has_value());
    EXPECT_EQ(
        std::pair(m_storage.loadReport().keptAside, RtfPlainText::extract(m_book.page(1).text)),
        std::pair(QString(), u"Иванов\t123-45-67\r\nПетров\t765-43-21"_qs));
    ASSERT_TRUE(m_storage.saveBook().dataSaved());
    EXPECT_EQ(readAll(m_storage.fullDataPath()), stored);
    const QString exported = CodePage::decode(readAll(m_storage.exportPath()));
    EXPECT_TRUE(exported.startsWith(u"$АБ\r\nИванов\t123-45-67\r\nПетров"_qs) &&
                exported.contains(u"половина\r\nконец\r\n$ВГ\r\nСидоров\t111\r\n"_qs))
        << exported;
}

TEST_F(BookStorageTest, ABookSavedUnchangedIsNotWrittenAgainNorOneNobodyChoseOverAnExport)
{
    // Written by hand with bare line feeds: the same pages, other bytes.
    const QByteArray bytes = "2\n\"A\",\"alpha\"\n\"B\",\"beta\"\n";
    writeAll(m_storage.fullDataPath(), bytes);
    ASSERT_FALSE(m_storage.loadBook().has_value());
    ASSERT_TRUE(m_storage.saveBook().dataSaved());
    EXPECT_EQ(readAll(m_storage.fullDataPath()) + readAll(m_storage.exportPath()),
              bytes + "$A\r\nalpha\r\n$B\r\nbeta\r\n");
    QFile::remove(m_storage.exportPath());
    ASSERT_TRUE(m_storage.saveBook().dataSaved());
    EXPECT_FALSE(QFileInfo::exists(m_storage.exportPath())) << "written once per book";

    m_book.setPageText(2, u"gamma"_qs);
    ASSERT_TRUE(m_storage.saveBook().dataSaved());
    EXPECT_EQ(readAll(m_storage.fullDataPath()) + readAll(m_storage.exportPath()),
              "2\r\n\"A\",\"alpha\"\r\n\"B\",\"gamma\"\r\n$A\r\nalpha\r\n$B\r\ngamma\r\n");
    // A data file that went away is written again.
    QFile::remove(m_storage.fullDataPath());
    ASSERT_TRUE(m_storage.saveBook().dataSaved());
    EXPECT_TRUE(readAll(m_storage.fullDataPath()).contains("gamma"));
    // A default book, or one read with pages left out (its count line too
    // small), is nobody's yet: the export and the backup stay until the user
    // types into it or saves it.
    const QByteArray goodExport = "$АБ\r\nthe only readable copy\r\n";
    for (const bool typed : {true, false}) {
        for (const QByteArray& onDisk :
             {QByteArray("garbage"), QByteArray("1\r\n\"A\",\"a\"\r\n\"B\",\"b\"\r\n")}) {
            writeAll(m_storage.exportPath(), goodExport);
            writeAll(m_storage.fullDataPath(), onDisk);
            ASSERT_FALSE(m_storage.loadBook().has_value());
            ASSERT_TRUE(m_storage.saveBook().dataSaved());
            EXPECT_EQ(std::pair(m_storage.holdsUserBook(), readAll(m_storage.exportPath())),
                      std::pair(false, goodExport));
            if (typed) {
                m_book.setPageText(1, u"new entry"_qs);
            } else {
                m_storage.claimBook();
            }
            ASSERT_TRUE(m_storage.saveBook().dataSaved());
            EXPECT_EQ(
                std::pair(m_storage.holdsUserBook(), readAll(m_storage.exportPath()) == goodExport),
                std::pair(true, false));
        }
    }
}

// A book read before the storage knew its path is taken only for that very
// file, unchanged as far as its size and time tell: then it loads as if read
// now, and a save with nothing changed writes nothing.
TEST_F(BookStorageTest, APreloadedBookIsTakenOnlyForTheVeryFileUnchanged)
{
    const QString book = m_storage.fullDataPath();
    const struct
    {
        const char* change;
        QString preloaded;
        std::function<void()> between;
        QString expected;
    } cases[] = {
        {"none", book, [] {}, u"old"_qs},
        {"replaced keeping size and time", book,
         [&] { replaceKeepingStamp(book, "1\r\n\"A\",\"new\"\r\n"); }, u"new"_qs},
        {"longer", book, [&] { writeAll(book, "1\r\n\"A\",\"newer\"\r\n"); }, u"newer"_qs},
        {"another file", book + u"2"_qs, [] {}, u"old"_qs},
    };
    for (const auto& c : cases) {
        writeAll(book, "1\r\n\"A\",\"old\"\r\n");
        writeAll(book + u"2"_qs, "1\r\n\"A\",\"other\"\r\n");
        auto preload = std::make_unique<BookPreload>(c.preloaded, BookReading::CleanupCheck());
        preload->wait();
        c.between();
        m_storage.setPreload(std::move(preload));
        ASSERT_FALSE(m_storage.loadBook().has_value()) << c.change;
        const ino_t before = inodeOf(book);
        ASSERT_TRUE(m_storage.saveBook().dataSaved()) << c.change;
        EXPECT_EQ(std::tuple(m_book.pageCount(), QString(m_book.page(1).text), inodeOf(book)),
                  std::tuple(1, c.expected, before))
            << c.change;
    }
}

// Each case starts where a session left the book, its export and this
// period's backup, then changes the files or the book before the next close.
TEST_F(BookStorageTest, ClosingAReopenedBookWritesExactlyTheFilesThatAreNotCurrent)
{
    const QString history = m_dir.path() + "/settings/History/";
    const QDate day(2026, 3, 10);
    const QString backup = HistoryBackup::backupPath(history, m_storage.exeBaseName(), day);
    const QString data = m_storage.fullDataPath();
    const QString exported = m_storage.exportPath();
    const QString record = m_storage.exportRecordPath();
    const auto close = [&] {
        return m_storage.saveBook().dataSaved() &&
               !HistoryBackup::makeHistoryBackup(m_storage, history, day);
    };
    const QByteArray book = "3\r\n\"A\",\"{\\rtf1 alpha\\par beta}\"\r\n\"~B\",\"5$\"\r\n"
                            "\"C$\",\"{\\rtf1\\ansi\\ansicpg1251 \\'e3\\tab x}\"\r\n";
    const std::function<void()> none = [] {};
    struct Case
    {
        const char* name;
        std::function<void()> files; // between the sessions
        std::function<void()> edit;  // in the session
        bool dataWritten;
        bool exportWritten;
    } cases[] = {
        {"nothing changed", none, none, false, false},
        {"the note of the export lost", [&] { QFile::remove(record); }, none, false, false},
        {"the export edited by hand", [&] { writeAll(exported, "$A\r\nedited\r\n"); }, none, false,
         true},
        {"the export removed", [&] { QFile::remove(exported); }, none, false, true},
        {"the book replaced by another program",
         [&] { writeAll(data, "2\r\n\"A\",\"other\"\r\n\"D\",\"$\"\r\n"); }, none, false, true},
        {"a page typed into and one added", none,
         [&] {
             m_book.setPageText(2, u"typed"_qs);
             m_book.insertPage(u"E$"_qs, 1);
         },
         true, true},
        {"the export cut otherwise at its old size and time, a page typed into",
         [&] {
             QByteArray bytes = readAll(exported);
             bytes[bytes.indexOf("\n$") + 1] = 'X';
             replaceKeepingStamp(exported, bytes, true);
         },
         [&] { m_book.setPageText(3, u"again"_qs); }, true, true},
        {"a UTF-8 book with a letter Windows-1251 lacks, typed into",
         [&] {
             writeAll(data, "\xEF\xBB\xBF"
                            "2\r\n\"A\",\"\xE4\xB8\xAD\"\r\n\"B\",\"x\"\r\n");
         },
         [&] { m_book.setPageText(2, u"typed"_qs); }, true, true}};
    writeAll(data, book);
    ASSERT_FALSE(m_storage.loadBook().has_value());
    ASSERT_TRUE(close());
    for (const Case& c : cases) {
        c.files();
        ASSERT_FALSE(m_storage.loadBook().has_value()) << c.name;
        c.edit();
        const ino_t before[] = {inodeOf(data), inodeOf(exported), inodeOf(backup)};
        const QByteArray backupBefore = readAll(backup);
        ASSERT_TRUE(close()) << c.name;
        EXPECT_EQ(QList<bool>({inodeOf(data) != before[0], inodeOf(exported) != before[1],
                               inodeOf(backup) != before[2],
                               readAll(exported) == TextExport::build(m_book.pages()),
                               readAll(backup) == readAll(data), QFileInfo::exists(record)}),
                  QList<bool>({c.dataWritten, c.exportWritten, readAll(data) != backupBefore, true,
                               true, true}))
            << c.name;
    }
}

// Each save of a session copies the parts of unchanged pages from the export
// the one before wrote, and makes the rest: pages typed into, added, removed,
// and all of them once another program changed that export. Parts are read
// across the pieces the earlier export is read in.
TEST_F(BookStorageTest, SavesOfASessionWriteTheExportOfThePagesAsTheyAre)
{
    writeAll(m_storage.fullDataPath(),
             "3\r\n\"A\",\"alpha\"\r\n\"B\",\"beta\"\r\n\"C\",\"gamma\"\r\n");
    ASSERT_FALSE(m_storage.loadBook().has_value());
    const auto addMany = [&] {
        for (int i = 0; i < 3000; ++i) {
            m_book.insertPage(u"P%1"_qs.arg(i), 1);
            m_book.setPageText(2, u"entry %1\t$%2"_qs.arg(i).arg(QString(i % 300, u'x')));
        }
        m_book.setPageText(1, u"line\t555\n"_qs.repeated(70000));
    };
    const std::pair<const char*, std::function<void()>> edits[] = {
        {"a long page and many short ones", addMany},
        {"typed into", [&] { m_book.setPageText(2, u"typed"_qs); }},
        {"added", [&] { m_book.insertPage(u"D"_qs, 1); }},
        {"removed", [&] { m_book.deletePage(1); }},
        {"the export changed", [&] {
             writeAll(m_storage.exportPath(), "$E\r\n" + readAll(m_storage.exportPath()));
             m_book.setPageText(3, u"again"_qs);
         }}};
    for (const auto& [name, edit] : edits) {
        edit();
        ASSERT_TRUE(m_storage.saveBook().dataSaved()) << name;
        EXPECT_EQ(readAll(m_storage.exportPath()), TextExport::build(m_book.pages())) << name;
    }
}

TEST_F(BookStorageTest, CopiesAreAsPrivateAsTheBookAndPlainTextModeStoresPlainText)
{
    const auto ownerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    writeAll(m_storage.fullDataPath(), "1\r\n\"A\",\"a\"\r\n");
    ASSERT_TRUE(QFile::setPermissions(m_storage.fullDataPath(), ownerOnly));
    ASSERT_FALSE(m_storage.loadBook().has_value());
    m_book.markUnsaved();
    ASSERT_TRUE(m_storage.saveBook().dataSaved());
    ASSERT_FALSE(m_storage.writeBook(m_dir.path() + "/backup").has_value());
    ASSERT_FALSE(m_storage.writeRescueCopy().has_value());
    const auto others = QFileDevice::ReadGroup | QFileDevice::ReadOther | QFileDevice::WriteGroup |
                        QFileDevice::WriteOther;
    for (const QString& path : {m_storage.fullDataPath(), m_storage.exportPath(),
                                m_dir.path() + "/backup", m_storage.rescuePath()})
        EXPECT_EQ(QFile::permissions(path) & others, 0) << path.toStdString();
    // Plain-text mode stores plain text, in memory and on disk.
    m_book.setPages({{u"АБ"_qs, u"{\\rtf1\\ansi{\\b Bold} name\\tab 12\\par second}"_qs, 0},
                     {u"Plain"_qs, u"already\nplain"_qs, 1}});
    m_storage.setUseRtf(false);
    QSignalSpy replaced(&m_book, &Book::pagesReplaced);
    ASSERT_TRUE(m_storage.saveBook().dataSaved());
    ASSERT_TRUE(m_storage.saveBook().dataSaved());
    EXPECT_EQ(
        QStringList({QString::number(replaced.count()), m_book.page(1).text, m_book.page(2).text}),
        QStringList({"1", u"Bold name\t12\r\nsecond"_qs, u"already\r\nplain"_qs}));
    EXPECT_EQ(readAll(m_storage.fullDataPath()), DataFile::serialize(m_book.pages()));
}

TEST_F(BookStorageTest, FallbackBookGoesToTheSettingsFolderOrTheErrorComesBack)
{
    writeAll(m_dir.path() + "/settings/velkaro.dat", "1\r\n\"Мои\",\"записи\"\r\n");
    configure(blocker() + "/books/");
    QSignalSpy fallback(&m_storage, &BookStorage::fallbackBookUsed);
    m_book.setRecentPage(7);
    ASSERT_FALSE(m_storage.loadBook().has_value());
    const QStringList kept =
        QDir(m_dir.path() + "/settings").entryList({"velkaro.dat.replaced-*"}, QDir::Files);
    EXPECT_EQ(
        QStringList({QString::number(fallback.count()), QString::number(m_book.recentPage()),
                     m_storage.filePath(), QString::number(m_book.pageCount()),
                     m_book.page(1).title, QString::number(kept.size()),
                     QString::fromUtf8(readAll(m_dir.path() + "/settings/" + kept.value(0)))}),
        QStringList({"1", "1", m_dir.path() + "/settings/", "1", u"Ошибка"_qs, "1",
                     u"1\r\n\"Мои\",\"записи\"\r\n"_qs}));

    // When no book can be written at all, the error comes back and the book stays.
    m_storage.setFilePath(blocker() + "/books/");
    m_storage.setSettingsFolder(blocker() + "/settings/");
    m_book.setPages({{u"Keep"_qs, u"me"_qs, 0}});
    EXPECT_TRUE(m_storage.loadBook().has_value());
    EXPECT_EQ(m_book.page(1).title, u"Keep"_qs);
}

// A failed export, a missing folder and the rescue at shutdown are the window tests' part.
TEST_F(BookStorageTest, AnUnencodableSaveGivesOneMessageLeavesTheFileAsItWasAndCanBeRescued)
{
    m_book.setPages({{u"АБ"_qs, u"x"_qs, 0}});
    ASSERT_TRUE(m_storage.saveBook().dataSaved());
    const QByteArray saved = readAll(m_storage.fullDataPath());

    m_book.insertPage(u"Смайлик ☺"_qs, 1);
    m_book.setPageText(2, u"{\\rtf1 x}"_qs);
    const BookStorage::SaveResult unencodable = m_storage.saveBook();
    ASSERT_TRUE(unencodable.dataError.has_value());
    EXPECT_EQ(std::tuple(unencodable.dataError->error.text, unencodable.dataError->error.args,
                         readAll(m_storage.fullDataPath()), m_book.isChanged()),
              std::tuple(TextId::UnencodableCharacters, QStringList{u"Смайлик ☺"_qs, u"☺"_qs},
                         saved, true));
    const LocatedError& error = *unencodable.dataError;
    EXPECT_TRUE(MessageService::formatError(error.error, error.module, error.procedure)
                    .endsWith(u"(5)\r\nin Velkaro.Subs.SaveDataEx "_qs));
    // The rescue copy, written when the system shuts down, lives in the
    // settings folder and keeps the characters the data file cannot.
    EXPECT_FALSE(m_storage.hasRescue());
    ASSERT_FALSE(m_storage.writeRescueCopy().has_value());
    EXPECT_EQ(std::pair(m_storage.hasRescue(), m_storage.rescuePath().section('/', 0, -2)),
              std::pair(true, m_dir.path() + "/settings"));
    const DataFile::ParseResult rescued = DataFile::parse(readAll(m_storage.rescuePath()));
    ASSERT_TRUE(rescued.ok());
    EXPECT_EQ(rescued.pages, std::vector<PageRecord>(m_book.pages().begin(), m_book.pages().end()));
}

// In a folder others can write to, a link planted where the program writes a
// copy of the book must not make it overwrite the file the link names. The
// book itself may be a link the user made, never one another account made.
TEST_F(BookStorageTest, CopiesNeverGoThroughALinkAndOnlyTheUsersOwnBookLinkIsFollowed)
{
    const QString victim = m_dir.path() + "/victim";
    const QByteArray victimBytes = "someone else's file";
    writeAll(victim, victimBytes);
    const QString history = m_dir.path() + "/settings/History/";
    m_book.setPages({{u"АБ"_qs, u"x"_qs, 0}});
    m_book.markUnsaved();
    ASSERT_TRUE(m_storage.saveBook().dataSaved());
    const QString copies[] = {m_storage.exportPath(), history + "velkaro.7",
                              m_storage.rescuePath()};
    for (const QString& copy : copies) {
        QFile::remove(copy);
        QDir().mkpath(QFileInfo(copy).absolutePath());
        ASSERT_TRUE(QFile::link(victim, copy));
    }
    m_book.setPageText(1, u"y"_qs);
    ASSERT_TRUE(m_storage.saveBook().dataSaved());
    ASSERT_FALSE(HistoryBackup::makeHistoryBackup(m_storage, history, QDate(2026, 3, 5)));
    ASSERT_FALSE(m_storage.writeRescueCopy());
    for (const QString& copy : copies)
        EXPECT_TRUE(!QFileInfo(copy).isSymLink() && readAll(copy).contains("y"))
            << copy.toStdString();
    EXPECT_EQ(readAll(victim), victimBytes);

    // The user's own link: the book it leads to is written, the link stays.
    const QString synced = m_dir.path() + "/synced.dat";
    QFile::rename(m_storage.fullDataPath(), synced);
    ASSERT_TRUE(QFile::link(synced, m_storage.fullDataPath()));
    ASSERT_FALSE(m_storage.loadBook());
    m_book.setPageText(1, u"z"_qs);
    ASSERT_TRUE(m_storage.saveBook().dataSaved());
    EXPECT_TRUE(QFileInfo(m_storage.fullDataPath()).isSymLink() &&
                readAll(synced).contains("\"z\""));

    if (geteuid() != 0)
        GTEST_SKIP() << "a link of another account can only be made as root";
    const QByteArray book = readAll(synced);
    const QByteArray linkPath = QFile::encodeName(m_storage.fullDataPath());
    ASSERT_EQ(lchown(linkPath.constData(), 65534, 65534), 0);
    m_book.setPageText(1, u"w"_qs);
    const BookStorage::SaveResult refused = m_storage.saveBook();
    ASSERT_TRUE(refused.dataError);
    EXPECT_EQ(refused.dataError->error.text, TextId::ForeignLinkNotFollowed);
    ASSERT_FALSE(m_storage.loadBook());
    EXPECT_EQ(std::tuple(m_storage.loadReport().foreignLink, m_storage.filePath(),
                         m_book.page(1).title, m_storage.holdsUserBook(),
                         QFileInfo(QString::fromLocal8Bit(linkPath)).isSymLink(), readAll(synced)),
              std::tuple(QString::fromLocal8Bit(linkPath), m_dir.path() + "/settings/",
                         u"Ошибка"_qs, false, true, book));
    // Nor a book folder another account swapped for a link to its own.
    const QString linkedFolder = m_dir.path() + "/linked";
    ASSERT_TRUE(QDir().mkpath(m_dir.path() + "/theirs") &&
                QFile::copy(synced, m_dir.path() + "/theirs/velkaro.dat"));
    ASSERT_TRUE(QFile::link(m_dir.path() + "/theirs", linkedFolder));
    ASSERT_EQ(lchown(QFile::encodeName(linkedFolder).constData(), 65534, 65534), 0);
    configure(linkedFolder + "/");
    ASSERT_FALSE(m_storage.loadBook());
    EXPECT_EQ(std::tuple(m_storage.loadReport().foreignLink, m_storage.loadReport().foreignFolder,
                         m_storage.filePath(), m_book.page(1).title),
              std::tuple(linkedFolder, true, m_dir.path() + "/settings/", u"Ошибка"_qs));
    // Nor is a history folder another account linked.
    const QString foreignHistory = m_dir.path() + "/settings/OtherHistory";
    ASSERT_TRUE(QFile::link(m_dir.path(), foreignHistory));
    ASSERT_EQ(lchown(QFile::encodeName(foreignHistory).constData(), 65534, 65534), 0);
    EXPECT_TRUE(
        HistoryBackup::makeHistoryBackup(m_storage, foreignHistory + "/", QDate(2026, 3, 5)));
    EXPECT_TRUE(QDir(m_dir.path()).entryList({"velkaro.*"}).isEmpty());
    EXPECT_EQ(readAll(victim), victimBytes);
}

// A write killed between the temporary's creation (or link) and its rename
// leaves a temporary beside its file: the next start removes those nothing
// wrote to for a while, of the book, the export, the note of the export and
// the backups, unless it is a whole book newer than the book. Files of the
// user's and copies kept aside under dated names are never touched.
TEST_F(BookStorageTest, StaleTemporariesGoUnlessTheyHoldANewerBookOrAreNotOurs)
{
    const QByteArray whole = "1\r\n\"A\",\"newer\"\r\n";
    const QDateTime bookTime(QDate(2026, 3, 5), QTime(12, 0));
    const int now = -1; // left with the time it was written
    const struct
    {
        const char* name;
        QByteArray bytes;
        int minutesAfterBook;
        bool stays;
    } files[] = {{"data/velkaro.dat", "1\r\n\"A\",\"book\"\r\n", 0, true},
                 {"data/velkaro.dat.Ab12Cd", "2\r\n\"A\",\"cut short", 5, false},
                 {"data/velkaro.dat.x9Y8z7", whole, -5, false},
                 {"data/velkaro.dat.ZZ99yy", whole, 5, false}, // kept aside, below
                 {"data/velkaro.dat.NowNow", "2\r\n", now, true},
                 {"data/velkaro.dat.kept-2026-01-01_120000", whole, 5, true},
                 {"data/velkaro.dat.unreadable-2026-01-01_120000", "junk", 5, true},
                 {"data/velkaro.dat.abc", "junk", 5, true},
                 {"data/velkaro.dat.Ab12Cd7", "junk", 5, true},
                 {"data/velkaro.dat.Ab-2Cd", "junk", 5, true},
                 {"data/other.dat.Ab12Cd", "junk", 5, true},
                 {"data/velkaro.QwErTy", "$AB\r\n", 5, false},
                 {"data/velkaro.EmptyX", "", 5, false},
                 {"data/velkaro.NowNow", "$AB\r\n", now, true},
                 {"data/velkaro.backup", whole, 5, true},
                 {"settings/velkaro.export.sum.AbCdEf", "1", 5, false},
                 {"settings/velkaro.rescue.dat.AbCdEf", whole, 5, false},
                 {"settings/History/velkaro.7.AbCdEf", whole, 5, false},
                 {"settings/History/velkaro.36.AbCdEf", "", 5, false},
                 {"settings/History/velkaro.36.NowNow", "", now, true},
                 {"settings/History/velkaro.37.AbCdEf", "", 5, true}};
    for (const auto& file : files) {
        const QString path = m_dir.path() + u'/' + file.name;
        QDir().mkpath(QFileInfo(path).path());
        writeAll(path, file.bytes);
        QFile handle(path);
        ASSERT_TRUE(handle.open(QIODevice::ReadWrite));
        if (file.minutesAfterBook != now)
            handle.setFileTime(bookTime.addSecs(60 * file.minutesAfterBook),
                               QFileDevice::FileModificationTime);
    }
    const QStringList kept = m_storage.clearSaveLitter();
    HistoryBackup::clearLitter(m_dir.path() + "/settings/History/", m_storage.exeBaseName());
    ASSERT_EQ(kept.size(), 1);
    EXPECT_TRUE(kept[0].startsWith(m_storage.fullDataPath() + ".kept-20") &&
                readAll(kept[0]) == whole);
    QStringList stays{"data/" + QFileInfo(kept[0]).fileName()};
    for (const auto& file : files) {
        if (file.stays)
            stays << file.name;
    }
    stays.sort();
    QStringList found;
    QDirIterator it(m_dir.path(), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        found << QDir(m_dir.path()).relativeFilePath(it.next());
    found.sort();
    EXPECT_EQ(found, stays);
}
