#include "contacts/entry_remove.h"

#include "contacts/contact_entry.h"
#include "contacts/contact_export.h"
#include "document/page_entries.h"
#include "richtext/plain_text.h"
#include "richtext/rtf_parser.h"
#include "richtext/rtf_reader.h"
#include "richtext/rtf_writer.h"

#include <QHash>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>

EntryRemove::EntryRemove(std::span<const PageRecord> pages, const QSet<QString>& uids)
{
    // The book's contacts are its address pages' contacts in page order.
    const std::vector<Contact> contacts = ContactExport::ofBook(pages);
    std::size_t next = 0;
    for (std::size_t i = 0; i < pages.size(); ++i) {
        if (pages[i].kind != PageRecord::AddressPage)
            continue;
        const std::size_t count = ContactEntry::ofPage(pages[i]).size();
        QHash<QString, int> seen;
        for (std::size_t k = next; k < next + count && k < contacts.size(); ++k) {
            const int nth = ++seen[contacts[k].name];
            if (!uids.contains(contacts[k].uid))
                continue;
            m_targets[int(i) + 1].insert({contacts[k].name, nth});
            m_titles[int(i) + 1] = pages[i].title;
        }
        next += count;
    }
}

std::vector<int> EntryRemove::pages() const
{
    std::vector<int> pages;
    for (const auto& [page, targets] : m_targets)
        pages.push_back(page);
    return pages;
}

void EntryRemove::apply(int page, QTextDocument& doc) const
{
    const auto targets = m_targets.find(page);
    if (targets == m_targets.end())
        return;
    // One character of the document per line break, as the entries count
    // CR LF: positions shift by one per break before them.
    const QString text = doc.toPlainText().replace(u'\n', QLatin1StringView("\r\n"));
    const auto at = [&text](qsizetype offset) {
        return int(offset - std::count(text.cbegin(), text.cbegin() + offset, u'\r'));
    };
    std::vector<std::pair<int, int>> ranges;
    QHash<QString, int> seen;
    for (const QStringView entry : PageEntries::split(text)) {
        const auto contact = ContactEntry::toContact(entry, m_titles.at(page));
        if (!contact || !targets->second.contains({contact->name, ++seen[contact->name]}))
            continue;
        const qsizetype start = entry.data() - text.constData();
        ranges.emplace_back(at(start), at(start + entry.size()));
    }
    QTextCursor cursor(&doc);
    const int last = doc.characterCount() - 1;
    for (auto range = ranges.rbegin(); range != ranges.rend(); ++range) {
        const auto [start, end] = *range;
        cursor.setPosition(end < last ? start : std::max(0, start - 1));
        cursor.setPosition(end < last ? end + 1 : end, QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
    }
}

QString EntryRemove::textWithout(int page, const PageRecord& record, ContactImport::Form form) const
{
    QTextDocument doc;
    doc.setUndoRedoEnabled(false);
    RtfReader::read(record.text.text(), doc);
    apply(page, doc);
    const bool plain = !RtfParser::isRtf(QStringView(record.text.text()));
    return plain && form == ContactImport::Form::PlainText ? PlainText::of(doc)
                                                           : RtfWriter::writeString(doc);
}
