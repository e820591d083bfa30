#pragma once

#include "contacts/contact_import.h"
#include "document/page_record.h"

#include <QString>
#include <optional>
#include <span>

// An entry of the book found by the UID its contact is exported with, and
// its text replaced: a card changed on a phone taken back into the entry it
// was made of. The UID names the page title, the entry's name and its count
// among entries of that name (ContactExport), so the entry is found again
// wherever its page stands now.
class EntryReplace
{
public:
    struct Replaced
    {
        int page = 0; // from 1
        QString text; // the page's new text
    };
    // The page whose entry of `uid` would read `entry` (CR LF between its
    // lines), with its text so, or nullopt when no entry has that UID any
    // more. The entry keeps the formatting of its first character.
    static std::optional<Replaced> replace(std::span<const PageRecord> pages, const QString& uid,
                                           const QString& entry, ContactImport::Form form);
};
