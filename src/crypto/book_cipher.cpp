#include "crypto/book_cipher.h"

#include <cstring>
#include <sodium.h>

namespace {

constexpr char kMagic[] = "\x89VKBOOK\x1a";
constexpr int kMagicBytes = 8;
constexpr int kAlgorithm = 1;
constexpr int kHashedBytes = 92;
constexpr int kNonceAt = 68;
constexpr int kHashBytes = 16;
constexpr int kSaltAt = 20;
constexpr int kCheckAt = 36;

static_assert(kNonceAt + crypto_aead_xchacha20poly1305_ietf_NPUBBYTES == kHashedBytes);
static_assert(kHashedBytes + kHashBytes == BookCipher::HeaderBytes);
static_assert(crypto_aead_xchacha20poly1305_ietf_ABYTES == BookCipher::TagBytes);
static_assert(crypto_aead_xchacha20poly1305_ietf_KEYBYTES == BookKey::KeyBytes);
static_assert(crypto_pwhash_SALTBYTES == BookKey::SaltBytes);

const unsigned char* bytesOf(QByteArrayView bytes)
{
    return reinterpret_cast<const unsigned char*>(bytes.data());
}

std::uint32_t readU32(QByteArrayView bytes, int at)
{
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | std::uint8_t(bytes[at + i]);
    return value;
}

void appendU32(QByteArray& out, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        out.append(char((value >> (8 * i)) & 0xff));
}

QByteArray headerHash(QByteArrayView bytes)
{
    QByteArray hash(kHashBytes, '\0');
    crypto_generichash(reinterpret_cast<unsigned char*>(hash.data()), kHashBytes, bytesOf(bytes),
                       kHashedBytes, nullptr, 0);
    return hash;
}

QByteArray headerOf(const BookKey& key)
{
    QByteArray header(kMagic, kMagicBytes);
    header.append(char(BookCipher::Version));
    header.append(char(kAlgorithm));
    header.append(2, '\0');
    appendU32(header, key.params().limits.opsLimit);
    appendU32(header, key.params().limits.memLimitKiB);
    header.append(reinterpret_cast<const char*>(key.params().salt.data()), BookKey::SaltBytes);
    header.append(key.check());
    QByteArray nonce(crypto_aead_xchacha20poly1305_ietf_NPUBBYTES, '\0');
    randombytes_buf(nonce.data(), std::size_t(nonce.size()));
    header.append(nonce);
    header.append(headerHash(header));
    return header;
}

} // namespace

bool BookCipher::isSealed(QByteArrayView bytes)
{
    return bytes.size() >= kMagicBytes && std::memcmp(bytes.data(), kMagic, kMagicBytes) == 0;
}

BookCipher::HeaderResult BookCipher::readHeader(QByteArrayView bytes)
{
    if (!isSealed(bytes))
        return {std::nullopt, Problem::NotSealed};
    // A later release may lay out everything after the version otherwise;
    // only a header whose hash holds as this release computes it is surely
    // one, since a single changed bit can raise the version too.
    const bool later = bytes.size() > kMagicBytes && std::uint8_t(bytes[kMagicBytes]) > Version;
    const bool whole =
        bytes.size() >= HeaderBytes + TagBytes &&
        sodium_memcmp(headerHash(bytes).constData(), bytes.data() + kHashedBytes, kHashBytes) == 0;
    if (later)
        return {std::nullopt, whole ? Problem::LaterVersion : Problem::DamagedOrLater};
    if (!whole)
        return {std::nullopt, Problem::Damaged};
    Header header;
    header.version = std::uint8_t(bytes[kMagicBytes]);
    const bool known = header.version == Version && bytes[kMagicBytes + 1] == char(kAlgorithm) &&
                       bytes[10] == 0 && bytes[11] == 0;
    header.params.limits = {readU32(bytes, 12), readU32(bytes, 16)};
    if (!known || !header.params.limits.acceptable())
        return {std::nullopt, Problem::Damaged};
    std::memcpy(header.params.salt.data(), bytes.data() + kSaltAt, BookKey::SaltBytes);
    header.check = bytes.sliced(kCheckAt, BookKey::CheckBytes).toByteArray();
    return {std::move(header), Problem::None};
}

QByteArray BookCipher::seal(QByteArrayView plain, const BookKey& key)
{
    QByteArray out = headerOf(key);
    out.resize(HeaderBytes + plain.size() + TagBytes);
    auto* cipher = reinterpret_cast<unsigned char*>(out.data()) + HeaderBytes;
    key.withKey([&](const unsigned char* k) {
        crypto_aead_xchacha20poly1305_ietf_encrypt(
            cipher, nullptr, bytesOf(plain), std::size_t(plain.size()), bytesOf(out), HeaderBytes,
            nullptr, bytesOf(out) + kNonceAt, k);
    });
    return out;
}

BookCipher::Opened BookCipher::open(QByteArrayView bytes, const BookKey& key)
{
    const HeaderResult read = readHeader(bytes);
    if (!read.header)
        return {std::nullopt, read.problem};
    if (read.header->params != key.params())
        return {std::nullopt, Problem::OtherKey};
    if (sodium_memcmp(read.header->check.constData(), key.check().constData(),
                      BookKey::CheckBytes) != 0)
        return {std::nullopt, Problem::WrongPassword};
    QByteArray plain(bytes.size() - HeaderBytes - TagBytes, Qt::Uninitialized);
    const int failed = key.withKey([&](const unsigned char* k) {
        return crypto_aead_xchacha20poly1305_ietf_decrypt(
            reinterpret_cast<unsigned char*>(plain.data()), nullptr, nullptr,
            bytesOf(bytes) + HeaderBytes, std::size_t(bytes.size() - HeaderBytes), bytesOf(bytes),
            HeaderBytes, bytesOf(bytes) + kNonceAt, k);
    });
    if (failed) {
        sodium_memzero(plain.data(), std::size_t(plain.size()));
        return {std::nullopt, Problem::Damaged};
    }
    return {std::move(plain), Problem::None};
}

BookCipher::Opened BookCipher::open(QByteArrayView bytes, const QString& password)
{
    const HeaderResult read = readHeader(bytes);
    if (!read.header)
        return {std::nullopt, read.problem};
    const std::unique_ptr<BookKey> key =
        BookKey::derive(password, read.header->params, read.header->check);
    if (!key)
        return {std::nullopt, Problem::WrongPassword};
    return open(bytes, *key);
}

TextId BookCipher::reasonText(Problem problem)
{
    switch (problem) {
    case Problem::LaterVersion:
        return TextId::SealedLaterVersion;
    case Problem::DamagedOrLater:
        return TextId::SealedDamagedOrLater;
    case Problem::WrongPassword:
    case Problem::OtherKey:
        return TextId::SealedOtherPassword;
    case Problem::None:
    case Problem::NotSealed:
    case Problem::Damaged:
        break;
    }
    return TextId::SealedDamaged;
}

AppError BookCipher::error(Problem problem)
{
    return {20002, QStringLiteral("Encrypted file refused"), reasonText(problem)};
}
