#include "rules/help_layout.h"

#include <algorithm>

namespace {

constexpr int kCopyFromRight = 400;
constexpr int kCopyTop = 45;
constexpr int kMargin = 45;
constexpr int kListTop = 65;
constexpr int kListRightMargin = 490;
constexpr int kFrameTop = 445;
constexpr int kFrameRightMargin = 90;
constexpr int kFrameBottomMargin = 490;
constexpr int kTextLeft = 120;
constexpr int kTextTop = 460;
constexpr int kTextRightMargin = 180;
constexpr int kTextBottomMargin = 520;
constexpr int kReadableCharacters = 75;
constexpr int kReadableLines = 30;

int atLeastZero(int value)
{
    return std::max(value, 0);
}

} // namespace

HelpLayout::Geometry HelpLayout::layOut(QSize innerSize, int comboHeight)
{
    const int w = innerSize.width();
    const int h = innerSize.height();
    Geometry g;
    g.copyButton = QRect(atLeastZero(w - kCopyFromRight), kCopyTop, CopyButtonSize, CopyButtonSize);
    g.contents =
        QRect(kMargin, kListTop, atLeastZero(w - kListRightMargin), atLeastZero(comboHeight));
    g.frame = QRect(kMargin, kFrameTop, atLeastZero(w - kFrameRightMargin),
                    atLeastZero(h - kFrameBottomMargin));
    g.text = QRect(kTextLeft, kTextTop, atLeastZero(w - kTextRightMargin),
                   atLeastZero(h - kTextBottomMargin));
    return g;
}

QSize HelpLayout::firstSize(int characterWidth, int lineHeight)
{
    return {kReadableCharacters * characterWidth + kTextRightMargin,
            kReadableLines * lineHeight + kTextBottomMargin};
}
