#pragma once

#include "contacts/contact.h"

#include <QByteArray>
#include <span>

// vCard 4.0 (RFC 6350) as phones and other address books read it: one card
// per contact with UID, FN, N split as PersonName splits it (KIND:org and ORG
// for a company), BDAY, TEL, EMAIL, NOTE and CATEGORIES (the page, then the
// groups of the contact's fields), UTF-8, CR LF, lines
// folded at 75 octets without splitting a character, and backslash, comma,
// semicolon and line breaks escaped in every value.
class VCardWriter
{
public:
    static QByteArray write(std::span<const Contact> contacts);
    static void append(QByteArray& out, const Contact& contact);

    // A value with its backslashes, commas, semicolons and line breaks escaped.
    static QString escaped(QStringView value);
    // A content line ("NAME;PARAM=x:value", unfolded, no line end) folded,
    // with its CR LF.
    static QByteArray folded(QByteArrayView line);
    // "TEL;TYPE=cell" and the like: the property a number of the kind is.
    static QByteArrayView telProperty(ContactPhone::Kind kind);
};
