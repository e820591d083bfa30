#include "core/folders.h"
#include "core/shell_folders.h"
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
    const QString settings = Folders::settingsFolderFor("/home/u/.local/share", "/home/u");
    EXPECT_EQ(settings, native("/home/u/.local/share/Velkaro Pro") + sep);
    EXPECT_EQ(Folders::historyFolderIn(settings), settings + "History" + sep);
    EXPECT_EQ(Folders::settingsFolderFor({}, "/home/u"), native("/home/u/Velkaro Pro") + sep);
    // The program folder, and the names, come from the executable.
    QTemporaryDir root;
    const QString bin = root.filePath("usr/bin");
    ASSERT_TRUE(QDir().mkpath(bin));
    // A build tree or a Windows copy: the files sit beside the executable.
    EXPECT_EQ(Folders::programFolderFor(bin, "../share/velkaro"), native(bin) + sep);
    ASSERT_TRUE(QDir().mkpath(root.filePath("usr/share/velkaro")));
    EXPECT_EQ(Folders::programFolderFor(bin, "../share/velkaro"),
              native(root.filePath("usr/share/velkaro")) + sep);
    EXPECT_EQ(Folders::programFolderFor(bin + "/", "."), native(bin) + sep);
    EXPECT_EQ(Folders::exeBaseNameOf("C:/Program Files/Velkaro/velkaro.exe"), QString("velkaro"));
}

// The user's value with its variables expanded wins over the older copy.
TEST(Folders, ShellFolderValuesExpandTheirVariablesAndFallBackToTheOlderCopy)
{
    const auto environment = [](const QString& name) {
        return name == "USERPROFILE" ? QString("C:\\Users\\Анна") : QString();
    };
    const struct
    {
        QString user;
        QString old;
        QString expected;
    } cases[] = {
        {"%USERPROFILE%\\Documents", "C:\\old", "C:\\Users\\Анна\\Documents"},
        {"D:\\Мои документы", "C:\\old", "D:\\Мои документы"},
        {{}, "C:\\Users\\Анна\\Documents", "C:\\Users\\Анна\\Documents"},
        {{}, {}, {}},
        {"%UNKNOWN%\\a%USERPROFILE%", {}, "%UNKNOWN%\\aC:\\Users\\Анна"},
        {"50%\\%USERPROFILE%%", {}, "50%\\C:\\Users\\Анна%"},
        {"%%\\x", {}, "%%\\x"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ShellFolders::pick(c.user, c.old, environment), c.expected) << c.user;
}

} // namespace
