#include "rules/page_menu_rules.h"

#include "rules/command_table.h"

namespace {

using Offer = PageMenuRules::Offer;
using Rule = CommandRow::Rule;

Offer shownIf(bool on)
{
    return on ? Offer::Enabled : Offer::Hidden;
}

// A user page offers converting to the other kind; its own kind is shown
// greyed.
Offer conversion(bool userPage, bool sameKind)
{
    if (!userPage)
        return Offer::Hidden;
    return sameKind ? Offer::Disabled : Offer::Enabled;
}

void show(PageMenuRules::State& state, const char* item, bool on)
{
    state.visible.insert(QString::fromLatin1(item), on);
}

} // namespace

PageMenuRules::Offer PageMenuRules::offer(Command command, const Page& page)
{
    const CommandRow* row = CommandTable::find(command);
    return row ? offer(row->rule, page) : Offer::Enabled;
}

PageMenuRules::Offer PageMenuRules::offer(CommandRow::Rule rule, const Page& page)
{
    const bool onPage = page.current >= 1;
    const bool userPage = onPage && page.current > page.lastIntPage;
    switch (rule) {
    case Rule::Always:
        return Offer::Enabled;
    case Rule::OnPage:
        return shownIf(onPage);
    case Rule::FromLastLetterPage:
        return shownIf(onPage && page.current >= page.lastIntPage);
    case Rule::UserPage:
        return shownIf(userPage);
    case Rule::NotFirstUserPage:
        return shownIf(userPage && page.current > page.lastIntPage + 1);
    case Rule::NotLastPage:
        return shownIf(userPage && page.current < page.count);
    case Rule::SortOn:
        return shownIf(onPage && page.enableSort);
    case Rule::TextToAddress:
        return conversion(userPage, page.kind == 0);
    case Rule::AddressToText:
        return conversion(userPage, page.kind == 1);
    }
    return Offer::Enabled;
}

PageMenuRules::State PageMenuRules::forPage(const Page& page)
{
    State state;
    for (const CommandRow& row : CommandTable::rows()) {
        if (!row.objectName || offer(row.rule, {}) != Offer::Hidden)
            continue; // the whole book's: the same on every page
        const Offer offered = offer(row.rule, page);
        show(state, row.objectName, offered != Offer::Hidden);
        if (row.rule == Rule::TextToAddress || row.rule == Rule::AddressToText)
            state.enabled.insert(QString::fromLatin1(row.objectName), offered != Offer::Disabled);
    }
    const auto on = [&state](const char* item) {
        return state.visible.value(QString::fromLatin1(item));
    };
    const bool convert = on("mnuMainConvertAddress") || on("mnuMainConvertText");
    show(state, "mnuMainConvert", convert);
    show(state, "mnuMainSep8", convert);
    show(state, "mnuMainSep1", on("mnuMainUp") || on("mnuMainDown"));
    show(state, "mnuMainSep7", page.current >= 1);
    show(state, "mnuMainExportSep", page.current >= 1);
    state.defaultItem = QString::fromLatin1(page.current >= 1 ? "mnuMainPrint" : "mnuMainOptons");
    return state;
}
