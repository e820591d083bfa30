// The find window over the real notebook: one window that keeps its state,
// searching the pages and the open page as the user left it.

#include "app_fixture.h"

namespace {

class FindInBook : public WindowTest
{
protected:
    void SetUp() override
    {
        std::vector<PageRecord> pages = DataFile::defaultPages();
        pages[1].Text = u"Семён Петров\t222-33-44"_qs;
        pages[5].Text = u"{\\rtf1\\ansi\\ansicpg1251 {\\b СЕМЁН} Ильич\\par}"_qs;
        pages.push_back({u"Работа"_qs, u"семёновы"_qs, 0});
        writeAll(f.dataFile(), DataFile::serialize(pages));
        start(1);
    }
    QWidget* find() const { return window()->findChild<QWidget*>(QStringLiteral("frmFind")); }
    // Opens the window and asks for `sample` on all pages.
    void look(const QString& sample)
    {
        key(Qt::Key_F, Qt::ControlModifier);
        ASSERT_TRUE(find() && find()->isVisible());
        find()->findChild<QLineEdit*>("txtWhat")->setText(sample);
        tick("chkAllPages");
    }
    void tick(const char* box) const { find()->findChild<QCheckBox*>(box)->click(); }
    // Finds the next match: "page what is selected".
    QString next() const
    {
        clickChild(find(), "cmdFind");
        return fields(book().RecentPage,
                      editor()->text().mid(editor()->selStart(), editor()->selLength()));
    }
};

} // namespace

// What "ё as е" and "numbers written any way" match is TextFinder's, and that
// they reach every page SearchWalk's; here they start off.
TEST_F(FindInBook, OneWindowWalksThePagesIgnoringCaseAndKeepsItsState)
{
    look(u"семён"_qs);
    for (const char* box : {"chkYo", "chkDigits"})
        EXPECT_FALSE(find()->findChild<QCheckBox*>(box)->isChecked()) << box;
    QWidget* first = find();
    EXPECT_EQ(next(), u"2 Семён"_qs);
    EXPECT_EQ(next(), u"6 СЕМЁН"_qs) << "formatting and case do not matter";
    item("mnuMainFind")->trigger();
    EXPECT_EQ(find(), first) << "brought forward, not made anew";
    EXPECT_TRUE(find()->findChild<QCheckBox*>("chkAllPages")->isChecked());
    EXPECT_EQ(next(), u"15 семён"_qs) << "the search went on where it was";
    // The open page as typed, not as stored.
    type(u"ещё один СЕМЁН"_qs);
    EXPECT_EQ(next(), u"15 СЕМЁН"_qs);
}

// The end of the walk is FindDialogTest.EnterWalksOnFromTheLastPageAndReportsCompletion.
TEST_F(FindInBook, AChangedPageListStartsTheSearchAfresh)
{
    open(15);
    look(u"семён"_qs);
    EXPECT_EQ(next(), u"15 семён"_qs);
    f.messages.queueAnswer(true);
    item("mnuMainDelete")->trigger();
    ASSERT_EQ(book().pageCount(), 14);
    open(1);
    EXPECT_EQ(next(), u"2 Семён"_qs);
    EXPECT_EQ(next(), u"6 СЕМЁН"_qs);
    EXPECT_EQ(next(), u"1 "_qs) << "page 15 is gone: back on the start page";
}
