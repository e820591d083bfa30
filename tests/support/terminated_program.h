#pragma once

// Runs programs in processes of their own: to their end, or offscreen against
// a given home and ended by SIGTERM as a session's end does.

#include "widget_test.h"

#include <csignal>

// The environment of a program run against `home`, offscreen.
inline QProcessEnvironment offscreenHome(const QTemporaryDir& home)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("HOME", home.path());
    env.insert("XDG_CONFIG_HOME", home.filePath("config"));
    env.insert("XDG_DATA_HOME", home.filePath("share"));
    env.insert("QT_QPA_PLATFORM", "offscreen");
    return env;
}

#ifdef Q_OS_UNIX
// In a child before it runs the program: SIGTERM waits until the program
// listens for it.
inline void blockSigterm()
{
    sigset_t blocked;
    sigemptyset(&blocked);
    sigaddset(&blocked, SIGTERM);
    sigprocmask(SIG_BLOCK, &blocked, nullptr);
}

// Starts the program with SIGTERM blocked and sends it at once: the signal
// waits until the program listens for it, wherever start-up is. A program
// that waits for somebody never ends; one that is only slow ends within
// `bound` milliseconds even on a loaded machine.
inline void runAndTerminate(const QString& path, const QStringList& arguments,
                            const QTemporaryDir& home, int bound = 20000)
{
    QProcess program;
    program.setProcessEnvironment(offscreenHome(home));
    program.setChildProcessModifier(blockSigterm);
    program.start(path, arguments);
    ASSERT_TRUE(program.waitForStarted(10000));
    ASSERT_EQ(::kill(static_cast<pid_t>(program.processId()), SIGTERM), 0);
    ASSERT_TRUE(program.waitForFinished(bound)) << "the program waited for somebody";
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0) << program.readAllStandardError().toStdString();
}

#endif

struct ProgramRun
{
    int exitCode = -1; // -1 also when it crashed or did not end in two minutes
    QByteArray output; // standard output and error
};

inline ProgramRun
runProgram(const QString& path, const QStringList& arguments,
           const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment())
{
    QProcess program;
    program.setProcessEnvironment(env);
    program.setProcessChannelMode(QProcess::MergedChannels);
    program.start(path, arguments);
    if (!program.waitForFinished(120000) || program.exitStatus() != QProcess::NormalExit)
        return {-1, program.readAll()};
    return {program.exitCode(), program.readAll()};
}
