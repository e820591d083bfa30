#include "ui/app_pictures.h"
#include "ui/status_bar.h"
#include "widget_test.h"

namespace {

// The window under the bar: sees what the bar lets through.
class Window : public QWidget
{
public:
    int contextMenus = 0;

protected:
    void contextMenuEvent(QContextMenuEvent*) override { ++contextMenus; }
};

class StatusTipBarTest : public ::testing::Test
{
protected:
    StatusTipBarTest()
    {
        m_window.resize(600, 40);
        m_bar = new StatusTipBar(&m_window);
        m_bar->setGeometry(0, 0, 600, 24);
        m_bar->setStatusText(QStringLiteral("/home/user/Documents/velkaro.dat"));
        m_bar->setIndicatorText(QStringLiteral("Вставка"));
        m_window.show();
    }

    QWidget* child(const char* name) const
    {
        auto* widget = m_bar->findChild<QWidget*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    QImage shownPicture(const char* name) const
    {
        return static_cast<QLabel*>(child(name))->pixmap().toImage();
    }

    Window m_window;
    StatusTipBar* m_bar = nullptr;
};

TEST_F(StatusTipBarTest,
       OnePairShowsTheTipEndsForGoodTheIconTellsSavedAndTheRightButtonAsksForTheMenu)
{
    const auto shown = [this] {
        QStringList names;
        for (const char* name : {"imgStatus", "lblStatus", "imgTip", "lblTip"}) {
            if (child(name)->isVisible())
                names << name;
        }
        return std::pair(m_bar->isTipShowing(), names.join(' '));
    };
    EXPECT_EQ(shown(), std::pair(false, QString("imgStatus lblStatus")));
    m_bar->showTip(QStringLiteral("Совет"));
    EXPECT_EQ(shown(), std::pair(true, QString("imgTip lblTip")));
    EXPECT_EQ(static_cast<QLabel*>(child("lblTip"))->text(), QStringLiteral("Совет"));
    m_bar->endTip();
    m_bar->setStatusText(QStringLiteral("/data/velkaro.dat"));
    EXPECT_EQ(shown(), std::pair(false, QString("imgStatus lblStatus")));
    EXPECT_EQ(m_bar->statusText(), QStringLiteral("/data/velkaro.dat"));

    // The icon shows whether the book is saved.
    EXPECT_EQ(shownPicture("imgStatus"), AppPictures::saved().toImage());
    m_bar->setSaved(false, QStringLiteral("Есть несохраненные изменения"));
    EXPECT_FALSE(m_bar->isSaved());
    EXPECT_EQ(shownPicture("imgStatus"), AppPictures::unsaved().toImage());
    EXPECT_EQ(child("imgStatus")->toolTip(), QStringLiteral("Есть несохраненные изменения"));
    // A right-button release on the bar, its icons and its texts asks for the menu.
    QSignalSpy menu(m_bar, &StatusTipBar::statusMenuRequested);
    for (const char* name : {"imgStatus", "lblStatus", "lblIns"}) {
        QTest::mouseRelease(child(name), Qt::RightButton, {}, QPoint(2, 2));
        ASSERT_EQ(menu.count(), 1) << name;
        EXPECT_EQ(menu.takeFirst().at(0).toPoint(), child(name)->mapToGlobal(QPoint(2, 2)));
    }
    m_bar->showTip(QStringLiteral("Знаете ли вы, что..."));
    for (const char* name : {"imgTip", "lblTip", "picStatus"}) {
        QWidget* target = name == QByteArray("picStatus") ? m_bar : child(name);
        QTest::mouseRelease(target, Qt::RightButton, {}, QPoint(1, 1));
        EXPECT_EQ(menu.count(), 1) << name;
        menu.clear();
    }
    QTest::mouseRelease(child("lblStatus"), Qt::LeftButton, {}, QPoint(2, 2));
    QTest::mouseRelease(child("lblGripper"), Qt::RightButton, {}, QPoint(2, 2));
    EXPECT_EQ(menu.count(), 0);
}

} // namespace
