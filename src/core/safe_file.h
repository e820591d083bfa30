#pragma once

#include "core/app_error.h"

#include <QByteArray>
#include <QFileDevice>
#include <QString>
#include <optional>

// Writing that never leaves a half-written file: the bytes go to a temporary
// file beside the target, which replaces the target only once every byte is
// on disk. A file that is in the way is renamed aside, never overwritten.
class SafeFile
{
public:
    // nullopt on success; otherwise the error to report, with the target as
    // it was. `permissions`, when given, are the written file's (copies of a
    // private book stay private); otherwise a replaced file keeps its own.
    static std::optional<AppError>
    writeWhole(const QString& path, const QByteArray& bytes,
               std::optional<QFileDevice::Permissions> permissions = std::nullopt);
    // Renames an existing file to "<path>.<reason>-<date>_<time>" (never over
    // another file). False when it is still in the way.
    static bool keepAside(const QString& path, const QString& reason, QString& keptAs);
    // Copies a file to such a dated name and leaves it where it is.
    static bool keepCopy(const QString& path, const QString& reason, QString& keptAs);
    // A dated name beside `path` that no file has yet, empty if none is free.
    static QString freeDatedName(const QString& path, const QString& reason);
};
