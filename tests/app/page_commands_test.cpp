// The page commands driven through the real window: popups, keys, the input
// box and the questions, on books written the way the program writes them.

#include "app_fixture.h"
#include "core/code_page.h"
#include "mainwindow/main_menus.h"
#include "test_files.h"
#include "ui/tab_column.h"
#include "window_driver.h"

#include <QFileDialog>
#include <QTest>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

constexpr int kLetters = 14;

class PageCommandsTest : public ::testing::Test
{
protected:
    // The fourteen letter pages, then user pages with these titles.
    void writeBook(const QStringList& userTitles, const QString& text = {})
    {
        std::vector<PageRecord> pages = DataFile::defaultPages();
        for (const QString& title : userTitles)
            pages.push_back({title, text.isEmpty() ? title + u" text"_qs : text, 0});
        writeAll(f.dataFile(), DataFile::serialize(pages));
    }
    void start(int page = 1)
    {
        f.write("Options", "RecentPage", QString::number(page));
        app = f.makeApp();
        ASSERT_TRUE(startAndShow(*app));
    }
    MainWindow* window() const { return app->mainWindow(); }
    Book& book() const { return app->book(); }
    QAction* item(const char* name) const { return window()->menus()->item(name); }
    QStringList titles() const
    {
        QStringList out;
        for (const PageRecord& page : book().pages())
            out << page.Title;
        return out.mid(kLetters);
    }
    // What the window shows: the page current in the tabs and in the editor.
    void expectShowing(int page, const QString& title) const
    {
        EXPECT_EQ(book().RecentPage, page);
        EXPECT_EQ(window()->tabColumn()->currentPage(), page);
        EXPECT_EQ(window()->windowTitle(), u"Velkaro Pro - "_qs + title);
        EXPECT_EQ(window()->pageText(), title + u" text"_qs);
    }
    void key(int key, Qt::KeyboardModifiers modifiers = {})
    {
        press(window()->editor(), key, modifiers);
    }
    QStringList tabPopup(int page)
    {
        TabColumn* tabs = window()->tabColumn();
        return popupItems(
            [&] { QTest::mouseClick(tabs, Qt::RightButton, {}, tabs->tabRect(page).center()); });
    }

    AppFixture f;
    std::unique_ptr<Application> app;
    InputBoxAnswer box;
};

} // namespace

TEST_F(PageCommandsTest, AddRenameDeleteAndMoveLeaveTheCurrentPageWhereTheTableSays)
{
    writeBook({u"Работа"_qs, u"Дача"_qs, u"Врачи"_qs});
    start(16);

    // Add after c: c stays current, the new page comes right after it.
    answerInputBox(box, u"  Друзья  "_qs);
    item("mnuMainAdd")->trigger();
    EXPECT_EQ(box.proposed, u"Новая страница"_qs);
    EXPECT_EQ(titles(), (QStringList{u"Работа"_qs, u"Дача"_qs, u"Друзья"_qs, u"Врачи"_qs}))
        << "stored without the spaces around it";
    expectShowing(16, u"Дача"_qs);
    EXPECT_TRUE(book().isChanged());
    EXPECT_EQ(book().Pages[17], (PageRecord{u"Друзья"_qs, {}, PageRecord::AddressPage}));

    // Up and down: the moved page stays current.
    key(Qt::Key_PageUp, Qt::AltModifier);
    EXPECT_EQ(titles(), (QStringList{u"Дача"_qs, u"Работа"_qs, u"Друзья"_qs, u"Врачи"_qs}));
    expectShowing(15, u"Дача"_qs);
    item("mnuMainDown")->trigger();
    item("mnuMainDown")->trigger();
    EXPECT_EQ(titles(), (QStringList{u"Работа"_qs, u"Друзья"_qs, u"Дача"_qs, u"Врачи"_qs}));
    expectShowing(17, u"Дача"_qs);

    // Rename: spaces only keep the old title; a name is stored trimmed.
    answerInputBox(box, u"   "_qs);
    key(Qt::Key_F2);
    EXPECT_EQ(box.proposed, u"Дача"_qs);
    EXPECT_EQ(book().Pages[17].Title, u"Дача"_qs);
    answerInputBox(box, u" Дача у реки "_qs);
    item("mnuMainRename")->trigger();
    EXPECT_EQ(book().Pages[17].Title, u"Дача у реки"_qs);
    EXPECT_EQ(window()->windowTitle(), u"Velkaro Pro - Дача у реки"_qs);

    // Delete in the middle: the same number, now the next page.
    f.messages.queueAnswer(false);
    key(Qt::Key_F8);
    EXPECT_EQ(titles().size(), 4) << "No keeps the page";
    EXPECT_EQ(f.messages.texts().value(0), u"Вы действительно хотите удалить эту страницу?"_qs);
    f.messages.queueAnswer(true);
    item("mnuMainDelete")->trigger();
    EXPECT_EQ(titles(), (QStringList{u"Работа"_qs, u"Друзья"_qs, u"Врачи"_qs}));
    expectShowing(17, u"Врачи"_qs);
    // The last page: the one before it.
    f.messages.queueAnswer(true);
    item("mnuMainDelete")->trigger();
    EXPECT_EQ(book().RecentPage, 16);
    EXPECT_EQ(window()->windowTitle(), u"Velkaro Pro - Друзья"_qs);
}

TEST_F(PageCommandsTest, DeletingTheOnlyUserPageOpensTheLastLetterPageAndAddWorksThere)
{
    writeBook({u"Работа"_qs});
    start(15);
    f.messages.queueAnswer(true);
    key(Qt::Key_F8);
    EXPECT_EQ(book().PageCount(), kLetters);
    EXPECT_EQ(book().RecentPage, kLetters);

    answerInputBox(box, std::nullopt);
    key(Qt::Key_F5);
    EXPECT_TRUE(box.shown);
    EXPECT_EQ(book().PageCount(), kLetters) << "Cancel adds nothing";
    answerInputBox(box, u"Новая"_qs);
    key(Qt::Key_F5);
    EXPECT_EQ(titles(), QStringList{u"Новая"_qs});
    EXPECT_EQ(book().RecentPage, kLetters);
}

TEST_F(PageCommandsTest, PopupsAndKeysOfferOnlyWhatThePageAllowsWhateverTheRoute)
{
    writeBook({u"Работа"_qs, u"Дача"_qs});
    start();
    const QStringList letter = tabPopup(3);
    EXPECT_FALSE(letter.contains("mnuMainRename"));
    EXPECT_TRUE(letter.contains("mnuMainImport"));
    const QStringList lastUser = tabPopup(16);
    EXPECT_TRUE(lastUser.contains("mnuMainUp"));
    EXPECT_FALSE(lastUser.contains("mnuMainDown"));

    // Letter pages: keys and hidden items alike change nothing and ask nothing.
    app->SelectPage(3);
    for (int k : {Qt::Key_F2, Qt::Key_F5, Qt::Key_F8})
        key(k);
    key(Qt::Key_PageDown, Qt::AltModifier);
    for (const char* name : {"mnuMainAdd", "mnuMainRename", "mnuMainDelete", "mnuMainUp",
                             "mnuMainDown", "mnuMainConvertText", "mnuMainSort"})
        item(name)->trigger();
    app->SelectPage(15);
    key(Qt::Key_PageUp, Qt::AltModifier);
    app->SelectPage(16);
    key(Qt::Key_PageDown, Qt::AltModifier);
    EXPECT_EQ(titles(), (QStringList{u"Работа"_qs, u"Дача"_qs}));
    EXPECT_EQ(book().Pages[3].Kind, PageRecord::AddressPage);
    EXPECT_TRUE(f.messages.texts().isEmpty());
    EXPECT_FALSE(book().isChanged());
}

TEST_F(PageCommandsTest, TitlesTheBookCannotKeepAndAFullBookAreRefusedWithTheReason)
{
    writeBook({u"Работа"_qs});
    start(15);
    for (const QString& name : {u"~Дача"_qs, u"Дом''Сад"_qs, u"Работа ✓"_qs}) {
        f.messages.clear();
        answerInputBox(box, name);
        key(Qt::Key_F2);
        EXPECT_EQ(book().Pages[15].Title, u"Работа"_qs);
        ASSERT_EQ(f.messages.texts().size(), 1);
        EXPECT_TRUE(f.messages.texts()[0].contains(name)) << f.messages.texts()[0].toStdString();
    }
    EXPECT_FALSE(book().isChanged());
}

TEST_F(PageCommandsTest, AFullBookTakesNoMorePagesAndSaysSo)
{
    QStringList many;
    for (int page = kLetters + 1; page <= Book::MaxPages; ++page)
        many << QString::number(page);
    writeBook(many);
    start(Book::MaxPages);
    answerInputBox(box, u"Лишняя"_qs);
    key(Qt::Key_F5);
    QCoreApplication::processEvents();
    EXPECT_FALSE(box.shown) << "refused before anything is asked";
    EXPECT_EQ(book().PageCount(), Book::MaxPages);
    ASSERT_EQ(f.messages.texts().size(), 1);
    EXPECT_TRUE(f.messages.texts()[0].contains(u"32767"_qs));
}

TEST_F(PageCommandsTest, ConvertingSwitchesTabStopsAndMarkerAndMarksTheBook)
{
    writeBook({u"Работа"_qs});
    start(15);
    auto* marker = window()->findChild<QWidget*>(QStringLiteral("picTabStop"));
    RichTextEdit* editor = window()->editor();
    ASSERT_TRUE(marker->isVisible());
    EXPECT_EQ(editor->SelTabCount(), 2);
    EXPECT_TRUE(tabPopup(15).contains("mnuMainConvert"));
    EXPECT_FALSE(item("mnuMainConvertAddress")->isEnabled());
    EXPECT_TRUE(item("mnuMainConvertText")->isEnabled());

    item("mnuMainConvertText")->trigger();
    EXPECT_EQ(book().Pages[15].Kind, PageRecord::TextPage);
    EXPECT_FALSE(marker->isVisible());
    EXPECT_EQ(editor->SelTabCount(), 0);
    EXPECT_EQ(window()->pageText(), u"Работа text"_qs);
    EXPECT_TRUE(book().isChanged());
    item("mnuMainConvertText")->trigger();
    EXPECT_EQ(book().Pages[15].Kind, PageRecord::TextPage) << "already a text page";

    EXPECT_TRUE(tabPopup(15).contains("mnuMainConvert"));
    item("mnuMainConvertAddress")->trigger();
    EXPECT_EQ(book().Pages[15].Kind, PageRecord::AddressPage);
    EXPECT_TRUE(marker->isVisible());
    EXPECT_EQ(editor->SelTabCount(), 2);
}

TEST_F(PageCommandsTest, SortOrdersEntriesAsksBeforeLosingFormattingAndUndoBringsThePageBack)
{
    f.write("Общие", "EnableSort", "True");
    writeBook({u"Люди"_qs, u"Оформленная"_qs});
    start(15);
    RichTextEdit* editor = window()->editor();
    typeOver(*app, u"Петров\t1\nанна\t2\n  доп\nБорис\t3"_qs);
    book().markSaved();
    item("mnuMainSort")->trigger();
    EXPECT_TRUE(f.messages.texts().isEmpty()) << "a page of plain text loses nothing";
    const QString sorted = u"анна\t2\r\n  доп\r\nБорис\t3\r\nПетров\t1\r\n"_qs;
    EXPECT_EQ(window()->pageText(), sorted);
    EXPECT_TRUE(book().isChanged());
    EXPECT_EQ(editor->SelTabCount(), 2) << "the address page keeps its tab stops";
    app->flushOpenPage();
    EXPECT_EQ(book().Pages[15].plainText(), sorted);

    app->SelectPage(16);
    typeOver(*app, u"Яна\nАня"_qs);
    editor->setSelStart(0);
    editor->setSelLength(3);
    editor->setSelBold(true);
    f.messages.queueAnswer(false);
    item("mnuMainSort")->trigger();
    ASSERT_EQ(f.messages.texts().size(), 1);
    EXPECT_EQ(window()->pageText(), u"Яна\r\nАня"_qs) << "No keeps the page as it is";
    f.messages.queueAnswer(true);
    item("mnuMainSort")->trigger();
    EXPECT_EQ(window()->pageText(), u"Аня\r\nЯна\r\n"_qs);
    editor->setSelStart(5);
    editor->setSelLength(3);
    EXPECT_EQ(editor->SelBold(), false);

    press(editor, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(window()->pageText(), u"Яна\r\nАня"_qs);
    editor->setSelStart(0);
    editor->setSelLength(3);
    EXPECT_EQ(editor->SelBold(), true) << "the whole page comes back, formatting included";
}

namespace {

// Picks `path` in the import dialog the next action opens; nothing when `path` is empty.
void answerImport(const QString& path)
{
    QTimer::singleShot(0, [path] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        if (path.isEmpty()) {
            dialog->reject();
            return;
        }
        dialog->selectFile(path);
        static_cast<QDialog*>(dialog)->accept();
    });
}

} // namespace

TEST_F(PageCommandsTest, ImportAppendsFieldKToPageKAndNothingBeyondTheFields)
{
    writeBook({u"Люди"_qs});
    start(15);
    const QString notes = f.dir.filePath(QStringLiteral("telnotes.txt"));
    writeAll(notes, CodePage::encodeLossy(u"\"Аня, соседка\r\nтел. 1\",  Борис\r\nВера\r\n"_qs));
    const std::vector<PageRecord> before(book().pages().begin(), book().pages().end());

    answerImport({});
    item("mnuMainImport")->trigger();
    EXPECT_FALSE(book().isChanged()) << "cancel imports nothing";

    answerImport(notes);
    item("mnuMainImport")->trigger();
    EXPECT_TRUE(book().isChanged());
    const auto plain = [&](int page) {
        return book().Pages[static_cast<std::size_t>(page)].plainText();
    };
    EXPECT_EQ(plain(1), before[0].plainText() + u"\r\nАня, соседка\r\nтел. 1"_qs);
    EXPECT_EQ(plain(2), before[1].plainText() + u"\r\nБорис"_qs);
    EXPECT_EQ(plain(3), before[2].plainText() + u"\r\nВера"_qs);
    for (int page = 4; page <= 15; ++page)
        EXPECT_EQ(book().Pages[static_cast<std::size_t>(page)],
                  before[static_cast<std::size_t>(page - 1)])
            << page;
    EXPECT_EQ(window()->pageText(), u"Люди text"_qs);

    // More fields than pages: the rest are not read.
    QByteArray many;
    for (int field = 1; field <= 20; ++field)
        many += "f" + QByteArray::number(field) + ",";
    writeAll(notes, many);
    answerImport(notes);
    item("mnuMainImport")->trigger();
    EXPECT_EQ(plain(15), u"Люди text\r\nf15"_qs);
    EXPECT_EQ(window()->pageText(), u"Люди text\r\nf15"_qs) << "the open page shows its new text";
}

TEST_F(PageCommandsTest, AFileThatCannotBeReadImportsNothingAndSaysWhy)
{
    writeBook({u"Люди"_qs});
    start(15);
    const QString fifo = f.dir.filePath(QStringLiteral("telnotes.txt"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    answerImport(fifo);
    item("mnuMainImport")->trigger();
    EXPECT_FALSE(book().isChanged());
    ASSERT_EQ(f.messages.texts().size(), 1);
    EXPECT_TRUE(f.messages.texts()[0].contains(u"telnotes.txt"_qs));
}
