#pragma once

#include "core/event_log.h"
#include "core/folders.h"
#include "core/localization.h"
#include "core/options.h"
#include "core/settings_store.h"
#include "core/tip_of_the_day.h"
#include "document/book.h"
#include "document/book_storage.h"
#include "mainwindow/main_window_host.h"

#include <QObject>
#include <functional>
#include <memory>

class MainWindow;
class MessageService;
class QTimer;

// The one object that owns what the whole program shares: settings, options,
// folders, localization, the log, the book and the password. Start-up and
// shutdown run here in their fixed order; the main window calls back through
// MainWindowHost.
class Application : public QObject, public MainWindowHost
{
    Q_OBJECT

public:
    struct Environment
    {
        QString programFolder; // ends with a separator
        bool keepLogOn = false;
    };
    // Asks for the start-up password; true lets start-up go on.
    using LoginPrompt = std::function<bool(Application& app)>;

    Application(Environment environment, std::unique_ptr<SettingsStore> settings,
                MessageService& messages, QObject* parent = nullptr);
    ~Application() override;

    // The load-handler sequence. False when the program must end at once
    // (no password given): nothing has been loaded or written then.
    bool StartUp();
    void Init();

    void setLoginPrompt(LoginPrompt prompt) { m_loginPrompt = std::move(prompt); }

    MainWindow* mainWindow() const { return m_mainWindow.get(); }
    Book& book() { return m_book; }
    BookStorage& storage() { return m_storage; }
    Options& options() { return m_options; }
    const Folders& folders() const { return m_folders; }
    SettingsStore& settings() { return *m_settings; }
    Localization& localization() { return m_localization; }
    MessageService& messages() { return m_messages; }
    const QString& CurrentPassword() const { return m_currentPassword; }
    bool unloaded() const { return m_unloaded; }

    // MainWindowHost
    bool mainWindowClosing(CloseReason reason) override;
    void saveCommand() override;
    void revertCommand() override;
    void exitCommand() override;
    void pageEdited(const QString& richText) override;

private:
    bool Unloading(CloseReason reason);
    void migratePassword();
    bool readPassword();
    bool showLogin();
    void reportRecoveredFiles();
    void showTipOfTheDay();
    void openCurrentPage();
    void onFallbackBookUsed();
    void localizeMainWindow();

    Environment m_env;
    std::unique_ptr<SettingsStore> m_settings;
    MessageService& m_messages;
    EventLog m_log;
    Localization m_localization;
    Options m_options;
    Folders m_folders;
    Book m_book;
    BookStorage m_storage;
    TipOfTheDay m_tips;
    QString m_currentPassword;
    bool m_unloaded = false;
    LoginPrompt m_loginPrompt;
    std::unique_ptr<MainWindow> m_mainWindow;
    QTimer* m_tipTimer = nullptr;
};
