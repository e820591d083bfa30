#include "document/book_preload.h"

#include "document/book_storage.h"

#include <QFileInfo>

namespace {

std::optional<BookReading> readPlainBook(const QString& path,
                                         const BookReading::CleanupCheck& check)
{
    if (!QFileInfo(path).isFile())
        return std::nullopt;
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

BookPreload::BookPreload(const QString& path, BookReading::CleanupCheck check)
    : m_path(path), m_reading(std::async(std::launch::async, [path, check = std::move(check)] {
          return readPlainBook(path, check);
      }))
{}

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
    std::optional<BookReading> reading = m_reading.get();
    if (!reading || reading->stamp != BookReading::Stamp::of(path))
        return std::nullopt;
    return reading;
}
