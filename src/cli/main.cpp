#include "cli/cli_app.h"
#include "cli/cli_console.h"
#include "core/core_dumps.h"
#include "core/huge_pages.h"

#include <QCoreApplication>
#include <string_view>

// No GUI application object: the rich-text pieces used here work without a
// screen, so the tool runs on a server or over ssh with no display at all.
// Only sync, which looks for its helper beside this program, needs the
// application object; the other commands start sooner without one.
int main(int argc, char** argv)
{
    HugePages::forTheHeap();
    // A command lives a moment and fills its buffers once (the book read,
    // the text it prints): in huge pages they cost a few faults, not one for
    // every 4 KiB.
    const HugePages::NextBlocks heap(64 << 20);
    CliConsole::prepare();
    CoreDumps::disable();
    if (argc > 1 && std::string_view(argv[1]) == "sync") {
        QCoreApplication app(argc, argv);
        return CliApp::run(QCoreApplication::arguments());
    }
    CliConsole::useUsersLocale();
    return CliApp::run(CliConsole::arguments(argc, argv));
}
