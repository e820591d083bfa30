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
};
