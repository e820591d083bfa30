#pragma once

// Python's vobject and csv modules as the independent reader of the files we
// write and the independent writer of files we read. Tests that need them
// skip when they are not installed (`python3-vobject` on Debian).

#include "unit_test.h"

#include <QProcess>
#include <QStandardPaths>

// A Python 3 that can import `module`, or empty. The one on PATH may be a
// private installation without the system's packages, so the system's is
// tried too.
inline QString pythonWith(const QString& module)
{
    QStringList candidates{QStandardPaths::findExecutable(QStringLiteral("python3")),
                           QStringLiteral("/usr/bin/python3")};
    for (const QString& python : candidates) {
        if (python.isEmpty())
            continue;
        QProcess process;
        process.start(python, {QStringLiteral("-c"), QStringLiteral("import ") + module});
        if (process.waitForFinished(30000) && process.exitStatus() == QProcess::NormalExit &&
            process.exitCode() == 0)
            return python;
    }
    return {};
}

// What `script` prints given `arguments`; nullopt when it fails, with its
// error output in `error`.
inline std::optional<QByteArray> runPython(const QString& python, const QString& script,
                                           const QStringList& arguments, QString* error = nullptr)
{
    QProcess process;
    process.start(python, QStringList{QStringLiteral("-c"), script} + arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        if (error)
            *error = QString::fromUtf8(process.readAllStandardError());
        return std::nullopt;
    }
    return process.readAllStandardOutput();
}
