#include "richtext/win_color.h"
#include "unit_test.h"

TEST(WinColor, PlainValuesAreBlueGreenRedLowBytesFirstAndSystemColoursFollowThePalette)
{
    QPalette palette;
    EXPECT_EQ(WinColor::toQColor(0x000000FFu, palette), QColor(255, 0, 0));
    EXPECT_EQ(WinColor::toQColor(0x00804020u, palette), QColor(0x20, 0x40, 0x80));
    EXPECT_EQ(WinColor::fromQColor(QColor(0x20, 0x40, 0x80)), 0x00804020u);
    EXPECT_EQ(WinColor::fromQColor(QColor::fromHsv(120, 255, 255)), 0x0000FF00u);
    EXPECT_EQ(WinColor::fromQColor(WinColor::toQColor(0x00C0DCC0u, palette)), 0x00C0DCC0u);
    // System colour references (Windows' COLOR_* index with the top bit set) follow the palette;
    // unknown ones are black, not garbage.
    palette.setColor(QPalette::Base, QColor(1, 2, 3));
    palette.setColor(QPalette::Text, QColor(4, 5, 6));
    EXPECT_EQ(WinColor::toQColor(0x80000005u, palette), QColor(1, 2, 3));
    // The window-text reference the colour menu's "automatic" stores, as VB's signed Long.
    EXPECT_EQ(WinColor::toQColor(quint32(-2147483640), palette), QColor(4, 5, 6));
    for (const quint32 unknown : {0x80000040u, 0x80FF0005u, 0xFFFFFFFFu})
        EXPECT_EQ(WinColor::toQColor(unknown, palette), QColor(0, 0, 0)) << unknown;
}
