#include "document/book_storage.h"
#include "document/data_file.h"
#include "document/history_backup.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(HistoryBackup, PeriodIsTheTenDayThirdOfTheYear)
{
    const int cases[][3] = {{1, 10, 1}, {1, 11, 2}, {1, 22, 3},   {3, 10, 7},
                            {3, 11, 8}, {3, 31, 9}, {11, 21, 32}, {12, 31, 36}};
    for (const auto& [month, day, period] : cases)
        EXPECT_EQ(HistoryBackup::periodOf(QDate(2024, month, day)), period) << month << "/" << day;
}

TEST(HistoryBackup, FoldersAreMadeTheLaterBookWinsAndFailureIsReported)
{
    QTemporaryDir dir;
    Book book;
    BookStorage storage(book);
    const QString history = dir.path() + "/new-profile/Velkaro Pro/History/";
    book.setPages({{"A", "first", 0}});
    ASSERT_FALSE(HistoryBackup::MakeHistoryBackup(storage, history, QDate(2026, 3, 11)));
    book.setPages({{"A", "second", 0}});
    ASSERT_FALSE(HistoryBackup::MakeHistoryBackup(storage, history, QDate(2026, 3, 21)));
    QFile backup(history + "velkaro.8");
    ASSERT_TRUE(backup.open(QIODevice::ReadOnly));
    EXPECT_EQ(backup.readAll(), DataFile::serialize(book.pages()));

    const auto failure = HistoryBackup::MakeHistoryBackup(storage, backup.fileName() + "/History/",
                                                          QDate(2026, 5, 5));
    ASSERT_TRUE(failure.has_value());
    EXPECT_EQ(failure->procedure, "SaveDataEx");
}
