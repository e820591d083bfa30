#include "rules/input_box_layout.h"

#include <gtest/gtest.h>

namespace {

constexpr int kOneLine = 195;

int rightEnd(const QRect& r)
{
    return r.left() + r.width();
}

} // namespace

TEST(InputBoxLayout, APromptOfTheDesignWidthKeepsTheDesignAndMoreLinesPushTheButtonsDown)
{
    const InputBoxLayout::Geometry g = InputBoxLayout::fit({960, kOneLine});
    EXPECT_EQ(g.lblPrompt, QRect(180, 210, 960, kOneLine));
    EXPECT_EQ(g.txtText, QRect(1320, 180, 3615, 315));
    EXPECT_EQ(g.cmdCancel, QRect(3720, 720, 1215, 350));
    EXPECT_EQ(g.cmdOK.top(), 720);
    EXPECT_EQ(g.cmdOK.size(), QSize(1215, 350));
    EXPECT_LT(rightEnd(g.cmdOK), g.cmdCancel.left());
    EXPECT_EQ(g.clientSize, QSize(5115, 1250));

    const InputBoxLayout::Geometry two = InputBoxLayout::fit({960, 2 * kOneLine});
    EXPECT_EQ(two.cmdCancel.top(), 210 + 2 * kOneLine + 240);
    EXPECT_EQ(two.cmdOK.top(), two.cmdCancel.top());
    EXPECT_EQ(two.clientSize.height(), two.cmdCancel.top() + 350 + 180);
    EXPECT_EQ(two.txtText.top(), 180);
}

TEST(InputBoxLayout, TheWindowNarrowsOrWidensByWhatThePromptLacksOrNeeds)
{
    const InputBoxLayout::Geometry design = InputBoxLayout::fit({960, kOneLine});
    for (const int promptWidth : {0, 961, 12000}) {
        const InputBoxLayout::Geometry g = InputBoxLayout::fit({promptWidth, kOneLine});
        const int wider = promptWidth - 960;
        EXPECT_EQ(g.txtText.left(), promptWidth + 360) << promptWidth;
        EXPECT_EQ(g.txtText.left() - rightEnd(g.lblPrompt), 180) << promptWidth;
        EXPECT_EQ(g.clientSize.width(), design.clientSize.width() + wider) << promptWidth;
        EXPECT_EQ(g.cmdOK, design.cmdOK.translated(wider, 0)) << promptWidth;
        EXPECT_EQ(rightEnd(g.cmdCancel), rightEnd(g.txtText)) << promptWidth;
        EXPECT_EQ(g.clientSize.height(), design.clientSize.height()) << promptWidth;
    }
}
