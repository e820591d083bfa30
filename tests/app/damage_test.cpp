#include "app_fixture.h"
#include "document/data_file.h"
#include "document/history_backup.h"
#include "mainwindow/main_window.h"
#include "test_files.h"

#include <QDate>
#include <QFile>
#include <gtest/gtest.h>

namespace {

QString todaysBackup(Application& app)
{
    return HistoryBackup::backupPath(app.folders().HistoryFolder, app.folders().ExeBaseName,
                                     QDate::currentDate());
}

const QByteArray kGoodBook = "2\r\n\"A\",\"alpha\"\r\n\"B\",\"beta\"\r\n";

} // namespace

TEST(Damage, ADamagedBookIsToldWithItsReasonAndNeverReplacesTheBackupOrTheExport)
{
    AppFixture f;
    QString backup;
    QString exportPath;
    {
        auto app = f.makeApp();
        ASSERT_TRUE(app->StartUp());
        backup = todaysBackup(*app);
        exportPath = app->storage().exportPath();
    }
    writeAll(backup, kGoodBook);
    writeAll(exportPath, "$A\r\nalpha\r\n");
    writeAll(f.dataFile(), "3\r\n\"A\",\"alpha\"\r\n\"B\",\"cut short");
    f.messages.clear();

    auto app = f.makeApp();
    ASSERT_TRUE(app->StartUp());
    ASSERT_EQ(f.messages.texts().size(), 1);
    const QString told = f.messages.texts()[0];
    EXPECT_TRUE(told.contains(u"строка 3: Input past end of file"_qs)) << told.toStdString();
    EXPECT_TRUE(told.contains(app->storage().loadReport().keptAside));
    EXPECT_EQ(app->book().PageCount(), 14);
    ASSERT_TRUE(app->mainWindow()->close());
    EXPECT_EQ(readAll(backup), kGoodBook);
    EXPECT_EQ(readAll(exportPath), "$A\r\nalpha\r\n");
}

TEST(Damage, TextAfterTheLastCountedPageIsToldAndTheWholeFileKept)
{
    AppFixture f;
    const QByteArray bytes = "1\r\n\"A\",\"alpha\"\r\n\"B\",\"beta\"\r\n";
    writeAll(f.dataFile(), bytes);
    auto app = f.makeApp();
    ASSERT_TRUE(app->StartUp());
    ASSERT_EQ(f.messages.texts().size(), 1);
    const QString kept = app->storage().loadReport().trailingKeptAs;
    EXPECT_TRUE(f.messages.texts()[0].contains(QDir::toNativeSeparators(kept)));
    EXPECT_EQ(readAll(kept), bytes);
    EXPECT_EQ(app->book().PageCount(), 1);
}

TEST(Damage, RevertOfAnUnreadableFileSaysWhereItWasKept)
{
    AppFixture f;
    auto app = f.makeApp();
    ASSERT_TRUE(app->StartUp());
    writeAll(f.dataFile(), "not a book");
    app->revertCommand();
    ASSERT_EQ(f.messages.texts().size(), 1);
    EXPECT_TRUE(f.messages.texts()[0].contains(
        QDir::toNativeSeparators(app->storage().loadReport().keptAside)));
    EXPECT_EQ(readAll(app->storage().loadReport().keptAside), "not a book");
}

TEST(Damage, TheFallbackFolderServesThisRunOnly)
{
    AppFixture f;
    writeAll(f.dir.filePath("drive"), "a regular file where a drive was");
    const QString usersFolder = f.dir.filePath("drive/books/");
    f.write(u"Адресная книга"_qs, u"FilePath"_qs, usersFolder);
    auto app = f.makeApp();
    ASSERT_TRUE(app->StartUp());
    EXPECT_TRUE(app->storage().loadReport().fallbackUsed);
    EXPECT_EQ(app->book().Pages[1].Title, u"Ошибка"_qs);
    ASSERT_TRUE(app->mainWindow()->close());
    EXPECT_EQ(f.read(u"Адресная книга"_qs, u"FilePath"_qs), usersFolder);
    EXPECT_FALSE(QFileInfo::exists(todaysBackup(*app)));
}

TEST(Damage, ASettingThatDoesNotConvertIsNamedWithItsSectionAndKey)
{
    AppFixture f;
    f.write(u"Общие"_qs, u"ButtonWidth"_qs, u"широкая"_qs);
    auto app = f.makeApp();
    ASSERT_TRUE(app->StartUp());
    ASSERT_EQ(f.messages.texts().size(), 1);
    const QString told = f.messages.texts()[0];
    for (const QString& part : {u"«ButtonWidth»"_qs, u"«Общие»"_qs, u"«широкая»"_qs, u"«600»"_qs,
                                u"(13)\r\nin Velkaro.Subs.Init "_qs})
        EXPECT_TRUE(told.contains(part)) << part.toStdString();
}

TEST(Shutdown, AFailedExportLetsTheWindowCloseWithOneMessageAndNoRescue)
{
    AppFixture f;
    {
        auto app = f.makeApp();
        ASSERT_TRUE(app->StartUp());
        typeOver(*app, u"запись"_qs);
        QDir().mkpath(app->storage().exportPath());
        EXPECT_TRUE(app->mainWindow()->close());
        ASSERT_EQ(f.messages.texts().size(), 1);
        EXPECT_TRUE(f.messages.texts()[0].endsWith(u"in Velkaro.Subs.SaveAsText "_qs));
        EXPECT_FALSE(app->storage().hasRescue());
        EXPECT_EQ(pageText(readAll(f.dataFile()), 1), u"запись"_qs);
    }
    f.messages.clear();
    auto next = f.makeApp();
    ASSERT_TRUE(next->StartUp());
    EXPECT_TRUE(f.messages.entries().empty());
}

TEST(Shutdown, ATerminationDuringAStartUpMessageEndsWithTheBookSavedAndNothingWaiting)
{
    AppFixture f;
    writeAll(f.dataFile(), "1\r\n\"A\",\"alpha\"\r\n\"B\",\"beta\"\r\n");
    auto app = f.makeApp();
    f.messages.onShow = [&] { app->terminate(); };
    EXPECT_FALSE(app->StartUp()) << "the program ends instead of showing its window";
    f.messages.onShow = nullptr;
    EXPECT_TRUE(app->unloaded());
    EXPECT_EQ(f.messages.texts().size(), 1);
    const DataFile::ParseResult saved = DataFile::parse(readAll(f.dataFile()));
    ASSERT_EQ(saved.pages.size(), 1u) << "the counted page, saved";
    EXPECT_TRUE(saved.pages[0].Text.text().contains(u"alpha"_qs));
}

class Sharing : public ::testing::Test
{
protected:
    void SetUp() override
    {
        writeAll(f.dataFile(), kGoodBook);
        app = f.makeApp();
        ASSERT_TRUE(app->StartUp());
        typeOver(*app, u"ours"_qs);
        writeAll(f.dataFile(), kTheirs);
    }
    QStringList oursBeside() const
    {
        return QDir(f.dataFolder).entryList({QFileInfo(f.dataFile()).fileName() + ".ours-*"});
    }

    const QByteArray kTheirs = "1\r\n\"A\",\"theirs, written elsewhere\"\r\n";
    AppFixture f;
    std::unique_ptr<Application> app;
};

TEST_F(Sharing, KeepingBothSavesOursBesideAndOpensTheirs)
{
    f.messages.queueChoice(0);
    app->saveCommand();
    ASSERT_EQ(oursBeside().size(), 1);
    EXPECT_TRUE(readAll(f.dataFolder + oursBeside()[0]).contains("ours"));
    EXPECT_EQ(readAll(f.dataFile()), kTheirs);
    EXPECT_EQ(app->book().PageCount(), 1);
    EXPECT_FALSE(app->book().isChanged());
}

TEST_F(Sharing, ReloadingOrOverwritingDoWhatTheySay)
{
    f.messages.queueChoice(1);
    app->saveCommand();
    EXPECT_TRUE(app->book().Pages[1].Text.text().contains(u"theirs, written elsewhere"_qs));
    EXPECT_EQ(readAll(f.dataFile()), kTheirs);

    typeOver(*app, u"ours again"_qs);
    writeAll(f.dataFile(), kGoodBook);
    f.messages.queueChoice(2);
    app->saveCommand();
    EXPECT_TRUE(readAll(f.dataFile()).contains("ours again"));
    EXPECT_TRUE(oursBeside().isEmpty());
}

TEST_F(Sharing, ClosingTheQuestionSavesNothingAndKeepsTheWindow)
{
    app->mainWindow()->show();
    EXPECT_FALSE(app->mainWindow()->close());
    EXPECT_EQ(readAll(f.dataFile()), kTheirs);
    EXPECT_TRUE(app->book().isChanged());
}

TEST_F(Sharing, WithNobodyThereBothAreKeptWithoutAQuestion)
{
    app->mainWindow()->closeForShutdown();
    EXPECT_TRUE(app->unloaded());
    for (const auto& entry : f.messages.entries())
        EXPECT_FALSE(entry.question) << entry.text.toStdString();
    EXPECT_EQ(readAll(f.dataFile()), kTheirs);
    ASSERT_EQ(oursBeside().size(), 1);
    EXPECT_TRUE(readAll(app->noticesPath()).contains(oursBeside()[0].toUtf8()));
}
