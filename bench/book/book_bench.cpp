// Loading, saving and closing the largest book a user can have: 32,767
// address pages of about 300 bytes of rich text each. `cp` of the same file
// and serialising the book alone are measured in the same run as the floors
// any load or save stands against.

#include "book_folder.h"
#include "core/safe_file.h"
#include "document/book_storage.h"
#include "document/data_file.h"
#include "document/history_backup.h"
#include "document/tab_cleanup.h"
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

const BookFolder& bookOnDisk()
{
    static const BookFolder book;
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
    storage.setPageCleanup(&TabCleanup::clean, &TabCleanup::mayNeedCollapseStored);
    for (auto _ : state) {
        if (storage.loadBook() || book.pageCount() != kBookPages)
            state.SkipWithError("the book did not load");
    }
    state.SetItemsProcessed(state.iterations() * kBookPages);
}

// A folder with the largest book and what an earlier session of the program
// left beside it: the export, the note of what it was made from, a backup.
class SessionFolder
{
public:
    SessionFolder() : storage(book)
    {
        storage.setFilePath(m_folder.folder());
        storage.setSettingsFolder(m_folder.folder() + QStringLiteral("settings/"));
        storage.setPageCleanup(&TabCleanup::clean, &TabCleanup::mayNeedCollapseStored);
        open();
        close();
    }
    bool open() { return !storage.loadBook() && book.pageCount() == kBookPages; }
    // What closing the window writes of the book: the data file and the
    // export, then this period's backup.
    bool close()
    {
        return storage.saveBook().dataSaved() &&
               !HistoryBackup::makeHistoryBackup(storage, history(), QDate(2026, 3, 10));
    }
    QString history() const { return m_folder.folder() + QStringLiteral("settings/History/"); }
    void typeIntoFirstPage()
    {
        book.setPageText(1, book.page(1).text.text() + QStringLiteral("x"));
    }

    Book book;
    BookStorage storage;

private:
    BookFolder m_folder;
};

// The save after one page was typed into, made again and again: every page
// but that one already has its part of the export.
void BM_SaveBookRepeated(benchmark::State& state)
{
    SessionFolder session;
    session.typeIntoFirstPage();
    session.storage.saveBook();
    for (auto _ : state) {
        session.typeIntoFirstPage();
        if (!session.storage.saveBook().dataSaved())
            state.SkipWithError("the book was not saved");
    }
    state.SetItemsProcessed(state.iterations() * kBookPages);
}

// The first save of a session: the book was just loaded and one page typed into.
void BM_SaveBookFirstAfterLoad(benchmark::State& state)
{
    SessionFolder session;
    for (auto _ : state) {
        state.PauseTiming();
        if (!session.open())
            state.SkipWithError("the book did not load");
        session.typeIntoFirstPage();
        state.ResumeTiming();
        if (!session.storage.saveBook().dataSaved())
            state.SkipWithError("the book was not saved");
    }
}

// Closing a session in which nothing changed, right after the load: nothing
// is written, as the data file, the export and this period's backup are current.
void BM_CloseUnchangedFirstSession(benchmark::State& state)
{
    SessionFolder session;
    for (auto _ : state) {
        state.PauseTiming();
        if (!session.open())
            state.SkipWithError("the book did not load");
        state.ResumeTiming();
        if (!session.close())
            state.SkipWithError("the book was not closed");
    }
}

// Closing a session in which one page was typed into: the data file, the
// export and the backup all written.
void BM_CloseAfterOneEdit(benchmark::State& state)
{
    SessionFolder session;
    for (auto _ : state) {
        state.PauseTiming();
        if (!session.open())
            state.SkipWithError("the book did not load");
        session.typeIntoFirstPage();
        state.ResumeTiming();
        if (!session.close())
            state.SkipWithError("the book was not closed");
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

// The same bytes put on disk as any save must put them: into a temporary
// file, flushed, renamed over the book. No save of the book takes less.
void BM_SerializeAndWriteOnly(benchmark::State& state)
{
    QTemporaryDir dir;
    const std::vector<PageRecord> pages = LargestBook::make();
    const QString path = dir.filePath(QStringLiteral("velkaro.dat"));
    for (auto _ : state) {
        if (SafeFile::writeWhole(path, DataFile::serialize(pages)))
            state.SkipWithError("the book was not written");
    }
}

// Every save after the first finds each page's plain text already made.
void BM_TextExportOnly(benchmark::State& state)
{
    const std::vector<PageRecord> pages = LargestBook::make();
    for (auto _ : state)
        benchmark::DoNotOptimize(TextExport::build(pages));
}

// An export made with no part to reuse (the export on disk is missing or
// was made by another release): the plain text of every page.
void BM_TextExportEveryPageAnew(benchmark::State& state)
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
    if (!storage.saveBook(BookStorage::OnDiskChange::Overwrite).dataSaved())
        state.SkipWithError("the book was not saved");
    const QString history = dir.path() + QStringLiteral("/History/");
    for (auto _ : state) {
        if (HistoryBackup::makeHistoryBackup(storage, history))
            state.SkipWithError("the backup was not written");
    }
}

} // namespace

BENCHMARK(BM_CopyFileWithCp)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_LoadBook)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SaveBookRepeated)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SaveBookFirstAfterLoad)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CloseUnchangedFirstSession)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CloseAfterOneEdit)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ParseOnly)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SerializeOnly)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SerializeAndWriteOnly)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_TextExportOnly)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_TextExportEveryPageAnew)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_HistoryBackupAfterSave)->Unit(benchmark::kMillisecond)->UseRealTime();

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
