#pragma once

#include "core/app_build.h"

#include <QString>

// The application title names the settings store, the settings folder and the
// log header; it is not translated.
namespace AppInfo {

inline QString title()
{
    return QStringLiteral("Velkaro Pro");
}

constexpr int versionMajor = AppBuild::versionMajor;
constexpr int versionMinor = AppBuild::versionMinor;
constexpr int versionRevision = AppBuild::versionRevision;

// "1.0.0.7": major, minor, ".0.", revision.
inline QString versionText()
{
    return QStringLiteral("%1.%2.0.%3")
        .arg(QString::number(versionMajor), QString::number(versionMinor),
             QString::number(versionRevision));
}

// The address of the about box's feedback link.
inline QString feedbackAddress()
{
    return QString::fromUtf16(AppBuild::feedbackAddress);
}

} // namespace AppInfo
