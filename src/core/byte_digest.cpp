#include "core/byte_digest.h"

#include <QtEndian>
#include <cstring>

namespace {

constexpr quint64 kPrime1 = 0x9E3779B185EBCA87ULL;
constexpr quint64 kPrime2 = 0xC2B2AE3D27D4EB4FULL;
constexpr quint64 kPrime3 = 0x165667B19E3779F9ULL;
constexpr quint64 kPrime4 = 0x85EBCA77C2B2AE63ULL;

quint64 rotl(quint64 x, int r)
{
    return (x << r) | (x >> (64 - r));
}

quint64 load64(const char* p)
{
    quint64 value = 0;
    std::memcpy(&value, p, sizeof value);
    return qFromLittleEndian(value);
}

quint64 round(quint64 lane, quint64 input)
{
    return rotl(lane + input * kPrime2, 31) * kPrime1;
}

quint64 merge(quint64 hash, quint64 lane)
{
    return (hash ^ round(0, lane)) * kPrime1 + kPrime4;
}

} // namespace

// Four independent lanes over 32-byte stripes, so the multiplies overlap;
// then the tail, and a final mix so every input bit reaches every output bit.
quint64 ByteDigest::of(QByteArrayView bytes)
{
    const char* p = bytes.data();
    const char* const end = p + bytes.size();
    quint64 hash = 0;
    if (bytes.size() >= 32) {
        quint64 lanes[4] = {kPrime1 + kPrime2, kPrime2, 0, 0 - kPrime1};
        for (; end - p >= 32; p += 32) {
            for (int i = 0; i < 4; ++i)
                lanes[i] = round(lanes[i], load64(p + 8 * i));
        }
        hash = rotl(lanes[0], 1) + rotl(lanes[1], 7) + rotl(lanes[2], 12) + rotl(lanes[3], 18);
        for (const quint64 lane : lanes)
            hash = merge(hash, lane);
    } else {
        hash = kPrime3;
    }
    hash += static_cast<quint64>(bytes.size());
    for (; end - p >= 8; p += 8)
        hash = rotl(hash ^ round(0, load64(p)), 27) * kPrime1 + kPrime4;
    for (; p < end; ++p)
        hash = rotl(hash ^ (static_cast<unsigned char>(*p) * kPrime3), 11) * kPrime1;
    hash ^= hash >> 33;
    hash *= kPrime2;
    hash ^= hash >> 29;
    hash *= kPrime3;
    hash ^= hash >> 32;
    return hash;
}
