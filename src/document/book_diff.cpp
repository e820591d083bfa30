#include "document/book_diff.h"

#include <QHash>

std::vector<BookDiff::Entry> BookDiff::compare(std::span<const PageRecord> before,
                                               std::span<const PageRecord> after)
{
    // The second book's pages by title, each list in page order, consumed
    // from the front as the first book's pages of that title come by.
    QHash<QString, std::vector<int>> byTitle;
    for (size_t i = 0; i < after.size(); ++i)
        byTitle[after[i].title].push_back(static_cast<int>(i));
    QHash<QString, size_t> taken;
    std::vector<bool> matched(after.size(), false);
    std::vector<Entry> entries;
    for (size_t i = 0; i < before.size(); ++i) {
        const PageRecord& page = before[i];
        const auto candidates = byTitle.constFind(page.title);
        size_t& next = taken[page.title];
        const int number = static_cast<int>(i) + 1;
        if (candidates == byTitle.cend() || next >= candidates->size()) {
            entries.push_back({Change::Removed, number, 0, page.title});
            continue;
        }
        const int other = (*candidates)[next++];
        matched[static_cast<size_t>(other)] = true;
        const PageRecord& counterpart = after[static_cast<size_t>(other)];
        if (page.text != counterpart.text || page.kind != counterpart.kind)
            entries.push_back({Change::Changed, number, other + 1, page.title});
    }
    for (size_t i = 0; i < after.size(); ++i) {
        if (!matched[i])
            entries.push_back({Change::Added, 0, static_cast<int>(i) + 1, after[i].title});
    }
    return entries;
}
