#include "richtext/rtf_document_writer.h"

#include "richtext/document_units.h"
#include "richtext/paragraph_pieces.h"
#include "richtext/rtf_picture.h"

#include <QBuffer>
#include <QImage>
#include <QPixmap>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextImageFormat>
#include <QUrl>
#include <cmath>

namespace {

constexpr qsizetype kHeaderReserve = 512;

void switchFlag(RtfOutput& out, bool on, const char* onWord, const char* offWord)
{
    out.controlWord(on ? onWord : offWord);
}

QImage resourceImage(const QTextDocument& doc, const QString& name)
{
    const QVariant resource = doc.resource(QTextDocument::ImageResource, QUrl(name));
    switch (resource.typeId()) {
    case QMetaType::QImage:
        return resource.value<QImage>();
    case QMetaType::QPixmap:
        return resource.value<QPixmap>().toImage();
    case QMetaType::QByteArray:
        return QImage::fromData(resource.toByteArray());
    default:
        return {};
    }
}

} // namespace

RtfDocumentWriter::RtfDocumentWriter(const QTextDocument& doc, int from, int to)
    : m_doc(doc), m_text(doc.toRawText()), m_from(from), m_to(to),
      m_body(qsizetype(to - from) * 2 + kHeaderReserve), m_tables(doc)
{}

QByteArray RtfDocumentWriter::write()
{
    if (m_from < m_to) {
        QTextBlock block = m_doc.findBlock(m_from);
        for (int position = block.position(); block.isValid() && position < m_to;
             position += block.length(), block = block.next())
            writeBlock(block, position);
    }

    QByteArray out = header();
    out.reserve(out.size() + m_body.size() + 8);
    out.append(m_body.take());
    out.append("}\r\n");
    return out;
}

QByteArray RtfDocumentWriter::header()
{
    RtfOutput out(kHeaderReserve);
    out.raw("{\\rtf1\\ansi\\ansicpg1251\\deff0\\deflang1049");
    m_tables.writeFontTable(out);
    out.lineEnd();
    if (m_tables.hasColors()) {
        m_tables.writeColorTable(out);
        out.lineEnd();
    }
    out.raw("\\viewkind4\\uc1");
    return out.take();
}

void RtfDocumentWriter::writeBlock(const QTextBlock& block, int position)
{
    writeParagraphFormat(block);
    const qsizetype before = m_body.size();
    int fragmentPosition = position;
    for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        writeFragment(fragment, fragmentPosition);
        fragmentPosition += fragment.length();
    }

    const int separator = position + block.length() - 1;
    if (separator < m_from || separator >= m_to || ParagraphPieces::continuesPrevious(block.next()))
        return;
    // An empty line keeps its own character format, the one typing there would use.
    if (m_body.size() == before)
        writeCharAttributes(block.charFormatIndex());
    m_body.controlWord("\\par");
    m_body.lineEnd();
}

void RtfDocumentWriter::writeFragment(const QTextFragment& fragment, int position)
{
    const int start = std::max(position, m_from);
    const int end = std::min(position + fragment.length(), m_to);
    if (start >= end)
        return;
    const int formatIndex = fragment.charFormatIndex();
    writeCharAttributes(formatIndex);
    if (const QTextImageFormat* picture = m_tables.picture(formatIndex)) {
        // Equal neighbouring pictures share one fragment.
        for (int i = start; i < end; ++i)
            writePicture(*picture);
        return;
    }
    m_body.text(QStringView(m_text).mid(start, end - start));
}

void RtfDocumentWriter::writeParagraphFormat(const QTextBlock& block)
{
    const int index = block.blockFormatIndex();
    if (m_paragraph && index == m_paragraphFormatIndex)
        return;
    m_paragraphFormatIndex = index;
    RtfParagraphAttributes attributes =
        RtfParagraphAttributes::of(block.blockFormat(), m_doc.indentWidth());
    if (m_paragraph && *m_paragraph == attributes)
        return;
    attributes.write(m_body);
    m_paragraph = std::move(attributes);
}

void RtfDocumentWriter::writeCharAttributes(int formatIndex)
{
    const RtfCharAttributes& next = m_tables.attributes(formatIndex);
    if (next == m_chars)
        return;
    RtfOutput& out = m_body;
    if (next.color != m_chars.color)
        out.controlWord("\\cf", next.color);
    if (next.highlight != m_chars.highlight)
        out.controlWord("\\highlight", next.highlight);
    if (next.bold != m_chars.bold)
        switchFlag(out, next.bold, "\\b", "\\b0");
    if (next.italic != m_chars.italic)
        switchFlag(out, next.italic, "\\i", "\\i0");
    if (next.underline != m_chars.underline)
        switchFlag(out, next.underline, "\\ul", "\\ulnone");
    if (next.strike != m_chars.strike)
        switchFlag(out, next.strike, "\\strike", "\\strike0");
    if (next.font != m_chars.font)
        out.controlWord("\\f", next.font);
    if (next.halfPoints != m_chars.halfPoints)
        out.controlWord("\\fs", next.halfPoints);
    m_chars = next;
}

void RtfDocumentWriter::writePicture(const QTextImageFormat& format)
{
    const QByteArray original = format.property(RtfPicture::SourceProperty).toByteArray();
    if (!original.isEmpty()) {
        m_body.raw(original);
        return;
    }
    writeImageAsPng(format);
}

// A picture that did not come from RTF (pasted or dropped in) would otherwise be
// lost on saving; PNG keeps it losslessly and small.
void RtfDocumentWriter::writeImageAsPng(const QTextImageFormat& format)
{
    const QImage image = resourceImage(m_doc, format.name());
    if (image.isNull())
        return;
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG"))
        return;
    const double width = format.width() > 0 ? format.width() : image.width();
    const double height = format.height() > 0 ? format.height() : image.height();
    m_body.raw("{\\pict\\pngblip");
    m_body.controlWord("\\picw", image.width());
    m_body.controlWord("\\pich", image.height());
    m_body.controlWord("\\picwgoal", int(std::lround(DocumentUnits::toTwips(width))));
    m_body.controlWord("\\pichgoal", int(std::lround(DocumentUnits::toTwips(height))));
    m_body.hexLines(png);
    m_body.raw("}");
}
