#include "core/safe_file.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStorageInfo>
#include <algorithm>
#include <cerrno>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

AppError diskFull()
{
    return {AppError::DiskFull, QStringLiteral("Disk full")};
}

// A file system that is full, a quota or a file-size limit all mean the same
// to the user: there is no room for the book.
bool outOfSpace(const QSaveFile& file)
{
    if (file.error() == QFileDevice::ResourceError)
        return true;
    const QString reason = file.errorString();
#ifdef EDQUOT
    const int codes[] = {ENOSPC, EFBIG, EDQUOT};
#else
    const int codes[] = {ENOSPC, EFBIG};
#endif
    for (const int code : codes) {
        if (reason.contains(qt_error_string(code)))
            return true;
    }
    return false;
}

AppError openFailure(const QString& path, const QSaveFile& file)
{
    const QFileInfo info(path);
    if (!info.dir().exists())
        return {AppError::PathNotFound, QStringLiteral("Path not found")};
    if (outOfSpace(file))
        return diskFull();
    // QSaveFile finds an existing file on a read-only file system "not
    // writable" before it tries: the file system says which it is.
    if (file.errorString().contains(qt_error_string(EROFS)) ||
        QStorageInfo(info.absolutePath()).isReadOnly())
        return {AppError::PermissionDenied, qt_error_string(EROFS)};
    if (info.isDir() || !QFileInfo(info.absolutePath()).isWritable())
        return {AppError::PermissionDenied, QStringLiteral("Permission denied")};
    return {AppError::PathFileAccessError, QStringLiteral("Path/File access error")};
}

AppError writeFailure(const QSaveFile& file)
{
    // A regular file takes fewer bytes than given without an error only when
    // there is no room for more (a full disk or a file-size limit).
    if (file.error() == QFileDevice::NoError || outOfSpace(file))
        return diskFull();
    return {AppError::PathFileAccessError, QStringLiteral("Path/File access error")};
}

AppError linkInTheWay()
{
    return {AppError::PermissionDenied, QStringLiteral("Permission denied: a link is in the way")};
}

// A write of the program goes on without a pause far shorter than this; a
// temporary untouched for longer belongs to no running copy.
constexpr qint64 kStaleAfterSecs = 10 * 60;
constexpr qint64 kOurBytesToLookAt = 4096;

// "<name>.XXXXXX", six letters or digits, as the temporaries of a write are
// named, for one of `names`.
bool isTemporaryOf(const QString& fileName, const QStringList& names)
{
    constexpr qsizetype kSuffix = 7;
    if (fileName.size() <= kSuffix)
        return false;
    const QStringView suffix = QStringView(fileName).last(kSuffix);
    const auto letterOrDigit = [](QChar c) {
        return c.isDigit() || (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
    };
    return suffix.front() == u'.' && std::all_of(suffix.begin() + 1, suffix.end(), letterOrDigit) &&
           names.contains(QStringView(fileName).chopped(kSuffix));
}

} // namespace

QFileInfoList SafeFile::staleTemporaries(const QString& path)
{
    const QFileInfo target(path);
    return staleTemporaries(target.path(), {target.fileName()});
}

// One look at the folder for all the names: a start clears the temporaries
// of dozens of backups in one folder.
QFileInfoList SafeFile::staleTemporaries(const QString& folder, const QStringList& names)
{
    const QDateTime staleBefore = QDateTime::currentDateTime().addSecs(-kStaleAfterSecs);
    QFileInfoList stale;
    QDirIterator it(folder, QDir::Files | QDir::Hidden);
    while (it.hasNext()) {
        it.next();
        if (!isTemporaryOf(it.fileName(), names))
            continue;
        const QFileInfo entry = it.fileInfo();
        if (!entry.isSymLink() && entry.lastModified() < staleBefore &&
            !isOpenElsewhere(entry.filePath()))
            stale << entry;
    }
    return stale;
}

void SafeFile::removeStaleTemporaries(const QString& path,
                                      const std::function<bool(const QByteArray&)>& holdsOurs)
{
    const QFileInfo target(path);
    removeStaleTemporaries(target.path(), {target.fileName()}, holdsOurs);
}

void SafeFile::removeStaleTemporaries(const QString& folder, const QStringList& names,
                                      const std::function<bool(const QByteArray&)>& holdsOurs)
{
    for (const QFileInfo& entry : staleTemporaries(folder, names)) {
        QFile file(entry.filePath());
        if (holdsOurs &&
            (!file.open(QIODevice::ReadOnly) || !holdsOurs(file.read(kOurBytesToLookAt))))
            continue;
        file.close();
        QFile::remove(entry.filePath());
    }
}

bool SafeFile::removeLink(const QString& path)
{
    const QString target = QFileInfo(path).symLinkTarget();
    if (!QFile::remove(path) && QFileInfo(path).isSymLink())
        return false;
    qWarning("%s was a symbolic link to %s; a regular file takes its place",
             qPrintable(QDir::toNativeSeparators(path)),
             qPrintable(QDir::toNativeSeparators(target)));
    return true;
}

bool SafeFile::isForeignLink(const QString& path)
{
#ifdef Q_OS_UNIX
    struct stat info = {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 && S_ISLNK(info.st_mode) &&
           info.st_uid != ::geteuid();
#else
    Q_UNUSED(path);
    return false;
#endif
}

bool SafeFile::isOpenElsewhere(const QString& path)
{
#ifdef Q_OS_LINUX
    const QString wanted = QFileInfo(path).canonicalFilePath();
    const QStringList processes =
        QDir(QStringLiteral("/proc")).entryList({QStringLiteral("[0-9]*")}, QDir::Dirs);
    for (const QString& pid : processes) {
        const QDir fds(QStringLiteral("/proc/") + pid + QStringLiteral("/fd"));
        for (const QString& fd : fds.entryList(QDir::AllEntries | QDir::System)) {
            if (QFileInfo(fds.filePath(fd)).symLinkTarget() == wanted)
                return true;
        }
    }
#else
    Q_UNUSED(path);
#endif
    return false;
}

std::optional<AppError> SafeFile::writeWhole(const QString& path, const QByteArray& bytes,
                                             std::optional<QFileDevice::Permissions> permissions,
                                             Links links)
{
    return writeInParts(
        path,
        [&bytes](const Writer& write) -> std::optional<AppError> {
            (void)write(bytes);
            return std::nullopt;
        },
        permissions, links);
}

std::optional<AppError>
SafeFile::writeInParts(const QString& path,
                       const std::function<std::optional<AppError>(const Writer&)>& produce,
                       std::optional<QFileDevice::Permissions> permissions, Links links)
{
    const bool replace = links == Links::Replace;
    if (replace && QFileInfo(path).isSymLink() && !SafeFile::removeLink(path))
        return linkInTheWay();
    QSaveFile file(path);
    // Unbuffered, every byte is written here, so a write cut short (a full
    // disk) is seen while the old file is still in place, with the system's
    // reason; buffered, a short file would be written by commit, which
    // renames even when that last write fails.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return openFailure(path, file);
    // The temporary sits beside whatever the name led to when it was opened:
    // a link planted since the removal above would be written through.
    if (replace && QFileInfo(path).isSymLink()) {
        file.cancelWriting();
        return linkInTheWay();
    }
    if (permissions)
        file.setPermissions(*permissions);
    std::optional<AppError> failure;
    const Writer write = [&file, &failure](QByteArrayView part) {
        if (!failure && file.write(part.data(), part.size()) != part.size())
            failure = writeFailure(file);
        return !failure;
    };
    if (std::optional<AppError> error = produce(write); error && !failure)
        failure = std::move(error);
    if (failure) {
        file.cancelWriting();
        return failure;
    }
    if (!file.commit())
        return writeFailure(file);
    return std::nullopt;
}

QString SafeFile::freeDatedName(const QString& path, const QString& reason)
{
    const QString stamp =
        QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd_HHmmss"));
    const QString base = path + u'.' + reason + u'-' + stamp;
    for (int n = 1; n < 100; ++n) {
        const QString target = n == 1 ? base : base + u'-' + QString::number(n);
        if (!QFileInfo::exists(target) && !QFileInfo(target).isSymLink())
            return target;
    }
    return {};
}

bool SafeFile::keepAside(const QString& path, const QString& reason, QString& keptAs)
{
    const QString target = freeDatedName(path, reason);
    if (target.isEmpty() || !QFile::rename(path, target))
        return false;
    keptAs = target;
    return true;
}

bool SafeFile::keepCopy(const QString& path, const QString& reason, QString& keptAs)
{
    const QString target = freeDatedName(path, reason);
    if (target.isEmpty() || !QFile::copy(path, target))
        return false;
    keptAs = target;
    return true;
}
