// Feeds arbitrary bytes to the reader of encrypted books. Nothing but a file
// this very key sealed may open; a header the reader accepts never asks for
// more than its ceilings; and whatever is sealed again opens to the same
// bytes. A sealed copy of the input, changed at one byte the input chooses,
// must be refused.

#include "crypto/book_cipher.h"
#include "crypto/book_key.h"

#include <cstddef>
#include <cstdint>
#include <memory>

namespace {

const BookKey& fuzzKey()
{
    static const std::unique_ptr<BookKey> key =
        BookKey::create(QStringLiteral("fuzz"), BookKey::Limits::fastest());
    return *key;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const BookCipher::HeaderResult header = BookCipher::readHeader(bytes);
    if (header.header && !header.header->params.limits.acceptable())
        __builtin_trap();
    if (BookCipher::open(bytes, fuzzKey()).ok())
        __builtin_trap(); // the odds of forging a Poly1305 tag
    const QByteArray sealed = BookCipher::seal(bytes, fuzzKey());
    const BookCipher::Opened opened = BookCipher::open(sealed, fuzzKey());
    if (!opened.ok() || *opened.plain != bytes)
        __builtin_trap();
    if (size > 0) {
        QByteArray changed = sealed;
        const qsizetype at = qsizetype(data[0]) * 131 % changed.size();
        changed[at] = char(changed[at] ^ (1 << (data[size - 1] % 8)));
        if (BookCipher::open(changed, fuzzKey()).ok())
            __builtin_trap();
    }
    return 0;
}
