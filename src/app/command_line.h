#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// What the program's own command line asks before any window: --help and
// --version are answered on standard output and the program ends, so they
// work in a terminal without a desktop. An option it does not know, or a
// file to open, is refused the same way, on standard error, with status 2:
// the book is chosen in the options, one book for the one copy a user runs.
class CommandLine
{
public:
    struct Reply
    {
        QString text;
        int exitCode = 0; // 0: printed on standard output, else on standard error
    };
    // The text to print; nothing when the window is to open. `arguments`
    // are the program's, its own name first.
    static std::optional<Reply> immediateReply(const QStringList& arguments);
};
