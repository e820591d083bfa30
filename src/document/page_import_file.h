#pragma once

#include "document/data_file.h"

#include <QString>
#include <QStringList>

class Book;
class QTextDocument;

// The import command's work on the book: the fields of a version-3.0 notes
// file (read with SequentialFileReader) are appended to the pages in page
// order.
class PageImportFile
{
public:
    // A notes file holds no more than a book does.
    static constexpr qint64 MaxFileBytes = DataFile::MaxFileBytes;

    // The page text with `field` after a line break. A plain-text page gets
    // CR LF and the field, also when it is empty. A rich-text page keeps its
    // formatting and gets the field as new paragraphs at its end, one per
    // line, in the font and size of its last character without emphasis or
    // colour, so its plain text is the old plain text, CR LF and the field.
    // Line breaks of the field become CR LF either way.
    static QString appendImportedField(const QString& pageText, const QString& field);
    // The same on a page's document, as the rich-text page gets it.
    static void appendField(QTextDocument& page, const QString& field);

    // Field k goes to page k for k from 1 to the smaller of the two counts;
    // pages after the last field receive nothing, fields after the last page
    // are ignored. The book marks itself changed; the caller opens the
    // current page again.
    static void apply(Book& book, const QStringList& fields);
};
