#pragma once

#include <QString>
#include <QStringView>
#include <optional>

// Dates as people write them in an address book and as contact files carry
// them. A date is kept as "1990-05-17", or "--05-17" without the year.
class ContactDate
{
public:
    struct Found
    {
        qsizetype end = 0;
        QString date;
        bool hasYear = true;
    };

    // The date that starts at `at`: "1990-05-17", "1990/05/17", "17.05.1990",
    // "17/05/1990", "17-05-1990" and, where `yearless` allows, "17.05". Of two
    // numbers that could each be the day the first is ("03/04/1990" is the
    // 3rd of April); "05/17/1990" can only be the 17th of May.
    static std::optional<Found> at(QStringView text, qsizetype at, bool yearless);
    // A date of a vCard or a spreadsheet ("19900517", "--0517",
    // "1990-05-17T00:00:00Z", "5/17/1990"), empty when it is none.
    static QString read(QStringView text);
    // "19900517" and "--0517", as vCard 4.0 writes dates; empty for a text
    // that is no date.
    static QString toVCard(const QString& date);
    // "17.05.1990" and "17.05"; any other text as it is.
    static QString toEntry(const QString& date);
};
