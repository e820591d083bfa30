#include "document/book_reading.h"

#include "core/byte_digest.h"

#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace {

// Time stamps of files move in steps of a clock tick or more: a change this
// close to the stamp may leave every time as it was.
constexpr qint64 kRacyMs = 2000;

} // namespace

BookReading::Stamp BookReading::Stamp::of(const QString& path)
{
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    const QFileInfo info(path);
    if (!info.isFile())
        return {};
    Stamp stamp{true, info.size(), info.lastModified()};
#ifdef Q_OS_UNIX
    struct stat status = {};
    if (::stat(QFile::encodeName(path).constData(), &status) == 0) {
        stamp.changedNs = qint64(status.st_ctim.tv_sec) * 1000000000 + status.st_ctim.tv_nsec;
        stamp.device = status.st_dev;
        stamp.inode = status.st_ino;
    }
#else
    stamp.changedNs = info.metadataChangeTime().toMSecsSinceEpoch() * 1000000;
#endif
    const qint64 latestMs = std::max(stamp.changedNs / 1000000, stamp.modified.toMSecsSinceEpoch());
    stamp.racy = now - latestMs < kRacyMs;
    return stamp;
}

namespace {

bool isCandidate(const PageRecord& page, const BookReading::CleanupCheck& check)
{
    if (page.kind != PageRecord::AddressPage)
        return false;
    const PageText& text = page.text;
    return !check || !text.isStored() || text.storedAsUtf8() || check(text.storedField());
}

} // namespace

qsizetype BookReading::heapFor(const QString& path)
{
    // The pages and their titles take about a third of the bytes again.
    return QFileInfo(path).size() * 3 / 2;
}

BookReading BookReading::parse(QByteArray bytes, const CleanupCheck& check)
{
    BookReading reading;
    reading.bytes = std::move(bytes);
    reading.parsed = DataFile::parseInPlace(reading.bytes);
    if (!reading.parsed.ok())
        return reading;
    std::vector<PageRecord>& pages = reading.parsed.pages;
    pages.insert(pages.begin(), PageRecord{});
    // Taken while the bytes are fresh from the parse; later, at a close, it
    // would be a pass over memory long cold.
    if (reading.parsed.trailingLine == 0 && !reading.bytes.isEmpty())
        reading.digest = ByteDigest::of(reading.bytes);
    reading.cleanupCandidates.assign(pages.size(), false);
    for (size_t i = 1; i < pages.size(); ++i)
        reading.cleanupCandidates[i] = isCandidate(pages[i], check);
    return reading;
}
