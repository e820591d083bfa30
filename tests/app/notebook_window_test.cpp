// The notebook window driven the way a person drives it: clicks on tabs,
// keys in the editor, popups answered from a queued callback.

#include "app_fixture.h"
#include "core/window_ticks.h"
#include "mainwindow/main_menus.h"
#include "test_files.h"
#include "ui/status_bar.h"
#include "ui/tab_column.h"
#include "window_driver.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

class NotebookWindow : public ::testing::Test
{
protected:
    void start()
    {
        app = f.makeApp();
        ASSERT_TRUE(startAndShow(*app));
    }
    MainWindow* window() const { return app->mainWindow(); }
    TabColumn* tabs() const { return window()->tabColumn(); }
    RichTextEdit* editor() const { return window()->editor(); }
    void clickTab(int page, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseClick(tabs(), button, {}, tabs()->tabRect(page).center());
    }

    AppFixture f;
    std::unique_ptr<Application> app;
};

} // namespace

TEST_F(NotebookWindow, ClickingATabOpensItsPageAndRemembersThePreviousOne)
{
    start();
    EXPECT_EQ(app->book().RecentPage, 1);
    clickTab(3);
    EXPECT_EQ(app->book().RecentPage, 3);
    EXPECT_EQ(app->book().PrevPage, 1);
    EXPECT_EQ(window()->windowTitle(), u"Velkaro Pro - ДЕ"_qs);
    EXPECT_EQ(f.read("frmMain", "Caption"), u"Velkaro Pro - ДЕ"_qs);
    clickTab(3);
    EXPECT_EQ(app->book().PrevPage, 1) << "the current tab again changes nothing";
    EXPECT_FALSE(app->book().isChanged()) << "opening pages is no edit";
}

TEST_F(NotebookWindow, TypingMarksTheBookUndoTakesBackOneKeystrokeAndSaveKeepsIt)
{
    start();
    clickTab(2);
    editor()->setFocus();
    QTest::keyClicks(editor(), u"abc"_qs);
    EXPECT_TRUE(app->book().isChanged());
    EXPECT_FALSE(window()->statusBar()->isSaved());
    QTest::keyClick(editor(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(editor()->Text(), u"ab"_qs);
    QTest::keyClick(editor(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_FALSE(app->book().isChanged());
    EXPECT_TRUE(window()->statusBar()->isSaved());
    EXPECT_EQ(pageText(readAll(f.dataFile()), 2), u"ab"_qs);
}

TEST_F(NotebookWindow, PageKeysWrapFollowPhysicalKeysAndIgnorePagesOutsideTheBook)
{
    start();
    press(editor(), Qt::Key_Up, Qt::AltModifier);
    EXPECT_EQ(app->book().RecentPage, 14);
    press(editor(), Qt::Key_Down, Qt::AltModifier);
    EXPECT_EQ(app->book().RecentPage, 1);
    // Alt with the key that carries "В" opens "ВГ", whichever layout is active.
    press(editor(), 0x0412, Qt::AltModifier, 40, u"в"_qs); // X11 key code of D, Russian "в"
    EXPECT_EQ(app->book().RecentPage, 2);
    press(editor(), 0x0414, Qt::AltModifier); // "Д" with no scan code: the L key
    EXPECT_EQ(app->book().RecentPage, 3);
    // Alt keys that open no page are command keys all the same: they type nothing.
    const QString before = editor()->Text();
    press(editor(), Qt::Key_1, Qt::AltModifier, 10, u"1"_qs);
    EXPECT_EQ(app->book().RecentPage, 3) << "no user page yet";
    press(editor(), Qt::Key_Q, Qt::AltModifier, 24, u"q"_qs);
    press(editor(), Qt::Key_S, Qt::AltModifier | Qt::ShiftModifier, 39, u"S"_qs);
    EXPECT_EQ(editor()->Text(), before);
    EXPECT_FALSE(app->book().isChanged());
}

TEST_F(NotebookWindow, TheShortcutsEntryReplacesTheLetterKeys)
{
    writeAll(f.dir.filePath("language.ini"), "[Velkaro]\r\nShortcuts=70,188:68,85\r\n");
    start();
    clickTab(5);
    press(editor(), Qt::Key_F, Qt::AltModifier);
    EXPECT_EQ(app->book().RecentPage, 1);
    press(editor(), Qt::Key_D, Qt::AltModifier);
    EXPECT_EQ(app->book().RecentPage, 2);
    press(editor(), Qt::Key_L, Qt::AltModifier);
    press(editor(), Qt::Key_1, Qt::AltModifier);
    EXPECT_EQ(app->book().RecentPage, 2);
}

TEST_F(NotebookWindow, ARecentPageBeyondTheBookOpensTheLastPage)
{
    f.write("Options", "RecentPage", "99");
    start();
    EXPECT_EQ(app->book().RecentPage, 14);
    EXPECT_EQ(tabs()->currentPage(), 14);
}

TEST_F(NotebookWindow, PopupsOpenWhereTheyBelong)
{
    start();
    const QStringList tab = popupItems([&] { clickTab(4, Qt::RightButton); });
    EXPECT_EQ(app->book().RecentPage, 4) << "a right click opens the page first";
    EXPECT_EQ(tab.value(0), "mnuMain");
    EXPECT_TRUE(tab.contains("mnuMainSave"));
    const QStringList text = popupItems(
        [&] { QTest::mouseClick(editor()->viewport(), Qt::RightButton, {}, QPoint(30, 30)); });
    EXPECT_EQ(text.value(0), "mnuText");
    EXPECT_FALSE(window()->menus()->item("mnuTextUndo")->isEnabled());
    EXPECT_FALSE(window()->menus()->item("mnuTextCopy")->isEnabled());
    const QStringList status = popupItems(
        [&] { QTest::mouseClick(window()->findChild<QWidget*>("lblIns"), Qt::RightButton); });
    EXPECT_EQ(status, (QStringList{"mnuStatus", "mnuStatusHideBar"}))
        << "with no tip showing only the bar can be hidden";
}

TEST_F(NotebookWindow, TheTipEndsAtItsTickAndAutosaveKeepsItsMinutes)
{
    f.write(u"Общие"_qs, "TipsDuration", "10");
    start();
    EXPECT_TRUE(window()->isTipShowing());
    for (int tick = 1; tick < 10; ++tick)
        app->ticks().tick();
    EXPECT_TRUE(window()->isTipShowing());
    app->ticks().tick();
    EXPECT_FALSE(window()->isTipShowing());

    typeOver(*app, u"autosaved"_qs);
    while (app->ticks().TickCount() < 299)
        app->ticks().tick();
    EXPECT_TRUE(app->book().isChanged());
    app->ticks().tick();
    EXPECT_FALSE(app->book().isChanged()) << "saved at 300 s with 5 minutes";
    EXPECT_EQ(pageText(readAll(f.dataFile()), 1), u"autosaved"_qs);
}

TEST_F(NotebookWindow, NoAutosaveWithZeroMinutes)
{
    f.write(u"Адресная книга"_qs, "AutosaveDuration", "0");
    start();
    typeOver(*app, u"kept in memory"_qs);
    for (int tick = 0; tick < 1200; ++tick)
        app->ticks().tick();
    EXPECT_TRUE(app->book().isChanged());
}

TEST_F(NotebookWindow, ABookLookedThroughAndClosedKeepsItsBytes)
{
    const QByteArray stored = readAll(QStringLiteral(VELKARO_TEST_DATA "/books/rich_edit_nul.dat"));
    writeAll(f.dataFile(), stored);
    start();
    for (int page = 1; page <= 3; ++page)
        clickTab(page);
    ASSERT_TRUE(window()->close());
    EXPECT_EQ(readAll(f.dataFile()), stored);
}

TEST_F(NotebookWindow, ColourAndSizeItemsKeepTheirOwnCaptionsWhateverTheirNameIsGiven)
{
    writeAll(f.dir.filePath("language.ini"),
             "[frmMain]\r\nmnuTextColorS=Same\r\nmnuTextSizes=Same\r\n"
             "mnuTextUndo=Undo\r\n[Colors]\r\n3=Cyan\r\n");
    start();
    QStringList colors;
    QStringList sizes;
    for (QAction* action : window()->findChildren<QAction*>()) {
        if (action->objectName() == "mnuTextColorS")
            colors << action->text();
        if (action->objectName() == "mnuTextSizes")
            sizes << action->text();
    }
    ASSERT_EQ(colors.size(), 17);
    EXPECT_EQ(colors[1], u"&Черный"_qs);
    EXPECT_EQ(colors[4], u"Cyan"_qs);
    EXPECT_EQ(sizes.value(2), "1&0");
    EXPECT_EQ(window()->menus()->item("mnuTextUndo")->text(), "Undo");
}

TEST_F(NotebookWindow, DraggingTheMarkerMovesTheSecondTabStopWithinTheFrame)
{
    start();
    auto* marker = window()->findChild<QWidget*>("picTabStop");
    ASSERT_TRUE(marker->isVisible());
    const int before = editor()->SelTabs(1);
    QTest::mousePress(marker, Qt::LeftButton, {}, QPoint(0, 5));
    QMouseEvent move(QEvent::MouseMove, QPointF(0, 0), marker->mapToGlobal(QPointF(60, 5)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(marker, &move);
    QTest::mouseRelease(marker, Qt::LeftButton, {}, QPoint(0, 5));
    EXPECT_GT(editor()->SelTabs(1), before);
    EXPECT_EQ(editor()->SelTabs(1), static_cast<int>(window()->tabStopTwips()) - 75);
    // The page record has the new stops at once, and the book is changed.
    EXPECT_TRUE(
        app->book().Pages[1].Text.contains(u"\\tx"_qs + QString::number(editor()->SelTabs(1))));
    EXPECT_TRUE(app->book().isChanged());
    EXPECT_FALSE(window()->statusBar()->isSaved());
    QMouseEvent far(QEvent::MouseMove, QPointF(0, 0), marker->mapToGlobal(QPointF(-5000, 5)),
                    Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QTest::mousePress(marker, Qt::LeftButton, {}, QPoint(0, 5));
    QApplication::sendEvent(marker, &far);
    QTest::mouseRelease(marker, Qt::LeftButton, {}, QPoint(0, 5));
    const int frameLeft = window()->findChild<QWidget*>("shpFrame")->x();
    EXPECT_GE(marker->x() - frameLeft, 300 * 96 / 1440 - 1) << "no closer than 300 twips";
    const double dragged = window()->tabStopTwips();
    app->RebuildTabs();
    EXPECT_EQ(window()->tabStopTwips(), dragged) << "a page command's rebuild keeps the marker";
}
