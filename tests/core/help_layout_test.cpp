#include "core/help_layout.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace {

constexpr int kComboHeight = 315;

} // namespace

TEST(HelpLayout, ControlsFollowTheWindowsRightAndBottomEdges)
{
    const HelpLayout::Geometry g = HelpLayout::layOut({6000, 5000}, kComboHeight);
    EXPECT_EQ(g.imgCopy, QRect(5600, 45, 355, 355));
    EXPECT_EQ(g.cboContents, QRect(45, 65, 5510, kComboHeight));
    EXPECT_EQ(g.shpFrame, QRect(45, 445, 5910, 4510));
    EXPECT_EQ(g.rtfHelp, QRect(120, 460, 5820, 4480));
    // The text sits inside its frame, and the list ends before the button.
    EXPECT_TRUE(g.shpFrame.contains(g.rtfHelp));
    EXPECT_LT(g.cboContents.right(), g.imgCopy.left());
}

TEST(HelpLayout, AWindowSmallerThanTheMarginsGetsEmptyControlsNotNegativeSizes)
{
    for (const QSize inner : {QSize(0, 0), QSize(489, 519), QSize(-30, -30)}) {
        const HelpLayout::Geometry g = HelpLayout::layOut(inner, kComboHeight);
        for (const QRect& r : {g.imgCopy, g.cboContents, g.shpFrame, g.rtfHelp}) {
            EXPECT_GE(r.width(), 0) << inner.width();
            EXPECT_GE(r.height(), 0) << inner.height();
            EXPECT_GE(r.left(), 0) << inner.width();
        }
        EXPECT_EQ(g.rtfHelp.width(), std::max(inner.width() - 180, 0));
        EXPECT_EQ(g.cboContents.width(), 0);
    }
    // At exactly the margins the text is still there, one twip wide.
    EXPECT_EQ(HelpLayout::layOut({181, 521}, kComboHeight).rtfHelp.size(), QSize(1, 1));
}
