#include "core/safe_file.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

AppError openFailure(const QString& path, const QSaveFile& file)
{
    const QFileInfo info(path);
    if (!info.dir().exists())
        return {AppError::PathNotFound, QStringLiteral("Path not found")};
    if (file.error() == QFileDevice::ResourceError)
        return {AppError::DiskFull, QStringLiteral("Disk full")};
    if (info.isDir() || !QFileInfo(info.absolutePath()).isWritable())
        return {AppError::PermissionDenied, QStringLiteral("Permission denied")};
    return {AppError::PathFileAccessError, QStringLiteral("Path/File access error")};
}

AppError writeFailure(const QSaveFile& file)
{
    if (file.error() == QFileDevice::ResourceError)
        return {AppError::DiskFull, QStringLiteral("Disk full")};
    return {AppError::PathFileAccessError, QStringLiteral("Path/File access error")};
}

} // namespace

std::optional<AppError> SafeFile::writeWhole(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return openFailure(path, file);
    // A short file stays in QFileDevice's buffer until commit, and commit
    // renames even when that last write fails (a full disk): flushed here,
    // the failure is seen while the old file is still in place.
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        const AppError error = writeFailure(file);
        file.cancelWriting();
        return error;
    }
    if (!file.commit())
        return writeFailure(file);
    return std::nullopt;
}

bool SafeFile::keepAside(const QString& path, const QString& reason, QString& keptAs)
{
    const QString stamp =
        QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd_HHmmss"));
    const QString base = path + u'.' + reason + u'-' + stamp;
    for (int n = 1; n < 100; ++n) {
        const QString target = n == 1 ? base : base + u'-' + QString::number(n);
        if (QFileInfo::exists(target))
            continue;
        if (!QFile::rename(path, target))
            return false;
        keptAs = target;
        return true;
    }
    return false;
}
