#pragma once

#include <QByteArrayView>
#include <QtGlobal>

// A 64-bit digest of a byte string, fast enough to take of a whole book at
// every save (several gigabytes a second). It tells whether bytes are still
// the ones seen before; it is no defence against someone forging a match.
// The value is part of files the program writes: it never changes.
class ByteDigest
{
public:
    static quint64 of(QByteArrayView bytes);
};
