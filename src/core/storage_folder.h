#pragma once

#include <QString>
#include <Qt>
#include <optional>

// The folder the book is kept in, as the options dialog takes it from the
// user: the folder browser's start folder, the text typed into the folder
// field, the default folder, and whether two texts name one folder.
class StorageFolder
{
public:
    // `setBrowseStartFolder`: the folder text without its final separator (a
    // root such as "C:\" keeps it), in upper case where the file system
    // ignores letter case, as the folder browser shows it.
    static QString setBrowseStartFolder(const QString& path, Qt::CaseSensitivity fileNames);
    // Whether letter case tells file names apart at `path`, judged on the
    // nearest folder of it that exists.
    static Qt::CaseSensitivity fileNameCase(const QString& path);

    // The folder field's text as an absolute folder ending in the native
    // separator, a leading "~" standing for `home`; nullopt for a relative
    // path, which would depend on where the program happened to start.
    static std::optional<QString> absoluteFolder(const QString& text, const QString& home);
    // The documents folder, else the home folder: never the program's own
    // folder, which an installed program cannot write to.
    static QString defaultFolder(const QString& documents, const QString& home);

    // True when both texts name one folder: written with or without the final
    // separator, in another letter case where the file system ignores it, or
    // through a link.
    static bool sameFolder(const QString& a, const QString& b);
    // True when both paths exist and reach one entry of the file system.
    static bool sameEntry(const QString& a, const QString& b);
};
