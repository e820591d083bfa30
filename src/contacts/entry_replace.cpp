#include "contacts/entry_replace.h"

#include "contacts/contact_entry.h"
#include "contacts/contact_export.h"
#include "document/page_entries.h"
#include "richtext/plain_text.h"
#include "richtext/rtf_parser.h"
#include "richtext/rtf_reader.h"
#include "richtext/rtf_writer.h"

#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>

namespace {

struct Found
{
    QString title;
    QString name;
    int count = 0; // among the entries of this title and name, from 1
};

std::optional<Found> find(std::span<const PageRecord> pages, const QString& uid)
{
    const std::vector<Contact> contacts = ContactExport::ofBook(pages);
    for (std::size_t i = 0; i < contacts.size(); ++i) {
        if (contacts[i].uid != uid)
            continue;
        Found found{contacts[i].category, contacts[i].name, 0};
        for (std::size_t k = 0; k <= i; ++k)
            found.count += contacts[k].category == found.title && contacts[k].name == found.name;
        return found;
    }
    return std::nullopt;
}

// The entry's place in `doc`, counted down in `left` across pages.
std::optional<std::pair<int, int>> placeIn(const QTextDocument& doc, const Found& found, int& left)
{
    // One character of the document per line break, as the entries count
    // CR LF: positions shift by one per break before them.
    const QString shown = doc.toPlainText();
    const QString text = QString(shown).replace(u'\n', QLatin1StringView("\r\n"));
    for (const QStringView entry : PageEntries::split(text)) {
        const auto contact = ContactEntry::toContact(entry, found.title);
        if (!contact || contact->name != found.name || --left > 0)
            continue;
        const auto at = [&text](qsizetype offset) {
            return int(offset - std::count(text.cbegin(), text.cbegin() + offset, u'\r'));
        };
        const qsizetype start = entry.data() - text.constData();
        return std::pair{at(start), at(start + entry.size())};
    }
    return std::nullopt;
}

} // namespace

std::optional<EntryReplace::Replaced> EntryReplace::replace(std::span<const PageRecord> pages,
                                                            const QString& uid,
                                                            const QString& entry,
                                                            ContactImport::Form form)
{
    const std::optional<Found> found = find(pages, uid);
    if (!found)
        return std::nullopt;
    int left = found->count;
    for (std::size_t i = 0; i < pages.size(); ++i) {
        const PageRecord& page = pages[i];
        if (page.kind != PageRecord::AddressPage || page.title != found->title)
            continue;
        QTextDocument doc;
        doc.setUndoRedoEnabled(false);
        RtfReader::read(page.text.text(), doc);
        const auto place = placeIn(doc, *found, left);
        if (!place)
            continue;
        QTextCursor cursor(&doc);
        cursor.setPosition(place->first);
        cursor.setPosition(place->second, QTextCursor::KeepAnchor);
        cursor.insertText(PlainText::normalized(entry).replace(QLatin1StringView("\r\n"),
                                                               QLatin1StringView("\n")));
        const bool plain = !RtfParser::isRtf(QStringView(page.text.text()));
        return Replaced{int(i) + 1, plain && form == ContactImport::Form::PlainText
                                        ? PlainText::of(doc)
                                        : RtfWriter::writeString(doc)};
    }
    return std::nullopt;
}
