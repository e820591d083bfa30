#include "app/book_session.h"
#include "app/command_handlers.h"
#include "app/notices.h"
#include "app/page_commands.h"
#include "app_fixture.h"
#include "core/event_log.h"
#include "core/options.h"

namespace {

// The window as the session and the commands see it, with no widget behind.
class FakeBookView : public BookView
{
public:
    QWidget* dialogParent() override { return nullptr; }
    int currentPage() const override { return shown; }
    void rebuildTabs(const Book& book, const Display&) override { tabs = book.pageCount(); }
    void showPage(const PageRecord& page, int index) override
    {
        shown = index;
        text = page.plainText();
    }
    bool takePageEdits(QString& richText) override
    {
        richText = std::exchange(edits, QString());
        return !richText.isEmpty();
    }
    void dropPageEdits() override { edits.clear(); }
    QString pageText() const override { return text; }
    QFont pageFont() const override { return {}; }
    void replacePageText(const QString& plain) override { text = plain; }
    void appendEntries(const QString& entries) override { text += entries; }
    void editOpenPage(const std::function<void(QTextDocument&)>&) override {}
    void setSavedState(bool) override {}
    void showStatusText(const QString&) override {}
    void showNotice(const QString&) override {}
    void showStyleNames(const QStringList&) override {}
    double tabStopTwips() const override { return 3400; }

    int tabs = 0;
    int shown = 0;
    QString text;
    QString edits; // what the user typed on the open page since it was last read
};

// The session and a page command run against a view of their own: the edits
// the view holds reach the book before the command moves the page.
TEST(BookView, TheSessionAndAPageCommandRunWithoutAWindow)
{
    AppFixture f;
    std::vector<PageRecord> pages = DataFile::defaultPages();
    pages.push_back({u"Один"_qs, u"раз"_qs, PageRecord::TextPage});
    pages.push_back({u"Два"_qs, u"два"_qs, PageRecord::TextPage});
    writeAll(f.dataFile(), DataFile::serialize(pages));
    const std::unique_ptr<SettingsStore> settings = f.store();
    EventLog log;
    Localization localization({}, log);
    Notices notices(f.messages, localization);
    Options options;
    options.filePath = f.dataFolder;
    BookSession session(options, *settings, notices);
    FakeBookView view;
    session.setWindow(&view, [] { return BookView::Display{}; });
    session.open();
    session.selectPage(15);
    view.edits = u"раз, два"_qs;
    CommandHandlers handlers;
    PageCommands commands(session, view, notices);
    commands.bind(handlers);
    handlers.run(Command::MovePageDown, 0);
    const Book& book = session.book();
    EXPECT_EQ(fields(book.page(15).title, book.page(16).title, book.page(16).plainText(), view.tabs,
                     view.shown, view.text),
              u"Два Один раз, два 16 16 раз, два"_qs);
}

} // namespace
