#pragma once

#include <QtGlobal>

// Tab stops and indents in a QTextDocument are in the units its layout uses
// for point sizes: pixels of the screen's logical DPI. Pages keep them in twips;
// the conversion happens here, with the one DPI the whole program uses.
class DocumentUnits
{
public:
    // Logical DPI of the primary screen, 96 when there is no screen.
    static qreal dpi();
    // Exact (unrounded), so that toTwips(fromTwips(t)) rounds back to t.
    static qreal fromTwips(double twips);
    static double toTwips(qreal documentUnits);
};
