#include "core/huge_pages.h"

#ifdef Q_OS_LINUX
#include <sys/mman.h>
#include <unistd.h>
#endif
#ifdef __GLIBC__
#include <malloc.h>
#endif

#include <cstdlib>

namespace {

constexpr quintptr kHuge = quintptr(2) << 20;

void adviseHuge([[maybe_unused]] quintptr begin, [[maybe_unused]] quintptr end)
{
#if defined(Q_OS_LINUX) && defined(MADV_HUGEPAGE)
    const quintptr first = (begin + kHuge - 1) & ~(kHuge - 1);
    const quintptr last = end & ~(kHuge - 1);
    if (last > first)
        madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
#endif
}

} // namespace

void HugePages::prefer(QByteArray& buffer)
{
    const auto begin = reinterpret_cast<quintptr>(buffer.data());
    adviseHuge(begin, begin + quintptr(buffer.size()));
}

void HugePages::forTheHeap()
{
#if defined(Q_OS_LINUX) && defined(__GLIBC__)
    constexpr int step = 64 << 20;
    // One heap for every thread: a book read on another thread lands in the
    // same pages.
    mallopt(M_ARENA_MAX, 1);
    // The largest threshold the allocator takes: a book's bytes, its export
    // and its pages come from the heap, and a block freed is there again.
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    mallopt(M_TRIM_THRESHOLD, 2 * step);
    mallopt(M_TOP_PAD, step);
#endif
}

HugePages::NextBlocks::NextBlocks([[maybe_unused]] qsizetype bytes)
{
#if defined(Q_OS_LINUX) && defined(__GLIBC__)
    if (bytes < qsizetype(kHuge))
        return;
    // The heap's free top, where new blocks come from, grown to hold them
    // first (volatile: a block nobody reads could be left out altogether).
    void* volatile block = std::malloc(size_t(bytes) + kHuge);
    std::free(block);
    const auto top = reinterpret_cast<quintptr>(sbrk(0)) - mallinfo2().keepcost;
    const quintptr first = (top + kHuge - 1) & ~(kHuge - 1);
    // A block up to the next huge page, which nobody touches, so that the
    // next block starts there: otherwise up to 2 MiB of what comes next lies
    // in small pages, and a fault for each of them costs more than the rest
    // of the reading.
    constexpr quintptr kBlockHeaders = 4 * sizeof(size_t);
    if (first - top > kBlockHeaders)
        m_filler = std::malloc(first - top - kBlockHeaders);
    const quintptr end = (first + quintptr(bytes) + kHuge - 1) & ~(kHuge - 1);
    // Blocks freed there earlier may have left small pages in place, which
    // no huge page replaces: while the room is ours alone, they are let go.
    const size_t roomSize = end - first + kHuge;
    void* room = std::malloc(roomSize);
    const auto roomAt = reinterpret_cast<quintptr>(room);
    if (room && roomAt <= first && roomAt + roomSize >= end)
        madvise(reinterpret_cast<void*>(first), end - first, MADV_DONTNEED);
    madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE);
    std::free(room);
#endif
}

HugePages::NextBlocks::~NextBlocks()
{
    std::free(m_filler);
}
