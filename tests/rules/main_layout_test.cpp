#include "rules/main_layout.h"
#include "unit_test.h"

// Found by argument-dependent lookup, so a failure shows the rectangle.
void PrintTo(const QRect& rect, std::ostream* out)
{
    *out << "QRect(" << rect.x() << ", " << rect.y() << ", " << rect.width() << ", "
         << rect.height() << ")";
}

namespace {

constexpr int kLastPage = 32767;
constexpr int kWholeBookColumn = 16200 - 570 - 300; // screen less frame less status bar

// 96 dpi, a title bar and borders of 38 and 16 pixels, a 1920 x 1080 screen.
MainLayout::Input typicalWindow(int pageCount = 14, int tabScroll = 0, int recentPage = 2)
{
    // Inner size, status bar, tab height, pages, button width, tab stop, recent page, pixel,
    // frame, screen, grip, white line, scroll.
    return {9000,       6000,           300,        360,       pageCount, 600, 3400, recentPage, 15,
            {240, 570}, {28800, 16200}, {240, 240}, {30, 330}, tabScroll};
}

MainLayout::Input wholeBook(int tabScroll, int recentPage = 2)
{
    return typicalWindow(kLastPage, tabScroll, recentPage);
}

TEST(MainLayoutTypicalWindow, FollowsTheLayoutPassAndWithoutTheStatusBarReachesTheBottom)
{
    const MainLayout layout(typicalWindow());
    const MainLayout::Geometry& g = layout.geometry();
    EXPECT_EQ(QList<QSize>({g.minimumSize, g.innerSize}),
              QList<QSize>({{5500, 6040}, {9000, 6000}}));
    EXPECT_EQ(std::tuple(layout.tab(15), g.maxTabScroll, g.status.iconLeft),
              std::tuple(QRect(), 0, 30));
    // The editor, frame, tab stop, hilite, white line, resize handles, tab column and status bar.
    EXPECT_EQ(
        QList<QRect>({g.page, g.frame, g.tabStop, g.pageHilite, g.whiteLine, g.resizeTop,
                      g.resizeBottom, g.tabColumn, g.statusArea, g.status.gripper, g.status.panel,
                      g.status.insFrame, g.status.insLabel, g.status.statusLabel}),
        QList<QRect>(
            {QRect(120, 60, 8205, 5580), QRect(45, 45, 8295, 5610), QRect(3400, 45, 15, 5610),
             QRect(8325, 405, 630, 390), QRect(8325, 420, 30, 330), QRect(8310, 45, 90, 360),
             QRect(8310, 795, 90, 4860), QRect(8340, 0, 660, 5700), QRect(0, 5700, 9000, 300),
             QRect(8760, 60, 240, 240), QRect(315, 30, 7555, 255), QRect(7915, 30, 800, 255),
             QRect(7930, 45, 770, 225), QRect(420, 45, 7285, 225)}));
    // A hidden status bar lets the editor and the frame reach the bottom.
    MainLayout::Input input = typicalWindow();
    input.statusHeight = 0;
    const MainLayout::Geometry bare = MainLayout(input).geometry();
    EXPECT_EQ(QList<int>({bare.page.y() + bare.page.height(), bare.frame.y() + bare.frame.height(),
                          bare.tabStop.height(), bare.tabColumn.height()}),
              QList<int>({6000 - 45 - 15, 6000 - 45, bare.frame.height(), 6000}));
    EXPECT_TRUE(bare.statusArea.isNull());
}

TEST(MainLayoutMinimum, GrowsTheWindowWithinTheScreen)
{
    // What, the inner size, pages, tab stop, button width, screen width: the
    // minimum size and the inner size laid out.
    const std::tuple<const char*, QSize, int, int, int, int, QSize, QSize> cases[] = {
        {"shrunk", {1000, 800}, 3, 1000, 600, 28800, {4000, 3000}, {3760, 2430}},
        {"marker", {1000, 800}, 3, 3400, 2000, 28800, {6900, 3000}, {6660, 2430}},
        {"tabs", {9000, 6000}, 40, 3400, 600, 28800, {5500, 15400}, {9000, 14830}},
        {"whole book", {9000, 6000}, kLastPage, 3400, 600, 28800, {5500, 16200}, {9000, 15630}},
        {"wide marker", {9000, 6000}, 14, 30000, 600, 19200, {19200, 6040}, {18960, 6000}}};
    for (const auto& [what, inner, pages, tabStop, buttonWidth, screenWidth, minimum, laidOut] :
         cases) {
        MainLayout::Input input = typicalWindow();
        input.innerWidth = inner.width();
        input.innerHeight = inner.height();
        input.pageCount = pages;
        input.tabStopLeft = tabStop;
        input.buttonWidth = buttonWidth;
        input.screenSize.setWidth(screenWidth);
        const MainLayout::Geometry g = MainLayout(input).geometry();
        EXPECT_EQ(std::pair(g.minimumSize, g.innerSize), std::pair(minimum, laidOut)) << what;
    }
}

// A marker from a wider screen is pulled back into the frame and stays there;
// a drag stays between the frame's left plus 300 and its right less 15.
TEST(MainLayoutTabStop, StaysBetweenFrameLeftPlus300AndFrameRightLess15)
{
    MainLayout::Input input = typicalWindow();
    input.tabStopLeft = 30000;
    input.screenSize = QSize(19200, 10800);
    const MainLayout::Geometry g = MainLayout(input).geometry();
    EXPECT_EQ(std::pair(g.frame, g.tabStop.x()), std::pair(QRect(45, 45, 18255, 5610), 18285));
    QList<int> marker;
    for (const int saved : {g.tabStop.x(), 100}) {
        input.tabStopLeft = saved;
        marker << MainLayout(input).geometry().tabStop.x();
    }
    EXPECT_EQ(marker, QList<int>({18285, 45 + 300}));
    const QRect frame(45, 45, 8295, 5610); // right edge at 8340
    const int cases[][2] = {{15, 3415}, {-3054, 346}, {-3055, 345}, {4924, 8324}, {4925, 8325}};
    for (const auto& [x, expected] : cases)
        EXPECT_EQ(MainLayout::draggedTabStop(3400, x, frame), expected) << x;
    // A frame too narrow for both bounds keeps the marker inside it.
    EXPECT_EQ(MainLayout::draggedTabStop(3400, 0, QRect(45, 45, 200, 100)), 45 + 200 - 15);
}

// Dragging the splitter left widens the tabs within 300 to 2000; the pixel
// size rounds the sum, then halves it.
TEST(MainLayoutSplitter, DraggingLeftWidensTheTabsWithin300To2000)
{
    const int cases[][2] = {{-150, 750}, {-1399, 1999}, {-1400, 2000}, {299, 301}, {300, 300}};
    for (const auto& [x, expected] : cases)
        EXPECT_EQ(MainLayout::splitterButtonWidth(600, x), expected) << x;
    const double sizes[][3] = {
        {15, 15, 15}, {15, 12, 13}, {13.09, 13.09, 13}, {14.75, 14.75, 15}, {14.7, 14.7, 14}};
    for (const auto& [x, y, expected] : sizes)
        EXPECT_EQ(MainLayout::pixelSize(x, y), expected) << x << ", " << y;
}

TEST(MainLayoutScroll, OffsetIsKeptWithinTheColumnAndShowingATabBringsItAndItsHiliteIntoView)
{
    const int allTabs = kLastPage * 360 + 8 * 15;
    const int maximum = allTabs - kWholeBookColumn;
    EXPECT_EQ(MainLayout(wholeBook(0)).geometry().maxTabScroll, maximum);
    QList<int> kept;
    for (const int scroll : {-500, 1000, allTabs})
        kept << MainLayout(wholeBook(scroll)).geometry().tabScroll;
    EXPECT_EQ(kept, QList<int>({0, 1000, maximum}));
    // The first and the last tabs rest at the column's ends.
    const MainLayout middle(wholeBook(2000000));
    EXPECT_EQ(middle.scrollToShow(1), 0);
    const MainLayout bottom(wholeBook(middle.scrollToShow(kLastPage)));
    EXPECT_EQ(bottom.geometry().tabScroll, bottom.geometry().maxTabScroll);
    const QRect last = bottom.tab(kLastPage);
    EXPECT_EQ(last.y() + last.height() + 4 * 15, kWholeBookColumn);
    // Showing a tab brings it and its hilite into view, and leaves a visible one alone.
    const MainLayout start(wholeBook(2000000));
    const int visible = 2000000 / 360 + 3;
    EXPECT_EQ(start.scrollToShow(visible), 2000000);
    EXPECT_EQ(start.scrollToShow(0), 2000000);
    for (const int page : {1, 2, 5000, visible - 20, visible + 60, 32766, kLastPage}) {
        const MainLayout shown(wholeBook(start.scrollToShow(page), page));
        const QRect column = shown.geometry().tabColumn;
        const QRect hilite = shown.geometry().pageHilite;
        EXPECT_TRUE(column.contains(shown.tab(page))) << page;
        EXPECT_TRUE(hilite.top() >= column.top() && hilite.bottom() <= column.bottom()) << page;
    }
}

// A tab taller than the column shows its top; a current tab out of sight, or
// none, leaves the frame's edge to the resize handles.
TEST(MainLayoutScroll, TallTabsShowTheirTopAndATabOutOfSightLeavesTheEdgeToTheHandles)
{
    MainLayout::Input input = typicalWindow(3);
    input.tabHeight = 8000;
    input.screenSize.setHeight(8000);
    const MainLayout layout(input);
    ASSERT_LT(layout.geometry().tabColumn.height(), input.tabHeight);
    EXPECT_EQ(layout.scrollToShow(2), 8000);
    for (const MainLayout::Input& book :
         {wholeBook(0, 20000), wholeBook(11000000, 20000), wholeBook(0, 0)}) {
        const MainLayout::Geometry g = MainLayout(book).geometry();
        EXPECT_TRUE(g.resizeTop.height() >= 0 && g.resizeBottom.height() >= 0 &&
                    g.resizeTop.height() + g.resizeBottom.height() == g.frame.height())
            << book.tabScroll << " " << book.recentPage;
    }
    EXPECT_TRUE(MainLayout(wholeBook(0, 0)).geometry().pageHilite.isNull());
}

} // namespace
