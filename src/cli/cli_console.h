#pragma once

#include <QStringList>

// The tool's streams and arguments, the same on every platform: on Windows
// the arguments come from the wide command line (a path with Cyrillic
// letters survives whatever the code page), the console shows UTF-8, and
// standard output and error are binary, so the tool writes byte for byte
// what it writes on Linux (a vCard's CR LF stays one, no CR is added).
class CliConsole
{
public:
    static QStringList arguments(int argc, char** argv);
    static void prepare();
    // The C library's locale from the environment, as an application object
    // sets it, so that the system's error texts come in the user's language.
    // Left alone where that language is C's own (C, POSIX, C.UTF-8): the
    // texts are those the program starts with, and C.UTF-8, which Debian
    // keeps outside its locale archive, costs a dozen files to load.
    static void useUsersLocale();
};
