#include "rules/help_layout.h"
#include "unit_test.h"

// However small the window, no control gets a negative size or position; the
// text stays inside its frame and the list ends before the copy button.
TEST(HelpLayout, ControlsNeverGetNegativeSizesAndNeverOverlap)
{
    constexpr int kComboHeight = 315;
    for (const QSize inner : {QSize(6000, 5000), QSize(0, 0), QSize(489, 519), QSize(-30, -30)}) {
        const HelpLayout::Geometry g = HelpLayout::layOut(inner, kComboHeight);
        for (const QRect& r : {g.copyButton, g.contents, g.frame, g.text}) {
            EXPECT_GE(r.width(), 0) << inner.width();
            EXPECT_GE(r.height(), 0) << inner.height();
            EXPECT_GE(r.left(), 0) << inner.width();
        }
        EXPECT_EQ(g.text.width(), std::max(inner.width() - 180, 0));
        EXPECT_TRUE(g.frame.contains(g.text) || g.text.isEmpty());
        EXPECT_LE(g.contents.right(), std::max(g.copyButton.left(), g.contents.left()));
    }
    // At exactly the margins the text is still there, one twip wide.
    EXPECT_EQ(HelpLayout::layOut({181, 521}, kComboHeight).text.size(), QSize(1, 1));
}
