#pragma once

#include "core/app_error.h"

#include <QByteArray>
#include <QFileDevice>
#include <QFileInfoList>
#include <QString>
#include <functional>
#include <optional>

// Writing that never leaves a half-written file: the bytes go to a temporary
// file beside the target, which replaces the target only once every byte is
// on disk. A file that is in the way is renamed aside, never overwritten.
class SafeFile
{
public:
    // What a symbolic link in the file's place means. Only a file the user
    // named himself (his book, a file picked in a dialog) is written through
    // one: in a folder others can write to, a link planted at a copy the
    // program makes would have it overwrite their pick of a file.
    enum class Links
    {
        Replace, // the link goes and a regular file takes its place
        Follow   // the link's target is replaced, atomically as any file
    };

    // nullopt on success; otherwise the error to report, with the target as
    // it was. `permissions`, when given, are the written file's (copies of a
    // private book stay private); otherwise a replaced file keeps its own.
    static std::optional<AppError>
    writeWhole(const QString& path, const QByteArray& bytes,
               std::optional<QFileDevice::Permissions> permissions = std::nullopt,
               Links links = Links::Replace);
    // Hands each part it writes to the file; false when the write failed.
    using Writer = std::function<bool(QByteArrayView part)>;
    // The same with the bytes made a part at a time while they are written,
    // so that a large file is never whole in memory. `produce` writes every
    // part through the writer; an error it returns (or a write that failed)
    // leaves the target as it was.
    static std::optional<AppError>
    writeInParts(const QString& path,
                 const std::function<std::optional<AppError>(const Writer&)>& produce,
                 std::optional<QFileDevice::Permissions> permissions = std::nullopt,
                 Links links = Links::Replace);
    // Removes a symbolic link at `path` (never its target), saying on
    // standard error where it led: in the place of a file the program keeps
    // for itself, a link is none of its making. True when one went.
    static bool removeLink(const QString& path);
    // A symbolic link that another account owns: a link the user did not
    // make is never followed. Always false where links have no owner.
    static bool isForeignLink(const QString& path);
    // Whether a running program this account can see has the file open (a
    // save in progress); always false where that cannot be seen.
    static bool isOpenElsewhere(const QString& path);
    // The temporaries that writes of `path` cut short (a program killed in
    // the middle) left beside it, "<name>.XXXXXX": regular files that no
    // running program has open and that nothing wrote to for longer than any
    // write of the program takes.
    static QFileInfoList staleTemporaries(const QString& path);
    // The same for the files `names` in `folder`, looked at once.
    static QFileInfoList staleTemporaries(const QString& folder, const QStringList& names);
    // Removes them; `holdsOurs` tells a temporary of ours by its bytes where
    // the name alone could be a file of the user's.
    static void
    removeStaleTemporaries(const QString& path,
                           const std::function<bool(const QByteArray&)>& holdsOurs = {});
    static void
    removeStaleTemporaries(const QString& folder, const QStringList& names,
                           const std::function<bool(const QByteArray&)>& holdsOurs = {});
    // Renames an existing file to "<path>.<reason>-<date>_<time>" (never over
    // another file). False when it is still in the way.
    static bool keepAside(const QString& path, const QString& reason, QString& keptAs);
    // Copies a file to such a dated name and leaves it where it is.
    static bool keepCopy(const QString& path, const QString& reason, QString& keptAs);
    // A dated name beside `path` that no file has yet, empty if none is free.
    static QString freeDatedName(const QString& path, const QString& reason);
};
