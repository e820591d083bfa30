#pragma once

#include "contacts/contact.h"
#include "document/page_record.h"

#include <QByteArray>
#include <span>
#include <vector>

// Entries of the book as contacts for other programs: vCard for phones and
// address books, CSV for spreadsheets.
class ContactExport
{
public:
    enum class Format
    {
        VCard,
        Csv
    };

    // The contacts of every address page; text pages hold notes, not entries.
    static std::vector<Contact> ofBook(std::span<const PageRecord> pages);
    // The contacts of one page the user chose, whatever its kind.
    static std::vector<Contact> ofPage(const PageRecord& page);

    // Every contact gets a UID that other programs keep it by. The book has
    // no room to store one, so it is made from what names the entry: the
    // page's title and the entry's name, and for the second and further
    // entries of one name on one page their count. Editing the numbers or
    // the note keeps it; renaming the entry or moving it to another page
    // makes it a new contact.
    static void assignUids(std::span<Contact> contacts);
    // `groupsLabel` ("Группы") starts the lines of an entry that name the
    // groups a contact came in besides its page: a vCard holds them in
    // CATEGORIES after the page, as they were before an import.
    static QByteArray write(std::span<const Contact> contacts, Format format,
                            const QString& groupsLabel = {});
};
