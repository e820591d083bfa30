#include "ui/cue_text_box.h"
#include "widget_test.h"

namespace {

// A window with the box and a second box to take the focus away.
class TextBoxXPTest : public ::testing::Test
{
protected:
    TextBoxXPTest()
    {
        auto* layout = new QVBoxLayout(&m_window);
        m_box = new CueTextBox(&m_window);
        m_other = new QLineEdit(&m_window);
        layout->addWidget(m_box);
        layout->addWidget(m_other);
        m_window.show();
        m_window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&m_window));
    }

    QWidget m_window;
    CueTextBox* m_box = nullptr;
    QLineEdit* m_other = nullptr;
};

} // namespace

TEST_F(TextBoxXPTest, TheCueShowsWithoutTheFocusFocusSelectsTheTextAndTheBalloonGoesOnAClick)
{
    m_other->setFocus();
    m_box->setCueBanner(QStringLiteral("Введите текст"));
    EXPECT_EQ(m_box->placeholderText(), QStringLiteral("Введите текст"));

    m_box->setFocus();
    EXPECT_TRUE(m_box->placeholderText().isEmpty());
    m_box->setCueBanner(QStringLiteral("Другой текст"));
    EXPECT_TRUE(m_box->placeholderText().isEmpty());

    m_other->setFocus();
    EXPECT_EQ(m_box->placeholderText(), QStringLiteral("Другой текст"));

    m_box->setText(QStringLiteral("Петров"));
    m_box->setCursorPosition(2);
    m_box->setFocus();
    EXPECT_EQ(m_box->selectedText(), QStringLiteral("Петров"));
    // The balloon points at the box and goes on a click or with the box; its texts are the find
    // window's tests'.
    m_box->setBalloonTipTitle(QStringLiteral("Заголовок"));
    m_box->showBalloonTip();
    auto* balloon = const_cast<BalloonTip*>(m_box->balloonTip());
    ASSERT_TRUE(balloon->isVisible());
    EXPECT_GT(balloon->geometry().top(), m_box->mapToGlobal(QPoint(0, 0)).y());
    QTest::mouseClick(balloon, Qt::LeftButton);
    EXPECT_FALSE(balloon->isVisible());

    m_box->showBalloonTip();
    m_window.hide();
    EXPECT_FALSE(balloon->isVisible());
}
