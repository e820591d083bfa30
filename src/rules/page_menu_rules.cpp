#include "rules/page_menu_rules.h"

#include <array>

namespace {

using Offer = PageMenuRules::Offer;
using Item = PageMenuRules::Item;

constexpr std::array kItems{
    Item{"mnuMainAdd", Command::AddPage},
    Item{"mnuMainPrint", Command::Print},
    Item{"mnuMainSort", Command::SortPage},
    Item{"mnuMainRename", Command::RenamePage},
    Item{"mnuMainDelete", Command::DeletePage},
    Item{"mnuMainUp", Command::MovePageUp},
    Item{"mnuMainDown", Command::MovePageDown},
    Item{"mnuMainConvertAddress", Command::ConvertToAddress},
    Item{"mnuMainConvertText", Command::ConvertToText},
    Item{"mnuMainSave", Command::Save},
    Item{"mnuMainRevert", Command::Revert},
    Item{"mnuMainBackups", Command::Backups},
    Item{"mnuMainFind", Command::Find},
    Item{"mnuMainImport", Command::ImportNotes},
    Item{"mnuMainImportContacts", Command::ImportContacts},
    Item{"mnuMainExportVCard", Command::ExportBookVCard},
    Item{"mnuMainExportCsv", Command::ExportBookCsv},
    Item{"mnuMainExportPageVCard", Command::ExportPageVCard},
    Item{"mnuMainExportPageCsv", Command::ExportPageCsv},
    Item{"mnuMainCardDavSend", Command::CardDavSend},
    Item{"mnuMainCardDavFetch", Command::CardDavFetch},
    Item{"mnuMainCardDavAccount", Command::CardDavAccount},
    Item{"mnuMainOptons", Command::Options},
    Item{"mnuMainHelp", Command::Help},
    Item{"mnuMainAbout", Command::About},
    Item{"mnuMainExit", Command::Exit},
    Item{"mnuTextUndo", Command::Undo},
    Item{"mnuTextCut", Command::Cut},
    Item{"mnuTextCopy", Command::Copy},
    Item{"mnuTextPaste", Command::Paste},
    Item{"mnuTextSelectAll", Command::SelectAll},
    Item{"mnuTextBold", Command::Bold},
    Item{"mnuTextItalics", Command::Italic},
    Item{"mnuTextUnderline", Command::Underline},
    Item{"mnuTextStrikeout", Command::Strikeout},
    Item{"mnuTextFont", Command::FontDialog},
    Item{"mnuStatusHideTip", Command::HideTip},
    Item{"mnuStatusHideBar", Command::HideStatusBar},
};

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
    const bool onPage = page.current >= 1;
    const bool userPage = onPage && page.current > page.lastIntPage;
    switch (command) {
    case Command::AddPage:
        return shownIf(onPage && page.current >= page.lastIntPage);
    case Command::RenamePage:
    case Command::DeletePage:
        return shownIf(userPage);
    case Command::MovePageUp:
        return shownIf(userPage && page.current > page.lastIntPage + 1);
    case Command::MovePageDown:
        return shownIf(userPage && page.current < page.count);
    case Command::SortPage:
        return shownIf(onPage && page.enableSort);
    case Command::ConvertToAddress:
        return conversion(userPage, page.kind == 0);
    case Command::ConvertToText:
        return conversion(userPage, page.kind == 1);
    case Command::Print:
    case Command::ImportContacts:
    case Command::ExportPageVCard:
    case Command::ExportPageCsv:
        return shownIf(onPage);
    default:
        return Offer::Enabled;
    }
}

std::span<const PageMenuRules::Item> PageMenuRules::items()
{
    return kItems;
}

PageMenuRules::State PageMenuRules::forState(const Page& page)
{
    State state;
    for (const Item& item : kItems) {
        if (offer(item.command, {}) != Offer::Hidden)
            continue; // the whole book's: the same on every page
        const Offer offered = offer(item.command, page);
        show(state, item.name, offered != Offer::Hidden);
        if (item.command == Command::ConvertToAddress || item.command == Command::ConvertToText)
            state.enabled.insert(QString::fromLatin1(item.name), offered != Offer::Disabled);
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

PageMenuRules::State PageMenuRules::forPage(int current, int count, int lastIntPage, int kind,
                                            bool enableSort)
{
    return forState({current, count, lastIntPage, kind, enableSort});
}

PageMenuRules::State PageMenuRules::forBackground()
{
    return forState({});
}
