#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <optional>

// The plain text of the RTF the rich-edit control writes for ordinary pages
// (Cyrillic fonts, paragraphs, tabs, character formatting), read in one pass
// without the full reader's state. Anything outside that plain kind of page
// (another code page, a symbol font, Unicode escapes, lists, tables, fields,
// pictures, hidden text, a word it does not know) gives nullopt, and the
// caller takes the full reader; where it answers, it answers as that reader
// does.
class RtfSimpleText
{
public:
    static std::optional<QString> extract(QByteArrayView rtf);
    // Appends the same text to `out` as the Windows-1251 bytes that stand for
    // it, where `rtf` is RTF at all; the export writes them as they are.
    // False, and `out` as it was, where extract() gives nullopt.
    static bool appendBytes(QByteArrayView rtf, QByteArray& out);
};
