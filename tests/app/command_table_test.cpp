#include "core/built_in_text.h"
#include "document/book.h"
#include "document/data_file.h"
#include "mainwindow/main_window.h"
#include "rules/command_table.h"
#include "window_driver.h"

namespace {

// The program behind the window, counting the commands handed to it.
class CountingHost : public MainWindowHost
{
public:
    bool mainWindowClosing(CloseReason) override { return true; }
    void runCommand(Command command, int) override { ++runs[command]; }
    void warn(const QString&) override {}
    void pageEdited() override {}
    QString localizedText(TextId id) override { return BuiltInTexts::text(id); }

    std::map<Command, int> runs;
};

struct WindowOnPage
{
    explicit WindowOnPage(int page)
    {
        std::vector<PageRecord> pages = DataFile::defaultPages();
        pages.push_back({u"Дом"_qs, {}, PageRecord::AddressPage});
        book.setPages(std::move(pages));
        window.rebuildTabs(book, {});
        window.showPage(book.pages()[static_cast<std::size_t>(page - 1)], page);
    }

    CountingHost host;
    Book book;
    MainWindow window{host};
};

} // namespace

// The menus are made from the table: every row's item is there with its key
// shown, and every item that gives a command has its row.
TEST(CommandTable, EveryRowHasItsMenuItemAndEveryItemItsRow)
{
    WindowOnPage w(1);
    QStringList rowless;
    for (const char* menu : {"mnuMain", "mnuText", "mnuStatus"}) {
        for (const QAction* item : w.window.findChild<QMenu*>(menu)->findChildren<QAction*>()) {
            const QString name = item->objectName();
            const bool built = item->isSeparator() || item->menu() ||
                               QStringList{"mnuTextSizes", "mnuTextColorS", "mnuTextStyles",
                                           "mnuTextColorOther", ""}
                                   .contains(name);
            if (!built && !CommandTable::find(name))
                rowless << name;
        }
    }
    EXPECT_EQ(rowless, QStringList());
    for (const CommandRow& row : CommandTable::rows()) {
        const auto* item = w.window.findChild<QAction*>(QString::fromLatin1(row.objectName));
        EXPECT_TRUE(!row.objectName || (item && item->shortcut() == QKeySequence(row.key)))
            << row.objectName;
    }
}

// Each key gives its command once, whatever the keyboard layout (Ctrl with a
// Cyrillic letter arrives as its Latin key), though its menu item shows it:
// two runs of the one-step undo would give the typed text back.
TEST(CommandTable, AKeyShownInAMenuGivesItsCommandOnce)
{
    WindowOnPage w(14);
    w.window.show();
    QWidget* editor = w.window.findChild<QWidget*>("rtfPage");
    editor->setFocus();
    QTest::sendKeyEvent(QTest::Click, editor, Qt::Key(0x042B), u"ы"_qs, Qt::NoModifier);
    QTest::sendKeyEvent(QTest::Click, editor, Qt::Key_S, u"\x13"_qs, Qt::ControlModifier);
    QTest::sendKeyEvent(QTest::Click, editor, Qt::Key_F5, QString(), Qt::NoModifier);
    QTest::sendKeyEvent(QTest::Click, editor, Qt::Key_Z, u"\x1a"_qs, Qt::ControlModifier);
    EXPECT_EQ(w.host.runs, (std::map<Command, int>{{Command::Save, 1}, {Command::AddPage, 1}}));
    EXPECT_EQ(w.window.pageText(), QString());
    // A letter page before the last offers no new page: its key does nothing.
    w.window.showPage(w.book.pages()[0], 1);
    QTest::keyClick(editor, Qt::Key_F5);
    EXPECT_EQ(w.host.runs[Command::AddPage], 1);
}
