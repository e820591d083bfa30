// Loading and saving the largest book a user can have: 32,767 address pages
// of about 300 bytes of rich text each. `cp` of the same file is measured in
// the same run as the floor any load or save stands against.

#include "document/book_storage.h"
#include "document/data_file.h"
#include "document/history_backup.h"
#include "document/page_import.h"
#include "document/text_export.h"
#include "largest_book.h"

#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace {

constexpr int kBookPages = LargestBook::pages;

// A folder holding the largest book as velkaro.dat, made once per run.
class BookOnDisk
{
public:
    BookOnDisk()
    {
        QFile file(path());
        file.open(QIODevice::WriteOnly);
        file.write(DataFile::serialize(LargestBook::make()));
    }
    QString folder() const { return m_dir.path() + u'/'; }
    QString path() const { return folder() + QStringLiteral("velkaro.dat"); }

private:
    QTemporaryDir m_dir;
};

const BookOnDisk& bookOnDisk()
{
    static const BookOnDisk book;
    return book;
}

void BM_CopyFileWithCp(benchmark::State& state)
{
    const QByteArray from = QFile::encodeName(bookOnDisk().path());
    const QByteArray to = from + ".copy";
    for (auto _ : state) {
        char* argv[] = {const_cast<char*>("cp"), const_cast<char*>(from.constData()),
                        const_cast<char*>(to.constData()), nullptr};
        pid_t pid = 0;
        if (posix_spawnp(&pid, "cp", nullptr, nullptr, argv, environ) != 0) {
            state.SkipWithError("cp could not be started");
            return;
        }
        int status = 0;
        waitpid(pid, &status, 0);
    }
    state.SetBytesProcessed(state.iterations() * QFile(bookOnDisk().path()).size());
}

void BM_LoadBook(benchmark::State& state)
{
    Book book;
    BookStorage storage(book);
    storage.setFilePath(bookOnDisk().folder());
    storage.setPageCleanup(&PageImport::Import);
    for (auto _ : state) {
        if (storage.LoadBook() || book.PageCount() != kBookPages)
            state.SkipWithError("the book did not load");
    }
    state.SetItemsProcessed(state.iterations() * kBookPages);
}

void BM_SaveBook(benchmark::State& state)
{
    QTemporaryDir dir;
    Book book;
    book.setPages(LargestBook::make());
    BookStorage storage(book);
    storage.setFilePath(dir.path() + u'/');
    int edit = 0;
    for (auto _ : state) {
        // One page typed into since the last save, as an autosave finds it.
        book.Pages[1].Text = QString::number(++edit);
        book.MarkBookChanged();
        if (!storage.SaveBook(BookStorage::OnDiskChange::Overwrite).dataSaved())
            state.SkipWithError("the book was not saved");
    }
    state.SetItemsProcessed(state.iterations() * kBookPages);
}

// Shutdown of a book that was opened and looked through: nothing to write.
void BM_SaveBookUnchangedAfterLoad(benchmark::State& state)
{
    QTemporaryDir dir;
    QFile::copy(bookOnDisk().path(), dir.filePath(QStringLiteral("velkaro.dat")));
    Book book;
    BookStorage storage(book);
    storage.setFilePath(dir.path() + u'/');
    storage.setPageCleanup(&PageImport::Import);
    if (storage.LoadBook() || !storage.SaveBook().dataSaved())
        state.SkipWithError("the book did not load");
    for (auto _ : state) {
        state.PauseTiming();
        (void)storage.LoadBook();
        state.ResumeTiming();
        if (!storage.SaveBook().dataSaved())
            state.SkipWithError("the book was not saved");
    }
}

// The parts of a load and a save, to see where the time goes.
void BM_ParseOnly(benchmark::State& state)
{
    QFile file(bookOnDisk().path());
    file.open(QIODevice::ReadOnly);
    const QByteArray bytes = file.readAll();
    for (auto _ : state)
        benchmark::DoNotOptimize(DataFile::parse(bytes));
}

void BM_SerializeOnly(benchmark::State& state)
{
    const std::vector<PageRecord> pages = LargestBook::make();
    for (auto _ : state)
        benchmark::DoNotOptimize(DataFile::serialize(pages));
}

// Every save after the first finds each page's plain text already made.
void BM_TextExportOnly(benchmark::State& state)
{
    const std::vector<PageRecord> pages = LargestBook::make();
    for (auto _ : state)
        benchmark::DoNotOptimize(TextExport::build(pages));
}

// The first save after loading makes the plain text of every page.
void BM_TextExportFirstSave(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        const std::vector<PageRecord> pages = LargestBook::make();
        state.ResumeTiming();
        benchmark::DoNotOptimize(TextExport::build(pages));
    }
}

// The backup at shutdown, right after the book was saved.
void BM_HistoryBackupAfterSave(benchmark::State& state)
{
    QTemporaryDir dir;
    Book book;
    book.setPages(LargestBook::make());
    BookStorage storage(book);
    storage.setFilePath(dir.path() + u'/');
    if (!storage.SaveBook(BookStorage::OnDiskChange::Overwrite).dataSaved())
        state.SkipWithError("the book was not saved");
    const QString history = dir.path() + QStringLiteral("/History/");
    for (auto _ : state) {
        if (HistoryBackup::MakeHistoryBackup(storage, history))
            state.SkipWithError("the backup was not written");
    }
}

} // namespace

BENCHMARK(BM_CopyFileWithCp)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_LoadBook)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SaveBook)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SaveBookUnchangedAfterLoad)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ParseOnly)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SerializeOnly)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_TextExportOnly)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_TextExportFirstSave)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_HistoryBackupAfterSave)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
