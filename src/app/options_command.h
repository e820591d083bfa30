#pragma once

#include "dialogs/help_window.h"
#include "dialogs/options_host.h"
#include "document/folder_change.h"

#include <QString>
#include <functional>

class CommandHandlers;
class BookEncryption;
class BookSession;
class Localization;
class Login;
class BookView;
class Notices;
class SettingsStore;

// The options command (the main popup, Ctrl+O, a double click on the window
// background): shows `frmOptions` over the main window and gives it the
// program's state, the save of the book, the move of the book to another
// folder with its questions, and the refresh once the options are set.
class OptionsCommand : public OptionsHost
{
public:
    // What the dialog changes besides the book.
    struct Parts
    {
        Options& options;
        Styles& styles;
        Login& login;
        Localization& localization;
        std::function<HelpWindow::Setup()> helpSetup;
        BookEncryption& encryption;
        LanguageCatalog& languages;
        SettingsStore& settings;
    };

    OptionsCommand(BookSession& session, BookView& window, Notices& notices, Parts parts)
        : m_session(session), m_window(window), m_notices(notices), m_parts(std::move(parts))
    {}

    void run();
    void bind(CommandHandlers& handlers);

    // OptionsHost
    Options& options() override;
    Styles& appStyles() override;
    QString currentPassword() const override;
    void setCurrentPassword(const QString& password) override;
    bool bookEncrypted() const override;
    bool setBookEncrypted(bool on, QWidget* owner) override;
    QString filePath() const override;
    QString& browseStartFolder() override { return m_browseStart; }
    bool saveBook() override;
    FolderChangeOutcome changeStorageFolder(const QString& folder, QWidget* owner) override;
    void optionsApplied() override;
    void showHelpTopic(int topic, QWidget* owner) override;
    std::vector<LanguageCatalog::Language> languages() const override;
    QString language() const override;
    QString setLanguage(const QString& choice) override;

private:
    FolderChangeOutcome finish(const FolderChange::Outcome& outcome);
    void tell(const FolderChange::Report& report);
    void formLocalize(QWidget* form);

    BookSession& m_session;
    BookView& m_window;
    Notices& m_notices;
    Parts m_parts;
    // `BrowseForFolder`'s start folder lives as long as the program.
    QString m_browseStart;
};
