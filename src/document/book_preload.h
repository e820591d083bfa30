#pragma once

#include "document/book_reading.h"

#include <QString>
#include <future>
#include <optional>

// The user's book read on a thread of its own from the program's first
// moment, while the window system is reached and the window built: where two
// cores run, a big book costs the start little more than a small one. Only a
// plain book that parses is kept; anything else is read again as always.
class BookPreload
{
public:
    BookPreload(const QString& path, BookReading::CleanupCheck check);
    ~BookPreload();
    BookPreload(const BookPreload&) = delete;
    BookPreload& operator=(const BookPreload&) = delete;

    // The reading of `path` when that is the file read and it has not changed
    // on disk since; otherwise none. Waits for the thread; gives it once.
    std::optional<BookReading> take(const QString& path);
    void wait() const;

private:
    QString m_path;
    std::future<std::optional<BookReading>> m_reading;
};
