#pragma once

#include "document/page_record.h"

#include <QByteArray>
#include <span>

// The plain-text export written beside the book at every save: for each page
// a line "$" + title, then its plain text ("$" as "&dollar;", two apostrophes
// as a double quote) and CR LF. Windows-1251; a character without a code
// becomes '?' here only (the data file keeps it).
class TextExport
{
public:
    static QByteArray build(std::span<const PageRecord> pages);
    // Appends the part of the export one page makes: its title line and its text.
    static void appendPage(QByteArray& out, const PageRecord& page);
    // Appends the same part to `out`, made from the page's stored
    // Windows-1251 bytes without decoding them, where the plain-text reader
    // reads them and an address page has no surplus tabs to clean up; false,
    // and nothing appended, otherwise.
    static bool appendStoredText(QByteArray& out, const PageRecord& page);
    // The same with the title given as its Windows-1251 bytes.
    static bool appendStoredText(QByteArray& out, QByteArrayView title, const PageText& text,
                                 qint32 kind);
};
