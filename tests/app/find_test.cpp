// The find window over the real notebook: Ctrl+F and the main popup open one
// window that keeps its state, the search runs through the book's pages and
// the open page as the user left it, and a change of the page list starts it
// afresh.

#include "app_fixture.h"
#include "mainwindow/main_menus.h"
#include "test_files.h"
#include "window_driver.h"

#include <QCheckBox>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class FindInBook : public ::testing::Test
{
protected:
    void start()
    {
        std::vector<PageRecord> pages = DataFile::defaultPages();
        pages[1].Text = u"Семён Петров\t222-33-44"_qs;
        pages[5].Text = u"{\\rtf1\\ansi\\ansicpg1251 {\\b СЕМЁН} Ильич\\par}"_qs;
        pages.push_back({u"Работа"_qs, u"семёновы"_qs, 0});
        writeAll(f.dataFile(), DataFile::serialize(pages));
        app = f.makeApp();
        ASSERT_TRUE(startAndShow(*app));
    }
    MainWindow* window() const { return app->mainWindow(); }
    QWidget* find() const { return window()->findChild<QWidget*>(QStringLiteral("frmFind")); }
    template <typename T> T* control(const char* name) const
    {
        return find()->findChild<T*>(QString::fromLatin1(name));
    }
    void next() const { control<QPushButton>("cmdFind")->click(); }
    QString found() const
    {
        RichTextEdit* editor = window()->editor();
        return QStringLiteral("%1:%2")
            .arg(app->book().RecentPage)
            .arg(editor->Text().mid(editor->SelStart(), editor->SelLength()));
    }

    AppFixture f;
    std::unique_ptr<Application> app;
};

} // namespace

TEST_F(FindInBook, OneWindowWalksThePagesIgnoringCaseAndKeepsItsState)
{
    start();
    press(window()->editor(), Qt::Key_F, Qt::ControlModifier);
    ASSERT_TRUE(find() && find()->isVisible());
    QWidget* first = find();
    control<QLineEdit>("txtWhat")->setText(u"семён"_qs);
    control<QCheckBox>("chkAllPages")->click();
    next();
    EXPECT_EQ(found(), u"2:Семён"_qs);
    next();
    EXPECT_EQ(found(), u"6:СЕМЁН"_qs) << "formatting and case do not matter";

    window()->menus()->item("mnuMainFind")->trigger();
    EXPECT_EQ(find(), first) << "brought forward, not made anew";
    EXPECT_TRUE(control<QCheckBox>("chkAllPages")->isChecked());
    next();
    EXPECT_EQ(found(), u"15:семён"_qs) << "the search went on where it was";

    // The open page as typed, not as stored.
    typeOver(*app, u"ещё один СЕМЁН"_qs);
    next();
    EXPECT_EQ(found(), u"15:СЕМЁН"_qs);
}

TEST_F(FindInBook, AChangedPageListStartsTheSearchAfresh)
{
    start();
    app->SelectPage(15);
    press(window()->editor(), Qt::Key_F, Qt::ControlModifier);
    control<QLineEdit>("txtWhat")->setText(u"семён"_qs);
    control<QCheckBox>("chkAllPages")->click();
    next();
    EXPECT_EQ(found(), u"15:семён"_qs);
    f.messages.queueAnswer(true);
    window()->menus()->item("mnuMainDelete")->trigger();
    ASSERT_EQ(app->book().PageCount(), 14);
    app->SelectPage(1);
    next();
    EXPECT_EQ(found(), u"2:Семён"_qs);
    next();
    EXPECT_EQ(found(), u"6:СЕМЁН"_qs);
    next();
    EXPECT_EQ(app->book().RecentPage, 1) << "back on the start page";
    ASSERT_FALSE(f.messages.entries().empty());
    EXPECT_EQ(f.messages.entries().back().icon, MessageService::Icon::Information)
        << "the search is complete";
}

TEST_F(FindInBook, ForgivingOptionsStartOffFindYoAsYeAndNumbersWrittenAnyWay)
{
    start();
    press(window()->editor(), Qt::Key_F, Qt::ControlModifier);
    for (const char* box : {"chkYo", "chkDigits"})
        EXPECT_FALSE(control<QCheckBox>(box)->isChecked()) << box;
    control<QCheckBox>("chkAllPages")->click();
    control<QLineEdit>("txtWhat")->setText(u"семен"_qs);
    next();
    EXPECT_EQ(app->book().RecentPage, 1) << "letter for letter by default: found nowhere";
    control<QCheckBox>("chkYo")->click();
    next();
    EXPECT_EQ(found(), u"2:Семён"_qs);

    control<QLineEdit>("txtWhat")->setText(u"(222) 33 44"_qs);
    control<QCheckBox>("chkDigits")->click();
    next();
    EXPECT_EQ(found(), u"2:222-33-44"_qs) << "the whole number as it is written";
}
