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

    // The same digest of bytes handed over a part at a time.
    class Running
    {
    public:
        Running();
        void add(QByteArrayView part);
        quint64 value() const;

    private:
        void addStripes(const char*& p, const char* end);

        quint64 m_lanes[4];
        char m_stripe[32];
        qsizetype m_pending = 0; // bytes in m_stripe
        qint64 m_size = 0;
    };
};
