#pragma once

#include "contacts/contact.h"
#include "unit_test.h"

// A contact on one line, so tests compare whole contacts as text and a
// failure shows their fields: name|phones|e-mails|note|category|birthday|
// fields, empty ones at the end left out. A phone is its number, its kind
// unless it has none (c cell, w work, h home, f fax) and its label; a field
// is its kind, or its label for a labelled one, and its value.
inline QString described(const Contact& c)
{
    QStringList phones;
    for (const ContactPhone& phone : c.phones)
        phones << phone.number + QStringList{"", ":c", ":w", ":h", ":f"}[int(phone.kind)] +
                      (phone.label.isEmpty() ? QString() : u'/' + phone.label);
    static const QStringList kinds{"nick", "org",  "title", "adr",    "url", "cat",
                                   "role", "impp", "anniv", "spouse", ""};
    QStringList fields;
    for (const ContactField& field : c.fields)
        fields << kinds[int(field.kind)] + field.label + u'=' + field.value;
    QStringList parts{c.name,     phones.join(u','), c.emails.join(u','), c.note,
                      c.category, c.birthday,        fields.join(u';')};
    while (!parts.isEmpty() && parts.last().isEmpty())
        parts.removeLast();
    return parts.join(u'|');
}

inline QStringList described(const std::vector<Contact>& contacts)
{
    QStringList out;
    for (const Contact& contact : contacts)
        out << described(contact);
    return out;
}

inline QString problemName(ContactsRead::Problem problem)
{
    static const QStringList names{
        "None",           "NoColon",      "OutsideCard",    "CardNotClosed",  "EndWithoutBegin",
        "UnknownCharset", "QuoteInValue", "TextAfterQuote", "QuoteNotClosed", "NoColumns",
        "InvalidUtf8",    "Stopped",      "NoContacts"};
    return names.value(int(problem));
}

// Contacts in test failures as their fields, not their bytes.
inline void PrintTo(const Contact& c, std::ostream* os)
{
    *os << "{" << described(c).toStdString() << "}";
}
