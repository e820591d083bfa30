#pragma once

#include "document/data_file.h"
#include "document/page_record.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QDateTime>
#include <functional>
#include <optional>
#include <vector>

// A data file as read, before any of it reaches the book: the pages parsed
// from its bytes and whether the tab clean-up may change each. Making it needs no window, so it can
// be made on a thread of its own while the window is built.
struct BookReading
{
    // Clears a page of the clean-up from its stored bytes, without decoding it.
    using CleanupCheck = std::function<bool(QByteArrayView)>;

    // What tells one version of a file from another without reading it: its
    // size and times, and which file of the disk it is, so that a file
    // replaced by another with the same size and modification time, or
    // rewritten in place and its time set back, is told apart. A file changed
    // within moments of the stamp (time stamps are coarse) may still look the
    // same: such a stamp is racy, and only the bytes tell.
    struct Stamp
    {
        bool known = false;
        qint64 size = 0;
        QDateTime modified;
        qint64 changedNs = 0; // the change time, which no program can set back
        quint64 device = 0;
        quint64 inode = 0;
        bool racy = false; // not part of what tells versions apart
        bool operator==(const Stamp& other) const
        {
            return known == other.known && size == other.size && modified == other.modified &&
                   changedNs == other.changedNs && device == other.device && inode == other.inode;
        }
        static Stamp of(const QString& path);
    };

    QByteArray bytes;
    // Its pages laid out as the book keeps them: an unused slot, then page 1.
    DataFile::ParseResult parsed;
    // ByteDigest of the bytes, where they are the pages read and nothing
    // more: only then do the pages count as saved.
    std::optional<quint64> digest;
    // Per slot: whether the clean-up has to look at the page's text.
    std::vector<bool> cleanupCandidates;
    Stamp stamp;

    // What reading the file at `path` and parsing it takes of the heap, at
    // once: room to keep for it (HugePages::NextBlocks).
    static qsizetype heapFor(const QString& path);
    // Without a check every address page is a candidate.
    static BookReading parse(QByteArray bytes, const CleanupCheck& check);
};
