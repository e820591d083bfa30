#pragma once

#include <QByteArrayView>
#include <QString>

class QTextDocument;

// Reads a page (RTF as the Windows rich-edit control writes it, or what users
// paste from word processors) into a document, replacing its whole content.
// Input that does not start with "{\rtf" is plain text and is shown as it is.
class RtfReader
{
public:
    static void read(QByteArrayView source, QTextDocument& doc);
    // Page texts hold Windows-1251-decoded characters; RTF among them is read
    // back as the bytes it was decoded from.
    static void read(const QString& source, QTextDocument& doc);
};
