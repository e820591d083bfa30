// velkaro-cli on the largest book, each command beside the Unix tool that
// does as much with the same file in the same run: printing the first or the
// last page beside a `grep -c` that reads the whole file, a search that finds
// nothing or a match on every page beside `grep` doing the same, the check
// beside `wc -l`, the whole text export beside `cat`. Every run is a whole
// process, start-up included, as a script calling the tool pays it.

#include "book_folder.h"
#include "largest_book.h"

#include <QFile>
#include <QFileInfo>
#include <benchmark/benchmark.h>
#include <fcntl.h>
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

// Runs `argv` to its end, as often as the state asks, its output read from a
// pipe and thrown away. Not /dev/null: GNU grep sees that it writes there and
// stops at its first match instead of reading the whole file.
void run(benchmark::State& state, std::vector<QByteArray> args)
{
    std::vector<char*> argv;
    for (QByteArray& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    for (auto _ : state) {
        int out[2];
        if (pipe2(out, O_CLOEXEC) != 0) {
            state.SkipWithError("no pipe");
            break;
        }
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
            WEXITSTATUS(status) > 1) {
            state.SkipWithError("the program could not be started or failed");
            break;
        }
    }
}

// Not in the book: every page is searched to its end.
const QByteArray kAbsent = QStringLiteral("Петров").toUtf8();

void BM_GrepCount(benchmark::State& state)
{
    run(state, {"grep", "-c", "555-", bookPath()});
}

void BM_CliCatOnePage(benchmark::State& state)
{
    run(state, {cliPath(), "cat", bookPath(), "1"});
}

void BM_CliCatLastPage(benchmark::State& state)
{
    run(state, {cliPath(), "cat", bookPath(), QByteArray::number(LargestBook::pages)});
}

void BM_GrepNoMatch(benchmark::State& state)
{
    run(state, {"grep", kAbsent, bookPath()});
}

void BM_CliFindNoMatch(benchmark::State& state)
{
    run(state, {cliPath(), "find", bookPath(), kAbsent});
}

// On every page.
void BM_GrepEveryPage(benchmark::State& state)
{
    run(state, {"grep", "555-", bookPath()});
}

void BM_CliFindEveryPage(benchmark::State& state)
{
    run(state, {cliPath(), "find", bookPath(), "555-"});
}

void BM_Cat(benchmark::State& state)
{
    run(state, {"cat", bookPath()});
}

void BM_CliExportText(benchmark::State& state)
{
    run(state, {cliPath(), "export-text", bookPath()});
}

void BM_WcLines(benchmark::State& state)
{
    run(state, {"wc", "-l", bookPath()});
}

void BM_CliCheck(benchmark::State& state)
{
    run(state, {cliPath(), "check", bookPath()});
}

// Each command as often as its floor, enough for a mean on a busy machine.
constexpr int kRuns = 9;

} // namespace

BENCHMARK(BM_GrepCount)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(kRuns);
BENCHMARK(BM_CliCatOnePage)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(kRuns);
BENCHMARK(BM_CliCatLastPage)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(kRuns);
BENCHMARK(BM_GrepNoMatch)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(kRuns);
BENCHMARK(BM_CliFindNoMatch)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(kRuns);
BENCHMARK(BM_GrepEveryPage)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(kRuns);
BENCHMARK(BM_CliFindEveryPage)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(kRuns);
BENCHMARK(BM_Cat)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(kRuns);
BENCHMARK(BM_CliExportText)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(kRuns);
BENCHMARK(BM_WcLines)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(kRuns);
BENCHMARK(BM_CliCheck)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(kRuns);

BENCHMARK_MAIN();
