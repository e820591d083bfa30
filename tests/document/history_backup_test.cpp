#include "document/book_storage.h"
#include "document/data_file.h"
#include "document/history_backup.h"
#include "recording_message_service.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(HistoryBackup, PeriodIsTheTenDayThirdOfTheYear)
{
    const struct
    {
        int month;
        int day;
        int period;
    } cases[] = {{1, 1, 1},  {1, 10, 1}, {1, 11, 2}, {1, 21, 2},   {1, 22, 3},   {2, 29, 6},
                 {3, 10, 7}, {3, 11, 8}, {3, 31, 9}, {11, 21, 32}, {12, 22, 36}, {12, 31, 36}};
    for (const auto& c : cases)
        EXPECT_EQ(HistoryBackup::periodOf(QDate(2024, c.month, c.day)), c.period)
            << c.month << "/" << c.day;
    EXPECT_EQ(HistoryBackup::backupPath("/h/", "velkaro", QDate(2026, 12, 6)), "/h/velkaro.34");
}

class HistoryBackupTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_storage.setExeBaseName("velkaro");
        m_history = m_dir.path() + "/new-profile/Velkaro Pro/History/";
    }

    QByteArray backupOn(QDate date)
    {
        QFile file(HistoryBackup::backupPath(m_history, "velkaro", date));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir m_dir;
    QString m_history;
    Book m_book;
    RecordingMessageService m_messages;
    BookStorage m_storage{m_book, m_messages};
};

TEST_F(HistoryBackupTest, MissingFoldersAreCreatedAndTheLaterBookOfAPeriodWins)
{
    m_book.setPages({{"A", "first", 0}});
    ASSERT_TRUE(HistoryBackup::MakeHistoryBackup(m_storage, m_history, QDate(2026, 3, 11)));
    m_book.setPages({{"A", "second", 0}});
    ASSERT_TRUE(HistoryBackup::MakeHistoryBackup(m_storage, m_history, QDate(2026, 3, 21)));
    EXPECT_EQ(backupOn(QDate(2026, 3, 15)), DataFile::serialize(m_book.pages()));
    EXPECT_TRUE(m_messages.entries().empty());
}

TEST_F(HistoryBackupTest, PlainTextModeBackupHoldsPlainText)
{
    m_book.setPages({{"A", "{\\rtf1 {\\i slanted}}", 0}});
    m_storage.setUseRtf(false);
    ASSERT_TRUE(HistoryBackup::MakeHistoryBackup(m_storage, m_history, QDate(2026, 1, 1)));
    EXPECT_EQ(DataFile::parse(backupOn(QDate(2026, 1, 1))).pages.at(0).Text, "slanted");
}

TEST_F(HistoryBackupTest, AnUnwritableHistoryFolderGivesOneMessageOnly)
{
    QFile blocker(m_dir.path() + "/file");
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    m_book.setPages({{"A", "x", 0}});
    EXPECT_FALSE(HistoryBackup::MakeHistoryBackup(m_storage, blocker.fileName() + "/History/",
                                                  QDate(2026, 5, 5)));
    ASSERT_EQ(m_messages.texts().size(), 1);
    EXPECT_TRUE(m_messages.texts()[0].endsWith("\r\nin Velkaro.Subs.SaveDataEx "));
}
