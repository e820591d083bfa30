#pragma once

#include "core/language_catalog.h"

#include <QString>
#include <vector>

class Options;
class QWidget;
class Styles;

// What the options dialog needs of the program: the option variables, the
// styles, the password, the book's save and its storage folder, and the
// refresh of the main window. The application implements it; the dialog
// knows nothing else of it.
class OptionsHost
{
public:
    enum class FolderChangeOutcome
    {
        Done,      // the book is in the new folder, or was already there
        Cancelled, // the user kept the old folder; it is shown again
        Refused    // the book is where it was, and the user knows why: the
                   // folder text stays for him to correct
    };

    virtual ~OptionsHost() = default;

    virtual Options& options() = 0;
    // `appStyles`, changed in place by the styles page.
    virtual Styles& appStyles() = 0;
    virtual QString currentPassword() const = 0;
    virtual void setCurrentPassword(const QString& password) = 0;
    // Whether the book is kept encrypted with its password.
    virtual bool bookEncrypted() const { return false; }
    // Encrypts or decrypts the book and its copies at once (decrypting asks
    // for the password again, over `owner`); false when the book stays as it
    // was.
    virtual bool setBookEncrypted(bool on, QWidget* owner)
    {
        (void)on;
        (void)owner;
        return false;
    }

    // `FilePath`: the folder the book is kept in now.
    virtual QString filePath() const = 0;
    // The folder browser's start folder, kept for the whole run.
    virtual QString& browseStartFolder() = 0;
    // Saves the book as the save command does; false when it was not saved
    // (the user has been told why).
    virtual bool saveBook() = 0;
    // Moves the book to `folder` (absolute, ending with a separator), asking
    // what it must with boxes owned by `owner`.
    virtual FolderChangeOutcome changeStorageFolder(const QString& folder, QWidget* owner) = 0;
    // The options are set: the status text, the tab column and the saved
    // picture follow them.
    virtual void optionsApplied() = 0;

    // Shows help topic `topic` modally over `owner`, telling the user itself
    // when it cannot.
    virtual void showHelpTopic(int topic, QWidget* owner) = 0;

    // The languages to choose from; with none the dialog shows no choice.
    virtual std::vector<LanguageCatalog::Language> languages() const { return {}; }
    // The choice the next start reads, and storing another.
    virtual QString language() const { return {}; }
    // Gives what to tell about it, in the chosen language.
    virtual QString setLanguage(const QString& /*choice*/) { return {}; }
};
