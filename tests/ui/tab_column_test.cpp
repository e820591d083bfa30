#include "ui/tab_column.h"
#include "widget_test.h"

namespace {

// At 96 DPI: tabs 40 x 17 pixels, the first 4 pixels below the top.
constexpr TabMetrics kMetrics{600, 255, 15, 96.0 / 1440};
constexpr int kTabHeight = 17;
constexpr int kLargestBook = 32767;
constexpr QColor kUnpainted{255, 0, 255};
constexpr QColor kBlue{0, 0, 255};

QString title(int k)
{
    return QStringLiteral("Стр%1").arg(k);
}

int slotTop(int k)
{
    return 4 + (k - 1) * kTabHeight;
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
        const auto note = [this](const char* what, int k) {
            log << QString("%1 %2").arg(what).arg(k);
        };
        QObject::connect(&column, &TabColumn::tabPressed,
                         [=](int k, Qt::MouseButton b) { note("press", k * 10 + int(b)); });
        QObject::connect(&column, &TabColumn::tabReleased,
                         [=, this](int k, Qt::MouseButton b, QPoint global) {
                             note("release", k * 10 + int(b));
                             releasedAt = global;
                         });
        QObject::connect(&column, &TabColumn::tabDoubleClicked, [=](int k) { note("double", k); });
        QObject::connect(&column, &TabColumn::hovered, [=](int k) { note("hover", k); });
        QObject::connect(&column, &TabColumn::pointerLeft, [=] { note("left", 0); });
    }

    // Sent straight to the column: QTest moves the real cursor instead.
    bool send(QEvent::Type type, const QPoint& pos, Qt::MouseButton button = Qt::NoButton)
    {
        const Qt::MouseButtons held = type == QEvent::MouseButtonPress ? button : Qt::NoButton;
        QMouseEvent event(type, pos, column.mapToGlobal(pos), button, held, Qt::NoModifier);
        QApplication::sendEvent(&column, &event);
        return event.isAccepted();
    }
    void wheel(const QPoint& pos, int angle)
    {
        QWheelEvent event(pos, column.mapToGlobal(pos), {}, {0, angle}, Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&column, &event);
    }
    QString takeLog() { return std::exchange(log, {}).join(u", "); }
    QImage rendered(const QRegion& region = {})
    {
        QImage image(column.size(), QImage::Format_ARGB32);
        image.fill(kUnpainted);
        column.render(&image, {}, region, QWidget::RenderFlags());
        return image;
    }
    bool fullyVisible(int k) const { return column.rect().contains(column.tabRect(k)); }

    TabColumn column{kMetrics};
    QStringList log;
    QPoint releasedAt;
};

// Signals carry tab x 10 + button: left 1, right 2.
TEST_F(TabColumnTest, PressOpensAnyButtonReleaseGoesToThePressedTabDoubleClickPrints)
{
    QTest::mouseClick(&column, Qt::RightButton, {}, inTab(5));
    EXPECT_EQ(releasedAt, column.mapToGlobal(inTab(5)));
    // Like a captured mouse, wherever the button goes up.
    QTest::mousePress(&column, Qt::RightButton, {}, inTab(2));
    QTest::mouseRelease(&column, Qt::RightButton, {}, QPoint(300, 900));
    QTest::mouseClick(&column, Qt::LeftButton, {}, inTab(4));
    QTest::mouseDClick(&column, Qt::LeftButton, {}, inTab(4));
    QTest::mouseRelease(&column, Qt::LeftButton, {}, inTab(4));
    EXPECT_EQ(takeLog(), "press 52, release 52, press 22, release 22, "
                         "press 41, release 41, double 4, release 41");

    // Above, below and beside the tabs the window's background handles the mouse.
    for (const QPoint pos : {QPoint(20, 1), QPoint(20, slotTop(21) + 1), QPoint(45, 50)}) {
        EXPECT_FALSE(send(QEvent::MouseButtonPress, pos, Qt::RightButton));
        EXPECT_FALSE(send(QEvent::MouseButtonRelease, pos, Qt::RightButton));
    }
    EXPECT_EQ(takeLog(), "");
}

TEST_F(TabColumnTest, TabsTouchAndOnlyTheSelectedTabsSmallerRectangleReacts)
{
    QTest::mouseClick(&column, Qt::LeftButton, {}, inTab(4, 0));
    QTest::mouseClick(&column, Qt::LeftButton, {}, inTab(3, kTabHeight - 1));
    EXPECT_EQ(takeLog(), "press 41, release 41, press 31, release 31");

    column.setCurrentPage(3);
    EXPECT_EQ(column.tabRect(3), QRect(0, slotTop(3) + 1, 40, kTabHeight - 1));
    EXPECT_EQ(column.tabRect(2).bottom(), slotTop(3) - 1);
    EXPECT_EQ(column.tabAt(inTab(3, 0)), 0);
    EXPECT_EQ(column.tabAt(inTab(3, 1)), 3);

    // At 120 DPI a tab is 21.25 pixels: rounding opens no gap and no shared row.
    column.setMetrics({600, 255, 12, 120.0 / 1440});
    column.setPages(title, 2000);
    column.resize(50, 60000);
    for (int k = 4; k < 2000; ++k) {
        const QRect rect = column.tabRect(k);
        ASSERT_EQ(rect.bottom() + 1, column.tabRect(k + 1).top()) << k;
        ASSERT_EQ(column.tabAt({0, rect.top()}), k);
        ASSERT_EQ(column.tabAt({0, rect.bottom()}), k);
    }
}

TEST_F(TabColumnTest, HoverFollowsThePointerButNeverLightsTheCurrentTab)
{
    column.setCurrentPage(3);
    send(QEvent::MouseMove, inTab(2));
    send(QEvent::MouseMove, inTab(4));
    EXPECT_EQ(column.hoveredTab(), 4);
    EXPECT_EQ(column.cursor().shape(), Qt::BitmapCursor);
    send(QEvent::MouseMove, inTab(3));
    EXPECT_EQ(column.hoveredTab(), 0);
    EXPECT_EQ(column.cursor().shape(), Qt::ArrowCursor);
    send(QEvent::MouseMove, {20, slotTop(21) + 2});
    send(QEvent::MouseMove, inTab(6));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&column, &leave);
    EXPECT_EQ(column.hoveredTab(), 0);
    EXPECT_EQ(takeLog(), "hover 2, hover 4, hover 3, left 0, hover 6, left 0");
}

// Only the painted tabs' titles are asked for, whatever the size of the book.
TEST_F(TabColumnTest, TheLargestBookPaintsOnlyWhatShowsScrollsToBothEndsAndKeepsTheCurrentTab)
{
    int asked = 0;
    column.setPages([&asked](int k) { return ++asked, title(k); }, kLargestBook);
    column.resize(40, 700);
    rendered(QRegion(column.tabRect(5)));
    EXPECT_EQ(column.lastPaintedTabs(), qMakePair(5, 5));
    asked = 0;
    column.setCurrentPage(30000);
    rendered();
    const auto [first, last] = column.lastPaintedTabs();
    EXPECT_TRUE(first <= 30000 && 30000 <= last);
    EXPECT_EQ(last - first + 1, asked);
    EXPECT_LE(asked, 700 / kTabHeight + 2);

    column.setCurrentPage(20000);
    EXPECT_TRUE(fullyVisible(20000));
    column.resize(40, 120);
    EXPECT_TRUE(fullyVisible(20000));
    column.setCurrentPage(kLargestBook);
    EXPECT_TRUE(fullyVisible(kLargestBook));
    column.setCurrentPage(1);
    EXPECT_EQ(column.scrollOffset(), 0);
    // The tab under a still pointer changes with the wheel.
    send(QEvent::MouseMove, inTab(2));
    wheel(inTab(2), -120);
    EXPECT_EQ(column.scrollOffset(), QApplication::wheelScrollLines() * kTabHeight);
    EXPECT_EQ(column.hoveredTab(), 2 + QApplication::wheelScrollLines());
    wheel(inTab(2), -120 * kLargestBook);
    EXPECT_TRUE(fullyVisible(kLargestBook));
    wheel(inTab(2), 120 * kLargestBook);
    EXPECT_TRUE(fullyVisible(1));
}

} // namespace
