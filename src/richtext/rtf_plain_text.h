#pragma once

#include <QByteArrayView>
#include <QString>

// The plain text of a page without building a document: exactly what
// PlainText::of gives for the document RtfReader builds from the same input.
class RtfPlainText
{
public:
    static QString extract(QByteArrayView rtf);
    static QString extract(const QString& pageText);
};
