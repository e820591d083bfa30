#pragma once

#include "document/page_record.h"

#include <QString>
#include <functional>
#include <vector>

// The largest book a user can have, 32,767 address pages, as the benchmarks
// of the book, the search and the contacts measure it.
namespace LargestBook {

inline constexpr int pages = 32767;

// One entry line, name, `separator` (a tab), phone, as the rich-edit control
// writes it.
QString addressPage(int n, QLatin1StringView separator);
inline QString addressPage(int n)
{
    return addressPage(n, QLatin1StringView("\\tab "));
}
// Every page made by `page` (from 1), titled "Стр" + its number.
std::vector<PageRecord> make(const std::function<QString(int)>& page = [](int n) {
    return addressPage(n);
});

} // namespace LargestBook
