#pragma once

#include "rules/command_table.h"

#include <QHash>
#include <QString>

// Which commands a page offers, each rule written once for every route: the
// page popup, the keys and the commands themselves. Letter pages cannot be
// renamed, deleted, moved or converted; a page is added from the last letter
// page on; the first user page cannot go up nor the last go down. The popup
// applies the result to its items by object name.
class PageMenuRules
{
public:
    // The open page; a current page of 0 is the window background, which
    // offers only what concerns the whole book.
    struct Page
    {
        int current = 0;
        int count = 0;
        int lastIntPage = 0;
        int kind = 0; // 0 address page, 1 text page
        bool enableSort = false;
    };

    enum class Offer
    {
        Hidden,
        Disabled,
        Enabled
    };

    struct State
    {
        QHash<QString, bool> visible; // items not named keep their visibility
        QHash<QString, bool> enabled;
        QString defaultItem; // shown in bold
    };

    static Offer offer(Command command, const Page& page);
    static Offer offer(CommandRow::Rule rule, const Page& page);
    static bool allowed(Command command, const Page& page)
    {
        return offer(command, page) == Offer::Enabled;
    }

    // The popup of the open page.
    static State forPage(const Page& page);
    // The window background offers only what concerns the whole book.
    static State forBackground() { return forPage({}); }
};
