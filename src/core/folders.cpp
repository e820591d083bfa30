#include "core/folders.h"

#include "core/app_info.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

Folders Folders::locate(const QString& storedFilePath)
{
    Folders folders;
    folders.ProgramFolder = withSeparator(QCoreApplication::applicationDirPath());
    folders.ExeBaseName = exeBaseName(QCoreApplication::applicationFilePath());
    folders.FilePath = dataFolder(
        storedFilePath, QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation),
        folders.ProgramFolder);
    folders.DataFileName = folders.ExeBaseName + QStringLiteral(".dat");
    folders.FullDataPath = folders.FilePath + folders.DataFileName;
    folders.SettingsFolder = settingsFolder(appDataLocation(), folders.ProgramFolder);
    folders.HistoryFolder = historyFolder(folders.SettingsFolder);
    return folders;
}

QString Folders::dataFolder(const QString& storedFilePath, const QString& documentsFolder,
                            const QString& programFolder)
{
    if (!storedFilePath.isEmpty())
        return storedFilePath;
    if (!documentsFolder.isEmpty())
        return withSeparator(documentsFolder);
    return withSeparator(programFolder);
}

QString Folders::settingsFolder(const QString& appDataFolder, const QString& programFolder)
{
    if (appDataFolder.isEmpty())
        return withSeparator(programFolder);
    return withSeparator(withSeparator(appDataFolder) + AppInfo::title());
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

QString Folders::appDataLocation()
{
#ifdef Q_OS_WIN
    // The roaming application-data folder, where the earlier program kept
    // its styles and backups.
    return qEnvironmentVariable("APPDATA");
#else
    // The root of the per-user data folders (~/.local/share), so the title
    // names the folder exactly as on Windows, whatever organisation name the
    // application object carries.
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
#endif
}
