// Loading a damaged book, saving, sharing the file with another copy of the
// program, and shutting down, whatever fails on the way.

#include "app_fixture.h"
#include "document/data_file.h"
#include "document/history_backup.h"
#include "mainwindow/main_window.h"

#include <QDialog>
#include <QPointer>
#include <QTimer>

namespace {

QString todaysBackup(Application& app)
{
    return HistoryBackup::backupPath(app.folders().historyFolder, app.folders().exeBaseName,
                                     AppFixture::today);
}

const QByteArray kGoodBook = "2\r\n\"A\",\"alpha\"\r\n\"B\",\"beta\"\r\n";

} // namespace

TEST(Shutdown, AFailedSaveKeepsTheWindowOpenForTheUserAndLeavesARescueCopyAtSystemShutdown)
{
    AppFixture f;
    {
        auto app = f.started();
        app->mainWindow()->show();
        typeOver(*app, QStringLiteral("не потерять"));
        // A regular file where the data folder was: every save into it fails.
        ASSERT_TRUE(QDir(f.dataFolder).removeRecursively() &&
                    writeAll(f.dataFolder.chopped(1), {}));

        EXPECT_FALSE(app->mainWindow()->close());
        EXPECT_TRUE(app->mainWindow()->isVisible() && app->book().isChanged());
        EXPECT_TRUE(f.messages.texts().size() == 2 &&
                    f.messages.texts()[0].contains(u"in Velkaro.Subs.SaveDataEx "_qs));

        app->mainWindow()->closeForShutdown();
        EXPECT_TRUE(!app->mainWindow()->isVisible() && app->unloaded());
        EXPECT_EQ(pageText(readAll(app->storage().rescuePath()), 1), u"не потерять"_qs);
    }
    QFile::remove(f.dataFolder.chopped(1));
    QDir().mkpath(f.dataFolder);
    f.messages.clear();
    auto next = f.started();
    // The rescue copy, then what the closing program could not say to anyone.
    const QStringList told = f.messages.texts();
    EXPECT_TRUE(
        told.size() == 2 && told[0].contains(next->storage().fullDataPath()) &&
        told[1].contains(u"Файл или папка не найдены (76)\r\nin Velkaro.Subs.SaveDataEx "_qs))
        << told.join('|');
    EXPECT_FALSE(next->storage().hasRescue()) << "told once, then kept under a dated name";
    EXPECT_FALSE(QFileInfo::exists(next->noticesPath()));
}

// Characters Windows-1251 cannot hold are no matter of disk space: the save
// names the file, and each message names them and says what to do; closing
// says it once.
TEST(Shutdown, ASaveRefusedForCharactersAdvisesRtfOrTakingThemOut)
{
    AppFixture f;
    f.write(u"Адресная книга"_qs, u"UseRtf"_qs, u"False"_qs);
    auto app = f.started();
    app->mainWindow()->show();
    typeOver(*app, u"Телефон ☎ 555"_qs);
    app->runCommand(Command::Save, 0);
    EXPECT_FALSE(app->mainWindow()->close());
    const QStringList told = f.messages.texts();
    ASSERT_EQ(told.size(), 2);
    EXPECT_TRUE(told[0].startsWith(QDir::toNativeSeparators(f.dataFile()) + u": "_qs)) << told[0];
    for (const QString& text : told) {
        EXPECT_TRUE(text.contains(u"«АБ»"_qs) && text.contains(u"☎"_qs) &&
                    text.contains(u"«Использовать формат RTF»"_qs) &&
                    !text.contains(u"место на диске"_qs))
            << text;
    }
}

// Text after the counted pages at start-up and an unreadable file at Revert:
// both told with where the whole file was kept.
TEST(Damage, TrailingTextAndARevertOfAnUnreadableFileSayWhereTheFileWasKept)
{
    AppFixture f;
    const QByteArray bytes = "1\r\n\"A\",\"alpha\"\r\n\"B\",\"beta\"\r\n";
    writeAll(f.dataFile(), bytes);
    auto app = f.started();
    EXPECT_EQ(app->book().pageCount(), 1);
    const QString trailing = app->storage().loadReport().trailingKeptAs;
    typeOver(*app, QStringLiteral("правка"));
    writeAll(f.dataFile(), "not a book");
    f.messages.queueAnswer(true);
    app->runCommand(Command::Revert, 0);
    const QString aside = app->storage().loadReport().keptAside;
    const QStringList told = f.messages.texts();
    EXPECT_TRUE(told.size() == 3 && told[0].contains(QDir::toNativeSeparators(trailing)) &&
                told[2].contains(QDir::toNativeSeparators(aside)))
        << told.join('|');
    EXPECT_EQ(readAll(trailing) + readAll(aside), bytes + "not a book");
    EXPECT_FALSE(app->book().isChanged()) << "the edit is discarded";
}

// Links planted at the files the program keeps for itself lead it nowhere:
// nothing of their target is read, shown or appended to, the styles' link is
// set aside with a word and each is a file of the program's after a run.
TEST(Damage, LinksAtTheProgramsOwnFilesAreNeitherReadNorWrittenThrough)
{
#ifdef Q_OS_WIN
    GTEST_SKIP() << "a link here is a shortcut file, which nothing follows";
#endif
    AppFixture f;
    const QByteArray victimBytes = "VICTIM; 10; 0; 0; 0; 0; 0; 255; Tahoma\r\n";
    const QString victim = f.dir.filePath("victim");
    writeAll(victim, victimBytes);
    QStringList planted;
    {
        auto app = f.started();
        const QString settings = app->folders().settingsFolder;
        planted = {settings + app->folders().exeBaseName + ".log", app->noticesPath(),
                   settings + "Styles.dat", app->storage().rescuePath()};
        ASSERT_TRUE(app->mainWindow()->close());
    }
    for (const QString& path : planted) {
        QFile::remove(path);
        ASSERT_TRUE(QFile::link(victim, path));
    }
    f.messages.clear();
    auto app = f.started(true);
    ASSERT_TRUE(app->mainWindow()->close());
    QStringList links;
    for (const QString& path : planted) {
        if (QFileInfo(path).isSymLink())
            links << path;
    }
    const QStringList told = f.messages.texts();
    EXPECT_EQ(std::tuple(readAll(victim), links, app->appStyles().count(), told.size()),
              std::tuple(victimBytes, QStringList(), 0, 1));
    EXPECT_TRUE(told.value(0).contains(u"символическая ссылка"_qs) &&
                !told.value(0).contains(u"VICTIM"_qs))
        << told.join('|');
}

// The book saved and its backup not: the message names the backup, not the
// book, and the window closes.
TEST(Shutdown, AFailedBackupIsNamedAsTheBackupWithTheBookSaved)
{
    AppFixture f;
    auto app = f.started();
    typeOver(*app, QStringLiteral("сохранить"));
    const QString history = app->folders().historyFolder;
    QDir(history).removeRecursively();
    ASSERT_TRUE(QDir().mkpath(QFileInfo(history.chopped(1)).path()) &&
                writeAll(history.chopped(1), "a file where the folder belongs"));
    ASSERT_TRUE(app->mainWindow()->close());
    const QStringList told = f.messages.texts();
    EXPECT_EQ(std::tuple(pageText(readAll(f.dataFile()), 1), told.size()),
              std::tuple(u"сохранить"_qs, qsizetype(1)));
    EXPECT_TRUE(told.value(0).startsWith(u"Книга сохранена, но ее резервную копию\n"_qs +
                                         QDir::toNativeSeparators(todaysBackup(*app))) &&
                !told.value(0).contains(u"SaveDataEx"_qs))
        << told.join('|');
}

TEST(Damage, TheFallbackFolderServesThisRunOnly)
{
    AppFixture f;
    writeAll(f.dir.filePath("drive"), "a regular file where a drive was");
    const QString usersFolder = f.dir.filePath("drive/books/");
    f.write(u"Адресная книга"_qs, u"FilePath"_qs, usersFolder);
    auto app = f.started();
    EXPECT_TRUE(app->storage().loadReport().fallbackUsed);
    EXPECT_EQ(app->book().page(1).title, u"Ошибка"_qs);
    ASSERT_TRUE(app->mainWindow()->close());
    EXPECT_EQ(f.read(u"Адресная книга"_qs, u"FilePath"_qs), usersFolder);
    EXPECT_FALSE(QFileInfo::exists(todaysBackup(*app)));
}

TEST(Damage, ASettingThatDoesNotConvertIsNamedWithItsSectionAndKey)
{
    AppFixture f;
    f.write(u"Общие"_qs, u"ButtonWidth"_qs, u"широкая%1%2"_qs);
    auto app = f.started();
    const QString told = f.messages.only();
    for (const QString& part : {u"«ButtonWidth»"_qs, u"«Общие»"_qs, u"«широкая%1%2»"_qs,
                                u"«600»"_qs, u"(13)\r\nin Velkaro.Subs.Init "_qs})
        EXPECT_TRUE(told.contains(part) && !told.startsWith(u'<')) << part << told;
}

TEST(Shutdown, AFailedExportLetsTheWindowCloseWithOneMessageAndNoRescue)
{
    AppFixture f;
    {
        auto app = f.started();
        typeOver(*app, u"запись"_qs);
        QDir().mkpath(app->storage().exportPath());
        EXPECT_TRUE(app->mainWindow()->close());
        EXPECT_TRUE(f.messages.texts().size() == 1 &&
                    f.messages.only().endsWith(u"in Velkaro.Subs.SaveAsText "_qs))
            << f.messages.only();
        EXPECT_EQ(fields(app->storage().hasRescue(), pageText(readAll(f.dataFile()), 1)),
                  u"false запись"_qs);
    }
    f.messages.clear();
    auto next = f.started();
    EXPECT_TRUE(f.messages.entries().empty());
}

TEST(Shutdown, ATerminationDuringAStartUpMessageEndsWithTheBookSavedAndNothingWaiting)
{
    AppFixture f;
    writeAll(f.dataFile(), "1\r\n\"A\",\"alpha\"\r\n\"B\",\"beta\"\r\n");
    auto app = f.makeApp();
    f.messages.onShow = [&] { app->terminate(); };
    EXPECT_FALSE(app->startUp()) << "the program ends instead of showing its window";
    f.messages.onShow = nullptr;
    EXPECT_TRUE(app->unloaded() && f.messages.texts().size() == 1);
    // The counted page, saved.
    EXPECT_EQ(DataFile::parse(readAll(f.dataFile())).pages.size(), 1u);
    EXPECT_TRUE(pageText(readAll(f.dataFile()), 1).contains(u"alpha"_qs));
}

// The end of the session with the find window and a modal dialog open: both
// close, the book is saved with what was typed, and the event loop is left.
TEST(Shutdown, ATerminationClosesTheOtherWindowsAndEndsTheLoopWithTheBookSaved)
{
    AppFixture f;
    writeAll(f.dataFile(), kGoodBook);
    auto app = f.makeApp();
    ASSERT_TRUE(app->startUp());
    app->mainWindow()->show();
    app->runCommand(Command::Find, 0);
    // Closed, it may be gone by the time the loop ends.
    const QPointer<QDialog> find = app->mainWindow()->findChild<QDialog*>(u"frmFind"_qs);
    ASSERT_TRUE(find && find->isVisible());
    typeOver(*app, u"ours"_qs);
    bool modalOpen = false;
    QTimer::singleShot(0, app.get(), [&] { app->runCommand(Command::Options, 0); });
    QTimer::singleShot(0, app.get(), [&] {
        modalOpen = QApplication::activeModalWidget() != nullptr;
        app->terminate();
    });
    // Returns only once the dialog's own loop has ended.
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_TRUE(modalOpen);
    EXPECT_TRUE(!find || !find->isVisible());
    EXPECT_TRUE(app->unloaded());
    EXPECT_TRUE(pageText(readAll(f.dataFile()), 1).contains(u"ours"_qs));
}

class Sharing : public ::testing::Test
{
protected:
    void SetUp() override
    {
        writeAll(f.dataFile(), kGoodBook);
        app = f.makeApp();
        ASSERT_TRUE(app->startUp());
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

// The other copy's book on disk and ours in memory: each answer to the
// question, and no question with nobody there. A closed question keeps the window.
TEST_F(Sharing, EachAnswerDoesWhatItSays)
{
    app->mainWindow()->show();
    EXPECT_FALSE(app->mainWindow()->close());
    EXPECT_TRUE(readAll(f.dataFile()) == kTheirs && app->book().isChanged());

    f.messages.queueChoice(1); // reload theirs
    app->runCommand(Command::Save, 0);
    EXPECT_TRUE(app->book().page(1).text.text().contains(u"theirs, written elsewhere"_qs));
    typeOver(*app, u"ours again"_qs);
    writeAll(f.dataFile(), kGoodBook);
    f.messages.queueChoice(2); // overwrite
    app->runCommand(Command::Save, 0);
    EXPECT_TRUE(readAll(f.dataFile()).contains("ours again") && oursBeside().isEmpty());

    typeOver(*app, u"ours"_qs);
    writeAll(f.dataFile(), kTheirs);
    f.messages.queueChoice(0); // keep both
    app->runCommand(Command::Save, 0);
    ASSERT_EQ(oursBeside().size(), 1);
    EXPECT_TRUE(readAll(f.dataFolder + oursBeside()[0]).contains("ours"));
    EXPECT_EQ(fields(readAll(f.dataFile()), app->book().pageCount(), app->book().isChanged()),
              fields(kTheirs, 1, false));
}

TEST_F(Sharing, WithNobodyThereBothAreKeptWithoutAQuestion)
{
    app->mainWindow()->closeForShutdown();
    EXPECT_TRUE(app->unloaded());
    for (const auto& entry : f.messages.entries())
        EXPECT_FALSE(entry.question) << entry.text;
    EXPECT_EQ(readAll(f.dataFile()), kTheirs);
    ASSERT_EQ(oursBeside().size(), 1);
    EXPECT_TRUE(readAll(app->noticesPath()).contains(oursBeside()[0].toUtf8()));
}
