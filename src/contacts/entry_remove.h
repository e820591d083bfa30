#pragma once

#include "contacts/contact_import.h"
#include "document/page_record.h"

#include <QSet>
#include <QString>
#include <map>
#include <span>
#include <utility>

class QTextDocument;

// Entries of the book taken out by the UIDs their contacts are exported
// with (ContactExport): the entries whose cards were deleted on a phone.
// Each goes with the line break after it (before it, for a page's last
// entry), so its neighbours close up.
class EntryRemove
{
public:
    EntryRemove(std::span<const PageRecord> pages, const QSet<QString>& uids);

    // The pages (from 1, as in `pages` counted from 1) that hold one of them.
    std::vector<int> pages() const;
    // Takes this page's entries out of `doc`, its text (the editor's, or
    // read from the page's record).
    void apply(int page, QTextDocument& doc) const;
    // The text of the page's record with them taken out.
    QString textWithout(int page, const PageRecord& record, ContactImport::Form form) const;

private:
    // Per page, the entries to take out: the name and its count among the
    // page's entries of that name, from 1.
    std::map<int, QSet<std::pair<QString, int>>> m_targets;
    std::map<int, QString> m_titles;
};
