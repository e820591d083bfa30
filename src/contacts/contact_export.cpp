#include "contacts/contact_export.h"

#include "contacts/contact_csv.h"
#include "contacts/contact_entry.h"
#include "contacts/vcard_writer.h"

#include <QHash>
#include <QUuid>

namespace {

// The name space of this program's UIDs: a name-based UUID (RFC 9562,
// version 5) of the same title and name is the same everywhere.
const QUuid kUidNamespace(QStringLiteral("{6f1d3c2a-8b4e-4f7a-9c5d-2e8a1b7c4d90}"));

// The note's lines that name groups, as a field.
void takeGroups(Contact& contact, const QString& groupsLabel)
{
    const QString prefix = groupsLabel + u':';
    QStringList note;
    for (const QString& line : contact.note.split(u'\n')) {
        if (line.startsWith(prefix, Qt::CaseInsensitive))
            contact.fields.push_back({ContactField::Kind::Categories, line.sliced(prefix.size())});
        else
            note << line;
    }
    contact.note = note.join(u'\n');
}

} // namespace

std::vector<Contact> ContactExport::ofBook(std::span<const PageRecord> pages)
{
    std::vector<Contact> contacts;
    for (const PageRecord& page : pages) {
        if (page.kind != PageRecord::AddressPage)
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

QByteArray ContactExport::write(std::span<const Contact> contacts, Format format,
                                const QString& groupsLabel)
{
    if (format == Format::Csv)
        return ContactCsv::write(contacts);
    if (groupsLabel.isEmpty())
        return VCardWriter::write(contacts);
    std::vector<Contact> withGroups(contacts.begin(), contacts.end());
    for (Contact& contact : withGroups)
        takeGroups(contact, groupsLabel);
    return VCardWriter::write(withGroups);
}
