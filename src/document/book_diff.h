#pragma once

#include "document/page_record.h"

#include <QString>
#include <span>
#include <vector>

// Which pages of one book another adds, lacks or holds otherwise. Pages are
// matched by title; pages sharing a title are matched in their order (the
// second "Дача" of one book with the second "Дача" of the other). A matched
// pair is changed when its text or kind differs; a page that only moved is
// not a change.
class BookDiff
{
public:
    enum class Change
    {
        Added,
        Removed,
        Changed
    };

    struct Entry
    {
        Change change = Change::Changed;
        int before = 0; // the page's number in the first book, 0 when added
        int after = 0;  // its number in the second book, 0 when removed
        QString title;
        friend bool operator==(const Entry&, const Entry&) = default;
    };

    // Removed and changed pages in the first book's order, then the added
    // ones in the second book's order. Nothing when the books hold the same pages.
    static std::vector<Entry> compare(std::span<const PageRecord> before,
                                      std::span<const PageRecord> after);
};
