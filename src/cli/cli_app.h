#pragma once

#include <QStringList>

// Command-line front end: picks the command, checks its arguments, prints
// help, and returns the exit status.
class CliApp
{
public:
    // `arguments` as the process got them, program name first.
    static int run(const QStringList& arguments);
};
