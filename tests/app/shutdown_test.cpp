#include "app_fixture.h"
#include "document/history_backup.h"
#include "mainwindow/main_window.h"

namespace {

// Puts a regular file where the data folder was, so every save into it fails.
void blockDataFolder(const AppFixture& f)
{
    QString folder = f.dataFolder;
    folder.chop(1);
    ASSERT_TRUE(QDir(folder).removeRecursively());
    QFile blocker(folder);
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
}

} // namespace

TEST(Shutdown, ClosingSavesTheBookTheOptionsAndTheBackupOnce)
{
    AppFixture f;
    auto app = f.started();
    app->SelectPage(3);
    typeOver(*app, QStringLiteral("Иванов\t123-45-67"));
    EXPECT_TRUE(app->book().isChanged());

    EXPECT_TRUE(app->mainWindow()->close());
    EXPECT_TRUE(app->unloaded());
    EXPECT_EQ(pageText(readAll(f.dataFile()), 3), u"Иванов\t123-45-67"_qs);
    EXPECT_EQ(app->settings().Read(QStringLiteral("Options"), QStringLiteral("RecentPage"), {}),
              QStringLiteral("3"));
    const QString backup = HistoryBackup::backupPath(app->folders().HistoryFolder,
                                                     app->folders().ExeBaseName, AppFixture::today);
    EXPECT_EQ(readAll(backup), readAll(f.dataFile()));
    EXPECT_TRUE(f.messages.entries().empty());
}

TEST(Shutdown, AFailedSaveKeepsTheWindowOpenForTheUserAndLeavesARescueCopyAtSystemShutdown)
{
    AppFixture f;
    {
        auto app = f.started();
        app->mainWindow()->show();
        typeOver(*app, QStringLiteral("не потерять"));
        blockDataFolder(f);

        EXPECT_FALSE(app->mainWindow()->close());
        EXPECT_TRUE(app->mainWindow()->isVisible());
        ASSERT_EQ(f.messages.texts().size(), 2);
        EXPECT_TRUE(f.messages.texts()[0].contains(QStringLiteral("in Velkaro.Subs.SaveDataEx ")));
        EXPECT_TRUE(app->book().isChanged());

        app->mainWindow()->closeForShutdown();
        EXPECT_FALSE(app->mainWindow()->isVisible());
        EXPECT_TRUE(app->unloaded());
        EXPECT_EQ(pageText(readAll(app->storage().rescuePath()), 1), u"не потерять"_qs);
    }
    QFile::remove(f.dataFolder.chopped(1));
    QDir().mkpath(f.dataFolder);
    f.messages.clear();
    auto next = f.started();
    // The rescue copy, then what the closing program could not say to anyone.
    const QStringList told = f.messages.texts();
    ASSERT_EQ(told.size(), 2);
    EXPECT_TRUE(told[0].contains(next->storage().FullDataPath()));
    EXPECT_TRUE(
        told[1].contains(u"Файл или папка не найдены (76)\r\nin Velkaro.Subs.SaveDataEx "_qs))
        << told[1].toStdString();
    EXPECT_FALSE(next->storage().hasRescue()) << "told once, then kept under a dated name";
    EXPECT_FALSE(QFileInfo::exists(next->noticesPath()));
}

TEST(Shutdown, RevertDiscardsEditsAndReloadsTheFile)
{
    AppFixture f;
    auto app = f.started();
    const QString before = app->book().Pages[1].Text;
    typeOver(*app, QStringLiteral("правка"));
    app->revertCommand();
    EXPECT_EQ(app->book().Pages[1].Text, before);
    EXPECT_FALSE(app->book().isChanged());
}

// Characters Windows-1251 cannot hold are no matter of disk space: both
// messages name them and say what to do.
TEST(Shutdown, ASaveRefusedForCharactersAdvisesRtfOrTakingThemOut)
{
    AppFixture f;
    f.write(u"Адресная книга"_qs, u"UseRtf"_qs, u"False"_qs);
    auto app = f.started();
    app->mainWindow()->show();
    typeOver(*app, u"Телефон ☎ 555"_qs);
    app->saveCommand();
    EXPECT_FALSE(app->mainWindow()->close());
    const QStringList told = f.messages.texts();
    ASSERT_EQ(told.size(), 3);
    for (const QString& text : {told[0], told[2]}) {
        EXPECT_TRUE(text.contains(u"«АБ»"_qs) && text.contains(u"☎"_qs)) << text.toStdString();
        EXPECT_TRUE(text.contains(u"«Использовать формат RTF»"_qs)) << text.toStdString();
        EXPECT_FALSE(text.contains(u"место на диске"_qs)) << text.toStdString();
    }
}
