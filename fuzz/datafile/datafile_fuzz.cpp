// Feeds arbitrary bytes to the data-file reader. Whatever it accepts must be
// writable again, and after one write and read the book must be stable:
// writing and reading it once more gives the very same pages.

#include "document/data_file.h"

#include <cstddef>
#include <cstdint>

namespace {

std::vector<PageRecord> throughTheFile(const std::vector<PageRecord>& pages)
{
    const DataFile::Encoded encoded = DataFile::encode(pages);
    if (!encoded.ok())
        __builtin_trap();
    DataFile::ParseResult again = DataFile::parse(encoded.bytes);
    if (!again.ok())
        __builtin_trap();
    return std::move(again.pages);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const DataFile::ParseResult parsed =
        DataFile::parse(QByteArrayView(reinterpret_cast<const char*>(data), qsizetype(size)));
    if (!parsed.ok())
        return 0;
    if (parsed.pages.empty() || parsed.pages.size() > size_t(DataFile::MaxPages))
        __builtin_trap();
    const std::vector<PageRecord> once = throughTheFile(parsed.pages);
    if (once.size() != parsed.pages.size())
        __builtin_trap();
    if (throughTheFile(once) != once)
        __builtin_trap();
    return 0;
}
