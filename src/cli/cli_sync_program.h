#pragma once

#include <QStringList>

// velkaro-cli sync runs as a program of its own, velkaro-cli-sync: the network
// and secret-store libraries it needs would otherwise be loaded by every
// command, and a script printing one page would wait for them each time.
class CliSyncProgram
{
public:
    // Runs the sync program with `arguments` (those after "sync") in this
    // process's place; returns only when it cannot be started.
    static int run(const QStringList& arguments);
};
