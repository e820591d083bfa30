#include "cli/cli_console.h"
#include "cli/cli_sync.h"

#include <QCoreApplication>

// velkaro-cli sync, started by velkaro-cli in its place.
int main(int argc, char** argv)
{
    CliConsole::prepare();
    QCoreApplication app(argc, argv);
    return CliSync::run(QCoreApplication::arguments().mid(1));
}
