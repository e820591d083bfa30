#pragma once

#include "document/data_file.h"
#include "document/page_record.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QDateTime>
#include <functional>
#include <vector>

// A data file as read, before any of it reaches the book: the pages parsed
// from its bytes, each page's identity as read and whether the tab clean-up
// may change it. Making it needs no window, so it can be made on a thread of
// its own while the window is built.
struct BookReading
{
    // Clears a page of the clean-up from its stored bytes, without decoding it.
    using CleanupCheck = std::function<bool(QByteArrayView)>;

    // What tells one version of a file from another without reading it.
    struct Stamp
    {
        bool known = false;
        qint64 size = 0;
        QDateTime modified;
        bool operator==(const Stamp&) const = default;
        static Stamp of(const QString& path);
    };

    QByteArray bytes;
    // Its pages laid out as the book keeps them: an unused slot, then page 1.
    DataFile::ParseResult parsed;
    // Pages 1 on as the file holds them; none when part of the file was left
    // out, so that no page counts as saved.
    std::vector<PageIdentity> asRead;
    // Per slot: whether the clean-up has to look at the page's text.
    std::vector<bool> cleanupCandidates;
    Stamp stamp;

    // Without a check every address page is a candidate.
    static BookReading parse(QByteArray bytes, const CleanupCheck& check);
};
