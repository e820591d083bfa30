#pragma once

#include <QString>

// The folders and file names the program works with. Every folder text ends
// with the native separator, except a data folder the user stored without
// one: that is used exactly as stored, and the data file name is appended to
// it directly, as it always was. The rules are pure functions of their
// inputs; locate() feeds them the real locations.
//
// The program folder is only ever read (tips, help, a translation shipped
// with the program): an installed copy may not write there. Whatever the
// program writes goes to the user's own folders, fallbacks included.
class Folders
{
public:
    // storedFilePath: the "FilePath" setting, empty when unset.
    static Folders locate(const QString& storedFilePath);
    // The data file's path alone, known before the application object is:
    // the program's own name as started stands in for the running file's.
    static QString dataFilePath(const QString& storedFilePath, const QString& programPath);

    static QString dataFolder(const QString& storedFilePath, const QString& documentsFolder,
                              const QString& homeFolder);
    static QString settingsFolderFor(const QString& appDataFolder, const QString& homeFolder);
    static QString historyFolderIn(const QString& settingsFolder);
    static QString exeBaseNameOf(const QString& applicationFilePath);
    static QString withSeparator(const QString& folder);
    // An installed copy keeps its files in a data folder of its own
    // (installedFolder, relative to the executable's folder, e.g.
    // "../share/velkaro"); a build tree or a Windows copy keeps them beside
    // the executable.
    static QString programFolderFor(const QString& executableFolder, const QString& installedFolder);

    // Where the documents folder is on this platform; empty when unknown.
    static QString documentsLocation();
    // Where the application-data folder is on this platform; empty when unknown.
    static QString appDataLocation();
    // The settings folder of the user running the program.
    static QString userSettingsFolder();
    // The program folder of the running executable.
    static QString runningProgramFolder();

    QString filePath;
    QString exeBaseName;
    QString dataFileName;
    QString fullDataPath;
    QString programFolder;
    QString settingsFolder;
    QString historyFolder;
};
