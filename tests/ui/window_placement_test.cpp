#include "core/settings_store.h"
#include "ui/window_placement.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QTemporaryDir>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

class WindowPlacementTest : public ::testing::Test
{
protected:
    std::unique_ptr<QWidget> window() const
    {
        auto widget = std::make_unique<QWidget>();
        widget->setObjectName("frmMain");
        return widget;
    }
    static int pixels(double twips) { return qRound(twips * WindowPlacement::logicalDpi() / 1440); }
    QRect screen() const { return QGuiApplication::primaryScreen()->availableGeometry(); }

    QTemporaryDir m_dir;
    SettingsStore m_store{
        std::make_unique<QSettings>(m_dir.filePath("settings.ini"), QSettings::IniFormat)};
};

TEST_F(WindowPlacementTest, FirstRunOpensTopLeftAt5000By4000Twips)
{
    auto w = window();
    WindowPlacement::LoadFormPosition(w.get(), m_store);
    EXPECT_EQ(w->pos(), screen().topLeft());
    EXPECT_EQ(w->size(), QSize(pixels(5000), pixels(4000)));
    EXPECT_EQ(w->windowState(), Qt::WindowNoState);
}

TEST_F(WindowPlacementTest, NormalPlacementRoundTripsThroughTwips)
{
    auto first = window();
    first->move(screen().topLeft() + QPoint(40, 30));
    first->resize(301, 203);
    WindowPlacement::SaveFormPosition(first.get(), m_store);
    EXPECT_EQ(m_store.Read("StartUp-frmMain", "WindowState", {}), QString("0"));
    EXPECT_NEAR(m_store.Read("StartUp-frmMain", "Width", {}).toDouble(),
                301 * 1440 / WindowPlacement::logicalDpi(), 0.01);

    auto second = window();
    WindowPlacement::LoadFormPosition(second.get(), m_store);
    EXPECT_EQ(second->pos(), first->pos());
    EXPECT_EQ(second->size(), first->size());
}

TEST_F(WindowPlacementTest, MaximizedAndMinimizedStatesComeBackWithTheNormalSize)
{
    auto first = window();
    first->move(screen().topLeft() + QPoint(10, 10));
    first->resize(200, 150);
    first->show();
    first->setWindowState(Qt::WindowMaximized);
    QCoreApplication::processEvents();
    ASSERT_NE(first->size(), QSize(200, 150));
    WindowPlacement::SaveFormPosition(first.get(), m_store);
    EXPECT_EQ(m_store.Read("StartUp-frmMain", "WindowState", {}), QString("2"));

    auto second = window();
    WindowPlacement::LoadFormPosition(second.get(), m_store);
    EXPECT_TRUE(second->windowState() & Qt::WindowMaximized);
    EXPECT_EQ(second->normalGeometry().size(), QSize(200, 150));

    m_store.Write("StartUp-frmMain", "WindowState", "1");
    auto third = window();
    WindowPlacement::LoadFormPosition(third.get(), m_store);
    EXPECT_TRUE(third->windowState() & Qt::WindowMinimized);
}

TEST_F(WindowPlacementTest, OffScreenOrOversizedOrBadValuesAreBroughtBack)
{
    m_store.Write("StartUp-frmMain", "Left", "-900000");
    m_store.Write("StartUp-frmMain", "Top", "900000");
    m_store.Write("StartUp-frmMain", "Width", "3000000");
    m_store.Write("StartUp-frmMain", "Height", "abc");
    m_store.Write("StartUp-frmMain", "WindowState", "7");
    auto w = window();
    WindowPlacement::LoadFormPosition(w.get(), m_store);
    EXPECT_TRUE(screen().contains(QRect(w->pos(), w->size())));
    EXPECT_EQ(w->width(), screen().width());
    EXPECT_EQ(w->height(), pixels(4000));
    EXPECT_EQ(w->windowState(), Qt::WindowNoState);
}

TEST(KeptOnScreens, MovesOntoTheNearestOrMostOverlappedScreen)
{
    const QList<QRect> screens{QRect(0, 0, 1000, 800), QRect(1000, 100, 1600, 1000)};
    const QRect onRight(1200, 200, 300, 200);
    EXPECT_EQ(WindowPlacement::keptOnScreens(onRight, screens), onRight);
    EXPECT_EQ(WindowPlacement::keptOnScreens(QRect(5000, 300, 300, 200), screens),
              QRect(2300, 300, 300, 200));
    EXPECT_EQ(WindowPlacement::keptOnScreens(QRect(100, -50, 300, 200), screens),
              QRect(100, 0, 300, 200));
    EXPECT_EQ(WindowPlacement::keptOnScreens(QRect(900, 0, 3000, 3000), screens), screens[1]);
}

} // namespace
