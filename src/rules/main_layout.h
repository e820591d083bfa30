#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

// The layout pass of `frmMain`, in twips and without widgets: the window
// feeds in its sizes on every resize and turns the rectangles into pixels at
// one place. Every cost is independent of the page count, as a book may hold
// 32,767 pages.
//
// Window-level rectangles are in the client area's coordinates; the contents
// of the status bar are in the bar's own coordinates, as children of
// `picStatus` see them.
class MainLayout
{
public:
    struct Input
    {
        int innerWidth = 0;   // client area
        int innerHeight = 0;  // client area
        int statusHeight = 0; // `picStatus`; 0 while the bar is hidden
        int tabHeight = 0;    // H, the template tab's height
        int pageCount = 0;    // n
        int ButtonWidth = 600;
        int tabStopLeft = 3400; // `picTabStop` left, as saved
        int RecentPage = 1;
        int PixelSize = 15;
        QSize frameExtra;    // the whole window less its client area
        QSize screenSize;    // available screen, which the window never outgrows
        QSize gripSize;      // `lblGripper`
        QSize whiteLineSize; // `picWhiteLine`
        int tabScroll = 0;   // how far the tab column is scrolled up
    };

    struct StatusBar
    {
        QRect lblGripper;
        QRect shpPanel1;
        QRect shpIns;
        QRect lblIns;
        int imgStatusLeft = 0; // `imgTip` too
        QRect lblStatus;       // `lblTip` too
    };

    struct Geometry
    {
        QSize minimumSize; // of the whole window, frame included
        QSize innerSize;   // the client area laid out: the given one, grown to the minimum
        QRect rtfPage;
        QRect shpFrame;
        QRect picTabStop;    // pulled back into the frame when the frame got narrower
        QRect shpPageHilite; // empty when `RecentPage` has no tab
        QRect picWhiteLine;  // empty when `RecentPage` has no tab
        QRect picResizeTop;
        QRect picResizeBottom;
        QRect picStatus;   // empty while the bar is hidden
        StatusBar status;  // empty while the bar is hidden
        QRect tabColumn;   // the strip the tabs scroll in
        int tabScroll = 0; // the given offset, kept within 0..maxTabScroll
        int maxTabScroll = 0;
    };

    explicit MainLayout(const Input& input);

    const Geometry& geometry() const { return m_geometry; }

    // Tab `page` (1..n) with its look: the tab of `RecentPage` is one pixel
    // lower and one pixel shorter than the others.
    QRect tab(int page) const;

    // The page whose tab is under `point`, or 0 for none.
    int pageAt(QPoint point) const;

    // The scroll offset nearest to the current one that shows tab `page` and
    // the 4-pixel margin around it.
    int scrollToShow(int page) const;

    // One screen pixel in twips, from the screen's twips per pixel.
    static int pixelSize(double twipsPerPixelX, double twipsPerPixelY);

    // `ButtonWidth` after the splitter moved `x` twips (leftwards widens).
    static int splitterButtonWidth(int ButtonWidth, int x);

    // `picTabStop` left after the marker moved `x` twips within `shpFrame`.
    static int draggedTabStop(int left, int x, const QRect& shpFrame);

private:
    int tabLeft() const;
    int tabTop(int page) const;
    QSize minimumSize() const;
    void layOutPage();
    void layOutSelection();
    void layOutSplitter();
    void layOutTabColumn();
    void layOutStatusBar();

    Input m_input;
    Geometry m_geometry;
};
