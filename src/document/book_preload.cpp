#include "document/book_preload.h"

#include "core/huge_pages.h"
#include "document/book_storage.h"

#include <QFileInfo>
#include <system_error>

namespace {

std::optional<BookReading> readPlainBook(const QString& path,
                                         const BookReading::CleanupCheck& check)
{
    if (!QFileInfo(path).isFile())
        return std::nullopt;
    const HugePages::NextBlocks blocks(BookReading::heapFor(path));
    BookStorage::Plain file = BookStorage::readPlain(path, nullptr);
    if (!file.bytes || file.sealed)
        return std::nullopt;
    BookReading reading = BookReading::parse(std::move(*file.bytes), check);
    if (!reading.parsed.ok())
        return std::nullopt;
    reading.stamp = BookReading::Stamp::of(path);
    return reading;
}

} // namespace

BookPreload::BookPreload(const QString& path, BookReading::CleanupCheck check) : m_path(path)
{
    // Where no thread can be had, the book is read when loaded, as always.
    try {
        m_reading = std::async(std::launch::async, [path, check = std::move(check)] {
            return readPlainBook(path, check);
        });
    } catch (const std::system_error&) {
    }
}

BookPreload::~BookPreload()
{
    wait();
}

void BookPreload::wait() const
{
    if (m_reading.valid())
        m_reading.wait();
}

std::optional<BookReading> BookPreload::take(const QString& path)
{
    if (path != m_path || !m_reading.valid())
        return std::nullopt;
    std::optional<BookReading> reading;
    // A reading that failed (no memory for it) is made again when loaded.
    try {
        reading = m_reading.get();
    } catch (const std::exception&) {
        return std::nullopt;
    }
    if (!reading || reading->stamp != BookReading::Stamp::of(path))
        return std::nullopt;
    return reading;
}
