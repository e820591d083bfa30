// Feeds arbitrary bytes to the data-file reader, as the program loads a book:
// pages stay in the file's bytes until first read. Every page read so must be
// the page the eager reader makes, with the plain text its characters give;
// and whatever the reader accepts must be written again as the program saves
// it (Windows-1251, or the UTF-8 it came in when Windows-1251 cannot hold it)
// and read back as the very same pages. A reader that takes the file in parts,
// as velkaro-cli does, meets the records the whole reading indexes, and fails
// where it fails.

#include "document/data_file.h"
#include "richtext/rtf_plain_text.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace {

// Reads `bytes` after its count line in parts of `step` bytes, `most` records
// at a time at most, as a walk through the file does.
void checkRuns(QByteArrayView bytes, qsizetype step, int most)
{
    qsizetype taken = 0;
    const std::optional<int> count = DataFile::countLine(bytes, taken);
    if (!count)
        return;
    const DataFile::Index whole = DataFile::index(bytes);
    qsizetype filled = std::min(bytes.size(), taken + step);
    int pages = 0;
    while (pages < *count) {
        const bool atEnd = filled == bytes.size();
        const DataFile::Run run = DataFile::readRun(bytes.sliced(taken, filled - taken), atEnd,
                                                    std::min(most, *count - pages));
        if (run.length < 0 || (run.pages == 0 && atEnd)) {
            if (whole.ok())
                __builtin_trap();
            return;
        }
        if (run.pages == 0) {
            filled = std::min(bytes.size(), filled + step);
            continue;
        }
        taken += run.length;
        pages += run.pages;
        const DataFile::Record& record =
            whole.ok() ? whole.records.at(size_t(pages - 1)) : run.last;
        if (record.title.data() != run.last.title.data() || record.title != run.last.title ||
            record.text.data() != run.last.text.data() || record.text != run.last.text)
            __builtin_trap();
    }
    if (!whole.ok())
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    if (size > 0)
        checkRuns(bytes, 1 + data[0] % 61, 1 + data[size - 1] % 7);
    const DataFile::ParseResult parsed = DataFile::parseInPlace(bytes);
    const DataFile::ParseResult eager = DataFile::parse(bytes);
    if (parsed.ok() != eager.ok() || parsed.pages.size() != eager.pages.size())
        __builtin_trap();
    for (size_t i = 0; i < parsed.pages.size(); ++i) {
        const PageRecord& page = parsed.pages[i];
        if (!(page == eager.pages[i]) ||
            page.plainText() != RtfPlainText::extract(eager.pages[i].text.text()))
            __builtin_trap();
    }
    if (!parsed.ok())
        return 0;
    if (parsed.pages.empty() || parsed.pages.size() > size_t(DataFile::MaxPages))
        __builtin_trap();
    DataFile::Encoded saved = DataFile::encode(parsed.pages);
    if (!saved.ok())
        saved = DataFile::encode(parsed.pages, parsed.charset);
    if (!saved.ok())
        __builtin_trap();
    const DataFile::ParseResult again = DataFile::parse(saved.bytes);
    if (!again.ok() || again.trailingLine != 0 || again.pages != parsed.pages)
        __builtin_trap();
    return 0;
}
