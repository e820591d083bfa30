#include "document/data_file.h"
#include "unit_test.h"

#include <QProcess>
#include <random>
#include <sched.h>

namespace {

// 'A' or 'B' when the file holds that whole book as the save child writes it,
// 0 for anything else.
char wholeBookIn(const QString& path)
{
    const std::vector<PageRecord> pages = DataFile::parse(readAll(path)).pages;
    for (const char letter : {'A', 'B'}) {
        if (pages == std::vector<PageRecord>(2000, {"p", QString(400, QLatin1Char(letter)), 0}))
            return letter;
    }
    return 0;
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
        SCOPED_TRACE(testing::Message() << "round " << round);
        QProcess child; // writes one byte after each whole save
        child.start(QStringLiteral(VELKARO_SAVE_CHILD), {"loop", path});
        const int saves = std::uniform_int_distribution(1, 4)(random);
        while (child.bytesAvailable() < saves)
            ASSERT_TRUE(child.waitForReadyRead(30000));
        // A random number of yields puts the kill somewhere inside the next save.
        for (int spin = std::uniform_int_distribution(0, 3000)(random); spin > 0; --spin)
            sched_yield();
        child.kill(); // SIGKILL
        ASSERT_TRUE(child.waitForFinished(30000));
        ASSERT_EQ(child.exitStatus(), QProcess::CrashExit);
        const char found = wholeBookIn(path);
        EXPECT_TRUE(found == 'A' || found == 'B');
    }
}

TEST(SaveReliability, WriteCutShortByTheFileSizeLimitKeepsTheOldBookAndReportsDiskFullOnce)
{
    QTemporaryDir dir;
    const QByteArray old = DataFile::serialize(DataFile::defaultPages());
    ASSERT_TRUE(writeAll(dir.path() + "/velkaro.dat", old));

    QProcess child; // caps its own file size with setrlimit(RLIMIT_FSIZE)
    child.start(QStringLiteral(VELKARO_SAVE_CHILD), {"fsize", dir.path(), "65536"});
    ASSERT_TRUE(child.waitForFinished(60000));
    ASSERT_EQ(child.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(child.exitCode(), 0) << "the save must report failure";
    EXPECT_EQ(child.readAllStandardOutput(), "Disk full (61)\r\nin Velkaro.Subs.SaveDataEx \n");
    EXPECT_EQ(readAll(dir.path() + "/velkaro.dat"), old);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"velkaro.dat"});
}
