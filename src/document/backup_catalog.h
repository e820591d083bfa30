#pragma once

#include "crypto/book_key.h"
#include "document/data_file.h"
#include "document/page_record.h"

#include <QDateTime>
#include <QString>
#include <optional>
#include <vector>

// The copies of the book a user can go back to: the dated backups of the
// history folder (ExeBaseName + "." + period, 1 to 36) and the books kept in
// the data folder before a restore replaced them. Listing reads no more than
// each file's count line and size, so 36 copies of the largest book are
// listed at once; a copy's pages are read only when somebody asks for them.
// Nothing here ever writes, moves or renames a copy.
class BackupCatalog
{
public:
    enum class Kind
    {
        Backup,  // a shutdown's backup of its ten-day period
        KeptBook // the book as it was before a restore, or a backup kept before a new book
    };

    struct Entry
    {
        QString path;
        Kind kind = Kind::Backup;
        int period = 0; // 1 to 36 for a backup
        QDateTime modified;
        qint64 size = 0;
        std::optional<int> pageCount; // from the count line; nullopt when it is not one
        bool encrypted = false;       // its count is known only once it is opened
    };

    struct Contents
    {
        // Page 1 first; address pages cleaned up as the book is at load.
        std::vector<PageRecord> pages;
        // Why the copy cannot be restored: where its data is damaged, or why
        // the file could not be read at all.
        std::optional<DataFile::Error> damage;
        QString fileError;
        bool ok() const { return !damage && fileError.isEmpty(); }
    };

    // What the book kept before a restore carries in its dated name.
    static QString keptBookReason() { return QStringLiteral("before-restore"); }
    // What a backup of a book that was gone carries, kept before a new book's
    // backup took its period.
    static QString keptBackupReason() { return QStringLiteral("before-new-book"); }

    // The backups of `historyFolder` and the books kept beside `dataFilePath`
    // (none when it is empty), the newest first.
    static std::vector<Entry> list(const QString& historyFolder, const QString& exeBaseName,
                                   const QString& dataFilePath);
    // The whole copy, read with the book's own ceiling. A copy with text
    // after its last counted page is damaged too: which of its pages are
    // right cannot be told.
    // An encrypted copy is opened with `key`; without it, or under another
    // key, it is damaged, with the reason in the error's text.
    static Contents read(const QString& path, const BookKey* key = nullptr);

private:
    static std::optional<Entry> entryOf(const QString& path, Kind kind, int period);
};
