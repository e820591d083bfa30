#include "rules/page_menu_rules.h"
#include "unit_test.h"

namespace {

// The page commands a popup shows, in menu order.
QString shown(const PageMenuRules::State& state)
{
    QStringList names;
    for (const char* item : {"mnuMainAdd", "mnuMainRename", "mnuMainDelete", "mnuMainUp",
                             "mnuMainDown", "mnuMainSep1", "mnuMainConvert", "mnuMainSep8"}) {
        if (state.visible.value(QString::fromLatin1(item)))
            names << QString::fromLatin1(item).mid(7);
    }
    return names.join(u' ');
}

} // namespace

TEST(PageMenuRules, LetterPagesUserPagesTheEndsOfTheBookAndThePagesKind)
{
    const std::tuple<int, int, const char*> cases[] = {
        {13, 20, ""},
        {14, 14, "Add"}, // the last letter page of a book without user pages
        {15, 20, "Add Rename Delete Down Sep1 Convert Sep8"},
        {17, 20, "Add Rename Delete Up Down Sep1 Convert Sep8"},
        {20, 20, "Add Rename Delete Up Sep1 Convert Sep8"},
        {15, 15, "Add Rename Delete Convert Sep8"}, // neither up nor down: no separator
    };
    for (const auto& [current, count, expected] : cases) {
        const PageMenuRules::State state = PageMenuRules::forPage({current, count, 14, 0, false});
        EXPECT_EQ(shown(state), QString::fromLatin1(expected)) << current << "/" << count;
        EXPECT_EQ(state.defaultItem, "mnuMainPrint");
    }
    // Conversion offers the other kind; sort follows the setting.
    const PageMenuRules::State address = PageMenuRules::forPage({15, 20, 14, 0, true});
    EXPECT_FALSE(address.enabled.value("mnuMainConvertAddress"));
    EXPECT_TRUE(address.enabled.value("mnuMainConvertText"));
    EXPECT_TRUE(address.visible.value("mnuMainSort"));
    const PageMenuRules::State text = PageMenuRules::forPage({15, 20, 14, 1, false});
    EXPECT_TRUE(text.enabled.value("mnuMainConvertAddress"));
    EXPECT_FALSE(text.enabled.value("mnuMainConvertText"));
    EXPECT_FALSE(text.visible.value("mnuMainSort"));
    // The background's popup serves the whole book: nothing of the open page.
    for (const char* item : {"mnuMainAdd", "mnuMainPrint", "mnuMainSort", "mnuMainImportContacts",
                             "mnuMainExportPageVCard", "mnuMainExportPageCsv"})
        EXPECT_FALSE(PageMenuRules::forBackground().visible.value(item, true)) << item;
}
