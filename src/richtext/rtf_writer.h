#pragma once

#include <QByteArray>
#include <QString>

class QTextDocument;

// Writes a document as RTF in the style of the Windows rich-edit control, so that
// books saved here stay readable by version 3.0: Windows-1251 \'hh escapes,
// \uN? for everything else, pure ASCII output, identical bytes for identical documents.
class RtfWriter
{
public:
    static QByteArray write(const QTextDocument& doc);
    // The document range [from, to) in document positions; the block separator at
    // the end of a paragraph is written as \par only when it lies inside the range.
    static QByteArray write(const QTextDocument& doc, int from, int to);
    static QString writeString(const QTextDocument& doc);
};
