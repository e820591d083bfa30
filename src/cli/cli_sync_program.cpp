#include "cli/cli_sync_program.h"

#include "cli/cli_commands.h"
#include "cli/cli_output.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <vector>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstring>
#include <unistd.h>
#endif

namespace {

#ifdef Q_OS_WIN
const QString kProgram = QStringLiteral("velkaro-cli-sync.exe");
#else
const QString kProgram = QStringLiteral("velkaro-cli-sync");
#endif

// Beside this program in a build, in the helper folder of an installed copy.
QString syncProgram()
{
    const QDir folder(QCoreApplication::applicationDirPath());
    const QString beside = folder.filePath(kProgram);
    if (QFileInfo(beside).isExecutable())
        return beside;
    return QDir::cleanPath(
        folder.filePath(QStringLiteral(VELKARO_CLI_HELPER_FOLDER) + u'/' + kProgram));
}

int cannotStart(const QString& program, const QString& why)
{
    CliOutput::err(QStringLiteral("velkaro-cli sync: %1: %2\n").arg(program, why));
    return CliCommands::ExitFailure;
}

} // namespace

int CliSyncProgram::run(const QStringList& arguments)
{
    const QString program = syncProgram();
#ifdef Q_OS_UNIX
    std::vector<QByteArray> args{QFile::encodeName(program)};
    for (const QString& argument : arguments)
        args.push_back(argument.toLocal8Bit());
    std::vector<char*> argv;
    for (QByteArray& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    ::execv(argv.front(), argv.data());
    return cannotStart(program, QString::fromLocal8Bit(std::strerror(errno)));
#else
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.setInputChannelMode(QProcess::ForwardedInputChannel);
    process.start(program, arguments);
    if (!process.waitForFinished(-1) || process.exitStatus() != QProcess::NormalExit)
        return cannotStart(program, process.errorString());
    return process.exitCode();
#endif
}
