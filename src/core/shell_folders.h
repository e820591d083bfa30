#pragma once

#include <QString>
#include <functional>

// The user's folders as Windows names them: the values "Personal" (the
// documents folder) and "AppData" (the application-data folder) of the
// current user's shell folders. "User Shell Folders" holds the value the
// user set, possibly naming environment variables (%USERPROFILE%\Documents);
// "Shell Folders" is the older copy of the final path, read when the first
// has no value.
class ShellFolders
{
public:
    using Environment = std::function<QString(const QString& name)>;

    // Empty where the value cannot be read (and on other platforms).
    static QString documents();
    static QString appData();

    // The folder a value pair names: userShellFolder with its %NAME%
    // variables expanded, else shellFolder; a variable the environment does
    // not know stays as written, as Windows leaves it.
    static QString pick(const QString& userShellFolder, const QString& shellFolder,
                        const Environment& environment);

private:
    static QString read(const QString& valueName);
};
