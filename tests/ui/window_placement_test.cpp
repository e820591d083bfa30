#include "core/settings_store.h"
#include "ui/window_placement.h"
#include "widget_test.h"

namespace {

QRect screen()
{
    return QGuiApplication::primaryScreen()->availableGeometry();
}

std::unique_ptr<QWidget> window(QPoint offset = {}, QSize size = {})
{
    auto widget = std::make_unique<QWidget>();
    widget->setObjectName("frmMain");
    if (size.isValid()) {
        widget->move(screen().topLeft() + offset);
        widget->resize(size);
    }
    return widget;
}

class WindowPlacementTest : public ::testing::Test
{
protected:
    std::unique_ptr<QWidget> restored()
    {
        auto widget = window();
        WindowPlacement::loadFormPosition(widget.get(), m_store);
        return widget;
    }
    QString stored(const QString& key) { return m_store.read("StartUp-frmMain", key, {}); }
    static int pixels(double twips) { return qRound(twips * WindowPlacement::logicalDpi() / 1440); }

    QTemporaryDir m_dir;
    SettingsStore m_store{
        std::make_unique<QSettings>(m_dir.filePath("settings.ini"), QSettings::IniFormat)};
};

TEST_F(WindowPlacementTest, NormalPlacementRoundTripsThroughTwipsAndOtherStatesWithTheNormalSize)
{
    const auto first = window({40, 30}, {301, 203});
    WindowPlacement::saveFormPosition(first.get(), m_store);
    EXPECT_EQ(stored("WindowState"), "0");
    EXPECT_NEAR(stored("Width").toDouble(), 301 * 1440 / WindowPlacement::logicalDpi(), 0.01);
    const auto second = restored();
    EXPECT_EQ(second->geometry(), first->geometry());
    // Maximized and minimized states come back with the normal size.
    const auto maximized = window({10, 10}, {200, 150});
    maximized->show();
    maximized->setWindowState(Qt::WindowMaximized);
    QCoreApplication::processEvents();
    ASSERT_NE(maximized->size(), QSize(200, 150));
    WindowPlacement::saveFormPosition(maximized.get(), m_store);
    EXPECT_EQ(stored("WindowState"), "2");
    const auto back = restored();
    EXPECT_TRUE(back->windowState() & Qt::WindowMaximized);
    EXPECT_EQ(back->normalGeometry().size(), QSize(200, 150));

    m_store.write("StartUp-frmMain", "WindowState", "1");
    EXPECT_TRUE(restored()->windowState() & Qt::WindowMinimized);
}

TEST_F(WindowPlacementTest, OffScreenOversizedOrBadValuesAreBroughtBackOntoTheNearestScreen)
{
    for (const auto& [key, value] : {std::pair{"Left", "-900000"},
                                     {"Top", "900000"},
                                     {"Width", "3000000"},
                                     {"Height", "abc"},
                                     {"WindowState", "7"}})
        m_store.write("StartUp-frmMain", key, value);
    const auto w = restored();
    EXPECT_TRUE(screen().contains(w->geometry()));
    EXPECT_EQ(w->size(), QSize(screen().width(), pixels(4000)));
    EXPECT_EQ(w->windowState(), Qt::WindowNoState);
    // A window is moved onto the nearest or the most overlapped screen.
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
