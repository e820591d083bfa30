#pragma once

#include "core/built_in_text.h"
#include "rules/command.h"

#include <QString>

// What the main window asks of the program. The window owns no book logic:
// the commands it does not carry out itself and the close decision go
// through here.
class MainWindowHost
{
public:
    enum class CloseReason
    {
        User,
        SystemShutdown
    };

    virtual ~MainWindowHost() = default;

    // Runs the shutdown work. False keeps the window open (the book could not
    // be saved and the user can still do something about it).
    virtual bool mainWindowClosing(CloseReason reason) = 0;
    // A command of a key, a menu item or a tab that concerns the book or
    // another window; `argument` is the page of OpenPage or the style (from
    // 1) of ApplyStyle. The window has checked the page rule already, for
    // every route.
    virtual void runCommand(Command command, int argument) = 0;
    // The user changed the open page. Its text reaches the page record only
    // when somebody reads it (MainWindow::takePageEdits), so a keystroke in a
    // large page costs no rewrite of the page.
    virtual void pageEdited() = 0;
    // An exclamation box with this text.
    virtual void warn(const QString& text) = 0;
    // A text of the built-in table as the user's language has it.
    virtual QString localizedText(TextId id) = 0;
};
