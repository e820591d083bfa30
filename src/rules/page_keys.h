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

    // What the native codes of a key event mean on a platform.
    enum class KeyCodes { X11, Windows };
#ifdef Q_OS_WIN
    static constexpr KeyCodes kNativeKeyCodes = KeyCodes::Windows;
#else
    static constexpr KeyCodes kNativeKeyCodes = KeyCodes::X11;
#endif

    // The virtual-key code of the physical key of a key event. Windows gives
    // it itself (nativeVirtualKey; its scan codes differ from X11's); X11
    // gives a key code of the main block (nativeScanCode). Else it comes
    // from the key itself, a Cyrillic letter read by its place on the
    // standard Russian layout.
    static int virtualKey(int qtKey, quint32 nativeScanCode, quint32 nativeVirtualKey,
                          KeyCodes codes);

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
