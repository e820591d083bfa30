#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <algorithm>

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
        int buttonWidth = 600;
        int tabStopLeft = 3400; // `picTabStop` left, as saved
        int recentPage = 1;
        int pixelSize = 15;
        QSize frameExtra;    // the whole window less its client area
        QSize screenSize;    // available screen, which the window never outgrows
        QSize gripSize;      // `lblGripper`
        QSize whiteLineSize; // `picWhiteLine`
        int tabScroll = 0;   // how far the tab column is scrolled up
    };

    struct StatusBar
    {
        QRect gripper;
        QRect panel;
        QRect insFrame;
        QRect insLabel;
        int iconLeft = 0;  // `imgTip` too
        QRect statusLabel; // `lblTip` too
    };

    struct Geometry
    {
        QSize minimumSize; // of the whole window, frame included
        QSize innerSize;   // the client area laid out: the given one, grown to the minimum
        QRect page;
        QRect frame;
        QRect tabStop;    // pulled back into the frame when the frame got narrower
        QRect pageHilite; // empty when `recentPage` has no tab
        QRect whiteLine;  // empty when `recentPage` has no tab
        QRect resizeTop;
        QRect resizeBottom;
        QRect statusArea;  // empty while the bar is hidden
        StatusBar status;  // empty while the bar is hidden
        QRect tabColumn;   // the strip the tabs scroll in
        int tabScroll = 0; // the given offset, kept within 0..maxTabScroll
        int maxTabScroll = 0;
    };

    explicit MainLayout(const Input& input);

    const Geometry& geometry() const { return m_geometry; }

    // Tab `page` (1..n) with its look: the tab of `recentPage` is one pixel
    // lower and one pixel shorter than the others.
    QRect tab(int page) const;

    // The scroll offset nearest to the current one that shows tab `page` and
    // the 4-pixel margin around it.
    int scrollToShow(int page) const;

    // The tab column's hit test and the step above in any unit, so the tab
    // column that draws the tabs in pixels, each edge rounded on its own,
    // takes them. Slot k (1..count) starts at `slotTop(k)`, where the slot of
    // k - 1 ends.
    //
    // The slot holding row `y` of the column's content, or the nearest one; 0
    // without slots. `estimate` is the slot a uniform height gives; rounded
    // edges put it off by a step or two at most.
    template <typename SlotTop> static int slotNear(int y, int count, int estimate, SlotTop slotTop)
    {
        if (count <= 0)
            return 0;
        int k = std::clamp(estimate, 1, count);
        while (k > 1 && slotTop(k) > y)
            --k;
        while (k < count && slotTop(k + 1) <= y)
            ++k;
        return k;
    }
    // The scroll offset nearest to `scroll` that shows rows `top` to `bottom`
    // in a viewport `viewport` high; a viewport lower than that shows `top`.
    static int scrollShowing(int top, int bottom, int scroll, int viewport);

    // One screen pixel in twips, from the screen's twips per pixel.
    static int pixelSize(double twipsPerPixelX, double twipsPerPixelY);

    // `buttonWidth` after the splitter moved `x` twips (leftwards widens).
    static int splitterButtonWidth(int buttonWidth, int x);

    // `picTabStop` left after the marker moved `x` twips within `shpFrame`.
    static int draggedTabStop(int left, int x, const QRect& frame);

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
