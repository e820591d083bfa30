// Feeds arbitrary bytes to the data-file reader, as the program loads a book:
// pages stay in the file's bytes until first read. Every page read so must be
// the page the eager reader makes, with the plain text its characters give;
// and whatever the reader accepts must be written again as the program saves
// it (Windows-1251, or the UTF-8 it came in when Windows-1251 cannot hold it)
// and read back as the very same pages.

#include "document/data_file.h"
#include "richtext/rtf_plain_text.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
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
