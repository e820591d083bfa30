#pragma once

#include "rules/command.h"

#include <QString>
#include <Qt>

// The keyboard of the notebook window, decided without a window: which
// command a key press asks for, given the page state. Keys are named by the
// physical key they sit on (Windows virtual-key codes, as the "Shortcuts"
// entry of "language.ini" names them), so Alt+letter opens the same page
// whichever keyboard layout is active.
class PageKeys
{
public:
    using Command = ::Command;

    struct Action
    {
        Command command = Command::None;
        int argument = 0; // the page to open, or the style number from 1
        // The key goes on to the editor as well (Insert switches the editor's
        // overwrite mode).
        bool passOn = false;
        bool operator==(const Action&) const = default;
    };

    struct Book
    {
        int current = 1;     // RecentPage
        int count = 0;       // the page count
        int lastIntPage = 0; // LastIntPage
        QString shortcuts;   // the localized "Shortcuts" entry, usually empty
    };

    // The virtual-key code of the physical key of a key event: from the
    // native scan code where the platform gives one (X11 key codes), else
    // from the key itself, reading a Cyrillic letter by its place on the
    // standard Russian layout.
    static int virtualKey(int qtKey, quint32 nativeScanCode);

    // The window sees every key first; None lets the key go on.
    static Action windowKey(int qtKey, Qt::KeyboardModifiers modifiers, int virtualKey,
                            const Book& book);
    // The editor's own Ctrl shortcuts, for keys the window let through.
    static Action editorKey(int qtKey, Qt::KeyboardModifiers modifiers);

    // The page Alt with this key opens, or 0: the "Shortcuts" table when it
    // is set, else the built-in letter map and Alt+digit. A page outside the
    // book is no target.
    static int pageForAltKey(int virtualKey, const Book& book);
};
