#include "rules/input_box_layout.h"

#include <algorithm>

namespace {

constexpr int kPromptLeft = 180;
constexpr int kPromptTop = 210;
constexpr int kTextLeft = 1320;
constexpr int kTextTop = 180;
constexpr int kTextWidth = 3615;
constexpr int kTextHeight = 315;
constexpr int kButtonTop = 720;
constexpr int kButtonWidth = 1215;
constexpr int kButtonHeight = 350;
constexpr int kButtonGap = 120;
constexpr int kMargin = 180; // right of the text box and below the buttons
// From the prompt's right edge to the text box, as 360 twips from the window's
// left edge counts it: the prompt's own left margin and the same again.
constexpr int kPromptToText = 2 * kPromptLeft;
// Below a prompt of several lines, before the buttons.
constexpr int kPromptToButtons = 240;

} // namespace

InputBoxLayout::Geometry InputBoxLayout::fit(QSize promptSize)
{
    const int d = kTextLeft - promptSize.width() - kPromptToText;
    const int textLeft = kTextLeft - d;
    const int textRight = textLeft + kTextWidth;
    // Drawn for one line of prompt; a translation with line breaks pushes the
    // buttons down instead of running behind them.
    const int buttonTop = std::max(kButtonTop, kPromptTop + promptSize.height() + kPromptToButtons);

    Geometry g;
    g.prompt = QRect(QPoint(kPromptLeft, kPromptTop), promptSize);
    g.text = QRect(textLeft, kTextTop, kTextWidth, kTextHeight);
    g.cancelButton = QRect(textRight - kButtonWidth, buttonTop, kButtonWidth, kButtonHeight);
    g.okButton = g.cancelButton.translated(-(kButtonWidth + kButtonGap), 0);
    g.clientSize = QSize(textRight + kMargin, buttonTop + kButtonHeight + kMargin);
    return g;
}
