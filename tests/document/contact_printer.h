#pragma once

#include "document/contact.h"

#include <ostream>

// Contacts in test failures as their fields, not their bytes.
inline void PrintTo(const Contact& c, std::ostream* os)
{
    *os << "{" << c.name.toStdString() << " |";
    for (const ContactPhone& phone : c.phones)
        *os << " " << phone.number.toStdString() << "/" << int(phone.kind) << "/"
            << phone.label.toStdString();
    *os << " | " << c.emails.join(u',').toStdString() << " | " << c.note.toStdString() << " | "
        << c.category.toStdString() << " | " << c.birthday.toStdString() << " |";
    for (const ContactField& field : c.fields)
        *os << " " << int(field.kind) << ":" << field.label.toStdString() << "="
            << field.value.toStdString();
    *os << "}";
}
