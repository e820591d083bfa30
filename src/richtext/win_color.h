#pragma once

#include <QColor>
#include <QPalette>

// Colours are stored the Windows way: 0x00BBGGRR, or a reference to a system
// colour (top bit set, index in the low byte) that follows the user's theme.
// Here the system colours are taken from a Qt palette.
class WinColor
{
public:
    static constexpr quint32 systemFlag = 0x80000000u;
    static constexpr quint32 window = 0x80000005u;
    static constexpr quint32 windowText = 0x80000008u;
    static constexpr quint32 highlight = 0x8000000Du;
    static constexpr quint32 highlightText = 0x8000000Eu;
    static constexpr quint32 buttonFace = 0x8000000Fu;
    static constexpr quint32 buttonText = 0x80000012u;

    static QColor toQColor(quint32 winColor, const QPalette& palette);
    static quint32 fromQColor(const QColor& color);

    // The contrast ratio of two colours as the web's accessibility
    // guidelines measure it: 1 for equal colours, 21 for black on white.
    static double contrast(const QColor& a, const QColor& b);
    // `preferred` when it reads well on `background` (4.5:1 or better), else
    // black or white, whichever reads better.
    static QColor readableOn(const QColor& background, const QColor& preferred);
};
