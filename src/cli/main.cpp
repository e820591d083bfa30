#include "cli/cli_app.h"

#include <QCoreApplication>

// No GUI application object: the rich-text pieces used here work without a
// screen, so the tool runs on a server or over ssh with no display at all.
int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    return CliApp::run(QCoreApplication::arguments());
}
