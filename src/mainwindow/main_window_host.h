#pragma once

#include "core/built_in_text.h"

#include <QString>

// What the main window asks of the application object. The window owns no book
// logic; commands and the close decision go through here.
class MainWindowHost
{
public:
    enum class CloseReason
    {
        User,
        SystemShutdown
    };

    // The commands of the page popup and their keys. The host checks each
    // one's conditions itself, whatever route reached it.
    enum class PageCommand
    {
        Add,
        Rename,
        Delete,
        MoveUp,
        MoveDown,
        Sort,
        ConvertToAddress,
        ConvertToText,
        Import
    };

    // The contact commands of the main popup: the book's address pages or
    // the open page written as vCard or CSV, and a file of contacts added to
    // the open page.
    enum class ContactsCommand
    {
        ExportBookVCard,
        ExportBookCsv,
        ExportPageVCard,
        ExportPageCsv,
        Import
    };

    virtual ~MainWindowHost() = default;

    // Runs the shutdown work. False keeps the window open (the book could not
    // be saved and the user can still do something about it).
    virtual bool mainWindowClosing(CloseReason reason) = 0;
    virtual void saveCommand() = 0;
    virtual void revertCommand() = 0;
    virtual void exitCommand() = 0;
    virtual void pageCommand(PageCommand command) = 0;
    virtual void contactsCommand(ContactsCommand command) = 0;
    // Opens the find window, or brings it forward as it was.
    virtual void findCommand() = 0;
    // Shows the options dialog (the popup, Ctrl+O, a double click on the
    // window background).
    virtual void optionsCommand() = 0;
    // The backups window, modal: the book's dated copies and their restores.
    virtual void backupsCommand() = 0;
    // The user changed the open page. Its text reaches the page record only
    // when somebody reads it (MainWindow::takePageEdits), so a keystroke in a
    // large page costs no rewrite of the page.
    virtual void pageEdited() = 0;
    // The user asked for page `index` (a tab, a page key).
    virtual void SelectPage(int index) = 0;
    // "Hide the status bar" was chosen.
    virtual void statusBarHidden() = 0;
    // F1 and "&Вызов справки": the one help window, shown beside the notebook.
    virtual void helpCommand() = 0;
    // Shift+F1 and "О про&грамме...": the about box, modal.
    virtual void aboutCommand() = 0;
    // Applies style `index` (from 1) to the page editor's selection; a
    // missing style does nothing.
    virtual void applyStyle(int index) = 0;
    // An exclamation box with this text.
    virtual void warn(const QString& text) = 0;
    // A text of the built-in table as the user's language has it.
    virtual QString localizedText(TextId id) = 0;
};
