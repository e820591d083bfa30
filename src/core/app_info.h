#pragma once

#include <QString>

// The application title names the settings store, the settings folder and the
// log header; it is not translated.
namespace AppInfo {

inline QString title()
{
    return QStringLiteral("Velkaro Pro");
}

constexpr int versionMajor = VELKARO_VERSION_MAJOR;
constexpr int versionMinor = VELKARO_VERSION_MINOR;
constexpr int versionRevision = VELKARO_VERSION_REVISION;

// "1.0.0.7": major, minor, ".0.", revision.
inline QString versionText()
{
    return QStringLiteral("%1.%2.0.%3").arg(versionMajor).arg(versionMinor).arg(versionRevision);
}

} // namespace AppInfo
