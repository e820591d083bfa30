#include "richtext/rtf_writer.h"

#include "richtext/rtf_document_writer.h"

#include <QTextDocument>

QByteArray RtfWriter::write(const QTextDocument& doc)
{
    // The whole document includes the final paragraph mark, which the rich-edit
    // control also writes as \par.
    return write(doc, 0, doc.characterCount());
}

QByteArray RtfWriter::write(const QTextDocument& doc, int from, int to)
{
    const int end = doc.characterCount();
    from = qBound(0, from, end);
    to = qBound(from, to, end);
    return RtfDocumentWriter(doc, from, to).write();
}

QString RtfWriter::writeString(const QTextDocument& doc)
{
    return QString::fromLatin1(write(doc));
}
