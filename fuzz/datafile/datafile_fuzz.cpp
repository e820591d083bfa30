// Feeds arbitrary bytes to the data-file reader. Whatever it accepts must be
// written again as the program saves it (Windows-1251, or the UTF-8 it came
// in when Windows-1251 cannot hold it) and read back as the very same pages.

#include "document/data_file.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const DataFile::ParseResult parsed =
        DataFile::parse(QByteArrayView(reinterpret_cast<const char*>(data), qsizetype(size)));
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
