#include "rules/input_box_layout.h"
#include "unit_test.h"

namespace {

constexpr int kOneLine = 195;

int rightEnd(const QRect& r)
{
    return r.left() + r.width();
}

} // namespace

TEST(InputBoxLayout, TheDesignWidthKeepsTheDesignOtherWidthsResizeAndMoreLinesPushTheButtonsDown)
{
    const InputBoxLayout::Geometry g = InputBoxLayout::fit({960, kOneLine});
    EXPECT_EQ(std::tuple(g.prompt, g.text, g.cancelButton, g.okButton.top(), g.okButton.size(),
                         g.clientSize),
              std::tuple(QRect(180, 210, 960, kOneLine), QRect(1320, 180, 3615, 315),
                         QRect(3720, 720, 1215, 350), 720, QSize(1215, 350), QSize(5115, 1250)));
    EXPECT_LT(rightEnd(g.okButton), g.cancelButton.left());

    const InputBoxLayout::Geometry two = InputBoxLayout::fit({960, 2 * kOneLine});
    const int buttons = 210 + 2 * kOneLine + 240;
    EXPECT_EQ(std::tuple(two.cancelButton.top(), two.okButton.top(), two.clientSize.height(),
                         two.text.top()),
              std::tuple(buttons, buttons, buttons + 350 + 180, 180));

    // The window narrows or widens by what the prompt lacks or needs.
    for (const int promptWidth : {0, 961, 12000}) {
        const InputBoxLayout::Geometry sized = InputBoxLayout::fit({promptWidth, kOneLine});
        const int wider = promptWidth - 960;
        EXPECT_EQ(std::tuple(sized.text.left(), sized.text.left() - rightEnd(sized.prompt),
                             sized.clientSize, sized.okButton, rightEnd(sized.cancelButton)),
                  std::tuple(promptWidth + 360, 180, g.clientSize + QSize(wider, 0),
                             g.okButton.translated(wider, 0), rightEnd(sized.text)))
            << promptWidth;
    }
}
