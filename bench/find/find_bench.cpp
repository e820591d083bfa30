// A search of the largest book a user can have, 32,767 address pages, for a
// sample it holds nowhere: one press of "find next" walks every page and ends
// with the completion message. One pass of the finder over every page's plain
// text is measured in the same run as the floor the walk stands against.

#include "core/message_service.h"
#include "dialogs/find_dialog.h"
#include "document/book.h"
#include "document/data_file.h"
#include "document/search_target.h"
#include "document/search_walk.h"
#include "largest_book.h"
#include "richtext/text_finder.h"
#include "ui/rich_text_edit.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <benchmark/benchmark.h>

namespace {

constexpr int kBookPages = LargestBook::pages;
const QString kNowhere = QStringLiteral("Кузнецов");

// The book and the page editor as the main window hands them to the search.
class EditorTarget : public SearchTarget
{
public:
    EditorTarget()
    {
        book.setPages(LargestBook::make());
        selectPage(1);
    }

    int pageCount() const override { return book.pageCount(); }
    int currentPage() const override { return book.recentPage(); }
    int selStart() const override { return editor.selStart(); }
    QString pageText(int page) const override
    {
        return page == book.recentPage() ? editor.text() : book.page(page).plainText();
    }
    void selectPage(int page) override
    {
        book.setRecentPage(page);
        editor.setTextRTF(book.page(page).text);
    }
    int findText(const QString& sample, int first, int last, int options) override
    {
        return editor.findText(sample, first, last, options);
    }

    // A book just loaded: no page has made its plain text yet.
    void forgetPlainTexts() { book.setPages(LargestBook::make()); }

    Book book;
    RichTextEdit editor;
};

class CountingMessages : public MessageService
{
public:
    void show(const QString&, Icon, const QString&) override { ++shown; }
    bool ask(const QString&, const QString&) override { return false; }
    int choose(const QString&, const QStringList&) override { return -1; }

    int shown = 0;
};

void makePlainTexts(const Book& book)
{
    for (const PageRecord& page : book.pages())
        benchmark::DoNotOptimize(page.plainText());
}

void BM_FloorOneFinderPassOverEveryPlainText(benchmark::State& state)
{
    Book book;
    book.setPages(LargestBook::make());
    makePlainTexts(book);
    for (auto _ : state) {
        int found = -1;
        for (const PageRecord& page : book.pages())
            found = std::max(found, TextFinder::find(page.plainText(), kNowhere, 0, -1, 0));
        if (found >= 0)
            state.SkipWithError("the sample was found");
    }
    state.SetItemsProcessed(state.iterations() * kBookPages);
}

// The first search after loading also makes every page's plain text.
void BM_FloorPlainTextsAndOneFinderPass(benchmark::State& state)
{
    Book book;
    for (auto _ : state) {
        state.PauseTiming();
        book.setPages(LargestBook::make());
        state.ResumeTiming();
        for (const PageRecord& page : book.pages())
            benchmark::DoNotOptimize(TextFinder::find(page.plainText(), kNowhere, 0, -1, 0));
    }
    state.SetItemsProcessed(state.iterations() * kBookPages);
}

void walkEveryPage(benchmark::State& state, bool freshBook, const QString& sample = kNowhere,
                   int options = TextFinder::wholeWord)
{
    EditorTarget target;
    makePlainTexts(target.book);
    SearchWalk walk(target);
    for (auto _ : state) {
        if (freshBook) {
            state.PauseTiming();
            target.forgetPlainTexts();
            state.ResumeTiming();
        }
        walk.reset();
        if (walk.findNext(sample, options, true) != SearchWalk::Result::Completed ||
            target.currentPage() != 1)
            state.SkipWithError("the walk did not end on the start page");
    }
    state.SetItemsProcessed(state.iterations() * kBookPages);
}

void BM_WalkEveryPage(benchmark::State& state)
{
    walkEveryPage(state, false);
}

void BM_WalkEveryPageFirstAfterLoading(benchmark::State& state)
{
    walkEveryPage(state, true);
}

// The forgiving options: "е" as "ё" folds every page holding either letter;
// digits only collects every page's digits.
void BM_WalkEveryPageYoAsYe(benchmark::State& state)
{
    walkEveryPage(state, false, QStringLiteral("Семён Нигдеевич"), TextFinder::yoAsYe);
}

void BM_WalkEveryPageDigitsOnly(benchmark::State& state)
{
    walkEveryPage(state, false, QStringLiteral("+7 (000) 000-00-01"), TextFinder::digitsOnly);
}

// From the press of the window's button to the completion message.
void BM_FindWindowPressToCompletion(benchmark::State& state)
{
    EditorTarget target;
    CountingMessages messages;
    auto* dialog = new FindDialog(
        target, messages, [](TextId id) { return BuiltInTexts::text(id); }, nullptr);
    dialog->findChild<QLineEdit*>(QStringLiteral("txtWhat"))->setText(kNowhere);
    dialog->findChild<QCheckBox*>(QStringLiteral("chkAllPages"))->setChecked(true);
    dialog->show();
    auto* findButton = dialog->findChild<QPushButton*>(QStringLiteral("cmdFind"));
    for (auto _ : state) {
        state.PauseTiming();
        target.forgetPlainTexts();
        dialog->pageListChanged();
        state.ResumeTiming();
        const int before = messages.shown;
        QTest::mouseClick(findButton, Qt::LeftButton);
        if (messages.shown != before + 1)
            state.SkipWithError("no completion message");
    }
    delete dialog;
    state.SetItemsProcessed(state.iterations() * kBookPages);
}

} // namespace

BENCHMARK(BM_FloorOneFinderPassOverEveryPlainText)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_FloorPlainTextsAndOneFinderPass)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_WalkEveryPage)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_WalkEveryPageYoAsYe)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_WalkEveryPageDigitsOnly)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_WalkEveryPageFirstAfterLoading)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_FindWindowPressToCompletion)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
