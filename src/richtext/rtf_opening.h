#pragma once

#include <QByteArrayView>
#include <cstring>
#include <type_traits>

// The bytes a page's RTF opens with (its tables and the formatting before
// its first letter), kept by a reader thread so that the next page opening
// with the same bytes is read on from there. The room is fixed and nothing
// is freed: a thread's own object with a destructor is destroyed after its
// storage is gone when the thread ends under MinGW, which damages the heap
// of the whole program. An opening longer than the room is not kept.
class RtfOpening
{
public:
    static constexpr qsizetype Room = 8192;

    QByteArrayView bytes() const { return {m_bytes, m_size}; }
    bool isEmpty() const { return m_size == 0; }
    void keep(QByteArrayView bytes)
    {
        m_size = bytes.size() <= Room ? bytes.size() : 0;
        if (m_size > 0)
            std::memcpy(m_bytes, bytes.data(), size_t(m_size));
    }

private:
    char m_bytes[Room];
    qsizetype m_size = 0;
};
static_assert(std::is_trivially_destructible_v<RtfOpening>);
