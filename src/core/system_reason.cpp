#include "core/system_reason.h"

#include <QByteArray>
#include <array>
#include <cerrno>

namespace {

struct ErrnoReason
{
    int code;
    const char* words; // the system's words in English, which the program's own texts use
    TextId text;
};

constexpr ErrnoReason kErrnoReasons[] = {
    {ENOSPC, "No space left on device", TextId::ReasonDiskFull},
#ifdef EDQUOT
    {EDQUOT, "Disk quota exceeded", TextId::ReasonDiskFull},
#endif
    // also the words of a file over a reading ceiling
    {EFBIG, "File too large", TextId::ReasonTooLarge},
    {EROFS, "Read-only file system", TextId::ReasonReadOnly},
    {EACCES, "Permission denied", TextId::ReasonNoPermission},
    {EPERM, "Operation not permitted", TextId::ReasonNoPermission},
    {ENOENT, "No such file or directory", TextId::ReasonNotFound},
    {ENOTDIR, "Not a directory", TextId::ReasonNotFound},
    {ELOOP, "Too many levels of symbolic links",
     TextId::ReasonSymbolicLink}, // a link opened without following it
};

} // namespace

// The system's words in the locale's language, or in English.
std::optional<TextId> SystemReason::of(const QString& systemText)
{
    for (const ErrnoReason& reason : kErrnoReasons) {
        if (systemText.contains(qt_error_string(reason.code), Qt::CaseInsensitive) ||
            systemText.contains(QLatin1String(reason.words), Qt::CaseInsensitive))
            return reason.text;
    }
    return std::nullopt;
}

std::optional<TextId> SystemReason::of(const AppError& error)
{
    // A description in the system's words says more than the number.
    if (const std::optional<TextId> said = of(error.description))
        return said;
    switch (error.number) {
    case AppError::DiskFull:
        return TextId::ReasonDiskFull;
    case AppError::PermissionDenied:
        return TextId::ReasonNoPermission;
    case AppError::FileNotFound:
    case AppError::PathNotFound:
        return TextId::ReasonNotFound;
    default:
        return std::nullopt;
    }
}
