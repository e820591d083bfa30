// The notebook window driven the way a person drives it: clicks on tabs,
// keys in the editor, popups answered from a queued callback.

#include "app_fixture.h"
#include "core/code_page.h"
#include "mainwindow/main_menus.h"
#include "richtext/win_color.h"
#include "rules/window_ticks.h"
#include "test_files.h"
#include "ui/status_bar.h"
#include "ui/tab_column.h"
#include "window_driver.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <QToolTip>
#include <QWindow>
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

TEST_F(NotebookWindow, FileDialogsStartInTheBooksFolder)
{
    start();
    for (const char* command : {"mnuMainImport", "mnuMainImportContacts"}) {
        QString folder;
        QTimer::singleShot(0, [&folder] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            folder = dialog->directory().absolutePath();
            dialog->reject();
        });
        window()->menus()->item(command)->trigger();
        EXPECT_EQ(folder, QDir(f.dataFolder).absolutePath()) << command;
    }
}

TEST_F(NotebookWindow, ADoubleClickUnderTheTabsOpensTheOptionsLikeTheRestOfTheBackground)
{
    start();
    QString opened;
    QTimer::singleShot(0, [&opened] {
        opened = QApplication::activeModalWidget()->objectName();
        QApplication::activeModalWidget()->close();
    });
    const QPoint below = tabs()->tabRect(14).bottomLeft() + tabs()->pos() + QPoint(10, 30);
    QTest::mouseDClick(window()->windowHandle(), Qt::LeftButton, {}, below);
    EXPECT_EQ(opened, "frmOptions");
}

TEST_F(NotebookWindow, TheSplitterIsEasyToHitAndADragFromItOpensNoPage)
{
    start();
    const QRect tab5 = tabs()->tabRect(5).translated(tabs()->pos());
    for (int x = tab5.left() - 2; x < tab5.left() + 4; ++x) {
        const QWidget* under = window()->childAt(x, tab5.center().y());
        ASSERT_NE(under, nullptr);
        EXPECT_EQ(under->cursor().shape(), Qt::SplitHCursor) << x - tab5.left();
    }
    const double before = window()->buttonWidthTwips();
    const QPoint grab(tab5.left() + 3, tab5.center().y());
    QTest::mousePress(window()->windowHandle(), Qt::LeftButton, {}, grab);
    QTest::mouseMove(window()->windowHandle(), grab - QPoint(30, 0));
    QTest::mouseRelease(window()->windowHandle(), Qt::LeftButton, {}, grab - QPoint(30, 0));
    EXPECT_EQ(app->book().RecentPage, 1);
    EXPECT_EQ(window()->buttonWidthTwips(), before + 30 * 15) << "the edge follows the pointer";
}

TEST_F(NotebookWindow, NarrowTabsShowWhatFitsAndTheWholeTitleAsTheirTooltip)
{
    const QString title = u"Родственники и друзья"_qs;
    std::vector<PageRecord> pages = DataFile::defaultPages();
    pages.push_back({title, QString(), PageRecord::AddressPage});
    writeAll(f.dataFile(), DataFile::serialize(pages));
    f.write(u"Общие"_qs, "ButtonWidth", "300");
    start();
    for (const int current : {1, 14, 15}) {
        clickTab(current);
        for (int k = 1; k <= 14; ++k)
            ASSERT_EQ(tabs()->shownTitle(k), tabs()->titleOf(k)) << current << " " << k;
        const QString cut = tabs()->shownTitle(15);
        EXPECT_TRUE(cut.size() >= 2 && title.startsWith(cut.chopped(cut.endsWith(u'…') ? 1 : 0)))
            << cut.toStdString();
    }
    const QPoint inTab = tabs()->tabRect(15).center();
    QHelpEvent help(QEvent::ToolTip, inTab, tabs()->mapToGlobal(inTab));
    QApplication::sendEvent(tabs(), &help);
    EXPECT_EQ(QToolTip::text(), title);
}

TEST_F(NotebookWindow, TheTipAtTheFirstRunSizeEndsInAMarkAndShowsWholeAsItsTooltip)
{
    const QString tip = u"Alt и первая буква пары открывают страницу с этой парой букв: Alt+Д "
                        "открывает страницу ДЕ, Alt+Ю страницу ЮЯ."_qs;
    writeAll(f.dir.filePath("velkar.tip"), CodePage::encodeLossy(tip + "\r\n"));
    f.write(u"Общие"_qs, "TipsDuration", "10");
    app = f.makeApp();
    ASSERT_TRUE(app->StartUp());
    window()->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window()));
    const auto* label = window()->findChild<QLabel*>("lblTip");
    EXPECT_TRUE(label->text().endsWith(u'…')) << label->text().toStdString();
    EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->contentsRect().width());
    EXPECT_EQ(label->toolTip(), tip);
}

TEST_F(NotebookWindow, ScreenReadersHearWhatTheControlsAndEachTabAre)
{
    start();
    for (const char* name : {"picTabs", "rtfPage", "picStatus"}) {
        const auto* face =
            QAccessible::queryAccessibleInterface(window()->findChild<QWidget*>(name));
        EXPECT_FALSE(face->text(QAccessible::Name).isEmpty()) << name;
        EXPECT_FALSE(face->text(QAccessible::Description).isEmpty()) << name;
    }
    clickTab(3);
    QAccessibleInterface* column = QAccessible::queryAccessibleInterface(tabs());
    EXPECT_EQ(column->role(), QAccessible::PageTabList);
    ASSERT_EQ(column->childCount(), 14);
    for (int i = 0; i < 14; ++i) {
        QAccessibleInterface* tab = column->child(i);
        EXPECT_EQ(tab->text(QAccessible::Name), tabs()->titleOf(i + 1));
        EXPECT_EQ(tab->text(QAccessible::Description), u"Страница %1 из 14"_qs.arg(i + 1));
        EXPECT_EQ(tab->state().selected, i == 2);
        EXPECT_EQ(column->indexOfChild(tab), i);
    }
    const QPoint tab5 = tabs()->mapToGlobal(tabs()->tabRect(5).center());
    EXPECT_EQ(column->childAt(tab5.x(), tab5.y()), column->child(4));
}

namespace {

// The strongest contrast between the widget's background (its bottom-right
// pixel, where no text reaches) and any pixel of its text.
double textContrast(QWidget* widget)
{
    const QImage image = widget->grab().toImage();
    const QColor background = image.pixelColor(image.width() - 1, image.height() - 1);
    double best = 1;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            best = std::max(best, WinColor::contrast(image.pixelColor(x, y), background));
    }
    return best;
}

} // namespace

TEST_F(NotebookWindow, OnADarkDesktopAutomaticTextReadsOnEveryPageColourAndIsStoredAsItWas)
{
    const QPalette light = QApplication::palette();
    QPalette dark = light;
    const std::pair<QPalette::ColorRole, QRgb> darkColors[] = {
        {QPalette::Window, 0x353535},     {QPalette::Base, 0x2b2b2b},
        {QPalette::Button, 0x353535},     {QPalette::Text, 0xeeeeee},
        {QPalette::WindowText, 0xeeeeee}, {QPalette::ButtonText, 0xeeeeee}};
    for (const auto& [role, rgb] : darkColors)
        dark.setColor(role, QColor(QRgb(rgb)));
    QApplication::setPalette(dark);
    std::vector<PageRecord> pages = DataFile::defaultPages();
    pages[0].Text = u"ЖЖЖЖ ШШШШ"_qs;
    writeAll(f.dataFile(), DataFile::serialize(pages));
    start();
    editor()->setCursorWidth(0); // the caret is no text
    const QString stored = app->book().Pages[1].Text;
    MainWindow::Display display;
    for (const quint32 pageColor : {WinColor::window, 0xC0FFFFu, 0xFFFFFFu, 0x400000u}) {
        display.PageColor = pageColor;
        window()->RebuildTabs(app->book(), display);
        EXPECT_GE(textContrast(editor()->viewport()), 4.5) << std::hex << pageColor;
    }
    QApplication::setPalette(light);
    EXPECT_FALSE(app->book().isChanged());
    EXPECT_EQ(app->book().Pages[1].Text, stored);
}
