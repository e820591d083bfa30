#include "app/application.h"
#include "app/command_line.h"
#include "app/single_instance.h"
#include "app/termination_signals.h"
#include "core/app_info.h"
#include "core/core_dumps.h"
#include "core/event_log.h"
#include "core/folders.h"
#include "mainwindow/main_window.h"
#include "rules/window_ticks.h"
#include "ui/qt_message_service.h"

#include <QApplication>
#include <cstdio>

namespace {

const char kActivationTokenVariable[] = "XDG_ACTIVATION_TOKEN";

} // namespace

int main(int argc, char* argv[])
{
    CoreDumps::disable();
    // Answered before the window system is reached, which a terminal
    // without a desktop does not have.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    if (const std::optional<QString> reply = CommandLine::immediateReply(arguments)) {
        const QByteArray bytes = reply->toUtf8();
        const bool written =
            std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout) == size_t(bytes.size());
        return written && std::fflush(stdout) == 0 ? 0 : 1;
    }
    // The book is read while the window system is reached and the window built.
    std::unique_ptr<BookPreload> preload = BookSession::preloadBook(arguments.value(0));
    QApplication qapp(argc, argv);
    QApplication::setApplicationName(AppInfo::title());
    QApplication::setApplicationVersion(AppInfo::versionText());
    // The desktop matches the window to its menu entry, velkaro.desktop, and
    // so to the entry's name and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("velkaro"));

    SingleInstance instance(SingleInstance::defaultServerName());
    if (instance.activateRunningInstance(qEnvironmentVariable(kActivationTokenVariable)))
        return 0;
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
    return QApplication::exec();
}
