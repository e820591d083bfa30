#pragma once

#include "rules/command.h"

#include <QHash>
#include <QString>
#include <span>

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

    // A menu item and the command it gives.
    struct Item
    {
        const char* name;
        Command command;
    };

    struct State
    {
        QHash<QString, bool> visible; // items not named keep their visibility
        QHash<QString, bool> enabled;
        QString defaultItem; // shown in bold
    };

    static Offer offer(Command command, const Page& page);
    static bool allowed(Command command, const Page& page)
    {
        return offer(command, page) == Offer::Enabled;
    }

    // Every menu item of the notebook window that gives a command.
    static std::span<const Item> items();

    // The popup of tab `current` in a book of `count` pages; `kind` is the
    // page's kind (0 address page, 1 text page).
    static State forPage(int current, int count, int lastIntPage, int kind, bool enableSort);
    // The window background offers only what concerns the whole book.
    static State forBackground();

private:
    static State forState(const Page& page);
};
