#include "crypto/book_key.h"

#include <cstring>
#include <sodium.h>

namespace {

constexpr std::uint32_t kMostOps = crypto_pwhash_OPSLIMIT_MODERATE;
constexpr std::uint32_t kMostMemKiB = crypto_pwhash_MEMLIMIT_MODERATE / 1024;
constexpr int kMasterBytes = 32;

bool sodiumReady()
{
    static const bool ready = sodium_init() >= 0;
    return ready;
}

// A subkey of the Argon2id output, keyed BLAKE2b over a label.
void subkey(unsigned char* out, std::size_t outBytes, const unsigned char* master,
            const char* label)
{
    crypto_generichash(out, outBytes, reinterpret_cast<const unsigned char*>(label),
                       std::strlen(label), master, kMasterBytes);
}

} // namespace

BookKey::Limits BookKey::Limits::moderate()
{
    return {std::uint32_t(crypto_pwhash_OPSLIMIT_MODERATE),
            std::uint32_t(crypto_pwhash_MEMLIMIT_MODERATE / 1024)};
}

BookKey::Limits BookKey::Limits::fastest()
{
    return {std::uint32_t(crypto_pwhash_OPSLIMIT_MIN),
            std::uint32_t(crypto_pwhash_MEMLIMIT_MIN / 1024)};
}

bool BookKey::Limits::acceptable() const
{
    return opsLimit >= crypto_pwhash_OPSLIMIT_MIN && opsLimit <= kMostOps &&
           std::size_t(memLimitKiB) * 1024 >= crypto_pwhash_MEMLIMIT_MIN &&
           memLimitKiB <= kMostMemKiB;
}

BookKey::~BookKey()
{
    // sodium_free wipes the bytes before it gives the pages back.
    if (m_key)
        sodium_free(m_key);
    sodium_memzero(m_check.data(), m_check.size());
}

std::unique_ptr<BookKey> BookKey::create(const QString& password, Limits limits)
{
    if (!sodiumReady())
        return nullptr;
    Params params{limits, {}};
    randombytes_buf(params.salt.data(), params.salt.size());
    return fromPassword(password, params);
}

std::unique_ptr<BookKey> BookKey::derive(const QString& password, const Params& params,
                                         QByteArrayView check, bool* outOfMemory)
{
    if (outOfMemory)
        *outOfMemory = false;
    if (!sodiumReady() || check.size() != CheckBytes || !params.limits.acceptable())
        return nullptr;
    std::unique_ptr<BookKey> key = fromPassword(password, params);
    if (!key) {
        // Argon2id fails only for want of memory once its limits are valid.
        if (outOfMemory)
            *outOfMemory = true;
        return nullptr;
    }
    if (sodium_memcmp(key->m_check.data(), check.data(), CheckBytes) != 0)
        return nullptr;
    return key;
}

std::unique_ptr<BookKey> BookKey::fromPassword(const QString& password, const Params& params)
{
    std::unique_ptr<BookKey> key(new BookKey);
    key->m_params = params;
    key->m_key = sodium_malloc(KeyBytes);
    auto* master = static_cast<unsigned char*>(sodium_malloc(kMasterBytes));
    if (!key->m_key || !master) {
        if (master)
            sodium_free(master);
        return nullptr;
    }
    QByteArray utf8 = password.toUtf8();
    const int failed =
        crypto_pwhash(master, kMasterBytes, utf8.constData(), std::size_t(utf8.size()),
                      params.salt.data(), params.limits.opsLimit,
                      std::size_t(params.limits.memLimitKiB) * 1024, crypto_pwhash_ALG_ARGON2ID13);
    sodium_memzero(utf8.data(), std::size_t(utf8.size()));
    if (!failed) {
        subkey(static_cast<unsigned char*>(key->m_key), KeyBytes, master, "velkaro book key");
        subkey(key->m_check.data(), CheckBytes, master, "velkaro password check");
    }
    sodium_free(master);
    if (failed)
        return nullptr;
    sodium_mprotect_noaccess(key->m_key);
    return key;
}

QByteArray BookKey::check() const
{
    return QByteArray(reinterpret_cast<const char*>(m_check.data()), CheckBytes);
}

BookKey::Unlock::Unlock(const BookKey& key) : m_owner(key)
{
    sodium_mprotect_readonly(m_owner.m_key);
}

BookKey::Unlock::~Unlock()
{
    sodium_mprotect_noaccess(m_owner.m_key);
}
