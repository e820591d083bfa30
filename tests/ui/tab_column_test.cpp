#include "ui/tab_column.h"

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>
#include <vector>

namespace {

// At 96 DPI a pixel is 15 twips: tabs 40 pixels wide and 17 high, the first
// 4 pixels below the top.
constexpr TabMetrics kMetrics{600, 255, 15, 96.0 / 1440};
constexpr int kTop = 4;
constexpr int kTabHeight = 17;
constexpr int kLargestBook = 32767;

QString title(int k)
{
    return QStringLiteral("Стр%1").arg(k);
}

int slotTop(int k)
{
    return kTop + (k - 1) * kTabHeight;
}

QPoint inTab(int k, int dy = kTabHeight / 2)
{
    return {20, slotTop(k) + dy};
}

class TabColumnTest : public ::testing::Test
{
protected:
    TabColumnTest()
    {
        column.setPages(title, 20);
        column.resize(40, 400);
        column.show();
        QObject::connect(&column, &TabColumn::tabPressed, [this](int k, Qt::MouseButton b) {
            log.push_back(QStringLiteral("press %1 %2").arg(k).arg(b));
        });
        QObject::connect(&column, &TabColumn::tabReleased,
                         [this](int k, Qt::MouseButton b, QPoint global) {
                             log.push_back(QStringLiteral("release %1 %2").arg(k).arg(b));
                             lastGlobal = global;
                         });
        QObject::connect(&column, &TabColumn::tabDoubleClicked,
                         [this](int k) { log.push_back(QStringLiteral("double %1").arg(k)); });
        QObject::connect(&column, &TabColumn::hovered,
                         [this](int k) { log.push_back(QStringLiteral("hover %1").arg(k)); });
        QObject::connect(&column, &TabColumn::pointerLeft,
                         [this] { log.push_back(QStringLiteral("left")); });
    }

    void moveTo(const QPoint& pos)
    {
        QMouseEvent move(QEvent::MouseMove, pos, column.mapToGlobal(pos), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&column, &move);
    }
    bool wheel(const QPoint& pos, int angle)
    {
        QWheelEvent event(pos, column.mapToGlobal(pos), {}, {0, angle}, Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&column, &event);
        return event.isAccepted();
    }
    QString takeLog()
    {
        QStringList lines(log.begin(), log.end());
        log.clear();
        return lines.join(u", ");
    }

    TabColumn column{kMetrics};
    std::vector<QString> log;
    QPoint lastGlobal;
};

TEST_F(TabColumnTest, EveryButtonOpensTheTabAndTheReleaseGoesToThePressedTab)
{
    QTest::mouseClick(&column, Qt::LeftButton, {}, inTab(3));
    EXPECT_EQ(takeLog(), "press 3 1, release 3 1");

    QTest::mouseClick(&column, Qt::RightButton, {}, inTab(5));
    EXPECT_EQ(takeLog(), "press 5 2, release 5 2");
    EXPECT_EQ(lastGlobal, column.mapToGlobal(inTab(5)));

    // Like a captured mouse: the button going up over another tab or outside
    // the column still belongs to the tab pressed.
    QTest::mousePress(&column, Qt::RightButton, {}, inTab(2));
    QTest::mouseRelease(&column, Qt::RightButton, {}, QPoint(300, 900));
    EXPECT_EQ(takeLog(), "press 2 2, release 2 2");
}

TEST_F(TabColumnTest, ADoubleClickPrintsWithoutASecondPress)
{
    QTest::mouseClick(&column, Qt::LeftButton, {}, inTab(4));
    QTest::mouseDClick(&column, Qt::LeftButton, {}, inTab(4));
    QTest::mouseRelease(&column, Qt::LeftButton, {}, inTab(4));
    EXPECT_EQ(takeLog(), "press 4 1, release 4 1, double 4, release 4 1");
}

TEST_F(TabColumnTest, PressesOutsideTheTabsAreLeftToTheWindow)
{
    for (const QPoint pos : {QPoint(20, 1), QPoint(20, slotTop(21) + 1), QPoint(45, 50)}) {
        QMouseEvent press(QEvent::MouseButtonPress, pos, column.mapToGlobal(pos), Qt::RightButton,
                          Qt::RightButton, Qt::NoModifier);
        QApplication::sendEvent(&column, &press);
        EXPECT_FALSE(press.isAccepted()) << pos.y();
        QMouseEvent release(QEvent::MouseButtonRelease, pos, column.mapToGlobal(pos),
                            Qt::RightButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&column, &release);
        EXPECT_FALSE(release.isAccepted()) << pos.y();
    }
    EXPECT_EQ(takeLog(), "");
}

TEST_F(TabColumnTest, TabsTouchAndEachRowBelongsToOneTab)
{
    EXPECT_EQ(column.tabRect(1), QRect(0, kTop, 40, kTabHeight));
    EXPECT_EQ(column.tabAt(inTab(3, kTabHeight - 1)), 3);
    EXPECT_EQ(column.tabAt(inTab(4, 0)), 4);
    QTest::mouseClick(&column, Qt::LeftButton, {}, inTab(4, 0));
    EXPECT_EQ(takeLog(), "press 4 1, release 4 1");

    // At 120 DPI a tab is 21.25 pixels: rounding must neither open a gap nor
    // let two tabs share a row.
    column.setMetrics({600, 255, 12, 120.0 / 1440});
    column.setPages(title, 2000);
    column.resize(50, 60000);
    for (int k = 1; k < 2000; ++k) {
        const QRect rect = column.tabRect(k);
        ASSERT_EQ(rect.bottom() + 1, column.tabRect(k + 1).top()) << k;
        ASSERT_EQ(column.tabAt({0, rect.top()}), k);
        ASSERT_EQ(column.tabAt({0, rect.bottom()}), k);
    }
}

TEST_F(TabColumnTest, TheSelectedTabIsOnePixelLowerAndShorterAndOnlyThatReacts)
{
    column.setCurrentPage(3);
    EXPECT_EQ(column.tabRect(3), QRect(0, slotTop(3) + 1, 40, kTabHeight - 1));
    EXPECT_EQ(column.tabRect(2).bottom(), slotTop(3) - 1);
    EXPECT_EQ(column.tabRect(4).top(), slotTop(4));
    EXPECT_EQ(column.tabAt(inTab(3, 0)), 0);
    EXPECT_EQ(column.tabAt(inTab(3, 1)), 3);

    column.setCurrentPage(5);
    EXPECT_EQ(column.tabRect(3), QRect(0, slotTop(3), 40, kTabHeight));
    EXPECT_EQ(column.tabAt(inTab(3, 0)), 3);
}

TEST_F(TabColumnTest, HoverHighlightsOneTabButNeverTheCurrentOne)
{
    column.setCurrentPage(3);
    moveTo(inTab(2));
    EXPECT_EQ(column.hoveredTab(), 2);
    EXPECT_EQ(column.cursor().shape(), Qt::BitmapCursor);
    moveTo(inTab(4));
    EXPECT_EQ(column.hoveredTab(), 4);
    moveTo(inTab(3));
    EXPECT_EQ(column.hoveredTab(), 0);
    EXPECT_EQ(column.cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(takeLog(), "hover 2, hover 4, hover 3");

    moveTo(inTab(6));
    column.UnHiliteAll();
    EXPECT_EQ(column.hoveredTab(), 0);

    moveTo(inTab(7));
    column.setCurrentPage(7);
    EXPECT_EQ(column.hoveredTab(), 0);
}

TEST_F(TabColumnTest, LeavingTheTabsRemovesTheHover)
{
    moveTo(inTab(2));
    moveTo({20, slotTop(21) + 2});
    EXPECT_EQ(column.hoveredTab(), 0);
    moveTo(inTab(2));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&column, &leave);
    EXPECT_EQ(column.hoveredTab(), 0);
    EXPECT_EQ(takeLog(), "hover 2, left, hover 2, left");

    moveTo(inTab(2));
    column.setPages(title, 20);
    EXPECT_EQ(column.hoveredTab(), 0);
}

class TabColumnLookTest : public TabColumnTest
{
protected:
    QImage rendered()
    {
        QImage image(column.size(), QImage::Format_ARGB32);
        image.fill(kUnpainted);
        column.render(&image, {}, {}, QWidget::RenderFlags());
        return image;
    }
    static bool hasPixel(const QImage& image, const QRect& area, QColor color)
    {
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = area.left(); x <= area.right(); ++x) {
                if (image.pixelColor(x, y) == color)
                    return true;
            }
        }
        return false;
    }

    static constexpr QColor kUnpainted{255, 0, 255};
    static constexpr QColor kPage{10, 200, 30};
};

TEST_F(TabColumnLookTest, SelectedTabShowsThePageAndTheHoveredOneIsBlue)
{
    column.setPageColor(kPage);
    column.setCurrentPage(3);
    moveTo(inTab(5));
    const QImage image = rendered();
    // The row the selected tab leaves free shows what lies behind the column.
    EXPECT_EQ(image.pixelColor(20, slotTop(3)), kUnpainted);
    EXPECT_EQ(image.pixelColor(1, slotTop(3) + 1), kPage);
    EXPECT_EQ(image.pixelColor(1, slotTop(2) + 1), column.palette().color(QPalette::Button));
    const QColor blue(0, 0, 255);
    EXPECT_TRUE(hasPixel(image, column.tabRect(5), blue));
    EXPECT_FALSE(hasPixel(image, column.tabRect(4), blue));
    EXPECT_FALSE(hasPixel(image, column.tabRect(3), blue));

    column.UnHiliteAll();
    EXPECT_FALSE(hasPixel(rendered(), column.tabRect(5), blue));
}

TEST_F(TabColumnLookTest, OnlyTheExposedTabsArePaintedAndAskedForTitles)
{
    int titlesAsked = 0;
    column.setPages(
        [&titlesAsked](int k) {
            ++titlesAsked;
            return title(k);
        },
        kLargestBook);
    column.resize(40, 700);
    EXPECT_EQ(titlesAsked, 0);

    QImage image(column.size(), QImage::Format_ARGB32);
    column.render(&image, {}, QRegion(column.tabRect(5)), QWidget::RenderFlags());
    EXPECT_EQ(column.lastPaintedTabs(), qMakePair(5, 5));

    titlesAsked = 0;
    column.setCurrentPage(30000);
    rendered();
    const auto [first, last] = column.lastPaintedTabs();
    EXPECT_LE(first, 30000);
    EXPECT_GE(last, 30000);
    EXPECT_EQ(last - first + 1, titlesAsked);
    EXPECT_LE(titlesAsked, 700 / kTabHeight + 2);
}

class LargestBookTest : public TabColumnTest
{
protected:
    LargestBookTest()
    {
        column.setPages(title, kLargestBook);
        column.resize(40, 700);
    }
    bool fullyVisible(int k) const { return column.rect().contains(column.tabRect(k)); }
};

TEST_F(LargestBookTest, TheCurrentTabIsBroughtIntoViewAndStaysThereOnResize)
{
    column.setCurrentPage(20000);
    EXPECT_TRUE(fullyVisible(20000));
    column.setCurrentPage(kLargestBook);
    EXPECT_TRUE(fullyVisible(kLargestBook));
    EXPECT_EQ(column.scrollOffset(), column.maximumScroll());
    EXPECT_EQ(column.tabAt(column.tabRect(kLargestBook).center()), kLargestBook);

    column.setCurrentPage(1);
    EXPECT_EQ(column.scrollOffset(), 0);
    EXPECT_EQ(column.tabRect(1).top(), kTop + 1);

    column.setCurrentPage(15000);
    column.resize(40, 120);
    EXPECT_TRUE(fullyVisible(15000));
}

TEST_F(LargestBookTest, TheWheelReachesBothEndsAndMovesTheHoverWithTheTabs)
{
    const QPoint pointer = inTab(2);
    moveTo(pointer);
    EXPECT_TRUE(wheel(pointer, -120));
    const int perNotch = QApplication::wheelScrollLines() * kTabHeight;
    EXPECT_EQ(column.scrollOffset(), perNotch);
    EXPECT_EQ(column.hoveredTab(), column.tabAt(pointer));
    EXPECT_EQ(column.hoveredTab(), 2 + QApplication::wheelScrollLines());

    wheel(pointer, -120 * kLargestBook);
    EXPECT_EQ(column.scrollOffset(), column.maximumScroll());
    EXPECT_TRUE(fullyVisible(kLargestBook));
    wheel(pointer, 120 * kLargestBook);
    EXPECT_EQ(column.scrollOffset(), 0);
    EXPECT_TRUE(fullyVisible(1));
}

TEST_F(TabColumnTest, AColumnThatFitsLeavesTheWheelToTheWindow)
{
    EXPECT_FALSE(wheel(inTab(2), -120));
    EXPECT_EQ(column.scrollOffset(), 0);
}

} // namespace
