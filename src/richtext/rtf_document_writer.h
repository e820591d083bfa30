#pragma once

#include "richtext/rtf_format_tables.h"
#include "richtext/rtf_output.h"
#include "richtext/rtf_paragraph_attributes.h"

#include <optional>

class QTextBlock;
class QTextDocument;
class QTextFragment;
class QTextImageFormat;

// One run of the RTF writer over a document range: the body is written first,
// while the font and colour tables fill up, and the header is put before it.
class RtfDocumentWriter
{
public:
    RtfDocumentWriter(const QTextDocument& doc, int from, int to);

    QByteArray write();

private:
    // Positions are passed along rather than asked of Qt, which looks them up in a tree.
    void writeBlock(const QTextBlock& block, int position);
    void writeFragment(const QTextFragment& fragment, int position);
    void writeParagraphFormat(const QTextBlock& block);
    void writeCharAttributes(int formatIndex);
    void writePicture(const QTextImageFormat& format);
    void writeImageAsPng(const QTextImageFormat& format);
    QByteArray header();

    const QTextDocument& m_doc;
    // Indexed by document position; one copy instead of one string per fragment.
    const QString m_text;
    int m_from;
    int m_to;
    RtfOutput m_body;
    RtfFormatTables m_tables;
    std::optional<RtfParagraphAttributes> m_paragraph;
    int m_paragraphFormatIndex = -1;
    RtfCharAttributes m_chars;
};
