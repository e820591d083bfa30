#include "core/folders.h"
#include "unit_test.h"

namespace {

const QChar sep = QDir::separator();

QString native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

// The fallbacks are the user's own folders: an installed program folder is
// never written.
TEST(Folders, DataSettingsAndProgramFoldersAreTheUsersOwnOrTheInstalledOnes)
{
    EXPECT_EQ(Folders::dataFolder("/srv/book", "/home/u/Documents", "/home/u"),
              QString("/srv/book"));
    EXPECT_EQ(Folders::dataFolder({}, "/home/u/Documents", "/home/u"),
              native("/home/u/Documents") + sep);
    EXPECT_EQ(Folders::dataFolder({}, "/home/u/Documents/", "/home/u"),
              native("/home/u/Documents/"));
    EXPECT_EQ(Folders::dataFolder({}, {}, "/home/u"), native("/home/u") + sep);
    // The settings and history folders end with the separator.
    const QString settings = Folders::settingsFolder("/home/u/.local/share", "/home/u");
    EXPECT_EQ(settings, native("/home/u/.local/share/Velkaro Pro") + sep);
    EXPECT_EQ(Folders::historyFolder(settings), settings + "History" + sep);
    EXPECT_EQ(Folders::settingsFolder({}, "/home/u"), native("/home/u/Velkaro Pro") + sep);
    // The program folder, and the names, come from the executable.
    QTemporaryDir root;
    const QString bin = root.filePath("usr/bin");
    ASSERT_TRUE(QDir().mkpath(bin));
    // A build tree or a Windows copy: the files sit beside the executable.
    EXPECT_EQ(Folders::programFolder(bin, "../share/velkaro"), native(bin) + sep);
    ASSERT_TRUE(QDir().mkpath(root.filePath("usr/share/velkaro")));
    EXPECT_EQ(Folders::programFolder(bin, "../share/velkaro"),
              native(root.filePath("usr/share/velkaro")) + sep);
    EXPECT_EQ(Folders::programFolder(bin + "/", "."), native(bin) + sep);
    EXPECT_EQ(Folders::exeBaseName("C:/Program Files/Velkaro/velkaro.exe"), QString("velkaro"));
}

} // namespace
