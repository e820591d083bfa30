// The formatting commands and styles driven through the notebook window.

#include "app_fixture.h"

namespace {

class Formatting : public WindowTest
{
protected:
    void SetUp() override
    {
        start();
        type(u"Иванов Петров"_qs);
    }
    void ctrl(int k) const { key(k, Qt::ControlModifier); }
    static QList<QAction*> checkedIn(QMenu* menu)
    {
        QList<QAction*> checked;
        for (QAction* action : menu->actions()) {
            if (action->isChecked())
                checked << action;
        }
        return checked;
    }
};

} // namespace

// That a command sets a mixed selection whole is RichTextEditTest's
// MixedAttributesReadAsNoValueAndWriteTheWholeSelection.
TEST_F(Formatting, AttributeKeysActOncePerPressAndAMixedSelectionHasNoMark)
{
    select(0, 6);
    ctrl(Qt::Key_B);
    EXPECT_TRUE(editor()->selBold() == true && item("mnuTextBold")->isChecked());
    ctrl(Qt::Key_B);
    EXPECT_EQ(editor()->selBold(), false);
    for (int k : {Qt::Key_I, Qt::Key_U, Qt::Key_T})
        ctrl(k);
    EXPECT_EQ(
        std::tuple(editor()->selItalic(), editor()->selUnderline(), editor()->selStrikeThru()),
        std::tuple(true, true, true));
    EXPECT_EQ(window()->pageText(), u"Иванов Петров"_qs) << "Ctrl+I is no tab";
    // Half bold: no check mark, and the command makes all of it bold.
    select(3, 6);
    ctrl(Qt::Key_B);
    select(0, 13);
    EXPECT_TRUE(editor()->selBold() == std::nullopt && !item("mnuTextBold")->isChecked());
}

TEST_F(Formatting, SizeAndColourCheckMarksFollowTheSelection)
{
    QMenu* sizes = window()->menus()->mnuTextSize();
    QMenu* colors = window()->menus()->mnuTextColor();
    const auto marks = [&] {
        QStringList out;
        for (const QAction* action : checkedIn(sizes) + checkedIn(colors))
            out << action->text();
        return out;
    };
    select(0, 6);
    sizes->actions()[4]->trigger();
    EXPECT_EQ(fields(editor()->selFontSize(), marks()), "12 1&2");
    editor()->setSelFontSize(10.5);
    select(0, 6);
    EXPECT_EQ(marks(), QStringList{u"1&0"_qs}) << "the integer part of 10.5";
    colors->actions()[12]->trigger(); // palette 11, cyan
    EXPECT_EQ(checkedIn(colors), QList<QAction*>{colors->actions()[12]});
    select(7, 6);
    colors->actions()[0]->trigger(); // automatic: the window-text colour, never checked
    EXPECT_TRUE(editor()->selColor() == 0x80000008u && checkedIn(colors).isEmpty());
    select(0, 13);
    EXPECT_TRUE(editor()->selColor() == std::nullopt && marks().isEmpty())
        << "two colours and two sizes, no mark";
}

TEST_F(Formatting, CancelledDialogsChangeNothingAndTheFontDialogSetsAllAsOneEdit)
{
    select(0, 6);
    const QString before = editor()->textRTF();
    EXPECT_TRUE(withModal([this] { ctrl(Qt::Key_D); }, [](QDialog* d) { d->close(); }));
    withItem("mnuTextColorOther", [](QDialog* d) { d->close(); });
    EXPECT_EQ(editor()->textRTF(), before);

    withItem("mnuTextFont", [](QDialog* dialog) {
        auto* fonts = static_cast<QFontDialog*>(dialog);
        QFont font = fonts->currentFont();
        font.setStrikeOut(true);
        font.setUnderline(true);
        font.setPointSize(40);
        fonts->setCurrentFont(font);
        fonts->accept();
    });
    EXPECT_EQ(
        std::tuple(editor()->selStrikeThru(), editor()->selUnderline(), editor()->selFontSize()),
        std::tuple(true, true, 15.0))
        << "kept within the menus' sizes";
    ctrl(Qt::Key_Z);
    EXPECT_EQ(editor()->textRTF(), before) << "one undo takes the whole font back";

    withItem("mnuTextColorOther", [](QDialog* dialog) {
        static_cast<QColorDialog*>(dialog)->setCurrentColor(QColor(0x12, 0x34, 0x56));
        dialog->accept();
    });
    EXPECT_EQ(editor()->selColor(), 0x563412u);
}

TEST_F(Formatting, StylesComeFromTheirFileApplyAsOneEditAndGoBackAtShutdown)
{
    Style heading;
    heading.setName(u"Заголовок"_qs);
    StyleFont font{.size = 14, .bold = true};
    heading.setFont(font);
    heading.setColor(0x0000FF);
    app->appStyles().add(heading);
    app->rebuildTabs();
    select(0, 6);
    const QString before = editor()->textRTF();
    book().markSaved();
    ctrl(Qt::Key_2);
    EXPECT_TRUE(editor()->textRTF() == before && !book().isChanged()) << "no second style";
    ctrl(Qt::Key_1);
    EXPECT_EQ(std::tuple(editor()->selBold(), editor()->selFontSize(), editor()->selColor()),
              std::tuple(true, 14.0, 0x0000FFu));
    EXPECT_TRUE(book().isChanged());
    ctrl(Qt::Key_Z);
    EXPECT_EQ(editor()->textRTF(), before) << "one undo takes the whole style back";

    ASSERT_TRUE(window()->close());
    app.reset();
    app = f.started();
    ASSERT_EQ(app->appStyles().count(), 1);
    EXPECT_EQ(app->appStyles().item(1)->Font(), font);
}
