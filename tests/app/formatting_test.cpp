// The formatting dialogs and styles driven through the notebook window; the
// keys and the menus' marks are in tests/data/app/formatting.cases.

#include "app_fixture.h"
#include "ui/page_fonts.h"

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
};

} // namespace

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

// Tahoma has no italic face and its bold face is not loaded, so the dialog
// shows such text as regular: OK with nothing changed keeps every attribute.
TEST_F(Formatting, TheFontDialogWithNothingChangedKeepsTheText)
{
    for (int mask = 0; mask < 16; ++mask) {
        select(0, 6);
        editor()->setSelBold(mask & 1);
        editor()->setSelItalic(mask & 2);
        editor()->setSelUnderline(mask & 4);
        editor()->setSelStrikeThru(mask & 8);
        const QString before = editor()->textRTF();
        withItem("mnuTextFont", [](QDialog* dialog) { dialog->accept(); });
        EXPECT_EQ(editor()->textRTF(), before) << mask;
    }
    EXPECT_EQ(editor()->selFontName(), PageFonts::defaultFamily());
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
    EXPECT_EQ(app->appStyles().item(1)->font(), font);
}
