// velkaro-cli on the largest book, each command beside the Unix tool that
// does as much with the same file in the same run: printing one page beside
// `grep -c`, a search that finds nothing beside `grep`, the check beside
// `wc -l`. Every run is a whole process, start-up included, as a script
// calling the tool pays it.

#include "book_folder.h"

#include <QFile>
#include <QFileInfo>
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
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

// Runs `argv` to its end with its output thrown away, as often as the state asks.
void run(benchmark::State& state, std::vector<QByteArray> args)
{
    std::vector<char*> argv;
    for (QByteArray& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    for (auto _ : state) {
        pid_t pid = 0;
        if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
            state.SkipWithError("the program could not be started");
            break;
        }
        int status = 0;
        waitpid(pid, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) > 1) {
            state.SkipWithError("the program failed");
            break;
        }
    }
    posix_spawn_file_actions_destroy(&actions);
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

void BM_GrepNoMatch(benchmark::State& state)
{
    run(state, {"grep", kAbsent, bookPath()});
}

void BM_CliFindNoMatch(benchmark::State& state)
{
    run(state, {cliPath(), "find", bookPath(), kAbsent});
}

void BM_WcLines(benchmark::State& state)
{
    run(state, {"wc", "-l", bookPath()});
}

void BM_CliCheck(benchmark::State& state)
{
    run(state, {cliPath(), "check", bookPath()});
}

} // namespace

BENCHMARK(BM_GrepCount)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CliCatOnePage)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_GrepNoMatch)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CliFindNoMatch)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_WcLines)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CliCheck)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
