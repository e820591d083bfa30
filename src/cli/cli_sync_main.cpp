#include "cli/cli_console.h"
#include "cli/cli_sync.h"
#include "core/core_dumps.h"

#include <QCoreApplication>

// velkaro-cli sync, started by velkaro-cli in its place.
int main(int argc, char** argv)
{
    CliConsole::prepare();
    CoreDumps::disable();
    QCoreApplication app(argc, argv);
    return CliSync::run(QCoreApplication::arguments().mid(1));
}
