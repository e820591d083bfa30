#include "richtext/win_color.h"

#include <gtest/gtest.h>

TEST(WinColor, PlainValuesAreBlueGreenRedLowBytesFirst)
{
    const QPalette palette;
    EXPECT_EQ(WinColor::toQColor(0x000000FFu, palette), QColor(255, 0, 0));
    EXPECT_EQ(WinColor::toQColor(0x00804020u, palette), QColor(0x20, 0x40, 0x80));
    EXPECT_EQ(WinColor::fromQColor(QColor(0x20, 0x40, 0x80)), 0x00804020u);
    EXPECT_EQ(WinColor::fromQColor(QColor::fromHsv(120, 255, 255)), 0x0000FF00u);
    EXPECT_EQ(WinColor::fromQColor(WinColor::toQColor(0x00C0DCC0u, palette)), 0x00C0DCC0u);
}

TEST(WinColor, SystemColoursFollowThePalette)
{
    QPalette palette;
    palette.setColor(QPalette::Base, QColor(1, 2, 3));
    palette.setColor(QPalette::Text, QColor(4, 5, 6));
    palette.setColor(QPalette::Button, QColor(7, 8, 9));
    palette.setColor(QPalette::Highlight, QColor(10, 11, 12));
    palette.setColor(QPalette::HighlightedText, QColor(13, 14, 15));
    palette.setColor(QPalette::ButtonText, QColor(16, 17, 18));
    EXPECT_EQ(WinColor::toQColor(WinColor::window, palette), QColor(1, 2, 3));
    EXPECT_EQ(WinColor::toQColor(WinColor::windowText, palette), QColor(4, 5, 6));
    EXPECT_EQ(WinColor::toQColor(WinColor::buttonFace, palette), QColor(7, 8, 9));
    EXPECT_EQ(WinColor::toQColor(WinColor::highlight, palette), QColor(10, 11, 12));
    EXPECT_EQ(WinColor::toQColor(WinColor::highlightText, palette), QColor(13, 14, 15));
    EXPECT_EQ(WinColor::toQColor(WinColor::buttonText, palette), QColor(16, 17, 18));
    // The window-text reference the colour menu's "automatic" stores, as VB's signed Long.
    EXPECT_EQ(WinColor::toQColor(quint32(-2147483640), palette), QColor(4, 5, 6));
}

TEST(WinColor, UnknownSystemReferencesAreBlackNotGarbage)
{
    const QPalette palette;
    EXPECT_EQ(WinColor::toQColor(0x80000040u, palette), QColor(0, 0, 0));
    EXPECT_EQ(WinColor::toQColor(0x80FF0005u, palette), QColor(0, 0, 0));
    EXPECT_EQ(WinColor::toQColor(0xFFFFFFFFu, palette), QColor(0, 0, 0));
}
