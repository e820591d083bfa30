#pragma once

#include "document/contact.h"
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
    // (One page the user chose gives ContactEntry::ofPage, whatever its kind.)
    static std::vector<Contact> ofBook(std::span<const PageRecord> pages);
    static QByteArray write(std::span<const Contact> contacts, Format format);
};
