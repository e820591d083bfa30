#pragma once

#include <QByteArray>

// A buffer of many megabytes filled once, front to back (a book read or
// written whole), costs a page fault for every 4 KiB it touches; in huge
// pages it costs a few. Only a hint: where the system has none, or keeps
// them for what asks, nothing changes.
class HugePages
{
public:
    static void prefer(QByteArray& buffer);
};
