#include "app/highlight_colors.h"

namespace {

constexpr int kPaleLimit = 200;

// (value + 200) / 2 rounded to the nearest integer, halves to even.
int towardsLimit(int value)
{
    const int sum = value + kPaleLimit;
    const int half = sum / 2;
    if (sum % 2 == 0)
        return half;
    return half % 2 == 0 ? half : half + 1;
}

} // namespace

HighlightColors HighlightColors::setHighlightColors(QRgb systemHighlight)
{
    int r = (qRed(systemHighlight) + 255) / 2;
    int g = (qGreen(systemHighlight) + 255) / 2;
    int b = (qBlue(systemHighlight) + 255) / 2;
    if (r > kPaleLimit && g > kPaleLimit && b > kPaleLimit) {
        r = towardsLimit(r);
        g = towardsLimit(g);
        b = towardsLimit(b);
    }
    return {qRgb(r, g, b), qRgb(r / 2, g / 2, b / 2)};
}
