#include "app/application.h"
#include "app/single_instance.h"
#include "app/termination_signals.h"
#include "core/app_info.h"
#include "core/event_log.h"
#include "core/folders.h"
#include "mainwindow/main_window.h"
#include "ui/qt_message_service.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication qapp(argc, argv);
    QApplication::setApplicationName(AppInfo::title());
    QApplication::setApplicationVersion(AppInfo::versionText());

    SingleInstance instance(SingleInstance::defaultServerName());
    if (instance.activateRunningInstance())
        return 0;
    instance.listen();

    QtMessageService messages;
    Application::Environment environment{
        Folders::withSeparator(QCoreApplication::applicationDirPath()),
        EventLog::keepOnRequested(QCoreApplication::arguments())};
    Application app(std::move(environment),
                    std::make_unique<SettingsStore>(SettingsStore::userSettings()), messages);
    if (!app.StartUp())
        return 0;

    MainWindow* window = app.mainWindow();
    messages.setParentWindow(window);
    QObject::connect(&instance, &SingleInstance::activationRequested, window,
                     &MainWindow::bringToFront);
    TerminationSignals terminationSignals;
    terminationSignals.install();
    QObject::connect(&terminationSignals, &TerminationSignals::terminationRequested, window,
                     &MainWindow::closeForShutdown);
    window->show();
    return QApplication::exec();
}
