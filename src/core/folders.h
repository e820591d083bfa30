#pragma once

#include <QString>

// The folders and file names the program works with. Every folder text ends
// with the native separator, except a data folder the user stored without
// one: that is used exactly as stored, and the data file name is appended to
// it directly, as it always was. The rules are pure functions of their
// inputs; locate() feeds them the real locations.
class Folders
{
public:
    // storedFilePath: the "FilePath" setting, empty when unset.
    static Folders locate(const QString& storedFilePath);

    static QString dataFolder(const QString& storedFilePath, const QString& documentsFolder,
                              const QString& programFolder);
    static QString settingsFolder(const QString& appDataFolder, const QString& programFolder);
    static QString historyFolder(const QString& settingsFolder);
    static QString exeBaseName(const QString& applicationFilePath);
    static QString withSeparator(const QString& folder);

    // Where the application-data folder is on this platform; empty when unknown.
    static QString appDataLocation();

    QString FilePath;
    QString ExeBaseName;
    QString DataFileName;
    QString FullDataPath;
    QString ProgramFolder;
    QString SettingsFolder;
    QString HistoryFolder;
};
