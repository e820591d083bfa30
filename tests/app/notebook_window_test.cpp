// The notebook window driven the way a person drives it: popups, the marker,
// the splitter, the tabs' texts and the colours; clicks on tabs, typing and the
// timer are in tests/data/app/notebook_window.cases.

#include "app_fixture.h"
#include "core/code_page.h"
#include "richtext/win_color.h"

using NotebookWindow = WindowTest;

// A right click on a tab opens its page first; with no tip showing the status
// bar's popup offers only hiding the bar. File dialogs start in the book's
// folder; a double click under the tabs is on the background, like the rest of it.
TEST_F(NotebookWindow, PopupsAndDialogsOpenWhereTheyBelong)
{
    start(1);
    const QStringList tab = popupItems([&] { clickTab(4, Qt::RightButton); });
    EXPECT_TRUE(book().recentPage() == 4 && tab.value(0) == "mnuMain" &&
                tab.contains("mnuMainSave"))
        << tab.join(' ');
    const QStringList text = popupItems(
        [&] { QTest::mouseClick(editor()->viewport(), Qt::RightButton, {}, QPoint(30, 30)); });
    EXPECT_EQ(
        fields(text.value(0), item("mnuTextUndo")->isEnabled(), item("mnuTextCopy")->isEnabled()),
        "mnuText false false");
    EXPECT_EQ(popupItems([&] {
                  QTest::mouseClick(window()->findChild<QWidget*>("lblIns"), Qt::RightButton);
              }),
              (QStringList{"mnuStatus", "mnuStatusHideBar"}));
    QStringList opened;
    for (const char* command : {"mnuMainImport", "mnuMainImportContacts"}) {
        withModal([&] { item(command)->trigger(); },
                  [&](QDialog* dialog) {
                      opened << static_cast<QFileDialog*>(dialog)->directory().absolutePath();
                  });
    }
    const QPoint below = tabs()->tabRect(14).bottomLeft() + tabs()->pos() + QPoint(10, 30);
    withModal([&] { QTest::mouseDClick(window()->windowHandle(), Qt::LeftButton, {}, below); },
              [&](QDialog* dialog) { opened << dialog->objectName(); });
    const QString folder = QDir(f.dataFolder).absolutePath();
    EXPECT_EQ(opened, (QStringList{folder, folder, "frmOptions"}));
}

// Colour and size items keep their own captions whatever their name is given.
// Which key opens which page is PageKeys' (tests/rules); here the window obeys
// it by the physical key, and an Alt key that opens nothing types nothing.
TEST_F(NotebookWindow, ALanguageFileGivesCaptionsColoursAndTheLetterKeys)
{
    writeAll(f.dir.filePath("language.ini"),
             "[Velkaro]\r\nShortcuts=70,188:68,85\r\n[frmMain]\r\nmnuTextColorS=Same\r\n"
             "mnuTextSizes=Same\r\nmnuTextUndo=Undo\r\n[Colors]\r\n3=Cyan\r\n");
    start(5);
    const auto captions = [this](const char* name) {
        QStringList out;
        for (QAction* action : window()->findChildren<QAction*>(name))
            out << action->text();
        return out;
    };
    const QStringList colors = captions("mnuTextColorS");
    ASSERT_EQ(colors.size(), 17);
    EXPECT_EQ(QStringList({colors[1], colors[4], captions("mnuTextSizes").value(2),
                           item("mnuTextUndo")->text()}),
              QStringList({u"&Черный"_qs, "Cyan", "1&0", "Undo"}));
    const QString before = editor()->text();
    QList<int> opened;
    for (int k :
         {Qt::Key_F, Qt::Key_D, Qt::Key_L, Qt::Key_1, Qt::Key_Down, Qt::Key_Up, Qt::Key_F}) {
        key(k, Qt::AltModifier);
        opened << book().recentPage();
    }
    press(editor(), 0x0412, Qt::AltModifier, 40, u"в"_qs); // Russian "в" on the D key
    press(editor(), Qt::Key_Q, Qt::AltModifier, 24, u"q"_qs);
    press(editor(), Qt::Key_1, Qt::AltModifier, 10, u"1"_qs);
    opened << book().recentPage();
    EXPECT_EQ(opened, (QList<int>{1, 2, 2, 2, 3, 2, 1, 2}));
    EXPECT_TRUE(editor()->text() == before && !book().isChanged());
}

// The marker is grabbed a little either side of its line. The page record
// has the new stops at once; a page command's rebuild keeps the marker. The
// splitter's edge follows the pointer: 30 pixels are 450 twips.
TEST_F(NotebookWindow, TheMarkerMovesTheSecondTabStopAndADragFromTheSplitterOpensNoPage)
{
    start(1);
    auto* marker = window()->findChild<QWidget*>("picTabStop");
    ASSERT_TRUE(marker->isVisible());
    const QPoint line = marker->geometry().center();
    for (int x = line.x() - 2; x <= line.x() + 2; ++x)
        EXPECT_EQ(window()->childAt(x, line.y()), marker) << "grabbed at " << x - line.x();
    const int before = editor()->selTabs(1);
    QTest::mousePress(marker, Qt::LeftButton, {}, QPoint(0, 5));
    QMouseEvent move(QEvent::MouseMove, QPointF(0, 0), marker->mapToGlobal(QPointF(60, 5)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(marker, &move);
    QTest::mouseRelease(marker, Qt::LeftButton, {}, QPoint(0, 5));
    const int after = editor()->selTabs(1);
    EXPECT_GT(after, before);
    EXPECT_EQ(after, static_cast<int>(window()->tabStopTwips()) - 75);
    EXPECT_TRUE(page(1).text.text().contains(u"\\tx"_qs + QString::number(after)));
    EXPECT_EQ(state(), "1 1 1 0");
    const double dragged = window()->tabStopTwips();
    app->rebuildTabs();
    EXPECT_EQ(window()->tabStopTwips(), dragged);
    const QRect tab5 = tabs()->tabRect(5).translated(tabs()->pos());
    for (int x = tab5.left() - 2; x < tab5.left() + 4; ++x) {
        const QWidget* under = window()->childAt(x, tab5.center().y());
        ASSERT_NE(under, nullptr);
        EXPECT_EQ(under->cursor().shape(), Qt::SplitHCursor) << x - tab5.left();
    }
    const double width = window()->buttonWidthTwips();
    const QPoint grab(tab5.left() + 3, tab5.center().y());
    QTest::mousePress(window()->windowHandle(), Qt::LeftButton, {}, grab);
    QTest::mouseMove(window()->windowHandle(), grab - QPoint(30, 0));
    QTest::mouseRelease(window()->windowHandle(), Qt::LeftButton, {}, grab - QPoint(30, 0));
    EXPECT_EQ(book().recentPage(), 1);
    EXPECT_EQ(window()->buttonWidthTwips(), width + 30 * 15);
}

// Nothing stored: centred, the page 60 average characters wide at the
// least and every tab in view.
TEST_F(NotebookWindow, AFirstStartOpensCentredWithRoomForThePageAndEveryTab)
{
    app = f.started();
    window()->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window()));
    const QPoint offCentre =
        window()->frameGeometry().center() - window()->screen()->availableGeometry().center();
    // Twips round to whole pixels on the way.
    EXPECT_LE(std::max(std::abs(offCentre.x()), std::abs(offCentre.y())), 4)
        << offCentre.x() << " " << offCentre.y();
    EXPECT_GE(editor()->viewport()->width(), 60 * editor()->fontMetrics().averageCharWidth());
    for (int k = 1; k <= tabs()->pageCount(); ++k)
        EXPECT_TRUE(tabs()->rect().contains(tabs()->tabRect(k))) << k;
}

TEST_F(NotebookWindow, TheTipAtTheFirstRunSizeEndsInAMarkAndShowsWholeAsItsTooltip)
{
    const QString tip = u"Alt и первая буква пары открывают страницу с этой парой букв: Alt+Д "
                        "открывает страницу ДЕ, Alt+Ю страницу ЮЯ."_qs;
    writeAll(f.dir.filePath("velkar.tip"), CodePage::encodeLossy(tip + "\r\n"));
    f.write(u"Общие"_qs, "TipsDuration", "10");
    app = f.started();
    window()->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window()));
    const auto* label = window()->findChild<QLabel*>("lblTip");
    EXPECT_TRUE(label->text().endsWith(u'…')) << label->text();
    EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->contentsRect().width());
    EXPECT_EQ(label->toolTip(), tip);
}

// Narrow tabs show what fits and the whole title as their tooltip, and
// screen readers hear what the controls and each tab are.
TEST_F(NotebookWindow, TabsShowWhatFitsAndTellTheWholeTitle)
{
    const QString title = u"Родственники и друзья"_qs;
    writeBook({{title, QString(), PageRecord::AddressPage}});
    f.write(u"Общие"_qs, "ButtonWidth", "300");
    start();
    for (const int current : {1, 14, 15}) {
        clickTab(current);
        for (int k = 1; k <= 14; ++k)
            ASSERT_EQ(tabs()->shownTitle(k), tabs()->titleOf(k)) << current << " " << k;
    }
    // A cut title says so at every width.
    for (float width = 300; width < 1500; width += 100) {
        app->options().buttonWidth = width;
        app->rebuildTabs();
        const QString cut = tabs()->shownTitle(15);
        EXPECT_TRUE(cut.endsWith(u'…') && title.startsWith(cut.chopped(1))) << width << cut;
    }
    const QPoint inTab = tabs()->tabRect(15).center();
    QHelpEvent help(QEvent::ToolTip, inTab, tabs()->mapToGlobal(inTab));
    QApplication::sendEvent(tabs(), &help);
    EXPECT_EQ(QToolTip::text(), title);
    for (const char* name : {"picTabs", "rtfPage", "picStatus"}) {
        const auto* face =
            QAccessible::queryAccessibleInterface(window()->findChild<QWidget*>(name));
        EXPECT_FALSE(face->text(QAccessible::Name).isEmpty() ||
                     face->text(QAccessible::Description).isEmpty())
            << name;
    }
    clickTab(3);
    QAccessibleInterface* column = QAccessible::queryAccessibleInterface(tabs());
    EXPECT_EQ(column->role(), QAccessible::PageTabList);
    QStringList heard;
    QStringList expected;
    for (int i = 0; i < std::max(column->childCount(), 15); ++i) {
        QAccessibleInterface* tab = column->child(i);
        if (tab)
            heard << fields(tab->text(QAccessible::Name), tab->text(QAccessible::Description),
                            bool(tab->state().selected), column->indexOfChild(tab));
        expected << fields(tabs()->titleOf(i + 1), u"Страница %1 из 15"_qs.arg(i + 1), i == 2, i);
    }
    EXPECT_EQ(heard, expected);
    const QPoint tab5 = tabs()->mapToGlobal(tabs()->tabRect(5).center());
    EXPECT_EQ(column->childAt(tab5.x(), tab5.y()), column->child(4));
}

// The strongest contrast between the widget's background (its bottom-right
// pixel, where no text reaches) and any pixel of its text.
static double textContrast(QWidget* widget)
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

TEST_F(NotebookWindow, OnADarkDesktopAutomaticTextReadsOnEveryPageColourAndIsStoredAsItWas)
{
    const QPalette light = QApplication::palette();
    QApplication::setPalette(QPalette(QColor(0x353535), QColor(0x353535))); // light text on black

    writeBook({}, u"ЖЖЖЖ ШШШШ"_qs);
    start();
    editor()->setCursorWidth(0); // the caret is no text
    const QString stored = page(1).text;
    MainWindow::Display display;
    for (const quint32 pageColor : {WinColor::window, 0xC0FFFFu, 0xFFFFFFu, 0x400000u}) {
        display.pageColor = pageColor;
        window()->rebuildTabs(book(), display);
        EXPECT_GE(textContrast(editor()->viewport()), 4.5) << std::hex << pageColor;
    }
    EXPECT_GE(WinColor::contrast(tabs()->hoverTextColor(), tabs()->palette().color(QPalette::Button)),
              4.5)
        << "a hovered tab's title";
    QApplication::setPalette(light);
    EXPECT_FALSE(book().isChanged());
    EXPECT_EQ(page(1).text, stored);
}
