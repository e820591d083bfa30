#include "document/book_storage.h"
#include "document/data_file.h"
#include "document/history_backup.h"
#include "unit_test.h"

TEST(HistoryBackup, TheLaterBookOfATenDayPeriodWinsFoldersAreMadeAndFailureIsReported)
{
    QTemporaryDir dir;
    Book book;
    BookStorage storage(book);
    const QString history = dir.path() + "/new-profile/Velkaro Pro/History/";
    book.setPages({{"A", "first", 0}});
    ASSERT_FALSE(HistoryBackup::makeHistoryBackup(storage, history, QDate(2026, 3, 11)));
    book.setPages({{"A", "second", 0}});
    ASSERT_FALSE(HistoryBackup::makeHistoryBackup(storage, history, QDate(2026, 3, 21)));
    EXPECT_EQ(readAll(history + "velkaro.8"), DataFile::serialize(book.pages()));

    const auto failure = HistoryBackup::makeHistoryBackup(storage, history + "velkaro.8/History/",
                                                          QDate(2026, 5, 5));
    ASSERT_TRUE(failure.has_value());
    EXPECT_EQ(failure->procedure, "SaveDataEx");
    // The period is the ten-day third of the year.
    const int cases[][3] = {{1, 10, 1}, {1, 11, 2}, {1, 22, 3},   {3, 10, 7},
                            {3, 11, 8}, {3, 31, 9}, {11, 21, 32}, {12, 31, 36}};
    for (const auto& [month, day, period] : cases)
        EXPECT_EQ(HistoryBackup::periodOf(QDate(2024, month, day)), period) << month << "/" << day;
}

// The backup at shutdown reuses the bytes just saved, but only while the
// pages are the ones saved: an edit after the save, in place or by
// assignment, and a switch to plain-text mode are all in the backup.
TEST(HistoryBackup, WrittenFromTheLastSaveOnlyWhileThePagesAreTheSaved)
{
    QTemporaryDir dir;
    Book book;
    BookStorage storage(book);
    storage.setFilePath(dir.path() + u'/');
    book.setPages({{"A", "first", 0}, {"B", "{\\rtf1 x}", 0}});
    ASSERT_TRUE(storage.saveBook().dataSaved());
    const QString history = dir.path() + "/History/";
    const QString backupPath = HistoryBackup::backupPath(history, "velkaro", QDate(2026, 1, 1));
    const auto backupBytes = [&] {
        EXPECT_FALSE(HistoryBackup::makeHistoryBackup(storage, history, QDate(2026, 1, 1)));
        return readAll(backupPath);
    };
    EXPECT_EQ(backupBytes(), readAll(storage.fullDataPath()));

    book.setPageText(1, QString(book.page(1).text).replace(0, 1, u'F'));
    EXPECT_EQ(backupBytes(), DataFile::serialize(book.pages()));
    book.setPageTitle(1, "C");
    EXPECT_EQ(backupBytes(), DataFile::serialize(book.pages()));
    storage.setUseRtf(false);
    const QByteArray plain = backupBytes();
    EXPECT_EQ(book.page(2).text, "x");
    EXPECT_EQ(plain, DataFile::serialize(book.pages()));
}

// A backup written or found current is recorded, so that a later close that
// changed nothing neither reads nor writes it; one changed since is compared
// and written again.
TEST(HistoryBackup, ACloseThatChangedNothingTakesTheBackupOnItsRecordsWord)
{
    QTemporaryDir dir;
    Book book;
    BookStorage storage(book);
    storage.setFilePath(dir.path() + u'/');
    storage.setSettingsFolder(dir.path() + "/settings/");
    book.setPages({{"A", "first", 0}});
    ASSERT_TRUE(storage.saveBook().dataSaved());
    const QString history = dir.path() + "/History/";
    const QString path = HistoryBackup::backupPath(history, "velkaro", QDate(2026, 1, 1));
    ASSERT_FALSE(HistoryBackup::makeHistoryBackup(storage, history, QDate(2026, 1, 1)));
    const QByteArray saved = readAll(path);
    const QDateTime written = QFileInfo(path).lastModified();
    const auto rewrite = [&](const QByteArray& bytes, const QDateTime& time) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() &&
                    file.flush() && file.setFileTime(time, QFileDevice::FileModificationTime));
    };
    const QByteArray other = QByteArray(saved).replace("first", "fiRst");
    rewrite(other, written);
    ASSERT_FALSE(HistoryBackup::makeHistoryBackup(storage, history, QDate(2026, 1, 1)));
    EXPECT_EQ(readAll(path), other);
    rewrite(other, written.addSecs(-60));
    ASSERT_FALSE(HistoryBackup::makeHistoryBackup(storage, history, QDate(2026, 1, 1)));
    EXPECT_EQ(readAll(path), saved);
}
