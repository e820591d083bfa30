#pragma once

#include <QHash>
#include <QString>

// Which items of the main popup a page may offer. Letter pages cannot be
// renamed, deleted, moved or converted; the first user page cannot go up nor
// the last go down. The window applies the result to the items it has, by
// object name, so every route to the menu (tab, keyboard, background) obeys
// the same rules.
class PageMenuRules
{
public:
    struct State
    {
        QHash<QString, bool> visible; // items not named keep their visibility
        QHash<QString, bool> enabled;
        QString defaultItem; // shown in bold
    };

    // The popup of tab `current` in a book of `count` pages; `kind` is the
    // page's kind (0 address page, 1 text page).
    static State forPage(int current, int count, int lastIntPage, int kind, bool enableSort);
    // The window background offers only what concerns the whole book.
    static State forBackground();
};
