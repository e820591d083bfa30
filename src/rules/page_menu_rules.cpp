#include "rules/page_menu_rules.h"

#include <array>

namespace {

constexpr std::array<const char*, 11> kPageItems{
    "mnuMainAdd", "mnuMainPrint", "mnuMainSort", "mnuMainRename",  "mnuMainDelete", "mnuMainSep7",
    "mnuMainUp",  "mnuMainDown",  "mnuMainSep1", "mnuMainConvert", "mnuMainSep8"};

// The contact commands that work on the open page, offered on every page.
constexpr std::array<const char*, 4> kPageContactItems{
    "mnuMainImportContacts", "mnuMainExportSep", "mnuMainExportPageVCard", "mnuMainExportPageCsv"};

void setEveryPageItem(QHash<QString, bool>& visible, bool on)
{
    for (const char* item : kPageItems)
        visible.insert(QString::fromLatin1(item), on);
    for (const char* item : kPageContactItems)
        visible.insert(QString::fromLatin1(item), on);
}

} // namespace

PageMenuRules::State PageMenuRules::forPage(int current, int count, int lastIntPage, int kind,
                                            bool enableSort)
{
    State state;
    setEveryPageItem(state.visible, true);
    auto& visible = state.visible;
    visible[QStringLiteral("mnuMainSort")] = enableSort;
    const bool userPage = current > lastIntPage;
    for (const char* item : {"mnuMainRename", "mnuMainDelete", "mnuMainUp", "mnuMainDown"})
        visible[QString::fromLatin1(item)] = userPage;
    visible[QStringLiteral("mnuMainAdd")] = current >= lastIntPage;
    if (current == lastIntPage + 1)
        visible[QStringLiteral("mnuMainUp")] = false;
    if (current == count)
        visible[QStringLiteral("mnuMainDown")] = false;
    visible[QStringLiteral("mnuMainSep1")] =
        visible[QStringLiteral("mnuMainUp")] || visible[QStringLiteral("mnuMainDown")];
    visible[QStringLiteral("mnuMainConvert")] = userPage;
    visible[QStringLiteral("mnuMainSep8")] = userPage;
    state.enabled.insert(QStringLiteral("mnuMainConvertAddress"), kind != 0);
    state.enabled.insert(QStringLiteral("mnuMainConvertText"), kind != 1);
    state.defaultItem = QStringLiteral("mnuMainPrint");
    return state;
}

PageMenuRules::State PageMenuRules::forBackground()
{
    State state;
    setEveryPageItem(state.visible, false);
    state.defaultItem = QStringLiteral("mnuMainOptons");
    return state;
}
