#pragma once

#include "contacts/contact.h"

#include <QString>
#include <QStringList>
#include <vector>

// Comma-separated values as RFC 4180 has them: CR LF between records, a value
// holding a comma, a quote or a line break in double quotes, a quote in it
// doubled. Reading also takes LF alone between records and the semicolon
// that spreadsheets of a Russian locale separate values with.
class CsvTable
{
public:
    struct Row
    {
        QStringList fields;
        int line = 0; // where the record starts, from 1
    };

    struct Parsed
    {
        std::vector<Row> rows; // blank lines are left out
        ContactsRead::Problem problem = ContactsRead::Problem::None;
        int line = 0;
        bool ok() const { return problem == ContactsRead::Problem::None; }
    };

    // The separator is the one of comma and semicolon that the first record
    // uses more. Line breaks inside a quoted value become "\n".
    static Parsed parse(QStringView text, const StopRequest& stop = {});
    // The record with CR LF after it.
    static void appendRow(QString& out, const QStringList& fields);
};
