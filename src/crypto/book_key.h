#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <array>
#include <cstdint>
#include <memory>

// The key an encrypted book is sealed with, derived from the password by
// Argon2id (libsodium's crypto_pwhash). It lives in libsodium's guarded
// memory (locked out of swap, fenced by guard pages, readable only while a
// file is sealed or opened) and is wiped when the object goes: at exit, or
// when the password changes and a new key takes its place. Saves reuse it;
// only a log-in or a new password pays for the derivation.
//
// From the Argon2id output two values are taken by keyed BLAKE2b: the key
// itself and a check value stored in the file's header, so that a wrong
// password is told at once from a damaged file.
class BookKey
{
public:
    static constexpr int SaltBytes = 16;
    static constexpr int CheckBytes = 32;
    static constexpr int KeyBytes = 32;

    struct Limits
    {
        std::uint32_t opsLimit = 0;
        std::uint32_t memLimitKiB = 0;
        bool operator==(const Limits&) const = default;
        // What new books use: libsodium's MODERATE limits (3 passes over
        // 256 MiB), about a second once per log-in on a desktop.
        static Limits moderate();
        // The least libsodium allows; for tests, which derive many keys.
        static Limits fastest();
        // Whether a file may ask for these: no more than the program itself
        // writes (the MODERATE limits), no less than libsodium allows.
        bool acceptable() const;
    };

    struct Params
    {
        Limits limits;
        std::array<std::uint8_t, SaltBytes> salt{};
        bool operator==(const Params&) const = default;
    };

    ~BookKey();
    BookKey(const BookKey&) = delete;
    BookKey& operator=(const BookKey&) = delete;

    // A key with a fresh random salt: a book sealed for the first time, or
    // under a new password. Null only when the memory cannot be had.
    static std::unique_ptr<BookKey> create(const QString& password, Limits limits);
    // The key of a file with these parameters, or null when the password's
    // check value is not `check` (a wrong password) or, with `outOfMemory`
    // set, when the memory the derivation needs could not be had.
    static std::unique_ptr<BookKey> derive(const QString& password, const Params& params,
                                           QByteArrayView check, bool* outOfMemory = nullptr);

    const Params& params() const { return m_params; }
    QByteArray check() const;

    // Gives `use` the key's bytes while it runs; the memory is locked again
    // afterwards.
    template <typename Use> auto withKey(Use&& use) const
    {
        Unlock unlocked(*this);
        return use(static_cast<const unsigned char*>(m_key));
    }

private:
    struct Unlock
    {
        explicit Unlock(const BookKey& key);
        ~Unlock();
        const BookKey& m_owner;
    };

    BookKey() = default;
    static std::unique_ptr<BookKey> fromPassword(const QString& password, const Params& params);

    Params m_params;
    void* m_key = nullptr; // KeyBytes in sodium_malloc'd memory
    std::array<std::uint8_t, CheckBytes> m_check{};
};
