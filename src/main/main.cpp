#include "app/command_line.h"
#include "app/single_instance.h"
#include "app/termination_signals.h"
#include "core/app_info.h"
#include "core/core_dumps.h"
#include "core/huge_pages.h"
#include "core/event_log.h"
#include "core/folders.h"
#include "mainwindow/main_window.h"
#include "rules/window_ticks.h"
#include "shell/application.h"
#include "ui/qt_message_service.h"

#include <QApplication>
#include <cstdio>
#include <cstdlib>

namespace {

const char kActivationTokenVariable[] = "XDG_ACTIVATION_TOKEN";

} // namespace

int main(int argc, char* argv[])
{
    HugePages::forTheHeap();
    CoreDumps::disable();
    // Answered before the window system is reached, which a terminal
    // without a desktop does not have.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    if (const std::optional<CommandLine::Reply> reply = CommandLine::immediateReply(arguments)) {
        const QByteArray bytes = reply->text.toUtf8();
        FILE* stream = reply->exitCode == 0 ? stdout : stderr;
        const bool written =
            std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream) == size_t(bytes.size());
        if (!written || std::fflush(stream) != 0)
            return 1;
        return reply->exitCode;
    }
    // Only the copy that holds the lock reads the book; a second start hands
    // over to it without reading anything. The book is read while the window
    // system is reached and the window built.
    SingleInstance instance(SingleInstance::defaultServerName());
    const bool holder = instance.tryLock();
    std::unique_ptr<BookPreload> preload =
        holder ? BookSession::preloadBook(arguments.value(0)) : nullptr;
    QApplication qapp(argc, argv);
    QApplication::setApplicationName(AppInfo::title());
    QApplication::setApplicationVersion(AppInfo::versionText());
    // The desktop matches the window to its menu entry, velkaro.desktop, and
    // so to the entry's name and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("velkaro"));

    if (!holder) {
        switch (instance.handOver(qEnvironmentVariable(kActivationTokenVariable))) {
        case SingleInstance::Start::HandedOver:
            return 0;
        case SingleInstance::Start::NoAnswer:
            std::fputs("velkaro: another copy holds the book but does not answer\n", stderr);
            return 1;
        case SingleInstance::Start::Holder:
            break;
        }
    }
    instance.listen();

    QtMessageService messages;
    Application::Environment environment{Folders::runningProgramFolder(),
                                         EventLog::keepOnRequested(QCoreApplication::arguments())};
    environment.preload = std::move(preload);
    Application app(std::move(environment),
                    std::make_unique<SettingsStore>(SettingsStore::userSettings()), messages);
    // Listening before start-up: a logout during the password prompt or a
    // start-up message ends the program without waiting for anyone.
    TerminationSignals terminationSignals;
    terminationSignals.install();
    QObject::connect(&terminationSignals, &TerminationSignals::terminationRequested, &app,
                     &Application::terminate);
    if (!app.startUp())
        return 0;

    MainWindow* window = app.mainWindow();
    messages.setParentWindow(window);
    QObject::connect(&instance, &SingleInstance::activationRequested, window,
                     [window](const QString& activationToken) {
                         // Qt's Wayland plugin, where its version supports it, raises
                         // the window with the token it finds here; a start from the
                         // menu had one from the desktop.
                         if (!activationToken.isEmpty())
                             qputenv(kActivationTokenVariable, activationToken.toUtf8());
                         window->bringToFront();
                     });
    window->show();
    app.ticks().start();
    const int exitCode = QApplication::exec();
#if defined(__SANITIZE_ADDRESS__)
    // Everything freed, so that a leak shows.
    return exitCode;
#else
    // Everything the user owns was written when the window closed. The socket
    // and the lock are given up; the memory of a large book is the system's
    // to take back at once, not page by page.
    instance.release();
    std::fflush(nullptr);
    std::_Exit(exitCode);
#endif
}
