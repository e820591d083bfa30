#include "document/data_file.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <random>
#include <sched.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Starts the save child with its stdout on a pipe; returns pid and read end.
std::pair<pid_t, int> startChild(std::vector<QByteArray> args)
{
    int fds[2];
    if (pipe(fds) != 0)
        return {-1, -1};
    args.insert(args.begin(), QByteArray(VELKARO_SAVE_CHILD));
    std::vector<char*> argv;
    for (QByteArray& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(fds[1], STDOUT_FILENO);
        close(fds[0]);
        close(fds[1]);
        execv(argv[0], argv.data());
        _exit(127);
    }
    close(fds[1]);
    return {pid, fds[0]};
}

int waitFor(pid_t pid, int fd)
{
    close(fd);
    int status = 0;
    waitpid(pid, &status, 0);
    return status;
}

// 'A' or 'B' when the file holds that whole book, 0 for anything else.
char wholeBookIn(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    const DataFile::ParseResult parsed = DataFile::parse(file.readAll());
    if (parsed.pages.size() != 2000)
        return 0;
    const QString& first = parsed.pages.front().Text;
    for (const PageRecord& page : parsed.pages) {
        if (page.Text != first || page.Text.size() != 400)
            return 0;
    }
    return first.front() == u'A' ? 'A' : (first.front() == u'B' ? 'B' : 0);
}

} // namespace

TEST(SaveReliability, KilledMidSaveTheFileHoldsTheOldOrTheNewBook)
{
    QTemporaryDir dir;
    const QString path = dir.path() + "/velkaro.dat";
    const unsigned seed = std::random_device{}();
    std::mt19937 random(seed);
    SCOPED_TRACE(testing::Message() << "seed " << seed);
    for (int round = 0; round < 30; ++round) {
        const auto [pid, output] = startChild({"loop", QFile::encodeName(path)});
        ASSERT_GT(pid, 0);
        char letter = 0;
        for (int saves = std::uniform_int_distribution(1, 4)(random); saves > 0; --saves)
            ASSERT_EQ(read(output, &letter, 1), 1);
        // A random number of yields puts the kill somewhere inside the next save.
        for (int spin = std::uniform_int_distribution(0, 3000)(random); spin > 0; --spin)
            sched_yield();
        kill(pid, SIGKILL);
        ASSERT_TRUE(WIFSIGNALED(waitFor(pid, output))) << "round " << round;
        const char found = wholeBookIn(path);
        EXPECT_TRUE(found == 'A' || found == 'B') << "round " << round;
    }
}

TEST(SaveReliability, WriteCutShortByTheFileSizeLimitKeepsTheOldBookAndSaysSoOnce)
{
    QTemporaryDir dir;
    QFile file(dir.path() + "/velkaro.dat");
    const QByteArray old = DataFile::serialize(DataFile::defaultPages());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(old);
    file.close();

    const auto [pid, output] = startChild({"fsize", QFile::encodeName(dir.path()), "65536"});
    ASSERT_GT(pid, 0);
    QFile shown;
    ASSERT_TRUE(shown.open(output, QIODevice::ReadOnly));
    const QString messages = QString::fromUtf8(shown.readAll());
    const int status = waitFor(pid, output);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the save must report failure";
    EXPECT_EQ(messages, "Path/File access error (75)\r\nin Velkaro.Subs.SaveDataEx \n");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), old);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"velkaro.dat"});
}
