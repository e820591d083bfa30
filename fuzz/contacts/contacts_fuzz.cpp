// Feeds arbitrary bytes to the import of contacts, and the same bytes as a
// page's text to the export. Whatever contacts come out must become entries,
// and the vCard and CSV files written from them must read back without a
// bad line.

#include "contacts/contact_csv.h"
#include "contacts/contact_entry.h"
#include "contacts/contact_import.h"
#include "contacts/vcard_reader.h"
#include "contacts/vcard_writer.h"
#include "document/page_record.h"

#include <cstddef>
#include <cstdint>

namespace {

bool readsBack(const ContactsRead& read)
{
    return read.ok() || read.problem == ContactsRead::Problem::NoContacts;
}

void writeAndReadBack(const std::vector<Contact>& contacts)
{
    if (!readsBack(VCardReader::read(QString::fromUtf8(VCardWriter::write(contacts)))))
        __builtin_trap();
    if (!readsBack(ContactImport::read(ContactCsv::write(contacts))))
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const ContactsRead read = ContactImport::read(bytes);
    if (read.ok()) {
        const ContactEntry::Labels labels{QStringLiteral("моб."), QStringLiteral("раб."),
                                          QStringLiteral("дом."), QStringLiteral("факс")};
        (void)ContactImport::entries(read.contacts, labels);
        writeAndReadBack(read.contacts);
    }
    const PageRecord page{QStringLiteral("АБ"), QString::fromUtf8(bytes), PageRecord::AddressPage};
    writeAndReadBack(ContactEntry::ofPage(page));
    return 0;
}
