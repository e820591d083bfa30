#pragma once

#include <QByteArray>
#include <QString>

// Terminal output: texts go out as UTF-8 whatever the locale says, file
// contents go out byte for byte.
class CliOutput
{
public:
    // False when standard output did not take it all (a full disk, a closed
    // file); the reason is already on standard error then.
    [[nodiscard]] static bool out(const QString& text);
    [[nodiscard]] static bool outBytes(const QByteArray& bytes);
    static void err(const QString& text);
};
