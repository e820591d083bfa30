#pragma once

#include <QByteArray>
#include <QString>

// Terminal output: texts go out as UTF-8 whatever the locale says, file
// contents go out byte for byte.
class CliOutput
{
public:
    static void out(const QString& text);
    static void outBytes(const QByteArray& bytes);
    static void err(const QString& text);
};
