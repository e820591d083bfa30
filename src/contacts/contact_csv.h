#pragma once

#include "contacts/contact.h"

#include <QByteArray>
#include <QStringView>
#include <span>

// Contacts as a table: a header row, then one row per contact with the
// columns "Name", "Phone", "E-mail", "Note" and "Category". Several numbers
// or addresses share their cell, separated by "; ", a number's kind after it
// in brackets: "+7 916 123-45-67 (cell); 123-45-67 (work)".
//
// Reading takes tables of other programs too: columns are known by their
// header, in English or Russian ("Имя", "Телефон", "Мобильный", "E-mail
// Address", "Фамилия"...); the values of columns it does not know go into
// the note as "header: value", so nothing of a row is dropped.
class ContactCsv
{
public:
    // UTF-8 behind a byte-order mark: without it, spreadsheets on Windows take
    // the file for the system's code page and show the Cyrillic garbled.
    static QByteArray write(std::span<const Contact> contacts);
    static ContactsRead read(QStringView text, const StopRequest& stop = {});
};
