// Start-up as a user sees it: from starting a program to the first map of
// its top-level window, an X event the benchmark waits for (no polling), and
// the program's peak memory at that moment. The floor is the smallest Qt
// widget window; the peer the program with the default book, all in the same
// run under a private Xvfb.
//
// BM_Sessions lives whole sessions as fresh processes, round after round, the
// programs taking turns so that a loaded machine burdens each alike: start to
// the first map, a letter typed and the first Ctrl+S (until the export is in
// place), a second letter and Ctrl+S, then the termination signal to the
// exit. It reports the median of each step, the processor time of each
// save (`_cpu`) and the peak memory of the session before its close. Run it
// under `taskset -c 0` as well for the figures of one core.
// BM_UnchangedSessions lives the same sessions with nothing typed: the close
// of a book with nothing changed. It also runs the default book in the
// largest book's window (`default_tall`), so that the close of the largest
// book can be set beside the default book's in a window of the same size.

#include "document/data_file.h"
#include "largest_book.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <map>
#include <optional>
#include <poll.h>
#include <span>
#include <spawn.h>
#include <sys/inotify.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

QString programFolder()
{
    return QFileInfo(QFile::symLinkTarget(QStringLiteral("/proc/self/exe"))).absolutePath();
}

// An X server of our own, so no other window's map is taken for ours.
class PrivateDisplay
{
public:
    PrivateDisplay()
    {
        int fds[2];
        if (pipe(fds) != 0)
            return;
        const std::string fd = std::to_string(fds[1]);
        const char* argv[] = {"Xvfb",         "-displayfd", fd.c_str(), "-screen", "0",
                              "1280x1024x24", "-nolisten",  "tcp",      nullptr};
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addclose(&actions, fds[0]);
        if (posix_spawnp(&m_pid, "Xvfb", &actions, nullptr, const_cast<char**>(argv), environ) != 0)
            m_pid = 0;
        posix_spawn_file_actions_destroy(&actions);
        ::close(fds[1]);
        // The number comes as a line; the pipe stays open until its end,
        // or the server, writing into a closed pipe, would end.
        QByteArray number;
        char ch = 0;
        while (m_pid && ::read(fds[0], &ch, 1) == 1 && ch != '\n')
            number += ch;
        ::close(fds[0]);
        if (number.isEmpty())
            return;
        m_name = ":" + number;
        m_connection = xcb_connect(m_name.constData(), nullptr);
        if (xcb_connection_has_error(m_connection))
            return;
        m_root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
        const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(m_connection, m_root, XCB_CW_EVENT_MASK, &mask);
        xcb_flush(m_connection);
        m_ready = true;
    }
    ~PrivateDisplay()
    {
        if (m_connection)
            xcb_disconnect(m_connection);
        if (m_pid > 0) {
            kill(m_pid, SIGTERM);
            waitpid(m_pid, nullptr, 0);
        }
    }
    bool ready() const { return m_ready; }
    const QByteArray& name() const { return m_name; }

    // Blocks until a top-level window (not a menu or tooltip) is mapped; that window.
    xcb_window_t waitForTopLevelMap()
    {
        while (xcb_generic_event_t* event = xcb_wait_for_event(m_connection)) {
            const auto* map = reinterpret_cast<xcb_map_notify_event_t*>(event);
            const bool ours = (event->response_type & 0x7f) == XCB_MAP_NOTIFY &&
                              map->event == m_root && !map->override_redirect;
            const xcb_window_t window = map->window;
            free(event);
            if (ours)
                return window;
        }
        return 0;
    }

    // Keys typed go to `window`, as a window manager would arrange.
    void focus(xcb_window_t window)
    {
        xcb_set_input_focus(m_connection, XCB_INPUT_FOCUS_POINTER_ROOT, window, XCB_CURRENT_TIME);
        xcb_flush(m_connection);
    }

private:
    pid_t m_pid = 0;
    QByteArray m_name;
    xcb_connection_t* m_connection = nullptr;
    xcb_window_t m_root = 0;
    bool m_ready = false;
};

PrivateDisplay& display()
{
    static PrivateDisplay instance;
    return instance;
}

// A home folder whose documents folder holds `book`, with no tip of the day
// shown, as the program finds it at a user's second start.
class Home
{
public:
    explicit Home(const QByteArray& book, const QByteArray& settingsLines = {})
    {
        QDir().mkpath(m_dir.filePath(QStringLiteral("Documents")));
        QDir().mkpath(m_dir.filePath(QStringLiteral(".config")));
        QFile data(m_dir.filePath(QStringLiteral("Documents/velkaro.dat")));
        data.open(QIODevice::WriteOnly);
        data.write(book);
        QFile settings(m_dir.filePath(QStringLiteral(".config/Velkaro Pro.conf")));
        settings.open(QIODevice::WriteOnly);
        settings.write("[%U041E%U0431%U0449%U0438%U0435]\nTipsDuration=0\n" + settingsLines);
    }
    QByteArray path() const { return QFile::encodeName(m_dir.path()); }
    QByteArray documents() const { return path() + "/Documents"; }
    qint64 bookBytes() const
    {
        return QFileInfo(m_dir.filePath(QStringLiteral("Documents/velkaro.dat"))).size();
    }

private:
    QTemporaryDir m_dir;
};

// The peak resident memory of a running process so far, in bytes.
qint64 peakMemory(pid_t pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong() * 1024;
    }
    return 0;
}

// The processor time a running process used so far, all its threads, in
// milliseconds (the scheduler's count, finer than the clock ticks of stat).
double processorMilliseconds(pid_t pid)
{
    const QString tasks = QStringLiteral("/proc/%1/task").arg(pid);
    double nanoseconds = 0;
    for (const QString& task : QDir(tasks).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile schedstat(tasks + u'/' + task + QStringLiteral("/schedstat"));
        if (schedstat.open(QIODevice::ReadOnly))
            nanoseconds += schedstat.readAll().split(' ').value(0).toDouble();
    }
    return nanoseconds / 1e6;
}

// Waits until a running process has used no processor time for 100 ms (at
// most two seconds), so that what it does next is measured alone.
void waitUntilIdle(pid_t pid)
{
    double used = processorMilliseconds(pid);
    for (int quiet = 0, waited = 0; quiet < 5 && waited < 100; ++waited) {
        usleep(20'000);
        const double now = processorMilliseconds(pid);
        quiet = now - used < 0.05 ? quiet + 1 : 0;
        used = now;
    }
}

// The environment of a program shown on our display, in `home` when given.
std::vector<QByteArray> programEnvironment(const Home* home)
{
    std::vector<QByteArray> env = {"DISPLAY=" + display().name(), "QT_QPA_PLATFORM=xcb"};
    if (home) {
        env.push_back("HOME=" + home->path());
        env.push_back("XDG_CONFIG_HOME=" + home->path() + "/.config");
        env.push_back("XDG_DATA_HOME=" + home->path() + "/share");
        env.push_back("TMPDIR=" + home->path());
    }
    for (char** e = environ; *e; ++e) {
        const QByteArray entry(*e);
        if (!entry.startsWith("DISPLAY=") && !entry.startsWith("QT_QPA_PLATFORM=") &&
            !(home && (entry.startsWith("HOME=") || entry.startsWith("XDG_") ||
                       entry.startsWith("TMPDIR="))))
            env.push_back(entry);
    }
    return env;
}

std::vector<char*> pointers(std::vector<QByteArray>& strings)
{
    std::vector<char*> out;
    for (QByteArray& string : strings)
        out.push_back(string.data());
    out.push_back(nullptr);
    return out;
}

void startUntilShown(benchmark::State& state, const QString& program,
                     const std::optional<QByteArray>& book)
{
    if (!display().ready()) {
        state.SkipWithError("Xvfb could not be started");
        return;
    }
    std::optional<Home> home;
    if (book)
        home.emplace(*book);
    std::vector<QByteArray> env = programEnvironment(home ? &*home : nullptr);
    const std::vector<char*> envp = pointers(env);
    const QByteArray path = QFile::encodeName(programFolder() + u'/' + program);
    qint64 peak = 0;
    for (auto _ : state) {
        char* argv[] = {const_cast<char*>(path.constData()), nullptr};
        pid_t pid = 0;
        const auto start = Clock::now();
        if (posix_spawn(&pid, path.constData(), nullptr, nullptr, argv, envp.data()) != 0) {
            state.SkipWithError("the program could not be started");
            return;
        }
        display().waitForTopLevelMap();
        const auto shown = Clock::now();
        peak = std::max(peak, peakMemory(pid));
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
        state.SetIterationTime(std::chrono::duration<double>(shown - start).count());
    }
    state.counters["peak_MiB"] = double(peak) / (1024 * 1024);
    if (home)
        state.counters["book_MiB"] = double(home->bookBytes()) / (1024 * 1024);
}

void BM_StartMinimalQtWindow(benchmark::State& state)
{
    startUntilShown(state, QStringLiteral("minimal_window"), std::nullopt);
}

void BM_StartDefaultBook(benchmark::State& state)
{
    startUntilShown(state, QStringLiteral("velkaro"),
                    DataFile::serialize(DataFile::defaultPages()));
}

void BM_StartLargestBook(benchmark::State& state)
{
    startUntilShown(state, QStringLiteral("velkaro"), DataFile::serialize(LargestBook::make()));
}

// Runs a command to its end; false when it failed.
bool runToEnd(std::vector<QByteArray> args, std::vector<QByteArray>& env)
{
    const std::vector<char*> argv = pointers(args);
    const std::vector<char*> envp = pointers(env);
    pid_t pid = 0;
    int status = 0;
    return posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), envp.data()) == 0 &&
           waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Waits until a file named `name` is put in place in the watched folder, at
// most `milliseconds`.
bool waitForFile(int watch, const QByteArray& name, int milliseconds)
{
    alignas(inotify_event) char buffer[4096];
    pollfd ready{watch, POLLIN, 0};
    while (poll(&ready, 1, milliseconds) == 1) {
        const ssize_t size = ::read(watch, buffer, sizeof buffer);
        for (ssize_t at = 0; at < size;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
            if (event->len > 0 && name == event->name)
                return true;
            at += ssize_t(sizeof(inotify_event) + event->len);
        }
    }
    return false;
}

double millisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// One program taking its turns: what each step of its sessions took.
struct Subject
{
    const char* name;
    QString program;
    std::optional<QByteArray> book;
    std::optional<Home> home;
    std::map<std::string, std::vector<double>> times;
    QByteArray settingsLines = {};
};

// Where the largest book's window first opens on this display: its tabs ask
// for the whole height (1024 pixels), the default book's for 450. A close
// takes longer for a taller window, so the default book is also measured in
// that place, to tell the window's share from the book's.
const QByteArray kLargestBookPlacement =
    "[StartUp-frmMain]\nHeight=15360\nLeft=4785\nTop=0\nWidth=9645\nWindowState=0\n";

// One session of `subject`: start, with a book and `edit` a letter and
// Ctrl+S twice, then the termination signal once the program is idle. The
// step that failed, or nullptr.
const char* liveSession(Subject& subject, bool edit)
{
    std::vector<QByteArray> env = programEnvironment(subject.home ? &*subject.home : nullptr);
    const std::vector<char*> envp = pointers(env);
    const QByteArray path = QFile::encodeName(programFolder() + u'/' + subject.program);
    char* argv[] = {const_cast<char*>(path.constData()), nullptr};
    pid_t pid = 0;
    auto start = Clock::now();
    if (posix_spawn(&pid, path.constData(), nullptr, nullptr, argv, envp.data()) != 0)
        return "start";
    const xcb_window_t window = display().waitForTopLevelMap();
    subject.times["start"].push_back(millisecondsSince(start));
    display().focus(window);
    const char* failed = nullptr;
    const int watch = inotify_init1(IN_CLOEXEC);
    if (subject.home)
        inotify_add_watch(watch, subject.home->documents().constData(), IN_MOVED_TO);
    // A window just shown may not take keys yet: a letter lost leaves the
    // book unchanged and Ctrl+S without a save, and both are typed again.
    for (const char* save : {"first_save", "repeated_save"}) {
        for (int attempt = 0; edit && subject.home && attempt < 5; ++attempt) {
            failed = save;
            if (!runToEnd({"xdotool", "type", "x"}, env))
                break;
            waitUntilIdle(pid);
            start = Clock::now();
            const double processorBefore = processorMilliseconds(pid);
            // The export is put in place last.
            if (runToEnd({"xdotool", "key", "ctrl+s"}, env) &&
                waitForFile(watch, "velkaro", 3000)) {
                subject.times[save].push_back(millisecondsSince(start));
                subject.times[std::string(save) + "_cpu"].push_back(processorMilliseconds(pid) -
                                                                    processorBefore);
                failed = nullptr;
                break;
            }
        }
        if (failed)
            break;
    }
    ::close(watch);
    // Not the exit's figure: a spawned child's count starts from ours.
    subject.times["peak_MiB"].push_back(double(peakMemory(pid)) / (1024 * 1024));
    waitUntilIdle(pid);
    start = Clock::now();
    kill(pid, SIGTERM);
    if (waitpid(pid, nullptr, 0) != pid)
        return "close";
    subject.times["close"].push_back(millisecondsSince(start));
    return failed;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

void liveSessions(benchmark::State& state, bool edit)
{
    if (!display().ready()) {
        state.SkipWithError("Xvfb could not be started");
        return;
    }
    Subject subjects[] = {
        {"minimal", QStringLiteral("minimal_window"), std::nullopt, std::nullopt, {}},
        {"default",
         QStringLiteral("velkaro"),
         DataFile::serialize(DataFile::defaultPages()),
         std::nullopt,
         {}},
        {"largest",
         QStringLiteral("velkaro"),
         DataFile::serialize(LargestBook::make()),
         std::nullopt,
         {}},
        {"default_tall",
         QStringLiteral("velkaro"),
         DataFile::serialize(DataFile::defaultPages()),
         std::nullopt,
         {},
         kLargestBookPlacement},
    };
    // Sessions with edits leave the default book's window where it opens.
    const std::span<Subject> taking(subjects, edit ? 3 : 4);
    for (Subject& subject : taking) {
        if (subject.book)
            subject.home.emplace(*subject.book, subject.settingsLines);
    }
    for (auto _ : state) {
        for (Subject& subject : taking) {
            if (const char* step = liveSession(subject, edit)) {
                const std::string failed = std::string(subject.name) + ": " + step + " failed";
                state.SkipWithError(failed.c_str());
                return;
            }
        }
    }
    for (const Subject& subject : taking) {
        for (const auto& [step, times] : subject.times)
            state.counters[std::string(subject.name) + '_' + step] = median(times);
    }
}

void BM_Sessions(benchmark::State& state)
{
    liveSessions(state, true);
}

void BM_UnchangedSessions(benchmark::State& state)
{
    liveSessions(state, false);
}

} // namespace

BENCHMARK(BM_StartMinimalQtWindow)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(10);
BENCHMARK(BM_StartDefaultBook)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(10);
BENCHMARK(BM_StartLargestBook)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(10);
// Rounds; medians of at least seven. A close takes a few milliseconds and
// moves by one or two with the scheduler, so the unchanged sessions, a
// quarter of a second each, run more of them.
BENCHMARK(BM_Sessions)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(9);
BENCHMARK(BM_UnchangedSessions)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(21);

BENCHMARK_MAIN();
