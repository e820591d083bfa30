#include "app/highlight_colors.h"
#include "app/instance_lock.h"
#include "app/single_instance.h"
#include "app/termination_signals.h"
#include "terminated_program.h"

TEST(HighlightColors, PaleColoursArePulledTowards200WithHalvesToEven)
{
    // 199 -> 227 -> 213.5 -> 214; 203 -> 229 -> 214.5 -> 214; 201 -> 228 -> 214.
    const HighlightColors c = HighlightColors::setHighlightColors(qRgb(199, 203, 201));
    EXPECT_EQ(c.highlightColor, qRgb(214, 214, 214));
    EXPECT_EQ(c.highlightShadowColor, qRgb(107, 107, 107));
    // One channel at or below 200 keeps all three where they are.
    const HighlightColors d = HighlightColors::setHighlightColors(qRgb(145, 255, 255));
    EXPECT_EQ(d.highlightColor, qRgb(200, 255, 255));
}

// A start from the desktop's menu brings its activation token along, which
// Wayland wants before it lets the running window come forward.
TEST(SingleInstance, ASecondStartActivatesTheFirstAndHandsOverItsToken)
{
    const QString name =
        QStringLiteral("velkaro-test-") + QUuid::createUuid().toString(QUuid::Id128);
    SingleInstance first(name);
    SingleInstance second(name);
    EXPECT_FALSE(first.activateRunningInstance()) << "nobody is listening yet";
    ASSERT_TRUE(first.tryLock());
    EXPECT_FALSE(second.tryLock());
    ASSERT_TRUE(first.listen());
    QSignalSpy activated(&first, &SingleInstance::activationRequested);
    EXPECT_EQ(second.handOver(u"gnome-shell/Velkaro Pro/4242-0_TIME7"_qs),
              SingleInstance::Start::HandedOver);
    ASSERT_TRUE(activated.wait(5000));
    EXPECT_EQ(activated.at(0).at(0).toString(), u"gnome-shell/Velkaro Pro/4242-0_TIME7"_qs);
    EXPECT_TRUE(second.activateRunningInstance());
    ASSERT_TRUE(activated.wait(5000));
    EXPECT_EQ(activated.at(1).at(0).toString(), QString());
}

// A lock its process left when it died is taken over.
TEST(SingleInstance, TheLockOfADeadCopyIsTakenOver)
{
    const QString name =
        QStringLiteral("velkaro-test-") + QUuid::createUuid().toString(QUuid::Id128);
    QProcess dead;
    dead.start(QStringLiteral("true"));
    ASSERT_TRUE(dead.waitForStarted(10000));
    const qint64 pid = dead.processId();
    ASSERT_TRUE(dead.waitForFinished(10000));
    const QString lock = QDir(QDir::tempPath()).filePath(name + ".lock");
    ASSERT_TRUE(writeAll(lock, QByteArray::number(pid) + "\nvelkaro\n" +
                                   QSysInfo::machineHostName().toUtf8() + "\n"));
    SingleInstance instance(name);
    EXPECT_EQ(instance.handOver(), SingleInstance::Start::Holder);
}

#ifndef Q_OS_WIN
// The lock is the kernel's on the open file, and a lock file of Qt's, as
// earlier versions take it, counts as held both ways: a copy of either kind
// hands over to the other. Given up, the file stays for the next holder; a
// link planted in its place is not followed.
TEST(InstanceLock, HeldAgainstQtsLockFileBothWaysAndNeverThroughALink)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("copy.lock"));
    QLockFile older(path);
    older.setStaleLockTime(0);
    {
        InstanceLock first(path);
        InstanceLock second(path);
        ASSERT_TRUE(first.tryLock());
        EXPECT_FALSE(second.tryLock());
        EXPECT_FALSE(older.tryLock(0));
        // The holder named as Qt names its own, so that an earlier version
        // takes the lock over once this process is gone.
        QLockFile qts(dir.filePath(QStringLiteral("qt.lock")));
        ASSERT_TRUE(qts.tryLock(0));
        const auto holder = [](const QLockFile& file) {
            qint64 pid = 0;
            QString host;
            QString program;
            return std::tuple(file.getLockInfo(&pid, &host, &program), pid, host, program);
        };
        EXPECT_EQ(holder(older), holder(qts));
        first.unlock();
        EXPECT_TRUE(QFile::exists(path));
        EXPECT_TRUE(second.tryLock());
    }
    ASSERT_TRUE(QFile::remove(path));
    ASSERT_TRUE(older.tryLock(0));
    InstanceLock newer(path);
    EXPECT_FALSE(newer.tryLock());
    older.unlock();
    EXPECT_TRUE(newer.tryLock());

    const QString target = dir.filePath(QStringLiteral("target"));
    ASSERT_TRUE(writeAll(target, "kept"));
    const QString link = dir.filePath(QStringLiteral("link.lock"));
    ASSERT_TRUE(QFile::link(target, link));
    InstanceLock planted(link);
    EXPECT_FALSE(planted.tryLock());
    EXPECT_EQ(readAll(target), "kept");
}
#endif

// Two starts at the same moment, ten times over: one copy stays, the other
// hands over to it and ends. SIGTERM waits until the copy listens for it.
TEST(SingleInstance, SimultaneousStartsLeaveOneCopy)
{
    QTemporaryDir home;
    const QProcessEnvironment env = offscreenHome(home);
    for (int round = 0; round < 10; ++round) {
        SCOPED_TRACE(round);
        std::array<QProcess, 2> copies;
        QEventLoop firstEnd;
        for (QProcess& copy : copies) {
            copy.setProcessEnvironment(env);
            copy.setChildProcessModifier(blockSigterm);
            QObject::connect(&copy, &QProcess::finished, &firstEnd, &QEventLoop::quit);
        }
        for (QProcess& copy : copies)
            copy.start(QStringLiteral(VELKARO_PROGRAM), {});
        QTimer::singleShot(20000, &firstEnd, &QEventLoop::quit);
        firstEnd.exec();
        const auto running = [&] {
            return std::count_if(copies.begin(), copies.end(), [](const QProcess& copy) {
                return copy.state() != QProcess::NotRunning;
            });
        };
        EXPECT_EQ(running(), 1);
        for (QProcess& copy : copies) {
            if (copy.state() != QProcess::NotRunning) {
                ::kill(static_cast<pid_t>(copy.processId()), SIGTERM);
                ASSERT_TRUE(copy.waitForFinished(20000));
            }
            EXPECT_EQ(std::pair(copy.exitStatus(), copy.exitCode()),
                      std::pair(QProcess::NormalExit, 0));
        }
    }
}

TEST(TerminationSignals, SigtermReachesTheEventLoop)
{
    TerminationSignals signals_;
    ASSERT_TRUE(signals_.install());
    QSignalSpy spy(&signals_, &TerminationSignals::terminationRequested);
    std::raise(SIGTERM);
    ASSERT_TRUE(spy.wait(5000));
    EXPECT_EQ(spy.at(0).at(0).toInt(), SIGTERM);
}
