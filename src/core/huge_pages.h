#pragma once

#include <QByteArray>

// A buffer of many megabytes filled once, front to back (a book read or
// written whole), costs a page fault for every 4 KiB it touches; in huge
// pages it costs a few. On a virtual machine each such fault costs about as
// much as copying the page's bytes a hundred times, so what a program touches
// fresh, not what it computes, decides how long a large book takes. Only
// hints: where the system has no huge pages, or keeps them for what asks,
// nothing changes.
class HugePages
{
public:
    static void prefer(QByteArray& buffer);
    // Called first thing in main: the heap keeps what is freed for the next
    // allocation instead of handing it back, takes large blocks from its own
    // pages rather than from fresh mappings of their own, and grows in large
    // steps.
    static void forTheHeap();
    // While it lives, the next `bytes` the heap hands out (a book read and
    // its pages parsed) start on a huge page and may be backed by huge pages.
    // Only there: the many small blocks of the rest of a program would leave
    // most of a huge page unused.
    class NextBlocks
    {
    public:
        explicit NextBlocks(qsizetype bytes);
        ~NextBlocks();
        NextBlocks(const NextBlocks&) = delete;
        NextBlocks& operator=(const NextBlocks&) = delete;

    private:
        void* m_filler = nullptr;
    };
};
