#pragma once

#include "app/book_encryption.h"
#include "app/book_question.h"
#include "app/book_session.h"
#include "app/command_handlers.h"
#include "app/highlight_colors.h"
#include "app/login.h"
#include "app/notices.h"
#include "core/event_log.h"
#include "core/folders.h"
#include "core/language_catalog.h"
#include "core/localization.h"
#include "core/message_service.h"
#include "core/options.h"
#include "core/settings_store.h"
#include "core/tip_of_the_day.h"
#include "dialogs/help_window.h"
#include "mainwindow/main_window.h"
#include "mainwindow/main_window_host.h"
#include "styles/styles.h"
#include "ui/qt_translations.h"

#include <QDate>
#include <QObject>
#include <functional>
#include <memory>

class BackupCommands;
class CardDavCommands;
class ContactCommands;
class NotebookCommands;
class OptionsCommand;
class PageCommands;
class WindowTicks;

// The program: it owns what the whole program shares (settings, options,
// localization, the log, the styles), makes the parts that have names of
// their own (the book session, the log-in, the notices, the commands) and
// runs the start-up and shutdown sequences in their fixed order. The main
// window calls back through MainWindowHost; each command gets only the parts
// it uses.
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
        // What deriving the key of a newly encrypted book costs.
        BookKey::Limits keyLimits = BookKey::Limits::moderate();
        // The book as read while the window was being built, if anyone began.
        std::unique_ptr<BookPreload> preload = nullptr;
    };
    // Asks for the start-up password; true lets start-up go on.
    using LoginPrompt = std::function<bool(Application& app)>;
    // Asks for a new password of an encrypted book, typed twice; none when
    // the person cancelled.
    using NewPasswordPrompt = std::function<std::optional<QString>(Application& app)>;

    Application(Environment environment, std::unique_ptr<SettingsStore> settings,
                MessageService& messages, QObject* parent = nullptr);
    ~Application() override;

    // The load-handler sequence. False when the program must end at once
    // (no password given): nothing has been loaded or written then.
    bool startUp();
    void init();

    void setLoginPrompt(LoginPrompt prompt) { m_loginPrompt = std::move(prompt); }
    void setNewPasswordPrompt(NewPasswordPrompt prompt) { m_newPasswordPrompt = std::move(prompt); }
    // What start-up asks when an encrypted book cannot be opened as it is.
    void setBookQuestion(BookQuestion::Ask ask) { m_bookQuestion = std::move(ask); }
    // Where start-up asks for the folder of a book that is gone: true once
    // the "FilePath" setting names the folder chosen.
    void setFolderPrompt(std::function<bool(Application&)> prompt)
    {
        m_folderPrompt = std::move(prompt);
    }
    // The log-in's check of a typed password (the book's header when the
    // book is encrypted).
    bool tryPassword(const QString& typed)
    {
        return m_encryption.tryPassword(typed) == PasswordDialog::Verdict::Right;
    }
    BookEncryption& encryption() { return m_encryption; }

    MainWindow* mainWindow() const { return m_mainWindow.get(); }
    BookSession& session() { return m_session; }
    Book& book() { return m_session.book(); }
    BookStorage& storage() { return m_session.storage(); }
    Options& options() { return m_options; }
    // `appStyles`: the named styles of "Styles.dat".
    Styles& appStyles() { return m_styles; }
    const Folders& folders() const { return m_session.folders(); }
    SettingsStore& settings() { return *m_settings; }
    Localization& localization() { return m_localization; }
    MessageService& messages() { return m_messages; }
    const QString& currentPassword() const { return m_login.password(); }
    bool unloaded() const { return m_unloaded; }

    // MainWindowHost
    bool mainWindowClosing(CloseReason reason) override;
    void runCommand(Command command, int argument) override;
    void warn(const QString& text) override;
    void pageEdited() override;
    QString localizedText(TextId id) override;

    // An autosave that falls due while a box waits for the user is held and
    // runs when the last box closes, so no command finds the book reloaded
    // under its box.
    void autosave();

    // What a help window needs: the topic list beside the program, the
    // highlight colours, the texts, the placement store and the message box.
    // The options dialog opens its page's topic with it
    // (HelpWindow::showModal).
    HelpWindow::Setup helpSetup();
    HelpWindow* helpWindow() const;

    // The tab column made anew from the book and the display options.
    void rebuildTabs() { m_session.rebuildTabs(); }
    // The open page's edits go into its record; every reader of the book
    // calls this first.
    void flushOpenPage() { m_session.flushOpenPage(); }
    WindowTicks& ticks() { return *m_ticks; }

    // Logout, system shutdown or a termination signal: nobody is there to
    // answer a box, so none is shown from here on. Before the window is up,
    // start-up ends early; afterwards the book is saved as the window's
    // closing saves it, and the program ends.
    void terminate();
    // Where messages that found nobody to read them wait for the next start.
    QString noticesPath() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool unloading(CloseReason reason);
    void makeWindow();
    void makeCommands();
    void reportRejectedOptions(const std::vector<Options::Rejected>& rejected);
    void showTipOfTheDay();
    MainWindow::Display display() const;
    void buildSizeAndColorMenus();
    void localizeMainWindow();
    QString stylesPath() const;
    void loadStyles();
    void makeHistoryBackup();
    void saveStyles();
    void storeSettings();
    void readAlphabets();
    // The file `name` of the help or tips of the language in use.
    QString languageResource(const QString& name);

    Environment m_env;
    std::unique_ptr<SettingsStore> m_settings;
    MessageService& m_messages;
    EventLog m_log;
    LanguageCatalog m_languages;
    Localization m_localization;
    QtTranslations m_qtTexts;
    Options m_options;
    Notices m_notices;
    Login m_login;
    BookSession m_session;
    Styles m_styles;
    TipOfTheDay m_tips;
    HighlightColors m_hilite;
    bool m_started = false;
    bool m_unloaded = false;
    bool m_autosaveHeld = false;
    LoginPrompt m_loginPrompt;
    NewPasswordPrompt m_newPasswordPrompt;
    BookQuestion::Ask m_bookQuestion;
    std::function<bool(Application&)> m_folderPrompt;
    BookEncryption m_encryption;
    std::unique_ptr<MainWindow> m_mainWindow;
    std::unique_ptr<PageCommands> m_pageCommands;
    std::unique_ptr<OptionsCommand> m_optionsCommand;
    std::unique_ptr<ContactCommands> m_contactCommands;
    std::unique_ptr<BackupCommands> m_backupCommands;
    std::unique_ptr<CardDavCommands> m_cardDavCommands;
    std::unique_ptr<WindowTicks> m_ticks;
    std::unique_ptr<NotebookCommands> m_notebookCommands;
    CommandHandlers m_handlers;
};
