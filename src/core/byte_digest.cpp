#include "core/byte_digest.h"

#include <QtEndian>
#include <algorithm>
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

quint64 ByteDigest::of(QByteArrayView bytes)
{
    Running digest;
    digest.add(bytes);
    return digest.value();
}

ByteDigest::Running::Running() : m_lanes{kPrime1 + kPrime2, kPrime2, 0, 0 - kPrime1} {}

// Four independent lanes over 32-byte stripes, so the multiplies overlap;
// then the tail, and a final mix so every input bit reaches every output bit.
void ByteDigest::Running::add(QByteArrayView part)
{
    const char* p = part.data();
    const char* const end = p + part.size();
    m_size += part.size();
    if (m_pending > 0) {
        const qsizetype taken = std::min<qsizetype>(32 - m_pending, end - p);
        std::memcpy(m_stripe + m_pending, p, size_t(taken));
        m_pending += taken;
        p += taken;
        if (m_pending < 32)
            return;
        const char* stripe = m_stripe;
        addStripes(stripe, stripe + 32);
        m_pending = 0;
    }
    addStripes(p, end);
    m_pending = end - p;
    std::memcpy(m_stripe, p, size_t(m_pending));
}

void ByteDigest::Running::addStripes(const char*& p, const char* end)
{
    for (; end - p >= 32; p += 32) {
        for (int i = 0; i < 4; ++i)
            m_lanes[i] = round(m_lanes[i], load64(p + 8 * i));
    }
}

quint64 ByteDigest::Running::value() const
{
    quint64 hash = kPrime3;
    if (m_size >= 32) {
        hash =
            rotl(m_lanes[0], 1) + rotl(m_lanes[1], 7) + rotl(m_lanes[2], 12) + rotl(m_lanes[3], 18);
        for (const quint64 lane : m_lanes)
            hash = merge(hash, lane);
    }
    hash += static_cast<quint64>(m_size);
    const char* p = m_stripe;
    const char* const end = p + m_pending;
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
