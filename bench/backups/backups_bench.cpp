// The backups window over the largest history a user can have: all 36
// backups present, each a book of 32,767 address pages. Opening the window
// reads each copy's count line and size and nothing more; the floor measured
// in the same run is that work done by hand (a stat, an open and the first
// line of each file), and the same window opened over an empty history
// folder. Choosing a copy reads it whole and lists its titles, beside the
// floor of reading and parsing the same file.

#include "core/bounded_file.h"
#include "core/message_service.h"
#include "dialogs/backups_dialog.h"
#include "document/data_file.h"
#include "largest_book.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <benchmark/benchmark.h>

namespace {

constexpr int kBookPages = LargestBook::pages;
constexpr int kPeriods = 36;

// The history folder, written once for the whole run.
class History
{
public:
    History()
    {
        const QByteArray bytes = DataFile::serialize(LargestBook::make());
        for (int period = 1; period <= kPeriods; ++period) {
            QFile file(path(period));
            if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
                qFatal("cannot write the backups");
        }
    }
    QString folder() const { return m_dir.path() + u'/'; }
    QString path(int period) const { return folder() + "velkaro." + QString::number(period); }

private:
    QTemporaryDir m_dir;
};

const History& history()
{
    static const History instance;
    return instance;
}

class NoTarget : public RestoreTarget
{
public:
    Outcome insertPage(const PageRecord&, const QDateTime&) override { return {}; }
    Outcome replaceCurrentPage(const PageRecord&, const QDateTime&) override { return {}; }
    Outcome replaceBook(const std::vector<PageRecord>&, const QDateTime&) override { return {}; }
};

class NoMessages : public MessageService
{
public:
    void show(const QString&, Icon, const QString&) override {}
    bool ask(const QString&, const QString&) override { return false; }
    int choose(const QString&, const QStringList&) override { return -1; }
};

BackupsDialog::Setup setup(const QString& folder = history().folder())
{
    BackupsDialog::Setup setup;
    setup.historyFolder = folder;
    setup.exeBaseName = QStringLiteral("velkaro");
    setup.addressTabStops = {300, 3325};
    setup.text = [](TextId id) { return BuiltInTexts::text(id); };
    return setup;
}

void BM_FloorCountLinesAndSizes(benchmark::State& state)
{
    for (auto _ : state) {
        qint64 pages = 0;
        for (int period = 1; period <= kPeriods; ++period) {
            QFile file(history().path(period));
            benchmark::DoNotOptimize(QFileInfo(file.fileName()).size());
            if (!file.open(QIODevice::ReadOnly))
                state.SkipWithError("cannot open a backup");
            pages += file.readLine(64).trimmed().toInt();
        }
        if (pages != qint64(kPeriods) * kBookPages)
            state.SkipWithError("wrong page counts");
    }
}

// From the menu's click to the window on the screen with its list filled.
void openWindow(benchmark::State& state, const QString& folder, int listed)
{
    NoTarget target;
    NoMessages messages;
    for (auto _ : state) {
        BackupsDialog dialog(target, messages, setup(folder));
        dialog.show();
        if (!QTest::qWaitForWindowExposed(&dialog) ||
            dialog.findChild<QTreeWidget*>("lstBackups")->topLevelItemCount() != listed)
            state.SkipWithError("the window did not list every backup");
        state.PauseTiming();
        dialog.close();
        QApplication::processEvents();
        state.ResumeTiming();
    }
}

void BM_FloorWindowWithoutCopies(benchmark::State& state)
{
    const QTemporaryDir empty;
    openWindow(state, empty.path() + u'/', 0);
}

void BM_OpenBackupsWindow(benchmark::State& state)
{
    openWindow(state, history().folder(), kPeriods);
}

void BM_FloorReadAndParseOneCopy(benchmark::State& state)
{
    for (auto _ : state) {
        const BoundedFile::Result file =
            BoundedFile::read(history().path(1), DataFile::MaxFileBytes);
        if (!file.bytes || DataFile::parse(*file.bytes).pages.size() != kBookPages)
            state.SkipWithError("the copy did not parse");
    }
}

// A click on one copy until its titles and its first page are shown.
void BM_ChooseOneCopy(benchmark::State& state)
{
    NoTarget target;
    NoMessages messages;
    BackupsDialog dialog(target, messages, setup());
    dialog.show();
    (void)QTest::qWaitForWindowExposed(&dialog);
    auto* list = dialog.findChild<QTreeWidget*>("lstBackups");
    auto* pages = dialog.findChild<QListWidget*>("lstPages");
    int row = 0;
    for (auto _ : state) {
        list->setCurrentItem(list->topLevelItem(row));
        QApplication::processEvents();
        if (pages->count() != kBookPages)
            state.SkipWithError("the titles were not listed");
        row = 1 - row;
    }
}

} // namespace

BENCHMARK(BM_FloorCountLinesAndSizes)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_FloorWindowWithoutCopies)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_OpenBackupsWindow)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_FloorReadAndParseOneCopy)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ChooseOneCopy)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    history();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
