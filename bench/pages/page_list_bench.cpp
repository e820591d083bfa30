// Adding, deleting and moving a page in the largest book a user can have,
// 32,767 pages, each with the rebuild of the tab column and the re-opening of
// the current page that follow it in the shown window. The floor beside them
// is the rebuild alone, which every page command ends with.

#include "document/book.h"
#include "mainwindow/main_window.h"
#include "quiet_host.h"

#include <QApplication>
#include <QTest>
#include <benchmark/benchmark.h>

namespace {

constexpr int kBookPages = 32767;
constexpr int kMiddle = kBookPages / 2;

// A book of address pages with a few entries each, as users keep them.
struct Fixture
{
    Book book;
    QuietHost host;
    MainWindow window{host};

    explicit Fixture(int pages)
    {
        std::vector<PageRecord> records(static_cast<std::size_t>(pages));
        for (int k = 0; k < pages; ++k) {
            records[static_cast<std::size_t>(k)] = {
                QStringLiteral("Стр%1").arg(k + 1),
                QStringLiteral(
                    "{\\rtf1\\ansi Иванов\\tab 123-45-67\\par Петров\\tab 765-43-21\\par}"),
                PageRecord::AddressPage};
        }
        book.setPages(std::move(records));
        book.setRecentPage(kMiddle);
        window.resize(1000, 700);
        window.show();
        (void)QTest::qWaitForWindowExposed(&window);
        rebuild();
    }
    // As a page command ends: the tabs anew, then the current page shown again.
    void rebuild()
    {
        window.rebuildTabs(book, MainWindow::Display{});
        window.showPage(book.page(book.recentPage()), book.recentPage());
    }
};

// Made in main(), so the window goes before the application object does.
Fixture* theBook = nullptr;

Fixture& largeBook()
{
    return *theBook;
}

void BM_RebuildAlone(benchmark::State& state)
{
    Fixture& f = largeBook();
    for (auto _ : state)
        f.rebuild();
}

// Adds after the middle page and deletes it again, as two measured commands.
void BM_AddPage(benchmark::State& state)
{
    Fixture& f = largeBook();
    for (auto _ : state) {
        f.book.insertPage(QStringLiteral("Новая"), kMiddle);
        f.rebuild();
        state.PauseTiming();
        f.book.deletePage(kMiddle + 1);
        state.ResumeTiming();
    }
}

void BM_DeletePage(benchmark::State& state)
{
    Fixture& f = largeBook();
    for (auto _ : state) {
        state.PauseTiming();
        f.book.insertPage(QStringLiteral("Новая"), kMiddle);
        state.ResumeTiming();
        f.book.deletePage(kMiddle + 1);
        f.rebuild();
    }
}

void BM_MovePage(benchmark::State& state)
{
    Fixture& f = largeBook();
    bool down = true;
    for (auto _ : state) {
        if (down)
            f.book.movePageDown(kMiddle);
        else
            f.book.swapPages(kMiddle + 1);
        down = !down;
        f.rebuild();
    }
}

} // namespace

BENCHMARK(BM_RebuildAlone)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AddPage)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DeletePage)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MovePage)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Fixture fixture(kBookPages - 1);
    theBook = &fixture;
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
