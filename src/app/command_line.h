#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// What the program's own command line asks before any window: --help and
// --version are answered on standard output and the program ends, so they
// work in a terminal without a desktop.
class CommandLine
{
public:
    // The text to print for --help or --version; nothing when the window is
    // to open. `arguments` are the program's, its own name first.
    static std::optional<QString> immediateReply(const QStringList& arguments);
};
