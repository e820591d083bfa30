#include "document/book_reading.h"

#include <QFileInfo>

BookReading::Stamp BookReading::Stamp::of(const QString& path)
{
    const QFileInfo info(path);
    if (!info.isFile())
        return {};
    return {true, info.size(), info.lastModified()};
}

namespace {

bool isCandidate(const PageRecord& page, const BookReading::CleanupCheck& check)
{
    if (page.Kind != PageRecord::AddressPage)
        return false;
    const PageText& text = page.Text;
    return !check || !text.isStored() || text.storedAsUtf8() || check(text.storedField());
}

} // namespace

BookReading BookReading::parse(QByteArray bytes, const CleanupCheck& check)
{
    BookReading reading;
    reading.bytes = std::move(bytes);
    reading.parsed = DataFile::parseInPlace(reading.bytes);
    if (!reading.parsed.ok())
        return reading;
    std::vector<PageRecord>& pages = reading.parsed.pages;
    pages.insert(pages.begin(), PageRecord{});
    if (reading.parsed.trailingLine == 0 && !reading.bytes.isEmpty()) {
        reading.asRead.reserve(pages.size() - 1);
        for (size_t i = 1; i < pages.size(); ++i)
            reading.asRead.push_back(PageIdentity::of(pages[i]));
    }
    reading.cleanupCandidates.assign(pages.size(), false);
    for (size_t i = 1; i < pages.size(); ++i)
        reading.cleanupCandidates[i] = isCandidate(pages[i], check);
    return reading;
}
