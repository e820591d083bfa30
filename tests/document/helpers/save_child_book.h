#pragma once

#include "document/page_record.h"

#include <vector>

// The two books the save child alternates between: every text of one book
// starts with its letter, so a half-written mix of them is easy to see.
namespace SaveChildBook {

constexpr int pageCount = 2000;

inline QString pageText(char letter, int page)
{
    return QString(400, QLatin1Char(letter)) + QString::number(page) + QStringLiteral("\r\nконец");
}

inline std::vector<PageRecord> pages(char letter)
{
    std::vector<PageRecord> pages;
    for (int i = 1; i <= pageCount; ++i)
        pages.push_back({QStringLiteral("p%1").arg(i), pageText(letter, i), 0});
    return pages;
}

} // namespace SaveChildBook
