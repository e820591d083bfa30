#include "document/folder_change.h"
#include "file_size_cap.h"
#include "unit_test.h"

namespace {

using Plan = FolderChange::Plan;
using Kind = FolderChange::Outcome::Kind;
using Answer = FolderChange::ReplaceResult;

std::vector<PageRecord> pages(const QString& text)
{
    std::vector<PageRecord> pages = DataFile::defaultPages();
    pages[0].text = text;
    return pages;
}

class FolderChangeTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_storage.setExeBaseName("velkaro");
        m_storage.setSettingsFolder(path("settings/"));
        m_storage.setFilePath(m_old);
        writeAll(m_storage.fullDataPath(), DataFile::serialize(pages("ours")));
        ASSERT_FALSE(m_storage.loadBook());
        m_saved = readAll(m_storage.fullDataPath());
        QDir().mkpath(m_new);
    }

    QString path(const QString& name) const { return m_dir.path() + u'/' + name; }
    QString firstPage() const { return m_book.page(1).text; }
    // The book, the storage folder and the old file as they were.
    void expectUnchanged() const
    {
        EXPECT_EQ(m_storage.filePath(), m_old);
        EXPECT_EQ(firstPage(), "ours");
        EXPECT_EQ(readAll(m_old + "velkaro.dat"), m_saved);
    }

    QTemporaryDir m_dir;
    QString m_old = path("old/");
    QString m_new = path("new/");
    QByteArray m_saved;
    Book m_book;
    BookStorage m_storage{m_book};
};

TEST_F(FolderChangeTest, ABookMovesIntoAnEmptyFolderAndLeavesTheOldOne)
{
    FolderChange change(m_storage, m_new);
    ASSERT_EQ(change.check().plan, Plan::Move);
    const FolderChange::Outcome outcome = change.moveBook();
    EXPECT_EQ(std::tuple(outcome.kind, outcome.report.has_value(), m_storage.filePath()),
              std::tuple(Kind::Moved, false, m_new));
    // The export goes along.
    EXPECT_EQ(std::tuple(readAll(m_new + "velkaro.dat"), QFile::exists(m_new + "velkaro"),
                         QFile::exists(m_old + "velkaro.dat")),
              std::tuple(m_saved, true, false));
    // The changed-on-disk check watches the new file from now on.
    EXPECT_FALSE(m_storage.changedOnDisk());
    writeAll(m_old + "velkaro.dat", "1\r\n\"A\",\"theirs\"\r\n");
    EXPECT_FALSE(m_storage.changedOnDisk());
    writeAll(m_new + "velkaro.dat", "1\r\n\"A\",\"theirs\"\r\n");
    EXPECT_TRUE(m_storage.changedOnDisk());
}

// Nothing can be made below a regular file, whoever runs the test.
TEST_F(FolderChangeTest, AFolderThatCannotBeMadeOrIsAFileIsReportedAndTheBackupTakesBak)
{
    writeAll(path("file"), "not a folder");
    FolderChange below(m_storage, path("file/books/"));
    ASSERT_EQ(below.check().plan, Plan::CreateFolder);
    const std::optional<FolderChange::Report> report = below.createFolder();
    ASSERT_TRUE(report);
    EXPECT_EQ(std::pair(report->message, report->args),
              std::pair(TextId::FolderNotCreated,
                        QStringList{QDir::toNativeSeparators(path("file/books/"))}));

    const FolderChange::Check file = FolderChange(m_storage, path("file/")).check();
    ASSERT_TRUE(file.report);
    EXPECT_EQ(std::pair(file.plan, file.report->message),
              std::pair(Plan::Unusable, TextId::FolderNotAFolder));
    expectUnchanged();
    // The backup takes .bak for the extension.
    EXPECT_EQ(FolderChange::backupName("/srv/books/velkaro.dat"), "/srv/books/velkaro.bak");
    EXPECT_EQ(FolderChange::backupName("C:\\Книги\\velkaro.dat"), "C:\\Книги\\velkaro.bak");
    EXPECT_EQ(FolderChange::backupName("/srv/v1.2/velkaro"), "/srv/v1.2/velkaro.bak");
}

class ReplaceTest : public FolderChangeTest
{
protected:
    void SetUp() override
    {
        FolderChangeTest::SetUp();
        const PageRecord theirs{"A", "theirs", PageRecord::AddressPage};
        m_theirs = DataFile::serialize(std::span(&theirs, 1));
        writeAll(m_new + "velkaro.dat", m_theirs);
        ASSERT_EQ(m_change.check().plan, Plan::Replace);
    }

    QByteArray m_theirs;
    FolderChange m_change{m_storage, m_new};
};

TEST_F(ReplaceTest, YesWithAFailingWriteKeepsBothBooks)
{
    FolderChange::Outcome outcome{Kind::Moved};
    {
        // Room for the copy of theirs, not for our larger book.
        const FileSizeCap cap(m_theirs.size() + 1);
        if (!cap.isSet())
            GTEST_SKIP() << "no limit on the size of written files here";
        outcome = m_change.replace(Answer::Yes);
    }
    EXPECT_EQ(std::pair(outcome.kind, readAll(m_new + "velkaro.dat")),
              std::pair(Kind::Failed, m_theirs));
    expectUnchanged();
}

} // namespace
