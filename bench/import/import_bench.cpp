#include "document/tab_cleanup.h"
#include "largest_book.h"

#include <QGuiApplication>
#include <QTextDocument>
#include <benchmark/benchmark.h>
#include <vector>

namespace {

constexpr int kBookPages = LargestBook::pages;

std::vector<QString> book(const char* separator)
{
    std::vector<QString> pages;
    pages.reserve(kBookPages);
    for (int i = 0; i < kBookPages; ++i)
        pages.push_back(LargestBook::addressPage(i, QLatin1StringView(separator)));
    return pages;
}

void importBook(benchmark::State& state, const char* separator)
{
    const std::vector<QString> pages = book(separator);
    for (auto _ : state) {
        for (const QString& page : pages)
            benchmark::DoNotOptimize(TabCleanup::clean(page));
    }
    state.SetItemsProcessed(state.iterations() * kBookPages);
}

// A normal book: nothing to clean up, every page takes the fast path.
void BM_ImportBookClean(benchmark::State& state)
{
    importBook(state, "\\tab ");
}

// Every page needs the clean-up: read, collapse and write each one.
void BM_ImportBookEveryPageCollapsed(benchmark::State& state)
{
    importBook(state, "\\tab\\tab\\tab ");
}

// One long page with runs on every line; the time must grow linearly.
void BM_CollapseTabsLongPage(benchmark::State& state)
{
    QString text;
    for (int i = 0; i < state.range(0); ++i)
        text += QStringLiteral("name %1\t\t\tphone\n\t\t\tnote\n").arg(i);
    for (auto _ : state) {
        state.PauseTiming();
        QTextDocument doc;
        doc.setUndoRedoEnabled(false);
        doc.setPlainText(text);
        state.ResumeTiming();
        TabCleanup::collapseTabs(doc);
    }
    state.SetComplexityN(state.range(0));
}

} // namespace

BENCHMARK(BM_ImportBookClean)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportBookEveryPageCollapsed)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CollapseTabsLongPage)
    ->RangeMultiplier(4)
    ->Range(256, 16384)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
