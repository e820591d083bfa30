// velkaro-cli on the largest book, each command beside the Unix tool that
// does as much with the same file in the same run: printing the first or the
// last page beside a `grep -c` that reads the whole file, a search that finds
// nothing or a match on every page beside `grep` doing the same, the check
// beside `wc -l`, the whole text export beside `cat`. Every run is a whole
// process, start-up included, as a script calling the tool pays it. Each
// round runs the command and its floor one after the other, the order
// turning each round; the counters give both medians and their ratio.

#include "book_folder.h"
#include "largest_book.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <fcntl.h>
#include <optional>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

const QByteArray& bookPath()
{
    static const BookFolder book;
    static const QByteArray path = QFile::encodeName(book.path());
    return path;
}

QByteArray cliPath()
{
    const QString self = QFile::symLinkTarget(QStringLiteral("/proc/self/exe"));
    return QFile::encodeName(QFileInfo(self).absolutePath() + QStringLiteral("/velkaro-cli"));
}

// Runs `argv` to its end, its output read from a pipe and thrown away (not
// /dev/null: GNU grep sees that it writes there and stops at its first match
// instead of reading the whole file). The seconds it took, or none when it
// could not be started or failed.
std::optional<double> runOnce(std::vector<QByteArray> args)
{
    std::vector<char*> argv;
    for (QByteArray& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    const auto start = std::chrono::steady_clock::now();
    int out[2];
    if (pipe2(out, O_CLOEXEC) != 0)
        return std::nullopt;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    char buffer[65536];
    while (spawned == 0 && read(out[0], buffer, sizeof buffer) > 0) {
    }
    close(out[0]);
    int status = 0;
    if (spawned != 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status) ||
        WEXITSTATUS(status) > 1)
        return std::nullopt;
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// The command against its floor, interleaved round by round.
void runPair(benchmark::State& state, const std::vector<QByteArray>& command,
             const std::vector<QByteArray>& floor)
{
    std::vector<double> ours;
    std::vector<double> theirs;
    for (auto _ : state) {
        const bool oursFirst = ours.size() % 2 == 0;
        const std::optional<double> first = runOnce(oursFirst ? command : floor);
        const std::optional<double> second = runOnce(oursFirst ? floor : command);
        if (!first || !second) {
            state.SkipWithError("a program could not be started or failed");
            return;
        }
        ours.push_back(oursFirst ? *first : *second);
        theirs.push_back(oursFirst ? *second : *first);
    }
    state.counters["cli_ms"] = median(ours) * 1e3;
    state.counters["floor_ms"] = median(theirs) * 1e3;
    state.counters["ratio"] = median(ours) / median(theirs);
}

// Not in the book: every page is searched to its end.
const QByteArray kAbsent = QStringLiteral("Петров").toUtf8();

// Printing a page beside a `grep -c` that scans the whole file.
void BM_CatFirstPageVsGrepCount(benchmark::State& state)
{
    runPair(state, {cliPath(), "cat", bookPath(), "1"}, {"grep", "-c", "555-", bookPath()});
}

void BM_CatLastPageVsGrepCount(benchmark::State& state)
{
    runPair(state, {cliPath(), "cat", bookPath(), QByteArray::number(LargestBook::pages)},
            {"grep", "-c", "555-", bookPath()});
}

void BM_FindNoMatchVsGrep(benchmark::State& state)
{
    runPair(state, {cliPath(), "find", bookPath(), kAbsent}, {"grep", kAbsent, bookPath()});
}

// A match on every page.
void BM_FindEveryPageVsGrep(benchmark::State& state)
{
    runPair(state, {cliPath(), "find", bookPath(), "555-"}, {"grep", "555-", bookPath()});
}

void BM_ExportTextVsCat(benchmark::State& state)
{
    runPair(state, {cliPath(), "export-text", bookPath()}, {"cat", bookPath()});
}

void BM_CheckVsWcLines(benchmark::State& state)
{
    runPair(state, {cliPath(), "check", bookPath()}, {"wc", "-l", bookPath()});
}

// Rounds, each the command and its floor: enough for a median on a busy
// machine.
constexpr int kRounds = 21;

} // namespace

BENCHMARK(BM_CatFirstPageVsGrepCount)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(kRounds);
BENCHMARK(BM_CatLastPageVsGrepCount)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(kRounds);
BENCHMARK(BM_FindNoMatchVsGrep)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(kRounds);
BENCHMARK(BM_FindEveryPageVsGrep)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(kRounds);
BENCHMARK(BM_ExportTextVsCat)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(kRounds);
BENCHMARK(BM_CheckVsWcLines)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(kRounds);

BENCHMARK_MAIN();
