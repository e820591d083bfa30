#pragma once

#include <QByteArray>

// A large address page as the Windows rich-edit control writes it: Cyrillic
// "surname name<TAB>phone" entries under two tab stops, some surnames bold,
// some entries coloured. The same bytes on every call.
class BenchPage
{
public:
    static QByteArray generate(qsizetype minimumBytes);
};
