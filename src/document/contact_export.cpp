#include "document/contact_export.h"

#include "document/contact_csv.h"
#include "document/contact_entry.h"
#include "document/vcard_writer.h"

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
    return contacts;
}

QByteArray ContactExport::write(std::span<const Contact> contacts, Format format)
{
    return format == Format::VCard ? VCardWriter::write(contacts) : ContactCsv::write(contacts);
}
