// The page commands driven through the real window: popups, keys, the input
// box and the questions.

#include "app_fixture.h"
#include "core/code_page.h"

#include <sys/stat.h>

namespace {

class PageCommandsTest : public WindowTest
{
protected:
    // User pages with these titles, each saying "<title> text".
    void writeTitles(const QStringList& titles)
    {
        std::vector<PageRecord> pages;
        for (const QString& title : titles)
            pages.push_back({title, title + u" text"_qs, 0});
        writeBook(pages);
    }
    // The page current in the book and the tabs, the caption's title and the editor.
    QString showing() const
    {
        return fields(book().RecentPage, tabs()->currentPage(),
                      window()->windowTitle().section(u" - "_qs, 1) + u'|' + window()->pageText());
    }
    QStringList tabPopup(int page)
    {
        return popupItems([&] { clickTab(page, Qt::RightButton); });
    }

    InputBoxAnswer box;
};

} // namespace

TEST_F(PageCommandsTest, AddRenameDeleteAndMoveLeaveTheCurrentPageWhereTheTableSays)
{
    writeTitles({u"Работа"_qs, u"Дача"_qs, u"Врачи"_qs});
    start(16);
    // An item or a key; what the input box is answered (none: Cancel) or the
    // question (empty: Yes, "-": No); then the user pages and showing().
    const struct
    {
        const char* command;
        std::optional<QString> answer;
        QString expected;
    } steps[] = {
        {"mnuMainAdd", u"  Друзья  "_qs, u"Работа,Дача,Друзья,Врачи 16 16 Дача|Дача text"_qs},
        {"Alt+PgUp", {}, u"Дача,Работа,Друзья,Врачи 15 15 Дача|Дача text"_qs},
        {"mnuMainDown", {}, u"Работа,Дача,Друзья,Врачи 16 16 Дача|Дача text"_qs},
        {"mnuMainDown", {}, u"Работа,Друзья,Дача,Врачи 17 17 Дача|Дача text"_qs},
        {"F2", u"   "_qs, u"Работа,Друзья,Дача,Врачи 17 17 Дача|Дача text"_qs},
        {"mnuMainRename", u" Дача у реки "_qs,
         u"Работа,Друзья,Дача у реки,Врачи 17 17 Дача у реки|Дача text"_qs},
        {"F8", u"-"_qs, u"Работа,Друзья,Дача у реки,Врачи 17 17 Дача у реки|Дача text"_qs},
        {"mnuMainDelete", u""_qs, u"Работа,Друзья,Врачи 17 17 Врачи|Врачи text"_qs},
        {"mnuMainDelete", u""_qs, u"Работа,Друзья 16 16 Друзья|"_qs},
        {"F8", u""_qs, u"Работа 15 15 Работа|Работа text"_qs},
        {"F8", u""_qs, u" 14 14 ЮЯ|"_qs},
        {"F5", std::nullopt, u" 14 14 ЮЯ|"_qs},
        {"F5", u"Новая"_qs, u"Новая 14 14 ЮЯ|"_qs},
    };
    QStringList proposed;
    for (const auto& [command, answer, expected] : steps) {
        box = {};
        const bool deletes = QByteArray(command) == "F8" || QByteArray(command) == "mnuMainDelete";
        if (deletes)
            f.messages.queueAnswer(answer != u"-"_qs);
        else if (answer || QByteArray(command) == "F5")
            answerInputBox(box, answer);
        if (QByteArray(command).startsWith("mnu")) {
            item(command)->trigger();
        } else {
            const QKeyCombination pressed = QKeySequence::fromString(command)[0];
            key(pressed.key(), pressed.keyboardModifiers());
        }
        proposed << box.proposed;
        EXPECT_EQ(userTitles().join(u',') + u' ' + showing(), expected) << command;
    }
    EXPECT_EQ(proposed.join(u','),
              u"Новая страница,,,,Дача,Дача,,,,,,Новая страница,Новая страница"_qs);
    EXPECT_EQ(f.messages.texts().value(0), u"Вы действительно хотите удалить эту страницу?"_qs);
    EXPECT_EQ(page(15), (PageRecord{u"Новая"_qs, {}, PageRecord::AddressPage}));
    EXPECT_EQ(state(), "14 14 1 0");
}

// What each page offers is PageMenuRules' and PageKeys' (tests/rules); here a
// route the rules close, a key or a hidden item, changes nothing and asks nothing.
TEST_F(PageCommandsTest, KeysAndHiddenItemsTheRulesCloseChangeNothing)
{
    writeTitles({u"Работа"_qs, u"Дача"_qs});
    start(3);
    EXPECT_TRUE(tabPopup(3).contains("mnuMainImport"));
    for (int k : {Qt::Key_F2, Qt::Key_F5, Qt::Key_F8})
        key(k);
    key(Qt::Key_PageDown, Qt::AltModifier);
    for (const char* name : {"mnuMainAdd", "mnuMainRename", "mnuMainDelete", "mnuMainUp",
                             "mnuMainDown", "mnuMainConvertText", "mnuMainSort"})
        item(name)->trigger();
    open(15);
    key(Qt::Key_PageUp, Qt::AltModifier);
    open(16);
    key(Qt::Key_PageDown, Qt::AltModifier);
    EXPECT_EQ(userTitles().join(u',') + QString(" %1 %2|").arg(page(3).Kind).arg(state()) + told(),
              u"Работа,Дача 0 16 16 0 1|"_qs);
}

// Titles the data file cannot hold, and a page beyond the largest book, are
// refused with the reason before anything changes.
TEST_F(PageCommandsTest, TitlesTheBookCannotKeepAndAFullBookAreRefusedWithTheReason)
{
    QStringList many;
    for (int page = kLetters + 1; page <= Book::MaxPages; ++page)
        many << QString::number(page);
    writeTitles(many);
    start(15);
    for (const QString& name : {u"~Дача"_qs, u"Дом''Сад"_qs, u"15 ✓"_qs}) {
        f.messages.clear();
        answerInputBox(box, name);
        key(Qt::Key_F2);
        EXPECT_EQ(page(15).Title, u"15"_qs);
        EXPECT_TRUE(f.messages.only().contains(name)) << told();
    }
    f.messages.clear();
    box = {};
    answerInputBox(box, u"Лишняя"_qs);
    key(Qt::Key_F5);
    QCoreApplication::processEvents();
    EXPECT_FALSE(box.shown) << "refused before anything is asked";
    EXPECT_TRUE(f.messages.only().contains(u"32767"_qs)) << told();
    EXPECT_EQ(fields(book().pageCount(), book().isChanged()), "32767 false");
}

TEST_F(PageCommandsTest, ConvertingSwitchesTabStopsAndMarkerAndMarksTheBook)
{
    writeTitles({u"Работа"_qs});
    start(15);
    auto* marker = window()->findChild<QWidget*>(QStringLiteral("picTabStop"));
    // Kind, marker shown, tab stops.
    const auto state = [&] {
        return fields(page(15).Kind, int(marker->isVisible()), editor()->selTabCount());
    };
    // The popup offers the conversion the page can take.
    const auto offered = [&] {
        EXPECT_TRUE(tabPopup(15).contains("mnuMainConvert"));
        return fields(item("mnuMainConvertAddress")->isEnabled(),
                      item("mnuMainConvertText")->isEnabled());
    };
    EXPECT_EQ(state(), "0 1 2");
    EXPECT_EQ(offered(), "false true");
    for (int twice = 0; twice < 2; ++twice) {
        item("mnuMainConvertText")->trigger();
        EXPECT_EQ(state(), "1 0 0") << "already a text page: " << twice;
    }
    EXPECT_EQ(window()->pageText() + QString::number(book().isChanged()), u"Работа text1"_qs);
    EXPECT_EQ(offered(), "true false");
    item("mnuMainConvertAddress")->trigger();
    EXPECT_EQ(state(), "0 1 2");
}

TEST_F(PageCommandsTest, SortOrdersEntriesAsksBeforeLosingFormattingAndUndoBringsThePageBack)
{
    f.write("Общие", "EnableSort", "True");
    writeTitles({u"Люди"_qs, u"Оформленная"_qs});
    start(15);
    type(u"Петров\t1\nанна\t2\n  доп\nБорис\t3"_qs);
    book().markSaved();
    item("mnuMainSort")->trigger();
    const QString sorted = u"анна\t2\r\n  доп\r\nБорис\t3\r\nПетров\t1\r\n"_qs;
    app->flushOpenPage();
    // Nothing asked on a plain page, the tab stops kept, the book changed.
    EXPECT_EQ(fields(told(), editor()->selTabCount(), book().isChanged(), window()->pageText(),
                     page(15).plainText()),
              " 2 true " + sorted + " " + sorted);

    open(16);
    type(u"Яна\nАня"_qs);
    select(0, 3);
    editor()->setSelBold(true);
    f.messages.queueAnswer(false);
    item("mnuMainSort")->trigger();
    ASSERT_EQ(f.messages.texts().size(), 1);
    EXPECT_EQ(window()->pageText(), u"Яна\r\nАня"_qs) << "No keeps the page as it is";
    f.messages.queueAnswer(true);
    item("mnuMainSort")->trigger();
    EXPECT_EQ(window()->pageText(), u"Аня\r\nЯна\r\n"_qs);
    select(5, 3);
    EXPECT_EQ(editor()->selBold(), false);
    key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(window()->pageText(), u"Яна\r\nАня"_qs);
    select(0, 3);
    EXPECT_EQ(editor()->selBold(), true) << "the whole page comes back, formatting included";
}

TEST_F(PageCommandsTest, ImportAppendsFieldKToPageKAndNothingBeyondTheFields)
{
    writeTitles({u"Люди"_qs});
    start(15);
    const QString notes = f.dir.filePath(QStringLiteral("telnotes.txt"));
    writeAll(notes, CodePage::encodeLossy(u"\"Аня, соседка\r\nтел. 1\",  Борис\r\nВера\r\n"_qs));
    const std::vector<PageRecord> before(book().pages().begin(), book().pages().end());
    chooseFile({});
    item("mnuMainImport")->trigger();
    EXPECT_FALSE(book().isChanged()) << "cancel imports nothing";

    chooseFile(notes);
    item("mnuMainImport")->trigger();
    EXPECT_TRUE(book().isChanged());
    const QString added[] = {u"Аня, соседка\r\nтел. 1"_qs, u"Борис"_qs, u"Вера"_qs};
    std::vector<PageRecord> now(book().pages().begin(), book().pages().end());
    for (std::size_t k = 0; k < 3; ++k) {
        EXPECT_EQ(now[k].plainText(), before[k].plainText() + u"\r\n"_qs + added[k]);
        now[k] = before[k];
    }
    EXPECT_EQ(now, before) << "the other pages as they were";
    EXPECT_EQ(window()->pageText(), u"Люди text"_qs);

    // More fields than pages: the rest are not read.
    QByteArray many;
    for (int field = 1; field <= 20; ++field)
        many += "f" + QByteArray::number(field) + ",";
    writeAll(notes, many);
    chooseFile(notes);
    item("mnuMainImport")->trigger();
    EXPECT_EQ(page(15).plainText() + u'|' + window()->pageText(),
              u"Люди text\r\nf15|Люди text\r\nf15"_qs)
        << "the open page shows its new text";

    // A file that cannot be read imports nothing and says why.
    const QString fifo = f.dir.filePath(QStringLiteral("fifo.txt"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    app->saveCommand();
    chooseFile(fifo);
    item("mnuMainImport")->trigger();
    EXPECT_FALSE(book().isChanged());
    EXPECT_TRUE(f.messages.texts().size() == 1 && told().contains(u"fifo.txt"_qs)) << told();
}
