#include "core/folders.h"

#include "core/app_build.h"
#include "core/app_info.h"
#include "core/shell_folders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

QString documentsOrStored(const QString& storedFilePath)
{
    return Folders::dataFolder(storedFilePath, Folders::documentsLocation(), QDir::homePath());
}

} // namespace

Folders Folders::locate(const QString& storedFilePath)
{
    Folders folders;
    folders.programFolder = runningProgramFolder();
    folders.exeBaseName = exeBaseNameOf(QCoreApplication::applicationFilePath());
    folders.filePath = documentsOrStored(storedFilePath);
    folders.dataFileName = folders.exeBaseName + QStringLiteral(".dat");
    folders.fullDataPath = folders.filePath + folders.dataFileName;
    folders.settingsFolder = userSettingsFolder();
    folders.historyFolder = historyFolderIn(folders.settingsFolder);
    return folders;
}

QString Folders::dataFilePath(const QString& storedFilePath, const QString& programPath)
{
    return documentsOrStored(storedFilePath) + exeBaseNameOf(programPath) + QStringLiteral(".dat");
}

QString Folders::dataFolder(const QString& storedFilePath, const QString& documentsFolder,
                            const QString& homeFolder)
{
    if (!storedFilePath.isEmpty())
        return storedFilePath;
    if (!documentsFolder.isEmpty())
        return withSeparator(documentsFolder);
    return withSeparator(homeFolder);
}

QString Folders::settingsFolderFor(const QString& appDataFolder, const QString& homeFolder)
{
    const QString base = appDataFolder.isEmpty() ? homeFolder : appDataFolder;
    return withSeparator(withSeparator(base) + AppInfo::title());
}

QString Folders::historyFolderIn(const QString& settingsFolder)
{
    return withSeparator(settingsFolder) + QStringLiteral("History") + QDir::separator();
}

QString Folders::exeBaseNameOf(const QString& applicationFilePath)
{
    return QFileInfo(applicationFilePath).completeBaseName();
}

QString Folders::withSeparator(const QString& folder)
{
    QString native = QDir::toNativeSeparators(folder);
    if (!native.endsWith(QDir::separator()))
        native += QDir::separator();
    return native;
}

QString Folders::programFolderFor(const QString& executableFolder, const QString& installedFolder)
{
    const QString installed = QDir::cleanPath(QDir(executableFolder).filePath(installedFolder));
    if (QFileInfo(installed).isDir())
        return withSeparator(installed);
    return withSeparator(executableFolder);
}

QString Folders::documentsLocation()
{
#ifdef Q_OS_WIN
    // The "Personal" shell folder, which the user may have moved.
    return ShellFolders::documents();
#else
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
#endif
}

QString Folders::appDataLocation()
{
#ifdef Q_OS_WIN
    // The roaming application-data folder, where version 3.0 kept
    // its styles and backups.
    return ShellFolders::appData();
#else
    // The root of the per-user data folders (~/.local/share), so the title
    // names the folder exactly as on Windows, whatever organisation name the
    // application object carries.
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
#endif
}

QString Folders::userSettingsFolder()
{
    return settingsFolderFor(appDataLocation(), QDir::homePath());
}

QString Folders::runningProgramFolder()
{
    return programFolderFor(QCoreApplication::applicationDirPath(),
                         QString::fromUtf16(AppBuild::programFolderFromExecutable));
}
