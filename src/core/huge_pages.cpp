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

void HugePages::forTheNext([[maybe_unused]] qsizetype bytes)
{
#if defined(Q_OS_LINUX) && defined(__GLIBC__)
    if (bytes < qsizetype(kHuge))
        return;
    // The heap's free top, where new blocks come from, grown to hold them
    // first (volatile: a block nobody reads could be left out altogether).
    void* volatile block = std::malloc(size_t(bytes));
    std::free(block);
    const auto end = reinterpret_cast<quintptr>(sbrk(0));
    const auto top = end - mallinfo2().keepcost;
    adviseHuge(top, std::min(end, top + quintptr(bytes)));
#endif
}
