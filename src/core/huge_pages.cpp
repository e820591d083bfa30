#include "core/huge_pages.h"

#ifdef Q_OS_LINUX
#include <sys/mman.h>
#endif

void HugePages::prefer(QByteArray& buffer)
{
#if defined(Q_OS_LINUX) && defined(MADV_HUGEPAGE)
    constexpr quintptr huge = quintptr(2) << 20;
    const auto begin = reinterpret_cast<quintptr>(buffer.data());
    const quintptr first = (begin + huge - 1) & ~(huge - 1);
    const quintptr last = (begin + quintptr(buffer.size())) & ~(huge - 1);
    if (last > first)
        madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
#else
    Q_UNUSED(buffer);
#endif
}
