#include "core/page_menu_rules.h"

#include <array>

namespace {

constexpr std::array<const char*, 11> kPageItems{
    "mnuMainAdd", "mnuMainPrint", "mnuMainSort", "mnuMainRename",  "mnuMainDelete", "mnuMainSep7",
    "mnuMainUp",  "mnuMainDown",  "mnuMainSep1", "mnuMainConvert", "mnuMainSep8"};

} // namespace

PageMenuRules::State PageMenuRules::forPage(int current, int count, int lastIntPage, int kind,
                                            bool enableSort)
{
    State state;
    for (const char* item : kPageItems)
        state.visible.insert(QString::fromLatin1(item), true);
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
    for (const char* item : kPageItems)
        state.visible.insert(QString::fromLatin1(item), false);
    state.defaultItem = QStringLiteral("mnuMainOptons");
    return state;
}
