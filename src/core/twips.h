#pragma once

#include <QRect>
#include <cmath>

// Geometry is kept in twips (1440 per inch) and turned into pixels only here,
// at the screen's logical DPI.
class Twips
{
public:
    static constexpr double perInch = 1440.0;
    static constexpr double perPoint = 20.0;

    static constexpr double toPixelsExact(double twips, double logicalDpi)
    {
        return twips * logicalDpi / perInch;
    }
    static int toPixels(double twips, double logicalDpi)
    {
        return static_cast<int>(std::lround(toPixelsExact(twips, logicalDpi)));
    }
    static constexpr double fromPixels(double pixels, double logicalDpi)
    {
        return pixels * perInch / logicalDpi;
    }
    // Edges are converted rather than sizes, so controls that end together in
    // twips still end together in pixels.
    static QRect toPixels(const QRect& twips, double logicalDpi)
    {
        const int left = toPixels(twips.left(), logicalDpi);
        const int top = toPixels(twips.top(), logicalDpi);
        return {left, top, toPixels(twips.left() + twips.width(), logicalDpi) - left,
                toPixels(twips.top() + twips.height(), logicalDpi) - top};
    }
};
