#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

// A telephone number as other address books file it.
struct ContactPhone
{
    enum class Kind
    {
        Other,
        Cell,
        Work,
        Home,
        Fax
    };

    QString number; // as the user wrote it: "+7 (495) 123-45-67"
    Kind kind = Kind::Other;
    QString label = {}; // the file's own name for the number ("Дача"), shown instead of the kind

    friend bool operator==(const ContactPhone&, const ContactPhone&) = default;
};

// What a file says of a contact that an entry has no place of its own for:
// it becomes a line "label: value" of the entry.
struct ContactField
{
    enum class Kind
    {
        Nickname,
        Organisation,
        Title,
        Address,
        Url,
        Categories,
        Role,
        Messenger,
        Anniversary, // a date as ContactDate::toEntry shows it
        Spouse,
        Labelled, // the file names it: `label`
    };

    Kind kind = Kind::Labelled;
    QString value;
    QString label = {};

    friend bool operator==(const ContactField&, const ContactField&) = default;
};

// One entry of an address page as a contact: what vCard and CSV files hold.
struct Contact
{
    QString name;
    std::vector<ContactPhone> phones;
    QStringList emails;
    QString note;     // lines separated by "\n"
    QString category; // the page the entry came from
    int line = 0;     // where a contact read from a file starts there, from 1
    // "1990-05-17", "--05-17" without the year; a file's own text when it is
    // no date this program can read.
    QString birthday = {};
    std::vector<ContactField> fields = {};
    QString uid = {}; // of an exported entry (ContactExport)

    friend bool operator==(const Contact& a, const Contact& b)
    {
        return a.name == b.name && a.phones == b.phones && a.emails == b.emails &&
               a.note == b.note && a.category == b.category && a.birthday == b.birthday &&
               a.fields == b.fields;
    }
};

// Contacts read from a file, or why they could not be: a file with one bad
// line gives no contacts at all, so an import never takes half a file.
// Asked between the records of a contacts file: true when reading is to stop
// at once (a termination signal is waiting for the program). Empty: never.
using StopRequest = std::function<bool()>;

struct ContactsRead
{
    enum class Problem
    {
        None,
        NoColon,         // a vCard line without "name:value"
        OutsideCard,     // a vCard line before BEGIN:VCARD or after END:VCARD
        CardNotClosed,   // BEGIN:VCARD with no END:VCARD before the next card or the end
        EndWithoutBegin, // END:VCARD with no card open
        UnknownCharset,  // a CHARSET this program cannot decode
        QuoteInValue,    // a CSV value that does not start with a quote holds one
        TextAfterQuote,  // a CSV value goes on after its closing quote
        QuoteNotClosed,  // a quoted CSV value runs to the end of the file
        NoColumns,       // the CSV header names no column this program knows
        InvalidUtf8,     // a vCard 3.0 or 4.0 in UTF-8 with bytes that are not UTF-8
        Stopped,         // the program is ending: reading stopped between records
        NoContacts,      // nothing to import
    };

    std::vector<Contact> contacts;
    Problem problem = Problem::None;
    int line = 0;   // the line the problem was found on, from 1
    QString detail; // the charset or the column names, where the problem has one
    // The code the file was read in: a file that is not UTF-8 is read in
    // one of the two code pages address books of Windows save in.
    enum class Encoding
    {
        Utf8,
        Windows1251,
        Windows1252,
    };
    Encoding encoding = Encoding::Utf8;

    bool ok() const { return problem == Problem::None; }
    static ContactsRead failure(Problem problem, int line, const QString& detail = {})
    {
        ContactsRead read;
        read.problem = problem;
        read.line = line;
        read.detail = detail;
        return read;
    }
};
