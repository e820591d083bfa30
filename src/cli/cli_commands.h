#pragma once

#include "cli/cli_password.h"

#include <QStringList>

// What a command was given, already checked for the right number of arguments.
// A book given as "-" is read from standard input.
struct CliArgs
{
    QStringList positional;
    bool matchCase = false;
    bool wholeWord = false;
    bool yoAsYe = false;
    bool digitsOnly = false;
    bool utf8 = false;
    QString output; // --output: a file instead of standard output
    // --password-file: an encrypted book's password is its first line;
    // without it the password is asked on the terminal.
    CliPassword::Source password;
};

// The commands of velkaro-cli. Each returns the process exit status; none of
// them ever writes the book.
class CliCommands
{
public:
    static constexpr int ExitOk = 0;
    static constexpr int ExitFailure = 1; // the book cannot be read or the output not written
    static constexpr int ExitUsage = 2;
    // find and diff answer a question, as grep and diff do: 0 found or the
    // same, 1 nothing found or different, 2 any trouble.
    static constexpr int ExitNo = 1;
    static constexpr int ExitTrouble = 2;

    static int exitFor(bool written) { return written ? ExitOk : ExitFailure; }

    static int list(const CliArgs& args);
    static int cat(const CliArgs& args);
    static int exportText(const CliArgs& args);
    static int check(const CliArgs& args);
    static int find(const CliArgs& args);
    static int exportVCard(const CliArgs& args);
    static int exportCsv(const CliArgs& args);
    static int backups(const CliArgs& args);
    static int diff(const CliArgs& args);
};
