#include "document/backup_catalog.h"

#include "core/bounded_file.h"
#include "crypto/book_cipher.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

namespace {

// A count line is a handful of digits; this holds it with room for a
// byte-order mark and stray blanks.
constexpr qint64 kHeadBytes = 256;
constexpr int kPeriods = 36;

} // namespace

std::optional<BackupCatalog::Entry> BackupCatalog::entryOf(const QString& path, Kind kind,
                                                           int period)
{
    const QFileInfo info(path);
    if (!info.isFile())
        return std::nullopt;
    Entry entry{path, kind, period, info.lastModified(), info.size(), std::nullopt};
    const BoundedFile::Result head = BoundedFile::readHead(path, kHeadBytes);
    if (head.bytes) {
        entry.pageCount = DataFile::pageCountOf(*head.bytes);
        entry.encrypted = BookCipher::isSealed(*head.bytes);
    }
    return entry;
}

std::vector<BackupCatalog::Entry> BackupCatalog::list(const QString& historyFolder,
                                                      const QString& exeBaseName,
                                                      const QString& dataFilePath)
{
    std::vector<Entry> entries;
    for (int period = 1; period <= kPeriods; ++period) {
        const QString path = historyFolder + exeBaseName + u'.' + QString::number(period);
        if (std::optional<Entry> entry = entryOf(path, Kind::Backup, period))
            entries.push_back(std::move(*entry));
    }
    if (!dataFilePath.isEmpty()) {
        const QFileInfo data(dataFilePath);
        const QStringList pattern{data.fileName() + u'.' + keptBookReason() + QStringLiteral("-*"),
                                  data.fileName() + u'.' + keptBackupReason() +
                                      QStringLiteral("-*")};
        for (const QFileInfo& kept :
             QDir(data.absolutePath()).entryInfoList(pattern, QDir::Files)) {
            if (std::optional<Entry> entry = entryOf(kept.filePath(), Kind::KeptBook, 0))
                entries.push_back(std::move(*entry));
        }
    }
    std::stable_sort(entries.begin(), entries.end(),
                     [](const Entry& a, const Entry& b) { return a.modified > b.modified; });
    return entries;
}
