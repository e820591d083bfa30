// The largest book (32,767 pages) opened and saved encrypted, beside the
// same book unencrypted in the same run: the plain book is the floor an
// encrypted open or save stands against. The key is derived once per log-in,
// never per save, so its cost is measured on its own.

#include "book_folder.h"
#include "crypto/book_cipher.h"
#include "crypto/book_key.h"
#include "document/book_storage.h"
#include "document/data_file.h"
#include "document/tab_cleanup.h"
#include "largest_book.h"

#include <QFile>
#include <QGuiApplication>
#include <benchmark/benchmark.h>

namespace {

constexpr int kBookPages = LargestBook::pages;

std::shared_ptr<const BookKey> benchKey()
{
    static const std::shared_ptr<const BookKey> key =
        BookKey::create(QStringLiteral("пароль"), BookKey::Limits::moderate());
    return key;
}

// The largest book in a folder of its own, plain (argument 0) or sealed (1).
class SessionFolder
{
public:
    explicit SessionFolder(bool sealed)
        : storage(book),
          m_folder(sealed ? BookCipher::seal(BookFolder::largestBookBytes(), *benchKey())
                          : BookFolder::largestBookBytes())
    {
        storage.setFilePath(m_folder.folder());
        storage.setSettingsFolder(m_folder.folder() + QStringLiteral("settings/"));
        storage.setPageCleanup(&TabCleanup::clean);
        if (sealed)
            storage.setKey(benchKey());
    }
    bool open() { return !storage.loadBook() && book.pageCount() == kBookPages; }

    Book book;
    BookStorage storage;

private:
    BookFolder m_folder;
};

const char* formName(bool sealed)
{
    return sealed ? "encrypted" : "plain";
}

void BM_OpenBook(benchmark::State& state)
{
    SessionFolder folder(state.range(0) != 0);
    (void)folder.open(); // untimed: the first read of a new file pays its page cache
    for (auto _ : state) {
        if (!folder.open())
            state.SkipWithError("the book did not load");
    }
    state.SetLabel(formName(state.range(0) != 0));
}

// The data file written after one page was typed into.
void BM_SaveDataFile(benchmark::State& state)
{
    SessionFolder folder(state.range(0) != 0);
    if (!folder.open())
        state.SkipWithError("the book did not load");
    for (auto _ : state) {
        folder.book.setPageText(1, folder.book.page(1).text.text() + QStringLiteral("x"));
        if (folder.storage.writeBook(folder.storage.fullDataPath()))
            state.SkipWithError("the book was not saved");
    }
    state.SetLabel(formName(state.range(0) != 0));
}

// The save command as the user waits for it: the plain book writes its
// export too, the encrypted one does not.
void BM_SaveCommand(benchmark::State& state)
{
    SessionFolder folder(state.range(0) != 0);
    if (!folder.open())
        state.SkipWithError("the book did not load");
    for (auto _ : state) {
        folder.book.setPageText(1, folder.book.page(1).text.text() + QStringLiteral("x"));
        if (!folder.storage.saveBook().dataSaved())
            state.SkipWithError("the book was not saved");
    }
    state.SetLabel(formName(state.range(0) != 0));
}

// The same work without the disk, which a loaded machine makes noisy: the
// encrypted book's extra cost is opening or sealing its bytes.
void BM_ReadBytes(benchmark::State& state)
{
    const QByteArray& plain = BookFolder::largestBookBytes();
    const QByteArray sealed = BookCipher::seal(plain, *benchKey());
    for (auto _ : state) {
        if (state.range(0) == 0) {
            benchmark::DoNotOptimize(DataFile::parse(plain));
            continue;
        }
        const BookCipher::Opened opened = BookCipher::open(sealed, *benchKey());
        benchmark::DoNotOptimize(DataFile::parse(*opened.plain));
    }
    state.SetLabel(formName(state.range(0) != 0));
}

void BM_WriteBytes(benchmark::State& state)
{
    const std::vector<PageRecord> pages = LargestBook::make();
    for (auto _ : state) {
        const QByteArray plain = DataFile::serialize(pages);
        if (state.range(0) != 0)
            benchmark::DoNotOptimize(BookCipher::seal(plain, *benchKey()));
        benchmark::DoNotOptimize(plain);
    }
    state.SetLabel(formName(state.range(0) != 0));
}

// What a log-in costs: argument 0 the limits of new books (MODERATE), 1
// libsodium's INTERACTIVE for comparison.
void BM_DeriveKey(benchmark::State& state)
{
    const BookKey::Limits limits =
        state.range(0) == 0 ? BookKey::Limits::moderate()
                            : BookKey::Limits{2, 64 * 1024}; // crypto_pwhash_*_INTERACTIVE
    for (auto _ : state)
        benchmark::DoNotOptimize(BookKey::create(QStringLiteral("пароль"), limits));
    state.SetLabel(state.range(0) == 0 ? "moderate" : "interactive");
}

} // namespace

// Each form runs as often as the other, never once: a single run of the
// plain book paid alone for what the process touched first.
constexpr int kRuns = 10;
BENCHMARK(BM_OpenBook)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(kRuns);
BENCHMARK(BM_SaveDataFile)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(kRuns);
BENCHMARK(BM_SaveCommand)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(kRuns);
BENCHMARK(BM_ReadBytes)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(kRuns);
BENCHMARK(BM_WriteBytes)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(kRuns);
BENCHMARK(BM_DeriveKey)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
