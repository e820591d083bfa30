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
    // The page (from 1) whose entry of `uid` now reads `entry` (CR LF
    // between its lines), or nullopt when no entry has that UID any more and
    // nothing changed. The entry keeps the formatting of its first character.
    static std::optional<int> replace(std::span<PageRecord> pages, const QString& uid,
                                      const QString& entry, ContactImport::Form form);
};
