#pragma once

#include <QRgb>

// The tab highlight and its shadow, derived from the system highlight colour:
// halfway to white, and pulled back towards 200 when that is too pale to see.
struct HighlightColors
{
    QRgb highlightColor = 0;
    QRgb highlightShadowColor = 0;

    static HighlightColors setHighlightColors(QRgb systemHighlight);
};
