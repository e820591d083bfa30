#include "core/system_reason.h"

#include <QByteArray>
#include <array>
#include <cerrno>
#include <utility>

namespace {

constexpr std::array<std::pair<int, TextId>, 9> kErrnoReasons{{
    {ENOSPC, TextId::ReasonDiskFull},
    {EDQUOT, TextId::ReasonDiskFull},
    {EFBIG, TextId::ReasonTooLarge}, // also the words of a file over a reading ceiling
    {EROFS, TextId::ReasonReadOnly},
    {EACCES, TextId::ReasonNoPermission},
    {EPERM, TextId::ReasonNoPermission},
    {ENOENT, TextId::ReasonNotFound},
    {ENOTDIR, TextId::ReasonNotFound},
    {ELOOP, TextId::ReasonSymbolicLink}, // a link opened without following it
}};

} // namespace

std::optional<TextId> SystemReason::of(const QString& systemText)
{
    for (const auto& [code, text] : kErrnoReasons) {
        if (systemText.contains(qt_error_string(code), Qt::CaseInsensitive))
            return text;
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
