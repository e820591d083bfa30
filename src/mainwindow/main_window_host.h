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

    virtual ~MainWindowHost() = default;

    // Runs the shutdown work. False keeps the window open (the book could not
    // be saved and the user can still do something about it).
    virtual bool mainWindowClosing(CloseReason reason) = 0;
    virtual void saveCommand() = 0;
    virtual void revertCommand() = 0;
    virtual void exitCommand() = 0;
    // The editor's text changed by the user; the page record takes it.
    virtual void pageEdited(const QString& richText) = 0;
    // A text of the built-in table as the user's language has it.
    virtual QString localizedText(TextId id) = 0;
};
