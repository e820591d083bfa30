#include "document/contact_export.h"

#include "document/contact_csv.h"
#include "document/contact_entry.h"
#include "document/vcard_writer.h"

#include <QHash>
#include <QUuid>

namespace {

// The name space of this program's UIDs: a name-based UUID (RFC 9562,
// version 5) of the same title and name is the same everywhere.
const QUuid kUidNamespace(QStringLiteral("{6f1d3c2a-8b4e-4f7a-9c5d-2e8a1b7c4d90}"));

} // namespace

std::vector<Contact> ContactExport::ofBook(std::span<const PageRecord> pages)
{
    std::vector<Contact> contacts;
    for (const PageRecord& page : pages) {
        if (page.Kind != PageRecord::AddressPage)
            continue;
        std::vector<Contact> ofOne = ContactEntry::ofPage(page);
        contacts.insert(contacts.end(), std::make_move_iterator(ofOne.begin()),
                        std::make_move_iterator(ofOne.end()));
    }
    assignUids(contacts);
    return contacts;
}

std::vector<Contact> ContactExport::ofPage(const PageRecord& page)
{
    std::vector<Contact> contacts = ContactEntry::ofPage(page);
    assignUids(contacts);
    return contacts;
}

void ContactExport::assignUids(std::span<Contact> contacts)
{
    QHash<QString, int> seen;
    for (Contact& contact : contacts) {
        QString key = contact.category + QChar(0x1F) + contact.name;
        const int count = ++seen[key];
        if (count > 1)
            key += QChar(0x1F) + QString::number(count);
        contact.uid = QStringLiteral("urn:uuid:") +
                      QUuid::createUuidV5(kUidNamespace, key).toString(QUuid::WithoutBraces);
    }
}

QByteArray ContactExport::write(std::span<const Contact> contacts, Format format)
{
    return format == Format::VCard ? VCardWriter::write(contacts) : ContactCsv::write(contacts);
}
