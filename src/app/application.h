#pragma once

#include "app/backup_commands.h"
#include "app/contact_commands.h"
#include "app/highlight_colors.h"
#include "app/options_command.h"
#include "app/page_commands.h"
#include "core/event_log.h"
#include "core/folders.h"
#include "core/localization.h"
#include "core/message_service.h"
#include "core/options.h"
#include "core/settings_store.h"
#include "core/tip_of_the_day.h"
#include "dialogs/help_window.h"
#include "document/book.h"
#include "document/book_storage.h"
#include "mainwindow/main_window.h"
#include "mainwindow/main_window_host.h"
#include "styles/styles.h"
#include "ui/qt_translations.h"

#include <QDate>
#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>

class FindDialog;
class WindowTicks;

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
        // Where the program's own files are read (tips, help, a shipped
        // "language.ini"); never written. Ends with a separator.
        QString programFolder;
        bool keepLogOn = false;
        // The day the shutdown's backup is filed under.
        std::function<QDate()> today = [] { return QDate::currentDate(); };
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
    // `AppStyles`: the named styles of "Styles.dat".
    Styles& AppStyles() { return m_styles; }
    const Folders& folders() const { return m_folders; }
    SettingsStore& settings() { return *m_settings; }
    Localization& localization() { return m_localization; }
    MessageService& messages() { return m_messages; }
    const QString& CurrentPassword() const { return m_currentPassword; }
    bool unloaded() const { return m_unloaded; }

    // MainWindowHost
    bool mainWindowClosing(CloseReason reason) override;
    void runCommand(Command command, int argument) override;
    void warn(const QString& text) override;
    void pageEdited() override;
    QString localizedText(TextId id) override;

    // The commands of the same names, as the window's keys and menus reach them.
    void saveCommand();
    void revertCommand();
    void findCommand();
    // Opens page `index`: the open page's edits go into its record first.
    void SelectPage(int index);

    // What a help window needs: the topic list beside the program, the
    // highlight colours, the texts, the placement store and the message box.
    // The options dialog opens its page's topic with it
    // (HelpWindow::showModal).
    HelpWindow::Setup helpSetup();
    HelpWindow* helpWindow() const { return m_help; }

    // The tab column made anew from the book and the display options.
    void RebuildTabs();
    // The open page's edits go into its record; every reader of the book
    // calls this first.
    void flushOpenPage();
    WindowTicks& ticks() { return *m_ticks; }

    // Logout, system shutdown or a termination signal: nobody is there to
    // answer a box, so none is shown from here on. Before the window is up,
    // start-up ends early; afterwards the window closes the usual way.
    void terminate();
    // Where messages that found nobody to read them wait for the next start.
    QString noticesPath() const;

    // An error's description in the interface's language: its own text, else
    // the common reason it stands for, else its words as they came.
    QString describe(const AppError& error);
    // The same for a reason the system gave in words.
    QString describeReason(const QString& systemText);

private:
    // The options dialog sets the option variables, the password and the
    // storage folder that this object owns.
    friend class OptionsCommand;

    enum class SaveOutcome
    {
        Saved,    // the book in memory is safe on disk (perhaps beside another's)
        Failed,   // and the user has been told why
        Cancelled // the user chose nothing
    };

    bool Unloading(CloseReason reason);
    void exitCommand();
    void applyStyle(int index);
    void statusBarHidden();
    void helpCommand();
    void aboutCommand();
    QString windowKeptText();
    SaveOutcome saveBook();
    SaveOutcome presentSave(const BookStorage::SaveResult& result);
    SaveOutcome resolveChangedOnDisk();
    SaveOutcome keepBothBooks(bool reload);
    void reloadBook();
    void migratePassword();
    bool readPassword();
    bool showLogin();
    void reportRejectedOptions(const std::vector<Options::Rejected>& rejected);
    void reportLoad();
    QString unreadableReason(const QString& fileError,
                             const std::optional<DataFile::Error>& parseError);
    void reportRescueCopy();
    void reportShutdownNotices();
    void present(const QString& text, MessageService::Icon icon);
    void presentError(const LocatedError& error);
    void writeShutdownNotices();
    void closeOtherWindows();
    void showTipOfTheDay();
    MainWindow::Display display() const;
    void buildSizeAndColorMenus();
    void onFallbackBookUsed();
    void localizeMainWindow();
    QString stylesPath() const;
    void loadStyles();
    void saveStyles();

    Environment m_env;
    std::unique_ptr<SettingsStore> m_settings;
    MessageService& m_messages;
    EventLog m_log;
    Localization m_localization;
    QtTranslations m_qtTexts;
    Options m_options;
    Folders m_folders;
    Book m_book;
    BookStorage m_storage;
    Styles m_styles;
    TipOfTheDay m_tips;
    HighlightColors m_hilite;
    QString m_currentPassword;
    QString m_filePathAsStored;
    QString m_shortcuts;
    QStringList m_waitingNotices;
    std::optional<AppError> m_saveRefusal; // why the last save wrote no book
    bool m_nobodyThere = false;
    bool m_started = false;
    bool m_unloaded = false;
    LoginPrompt m_loginPrompt;
    PageCommands m_pageCommands{*this};
    OptionsCommand m_optionsCommand{*this};
    ContactCommands m_contactCommands{*this};
    BackupCommands m_backupCommands{*this};
    std::unique_ptr<MainWindow> m_mainWindow;
    QPointer<HelpWindow> m_help; // the main window's one help window, while open
    std::unique_ptr<WindowTicks> m_ticks;
    QPointer<FindDialog> m_find;
};
