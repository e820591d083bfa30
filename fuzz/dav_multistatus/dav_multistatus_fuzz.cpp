// Feeds arbitrary bytes to the reader of a server's WebDAV multistatus
// answer: whatever the server sends, the reader returns in bounded time and
// memory.

#include "carddav/dav_multistatus.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    (void)DavMultistatusReader::read(
        QByteArrayView(reinterpret_cast<const char*>(data), qsizetype(size)));
    return 0;
}
