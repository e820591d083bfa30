#include "core/folders.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {

const QChar sep = QDir::separator();

QString native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

TEST(Folders, DataFolderIsTheStoredOneAsStoredElseDocumentsElseProgramFolder)
{
    EXPECT_EQ(Folders::dataFolder("/srv/book", "/home/u/Documents", "/opt"), QString("/srv/book"));
    EXPECT_EQ(Folders::dataFolder("D:\\Книга\\", "/docs", "/opt"), QString("D:\\Книга\\"));
    EXPECT_EQ(Folders::dataFolder({}, "/home/u/Documents", "/opt/velkaro"),
              native("/home/u/Documents") + sep);
    EXPECT_EQ(Folders::dataFolder({}, "/home/u/Documents/", "/opt"), native("/home/u/Documents/"));
    EXPECT_EQ(Folders::dataFolder({}, {}, "/opt/velkaro"), native("/opt/velkaro") + sep);
}

TEST(Folders, SettingsAndHistoryFoldersEndWithTheSeparator)
{
    const QString settings = Folders::settingsFolder("/home/u/.local/share", "/opt/velkaro");
    EXPECT_EQ(settings, native("/home/u/.local/share/Velkaro Pro") + sep);
    EXPECT_EQ(Folders::historyFolder(settings), settings + "History" + sep);
    EXPECT_EQ(Folders::settingsFolder("/data/", "/opt"), native("/data/Velkaro Pro") + sep);
    EXPECT_EQ(Folders::settingsFolder({}, "/opt/velkaro"), native("/opt/velkaro") + sep);
}

TEST(Folders, NamesComeFromTheExecutable)
{
    EXPECT_EQ(Folders::exeBaseName("/opt/velkaro/velkaro"), QString("velkaro"));
    EXPECT_EQ(Folders::exeBaseName("C:/Program Files/Velkaro/velkaro.exe"), QString("velkaro"));

    const Folders folders = Folders::locate({});
    EXPECT_EQ(folders.DataFileName, folders.ExeBaseName + ".dat");
    for (const QString& folder :
         {folders.FilePath, folders.ProgramFolder, folders.SettingsFolder, folders.HistoryFolder})
        EXPECT_TRUE(folder.endsWith(sep)) << folder.toStdString();
}

} // namespace
