#pragma once

#include "core/app_error.h"
#include "core/built_in_text.h"
#include "crypto/book_key.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <optional>

// The encrypted container every file of an encrypted book is written in:
// the book, its dated backups, the rescue copy and the copies kept aside.
// One XChaCha20-Poly1305 seal over the whole body: a book is read and
// written whole anyway, so a stream of chunks would buy nothing but a format
// to get wrong, and a single tag makes any change anywhere refuse the file
// as a whole, never half of it.
//
// Header, little-endian, authenticated as the seal's additional data:
//   0  8  magic "\x89VKBOOK\x1a" (no data file starts so: they start with digits)
//   8  1  format version (1)
//   9  1  algorithm (1: Argon2id v1.3 key, XChaCha20-Poly1305 seal)
//  10  2  zero
//  12  4  Argon2id passes
//  16  4  Argon2id memory in KiB
//  20 16  salt
//  36 32  password check value
//  68 24  nonce, fresh for every file written
//  92 16  BLAKE2b-128 of bytes 0-91, so a damaged header is told from a
//         wrong password
// 108     the sealed body, its 16-byte tag last
class BookCipher
{
public:
    static constexpr int Version = 1;
    static constexpr int HeaderBytes = 108;
    static constexpr int TagBytes = 16;

    enum class Problem
    {
        None,
        NotSealed,      // an ordinary data file (or anything else)
        Damaged,        // cut short or changed: refused whole
        LaterVersion,   // written by a later release of the program
        DamagedOrLater, // a later version number on a header this release cannot check
        WrongPassword,  // the header is whole, the check value differs
        OtherKey        // sealed under another password or salt than the key given
    };

    struct Header
    {
        int version = 0;
        BookKey::Params params;
        QByteArray check;
    };

    struct HeaderResult
    {
        std::optional<Header> header;
        Problem problem = Problem::None;
    };

    struct Opened
    {
        std::optional<QByteArray> plain;
        Problem problem = Problem::None;
        bool ok() const { return plain.has_value(); }
    };

    static bool isSealed(QByteArrayView bytes);
    static HeaderResult readHeader(QByteArrayView bytes);
    static QByteArray seal(QByteArrayView plain, const BookKey& key);
    // The body, when `key` is the key of the file's header and nothing in the
    // file has changed.
    static Opened open(QByteArrayView bytes, const BookKey& key);
    // The same with a password, deriving the key the header asks for.
    static Opened open(QByteArrayView bytes, const QString& password);
    // Why a file was refused, as the user is told.
    static TextId reasonText(Problem problem);
    // The same as the error a refused file reports (number 20002).
    static AppError error(Problem problem);
};
