#include "core/main_layout.h"

#include <gtest/gtest.h>
#include <ostream>

// Found by argument-dependent lookup, so a failure shows the rectangle.
void PrintTo(const QRect& rect, std::ostream* out)
{
    *out << "QRect(" << rect.x() << ", " << rect.y() << ", " << rect.width() << ", "
         << rect.height() << ")";
}

namespace {

constexpr int kLastPage = 32767;

// 96 dpi, a title bar and borders of 38 and 16 pixels, a 1920 x 1080 screen.
MainLayout::Input typicalWindow()
{
    MainLayout::Input input;
    input.innerWidth = 9000;
    input.innerHeight = 6000;
    input.statusHeight = 300;
    input.tabHeight = 360;
    input.pageCount = 14;
    input.ButtonWidth = 600;
    input.tabStopLeft = 3400;
    input.RecentPage = 2;
    input.PixelSize = 15;
    input.frameExtra = QSize(240, 570);
    input.screenSize = QSize(28800, 16200);
    input.gripSize = QSize(240, 240);
    input.whiteLineSize = QSize(30, 330);
    input.resizeHandleWidth = 60;
    return input;
}

MainLayout::Input wholeBook(int tabScroll)
{
    MainLayout::Input input = typicalWindow();
    input.pageCount = kLastPage;
    input.tabScroll = tabScroll;
    return input;
}

// The hilite reaches a pixel into the frame, so only its height must fit the column.
bool verticallyInside(const QRect& inner, const QRect& outer)
{
    return !inner.isEmpty() && inner.top() >= outer.top() && inner.bottom() <= outer.bottom();
}

TEST(MainLayoutTypicalWindow, FollowsTheLayoutPass)
{
    const MainLayout layout(typicalWindow());
    const MainLayout::Geometry& g = layout.geometry();
    EXPECT_EQ(g.minimumSize, QSize(5500, 6040));
    EXPECT_EQ(g.innerSize, QSize(9000, 6000));
    EXPECT_EQ(layout.tab(1), QRect(8340, 60, 600, 360));
    EXPECT_EQ(layout.tab(2), QRect(8340, 435, 600, 345));
    EXPECT_EQ(layout.tab(14), QRect(8340, 4740, 600, 360));
    EXPECT_EQ(layout.tab(0), QRect());
    EXPECT_EQ(layout.tab(15), QRect());
    EXPECT_EQ(g.rtfPage, QRect(120, 60, 8205, 5580));
    EXPECT_EQ(g.shpFrame, QRect(45, 45, 8295, 5610));
    EXPECT_EQ(g.picTabStop, QRect(3400, 45, 15, 5610));
    EXPECT_EQ(g.shpPageHilite, QRect(8325, 405, 630, 390));
    EXPECT_EQ(g.picWhiteLine, QRect(8325, 420, 30, 330));
    EXPECT_EQ(g.picResizeTop, QRect(8325, 45, 60, 360));
    EXPECT_EQ(g.picResizeBottom, QRect(8325, 795, 60, 4860));
    EXPECT_EQ(g.tabColumn, QRect(8340, 0, 660, 5700));
    EXPECT_EQ(g.maxTabScroll, 0);
}

TEST(MainLayoutTypicalWindow, StatusBarFollowsTheLayoutPass)
{
    const MainLayout::Geometry g = MainLayout(typicalWindow()).geometry();
    EXPECT_EQ(g.picStatus, QRect(0, 5700, 9000, 300));
    EXPECT_EQ(g.status.lblGripper, QRect(8760, 60, 240, 240));
    EXPECT_EQ(g.status.shpPanel1, QRect(315, 30, 7555, 255));
    EXPECT_EQ(g.status.shpIns, QRect(7915, 30, 800, 255));
    EXPECT_EQ(g.status.lblIns, QRect(7930, 45, 770, 225));
    EXPECT_EQ(g.status.imgStatusLeft, 30);
    EXPECT_EQ(g.status.lblStatus, QRect(420, 45, 7285, 225));
}

TEST(MainLayoutTypicalWindow, HiddenStatusBarLetsEditorAndFrameReachTheBottom)
{
    MainLayout::Input input = typicalWindow();
    input.statusHeight = 0;
    const MainLayout::Geometry g = MainLayout(input).geometry();
    const int t = 45;
    EXPECT_EQ(g.rtfPage.y() + g.rtfPage.height(), 6000 - t - 15);
    EXPECT_EQ(g.shpFrame.y() + g.shpFrame.height(), 6000 - t);
    EXPECT_EQ(g.picTabStop.height(), g.shpFrame.height());
    EXPECT_EQ(g.picResizeBottom.y() + g.picResizeBottom.height(), 6000 - t);
    EXPECT_EQ(g.tabColumn.height(), 6000);
    EXPECT_TRUE(g.picStatus.isNull());
    EXPECT_TRUE(g.status.shpPanel1.isNull());
}

struct MinimumCase
{
    const char* name;
    QSize inner;
    int pageCount;
    int tabStopLeft;
    int ButtonWidth;
    QSize screen;
    QSize minimum;
    QSize laidOut;
};

class MainLayoutMinimum : public ::testing::TestWithParam<MinimumCase>
{
};

TEST_P(MainLayoutMinimum, GrowsTheWindowWithinTheScreen)
{
    const MinimumCase& c = GetParam();
    MainLayout::Input input = typicalWindow();
    input.innerWidth = c.inner.width();
    input.innerHeight = c.inner.height();
    input.pageCount = c.pageCount;
    input.tabStopLeft = c.tabStopLeft;
    input.ButtonWidth = c.ButtonWidth;
    input.screenSize = c.screen;
    const MainLayout::Geometry g = MainLayout(input).geometry();
    EXPECT_EQ(g.minimumSize, c.minimum);
    EXPECT_EQ(g.innerSize, c.laidOut);
}

const QSize fullHd(28800, 16200);

INSTANTIATE_TEST_SUITE_P(
    Cases, MainLayoutMinimum,
    ::testing::Values(
        MinimumCase{
            "ShrunkSnapsBack", {1000, 800}, 3, 1000, 600, fullHd, {4000, 3000}, {3760, 2430}},
        MinimumCase{"LargerWindowKept",
                    {20000, 12000},
                    14,
                    3400,
                    600,
                    fullHd,
                    {5500, 6040},
                    {20000, 12000}},
        MinimumCase{
            "RoomRightOfMarker", {1000, 800}, 3, 3400, 2000, fullHd, {6900, 3000}, {6660, 2430}},
        MinimumCase{
            "EveryTabFits", {9000, 6000}, 40, 3400, 600, fullHd, {5500, 15400}, {9000, 14830}},
        MinimumCase{"TabsBeyondTheScreen",
                    {9000, 6000},
                    100,
                    3400,
                    600,
                    fullHd,
                    {5500, 16200},
                    {9000, 15630}},
        MinimumCase{"WholeBookStaysOnTheScreen",
                    {9000, 6000},
                    kLastPage,
                    3400,
                    600,
                    fullHd,
                    {5500, 16200},
                    {9000, 15630}},
        MinimumCase{"MarkerFromALargerScreen",
                    {9000, 6000},
                    14,
                    30000,
                    600,
                    {19200, 10800},
                    {19200, 6040},
                    {18960, 6000}}),
    [](const ::testing::TestParamInfo<MinimumCase>& param) { return param.param.name; });

TEST(MainLayoutTabStop, MarkerFromALargerScreenIsPulledBackIntoTheFrame)
{
    MainLayout::Input input = typicalWindow();
    input.tabStopLeft = 30000;
    input.screenSize = QSize(19200, 10800);
    const MainLayout::Geometry g = MainLayout(input).geometry();
    EXPECT_EQ(g.shpFrame, QRect(45, 45, 18255, 5610));
    EXPECT_EQ(g.picTabStop.x(), 18300 - 15);

    input.tabStopLeft = g.picTabStop.x();
    EXPECT_EQ(MainLayout(input).geometry().picTabStop.x(), 18285);
}

TEST(MainLayoutTabStop, MarkerLeftOfItsBoundIsPutThere)
{
    MainLayout::Input input = typicalWindow();
    input.tabStopLeft = 100;
    EXPECT_EQ(MainLayout(input).geometry().picTabStop.x(), 45 + 300);
}

struct DragCase
{
    int left;
    int x;
    int expected;
};

std::ostream& operator<<(std::ostream& out, const DragCase& c)
{
    return out << c.left << " + " << c.x;
}

class MainLayoutTabStopDrag : public ::testing::TestWithParam<DragCase>
{
};

TEST_P(MainLayoutTabStopDrag, StaysBetweenFrameLeftPlus300AndFrameRightLess15)
{
    const QRect shpFrame(45, 45, 8295, 5610); // right edge at 8340
    EXPECT_EQ(MainLayout::draggedTabStop(GetParam().left, GetParam().x, shpFrame),
              GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, MainLayoutTabStopDrag,
                         ::testing::Values(DragCase{3400, 15, 3415}, DragCase{3400, -3054, 346},
                                           DragCase{3400, -3055, 345}, DragCase{3400, -9000, 345},
                                           DragCase{3400, 4924, 8324}, DragCase{3400, 4925, 8325},
                                           DragCase{3400, 9000, 8325}));

TEST(MainLayoutTabStop, FrameTooNarrowForBothBoundsKeepsTheMarkerInside)
{
    EXPECT_EQ(MainLayout::draggedTabStop(3400, 0, QRect(45, 45, 200, 100)), 45 + 200 - 15);
}

struct SplitterCase
{
    int ButtonWidth;
    int x;
    int expected;
};

std::ostream& operator<<(std::ostream& out, const SplitterCase& c)
{
    return out << c.ButtonWidth << " - " << c.x;
}

class MainLayoutSplitter : public ::testing::TestWithParam<SplitterCase>
{
};

TEST_P(MainLayoutSplitter, DraggingLeftWidensTheTabsWithin300To2000)
{
    EXPECT_EQ(MainLayout::splitterButtonWidth(GetParam().ButtonWidth, GetParam().x),
              GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MainLayoutSplitter,
    ::testing::Values(SplitterCase{600, 0, 600}, SplitterCase{600, -150, 750},
                      SplitterCase{600, 150, 450}, SplitterCase{600, -1399, 1999},
                      SplitterCase{600, -1400, 2000}, SplitterCase{600, -50000, 2000},
                      SplitterCase{600, 299, 301}, SplitterCase{600, 300, 300},
                      SplitterCase{600, 301, 300}, SplitterCase{600, 50000, 300}));

struct PixelCase
{
    double x;
    double y;
    int expected;
};

std::ostream& operator<<(std::ostream& out, const PixelCase& c)
{
    return out << c.x << ", " << c.y;
}

class MainLayoutPixelSize : public ::testing::TestWithParam<PixelCase>
{
};

TEST_P(MainLayoutPixelSize, RoundsTheSumThenHalvesIt)
{
    EXPECT_EQ(MainLayout::PixelSize(GetParam().x, GetParam().y), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, MainLayoutPixelSize,
                         ::testing::Values(PixelCase{15, 15, 15}, PixelCase{12, 12, 12},
                                           PixelCase{10, 10, 10}, PixelCase{15, 12, 13},
                                           PixelCase{13.09, 13.09, 13}, PixelCase{14.75, 14.75, 15},
                                           PixelCase{14.7, 14.7, 14}));

TEST(MainLayoutScroll, OffsetIsKeptWithinTheColumn)
{
    const int viewport = 15630 - 300;
    const int allTabs = kLastPage * 360 + 8 * 15;
    EXPECT_EQ(MainLayout(wholeBook(0)).geometry().maxTabScroll, allTabs - viewport);
    EXPECT_EQ(MainLayout(wholeBook(-500)).geometry().tabScroll, 0);
    EXPECT_EQ(MainLayout(wholeBook(1000)).geometry().tabScroll, 1000);
    EXPECT_EQ(MainLayout(wholeBook(allTabs)).geometry().tabScroll, allTabs - viewport);
    EXPECT_EQ(MainLayout(typicalWindow()).geometry().tabScroll, 0);
}

TEST(MainLayoutScroll, FirstAndLastTabsRestAtTheColumnsEnds)
{
    const MainLayout middle(wholeBook(2000000));
    const MainLayout top(wholeBook(middle.scrollToShow(1)));
    EXPECT_EQ(top.geometry().tabScroll, 0);
    const MainLayout bottom(wholeBook(middle.scrollToShow(kLastPage)));
    EXPECT_EQ(bottom.geometry().tabScroll, bottom.geometry().maxTabScroll);
    const QRect last = bottom.tab(kLastPage);
    const QRect column = bottom.geometry().tabColumn;
    EXPECT_EQ(last.y() + last.height() + 4 * 15, column.y() + column.height());
}

TEST(MainLayoutScroll, ShowingATabBringsItFullyIntoViewAndLeavesAVisibleOneAlone)
{
    const MainLayout start(wholeBook(2000000));
    const int visible = 2000000 / 360 + 3;
    EXPECT_EQ(start.scrollToShow(visible), 2000000);
    EXPECT_EQ(start.scrollToShow(0), 2000000);
    for (const int page : {1, 2, 5000, visible - 20, visible + 60, 32766, kLastPage}) {
        MainLayout::Input input = wholeBook(start.scrollToShow(page));
        input.RecentPage = page;
        const MainLayout shown(input);
        const QRect column = shown.geometry().tabColumn;
        EXPECT_TRUE(column.contains(shown.tab(page))) << page;
        EXPECT_TRUE(verticallyInside(shown.geometry().shpPageHilite, column)) << page;
        EXPECT_EQ(shown.pageAt(shown.tab(page).center()), page);
    }
}

TEST(MainLayoutScroll, TabTallerThanTheColumnShowsItsTop)
{
    MainLayout::Input input = typicalWindow();
    input.tabHeight = 8000;
    input.pageCount = 3;
    input.screenSize = QSize(28800, 8000);
    const MainLayout layout(input);
    ASSERT_LT(layout.geometry().tabColumn.height(), input.tabHeight);
    EXPECT_EQ(layout.scrollToShow(2), 8000);
}

TEST(MainLayoutScroll, SelectedTabOutOfSightLeavesTheFrameEdgeToTheHandles)
{
    for (const int scroll : {0, 11000000}) {
        MainLayout::Input input = wholeBook(scroll);
        input.RecentPage = 20000;
        const MainLayout::Geometry g = MainLayout(input).geometry();
        EXPECT_GE(g.picResizeTop.height(), 0);
        EXPECT_GE(g.picResizeBottom.height(), 0);
        EXPECT_EQ(g.picResizeTop.height() + g.picResizeBottom.height(), g.shpFrame.height());
    }
}

TEST(MainLayoutScroll, NoCurrentTabLeavesNoHiliteAndTheEdgeToTheHandles)
{
    MainLayout::Input input = typicalWindow();
    input.RecentPage = 0;
    const MainLayout::Geometry g = MainLayout(input).geometry();
    EXPECT_TRUE(g.shpPageHilite.isNull());
    EXPECT_TRUE(g.picWhiteLine.isNull());
    EXPECT_EQ(g.picResizeTop.height() + g.picResizeBottom.height(), g.shpFrame.height());
}

struct HitCase
{
    int x;
    int y;
    int page;
};

std::ostream& operator<<(std::ostream& out, const HitCase& c)
{
    return out << "(" << c.x << ", " << c.y << ")";
}

class MainLayoutHitTest : public ::testing::TestWithParam<HitCase>
{
};

// Tab 1 spans 60..420, the selected tab 2 starts a pixel low at 435.
TEST_P(MainLayoutHitTest, FindsTheTabUnderAPoint)
{
    EXPECT_EQ(MainLayout(typicalWindow()).pageAt(QPoint(GetParam().x, GetParam().y)),
              GetParam().page);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MainLayoutHitTest,
    ::testing::Values(HitCase{8340, 60, 1}, HitCase{8339, 60, 0}, HitCase{8939, 60, 1},
                      HitCase{8940, 60, 0}, HitCase{8340, 59, 0}, HitCase{8340, 0, 0},
                      HitCase{8340, 419, 1}, HitCase{8340, 420, 0}, HitCase{8340, 434, 0},
                      HitCase{8340, 435, 2}, HitCase{8340, 779, 2}, HitCase{8340, 780, 3},
                      HitCase{8340, 5099, 14}, HitCase{8340, 5100, 0}, HitCase{8340, -1, 0}));

TEST(MainLayoutHitTestScrolled, FollowsTheScrollAndStopsAtTheStatusBar)
{
    const MainLayout layout(wholeBook(360 * 100));
    EXPECT_EQ(layout.pageAt(QPoint(8340, 60)), 101);
    EXPECT_EQ(layout.pageAt(QPoint(8340, 59)), 100);
    EXPECT_EQ(layout.pageAt(QPoint(8340, 0)), 100);
    const int statusTop = 15630 - 300;
    EXPECT_NE(layout.pageAt(QPoint(8340, statusTop - 1)), 0);
    EXPECT_EQ(layout.pageAt(QPoint(8340, statusTop)), 0);
    const MainLayout end(wholeBook(kLastPage * 360));
    const QRect last = end.tab(kLastPage);
    EXPECT_EQ(end.pageAt(QPoint(8340, last.y() + last.height() - 1)), kLastPage);
    EXPECT_EQ(end.pageAt(QPoint(8340, last.y() + last.height())), 0);
}

} // namespace
