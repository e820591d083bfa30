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
    folders.ProgramFolder = runningProgramFolder();
    folders.ExeBaseName = exeBaseName(QCoreApplication::applicationFilePath());
    folders.FilePath = documentsOrStored(storedFilePath);
    folders.DataFileName = folders.ExeBaseName + QStringLiteral(".dat");
    folders.FullDataPath = folders.FilePath + folders.DataFileName;
    folders.SettingsFolder = userSettingsFolder();
    folders.HistoryFolder = historyFolder(folders.SettingsFolder);
    return folders;
}

QString Folders::dataFilePath(const QString& storedFilePath, const QString& programPath)
{
    return documentsOrStored(storedFilePath) + exeBaseName(programPath) + QStringLiteral(".dat");
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

QString Folders::settingsFolder(const QString& appDataFolder, const QString& homeFolder)
{
    const QString base = appDataFolder.isEmpty() ? homeFolder : appDataFolder;
    return withSeparator(withSeparator(base) + AppInfo::title());
}

QString Folders::historyFolder(const QString& settingsFolder)
{
    return withSeparator(settingsFolder) + QStringLiteral("History") + QDir::separator();
}

QString Folders::exeBaseName(const QString& applicationFilePath)
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

QString Folders::programFolder(const QString& executableFolder, const QString& installedFolder)
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
    return settingsFolder(appDataLocation(), QDir::homePath());
}

QString Folders::runningProgramFolder()
{
    return programFolder(QCoreApplication::applicationDirPath(),
                         QString::fromUtf16(AppBuild::programFolderFromExecutable));
}
