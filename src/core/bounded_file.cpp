#include "core/bounded_file.h"

#include "core/huge_pages.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

constexpr qint64 kChunkBytes = qint64(1) << 20;

BoundedFile::Result refused(BoundedFile::Problem problem, const QString& error)
{
    BoundedFile::Result result;
    result.problem = problem;
    result.error = error;
    return result;
}

BoundedFile::Result notAFile(bool folder)
{
    return refused(BoundedFile::Problem::NotAFile,
                   folder ? QStringLiteral("Is a folder")
                          : QStringLiteral("Not a regular file (a device, pipe or socket)"));
}

BoundedFile::Result tooLarge(qint64 maxBytes)
{
    return refused(BoundedFile::Problem::TooLarge,
                   QStringLiteral("File too large (over %1 bytes)").arg(maxBytes));
}

// Decided from the name alone, before anything is opened: opening a device
// may already do something.
std::optional<BoundedFile::Result> refusalByName(const QString& path, qint64 maxBytes,
                                                 BoundedFile::Links links)
{
    const QFileInfo info(path);
    if (links == BoundedFile::Links::Refuse && info.isSymLink())
        return refused(BoundedFile::Problem::CannotRead, qt_error_string(ELOOP));
    if (!info.exists())
        return std::nullopt; // opening tells why
    if (!info.isFile())
        return notAFile(info.isDir());
    if (info.size() > maxBytes)
        return tooLarge(maxBytes);
    return std::nullopt;
}

#ifdef Q_OS_UNIX
// The name may point elsewhere by the time it is opened. O_NONBLOCK makes a
// FIFO swapped in open at once instead of waiting for a writer, and the type
// of what was actually opened decides.
std::optional<BoundedFile::Result>
openRegular(const QString& path, QFile& file, BoundedFile::Links links = BoundedFile::Links::Follow)
{
    const int noFollow = links == BoundedFile::Links::Refuse ? O_NOFOLLOW : 0;
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | noFollow);
    if (fd < 0)
        return refused(BoundedFile::Problem::CannotRead, qt_error_string(errno));
    struct stat st = {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return notAFile(S_ISDIR(st.st_mode));
    }
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return refused(BoundedFile::Problem::CannotRead, file.errorString());
    }
    return std::nullopt;
}
#else
std::optional<BoundedFile::Result> openRegular(const QString& path, QFile& file,
                                               BoundedFile::Links = BoundedFile::Links::Follow)
{
    file.setFileName(path);
    if (!file.open(QIODevice::ReadOnly))
        return refused(BoundedFile::Problem::CannotRead, file.errorString());
    if (file.isSequential())
        return notAFile(false);
    return std::nullopt;
}
#endif

} // namespace

BoundedFile::Result BoundedFile::read(const QString& path, qint64 maxBytes, Links links)
{
    if (auto refusal = refusalByName(path, maxBytes, links))
        return *refusal;
    QFile file;
    if (auto refusal = openRegular(path, file, links))
        return *refusal;
    if (file.size() > maxBytes)
        return tooLarge(maxBytes);
    // Read straight into one buffer of the size the file has now, one byte
    // over so that growth shows; the file may still grow while it is read,
    // and the ceiling holds all the same.
    QByteArray bytes;
    qsizetype filled = 0;
    while (true) {
        if (filled == bytes.size()) {
            const qsizetype size =
                std::min(maxBytes + 1, filled + std::max(file.size() - filled + 1, kChunkBytes));
            // Exactly that much: a resize alone would take the next power of
            // two, and what the heap hands out next would lie past it.
            bytes.reserve(size);
            bytes.resize(size);
            HugePages::prefer(bytes);
        }
        const qint64 got = file.read(bytes.data() + filled, bytes.size() - filled);
        if (got < 0 || file.error() != QFileDevice::NoError)
            return refused(Problem::CannotRead, file.errorString());
        if (got == 0)
            break;
        filled += got;
        if (filled > maxBytes)
            return tooLarge(maxBytes);
    }
    bytes.truncate(filled);
    Result result;
    result.bytes = std::move(bytes);
    return result;
}

BoundedFile::Result BoundedFile::readHead(const QString& path, qint64 maxBytes)
{
    const QFileInfo info(path);
    if (info.exists() && !info.isFile())
        return notAFile(info.isDir());
    QFile file;
    if (auto refusal = openRegular(path, file))
        return *refusal;
    QByteArray bytes = file.read(maxBytes);
    if (file.error() != QFileDevice::NoError)
        return refused(Problem::CannotRead, file.errorString());
    Result result;
    result.bytes = std::move(bytes);
    return result;
}
