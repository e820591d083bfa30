// Start-up as a user sees it: from starting a program to the first map of
// its top-level window, an X event the benchmark waits for (no polling), and
// the program's peak memory at that moment. The floor is the smallest Qt
// widget window; the peer the program with the default book, all in the same
// run under a private Xvfb.

#include "document/data_file.h"
#include "largest_book.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <optional>
#include <spawn.h>
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

    // Blocks until a top-level window (not a menu or tooltip) is mapped.
    void waitForTopLevelMap()
    {
        while (xcb_generic_event_t* event = xcb_wait_for_event(m_connection)) {
            const auto* map = reinterpret_cast<xcb_map_notify_event_t*>(event);
            const bool ours = (event->response_type & 0x7f) == XCB_MAP_NOTIFY &&
                              map->event == m_root && !map->override_redirect;
            free(event);
            if (ours)
                return;
        }
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
    explicit Home(const QByteArray& book)
    {
        QDir().mkpath(m_dir.filePath(QStringLiteral("Documents")));
        QDir().mkpath(m_dir.filePath(QStringLiteral(".config")));
        QFile data(m_dir.filePath(QStringLiteral("Documents/velkaro.dat")));
        data.open(QIODevice::WriteOnly);
        data.write(book);
        QFile settings(m_dir.filePath(QStringLiteral(".config/Velkaro Pro.conf")));
        settings.open(QIODevice::WriteOnly);
        settings.write("[%U041E%U0431%U0449%U0438%U0435]\nTipsDuration=0\n");
    }
    QByteArray path() const { return QFile::encodeName(m_dir.path()); }
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
    QByteArrayList env = {"DISPLAY=" + display().name(), "QT_QPA_PLATFORM=xcb"};
    if (home) {
        env << "HOME=" + home->path() << "XDG_CONFIG_HOME=" + home->path() + "/.config"
            << "XDG_DATA_HOME=" + home->path() + "/share";
    }
    for (char** e = environ; *e; ++e) {
        const QByteArray entry(*e);
        if (!entry.startsWith("DISPLAY=") && !entry.startsWith("QT_QPA_PLATFORM=") &&
            !(home && (entry.startsWith("HOME=") || entry.startsWith("XDG_"))))
            env << entry;
    }
    std::vector<char*> envp;
    for (QByteArray& entry : env)
        envp.push_back(entry.data());
    envp.push_back(nullptr);
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

} // namespace

BENCHMARK(BM_StartMinimalQtWindow)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(10);
BENCHMARK(BM_StartDefaultBook)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(10);
BENCHMARK(BM_StartLargestBook)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(10);

BENCHMARK_MAIN();
