// The formatting commands and styles driven through the notebook window:
// keys, the editor's popup, the font and colour dialogs answered from a
// queued callback.

#include "app_fixture.h"
#include "mainwindow/main_menus.h"
#include "test_files.h"
#include "window_driver.h"

#include <QColorDialog>
#include <QFontDialog>
#include <QMenu>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class Formatting : public ::testing::Test
{
protected:
    void start()
    {
        app = f.makeApp();
        ASSERT_TRUE(startAndShow(*app));
        typeOver(*app, u"Иванов Петров"_qs);
    }
    MainWindow* window() const { return app->mainWindow(); }
    RichTextEdit* editor() const { return window()->editor(); }
    QAction* item(const char* name) const { return window()->menus()->item(name); }
    void select(int start, int length) const
    {
        editor()->setSelStart(start);
        editor()->setSelLength(length);
    }
    void ctrl(int key) const { press(editor(), key, Qt::ControlModifier); }
    QList<QAction*> checkedIn(QMenu* menu) const
    {
        QList<QAction*> checked;
        for (QAction* action : menu->actions()) {
            if (action->isChecked())
                checked << action;
        }
        return checked;
    }

    AppFixture f;
    std::unique_ptr<Application> app;
};

} // namespace

TEST_F(Formatting, AttributeKeysActOncePerPressAndAMixedSelectionBecomesWhollySet)
{
    start();
    select(0, 6);
    ctrl(Qt::Key_B);
    EXPECT_EQ(editor()->SelBold(), true);
    EXPECT_TRUE(item("mnuTextBold")->isChecked());
    ctrl(Qt::Key_B);
    EXPECT_EQ(editor()->SelBold(), false);

    ctrl(Qt::Key_I);
    EXPECT_EQ(editor()->SelItalic(), true);
    EXPECT_EQ(window()->pageText(), u"Иванов Петров"_qs) << "Ctrl+I is no tab";
    ctrl(Qt::Key_U);
    ctrl(Qt::Key_T);
    EXPECT_EQ(editor()->SelUnderline(), true);
    EXPECT_EQ(editor()->SelStrikeThru(), true);

    // Half bold: no check mark, and the command makes all of it bold.
    select(3, 6);
    ctrl(Qt::Key_B);
    select(0, 13);
    EXPECT_EQ(editor()->SelBold(), std::nullopt);
    EXPECT_FALSE(item("mnuTextBold")->isChecked());
    item("mnuTextBold")->trigger();
    EXPECT_EQ(editor()->SelBold(), true);
}

TEST_F(Formatting, SizeAndColourCheckMarksFollowTheSelection)
{
    start();
    QMenu* sizes = window()->menus()->mnuTextSize();
    QMenu* colors = window()->menus()->mnuTextColor();
    select(0, 6);
    sizes->actions()[4]->trigger();
    EXPECT_EQ(editor()->SelFontSize(), 12.0);
    ASSERT_EQ(checkedIn(sizes).size(), 1);
    EXPECT_EQ(checkedIn(sizes)[0]->text(), u"1&2"_qs);

    editor()->setSelFontSize(10.5);
    select(0, 6);
    ASSERT_EQ(checkedIn(sizes).size(), 1);
    EXPECT_EQ(checkedIn(sizes)[0]->text(), u"1&0"_qs) << "the integer part of 10.5";

    colors->actions()[12]->trigger(); // palette 11, cyan
    ASSERT_EQ(checkedIn(colors).size(), 1);
    EXPECT_EQ(checkedIn(colors)[0], colors->actions()[12]);
    select(7, 6);
    colors->actions()[0]->trigger(); // automatic: the window-text colour, never checked
    EXPECT_EQ(editor()->SelColor(), 0x80000008u);
    EXPECT_TRUE(checkedIn(colors).isEmpty());
    select(0, 13);
    EXPECT_EQ(editor()->SelColor(), std::nullopt);
    EXPECT_TRUE(checkedIn(colors).isEmpty()) << "two colours, no mark";
    EXPECT_TRUE(checkedIn(sizes).isEmpty()) << "two sizes, no mark";
}

TEST_F(Formatting, CancelledDialogsChangeNothingAndTheFontDialogSetsAllAsOneEdit)
{
    start();
    select(0, 6);
    const QString before = editor()->TextRTF();
    QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
    ctrl(Qt::Key_D);
    QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
    item("mnuTextColorOther")->trigger();
    EXPECT_EQ(editor()->TextRTF(), before);

    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<QFontDialog*>(QApplication::activeModalWidget());
        ASSERT_TRUE(dialog);
        QFont font = dialog->currentFont();
        font.setStrikeOut(true);
        font.setUnderline(true);
        font.setPointSize(40);
        dialog->setCurrentFont(font);
        dialog->accept();
    });
    item("mnuTextFont")->trigger();
    EXPECT_EQ(editor()->SelStrikeThru(), true);
    EXPECT_EQ(editor()->SelUnderline(), true);
    EXPECT_EQ(editor()->SelFontSize(), 15.0) << "kept within the menus' sizes";
    ctrl(Qt::Key_Z);
    EXPECT_EQ(editor()->TextRTF(), before) << "one undo takes the whole font back";

    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<QColorDialog*>(QApplication::activeModalWidget());
        ASSERT_TRUE(dialog);
        dialog->setCurrentColor(QColor(0x12, 0x34, 0x56));
        dialog->accept();
    });
    item("mnuTextColorOther")->trigger();
    EXPECT_EQ(editor()->SelColor(), 0x563412u);
}

TEST_F(Formatting, StylesComeFromTheirFileApplyAsOneEditAndGoBackAtShutdown)
{
    start();
    Style heading;
    heading.setName(u"Заголовок"_qs);
    StyleFont font;
    font.bold = true;
    font.size = 14;
    heading.setFont(font);
    heading.setColor(0x0000FF);
    app->AppStyles().Add(heading);
    app->RebuildTabs();
    select(0, 6);
    const QString before = editor()->TextRTF();
    app->book().markSaved();
    ctrl(Qt::Key_2);
    EXPECT_EQ(editor()->TextRTF(), before) << "no second style";
    EXPECT_FALSE(app->book().isChanged());
    ctrl(Qt::Key_1);
    EXPECT_EQ(editor()->SelBold(), true);
    EXPECT_EQ(editor()->SelFontSize(), 14.0);
    EXPECT_EQ(editor()->SelColor(), 0x0000FFu);
    EXPECT_TRUE(app->book().isChanged());
    ctrl(Qt::Key_Z);
    EXPECT_EQ(editor()->TextRTF(), before) << "one undo takes the whole style back";

    ASSERT_TRUE(window()->close());
    app.reset();
    app = f.makeApp();
    ASSERT_TRUE(app->StartUp());
    ASSERT_EQ(app->AppStyles().Count(), 1);
    EXPECT_EQ(app->AppStyles().Item(1)->Font(), font);
}
