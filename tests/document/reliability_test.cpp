#include "document/book_storage.h"
#include "document/data_file.h"
#include "helpers/save_child_book.h"

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

struct Child
{
    pid_t pid = -1;
    int output = -1;
};

Child start(std::vector<QByteArray> args)
{
    int fds[2];
    if (pipe(fds) != 0)
        return {};
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

int finish(const Child& child)
{
    close(child.output);
    int status = 0;
    waitpid(child.pid, &status, 0);
    return status;
}

QByteArray readToEnd(int fd)
{
    QByteArray out;
    char buffer[4096];
    ssize_t n;
    while ((n = read(fd, buffer, sizeof buffer)) > 0)
        out.append(buffer, n);
    return out;
}

// 'A' or 'B' when the file holds that whole book, 0 otherwise.
char wholeBookIn(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    const DataFile::ParseResult parsed = DataFile::parse(file.readAll());
    if (!parsed.ok() || parsed.pages.size() != size_t(SaveChildBook::pageCount))
        return 0;
    const char letter = parsed.pages[0].Text.isEmpty() ? 0 : parsed.pages[0].Text[0].toLatin1();
    for (int i = 0; i < SaveChildBook::pageCount; ++i) {
        if (parsed.pages[i].Text != SaveChildBook::pageText(letter, i + 1))
            return 0;
    }
    return letter;
}

} // namespace

TEST(SaveReliability, KilledMidSaveTheFileHoldsTheOldOrTheNewBook)
{
    QTemporaryDir dir;
    const QString path = dir.path() + "/velkaro.dat";
    const unsigned seed = std::random_device{}();
    std::mt19937 random(seed);
    SCOPED_TRACE(testing::Message() << "seed " << seed);
    for (int kill = 0; kill < 30; ++kill) {
        const Child child = start({"loop", QFile::encodeName(path)});
        ASSERT_GT(child.pid, 0);
        const int saves = std::uniform_int_distribution(1, 4)(random);
        char tag = 0;
        for (int i = 0; i < saves; ++i)
            ASSERT_EQ(read(child.output, &tag, 1), 1);
        // A random number of yields puts the kill somewhere inside the next save.
        for (int spin = std::uniform_int_distribution(0, 3000)(random); spin > 0; --spin)
            sched_yield();
        ::kill(child.pid, SIGKILL);
        const int status = finish(child);
        ASSERT_TRUE(WIFSIGNALED(status)) << "kill " << kill;
        const char found = wholeBookIn(path);
        EXPECT_TRUE(found == 'A' || found == 'B') << "kill " << kill;
    }
}

TEST(SaveReliability, WriteCutShortByTheFileSizeLimitKeepsTheOldBookAndSaysSoOnce)
{
    QTemporaryDir dir;
    const QString path = dir.path() + "/velkaro.dat";
    const QByteArray old = DataFile::serialize(DataFile::defaultPages());
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(old);
    }
    const Child child = start({"fsize", QFile::encodeName(dir.path()), "65536"});
    ASSERT_GT(child.pid, 0);
    const QString shown = QString::fromUtf8(readToEnd(child.output));
    const int status = finish(child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the save must report failure";
    EXPECT_EQ(shown, "Path/File access error (75)\r\nin Velkaro.Subs.SaveDataEx \n");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), old);
    EXPECT_FALSE(QFile::exists(dir.path() + "/velkaro"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}
