#include "document/page_import_file.h"

#include "document/book.h"
#include "richtext/plain_text.h"
#include "richtext/rtf_parser.h"
#include "richtext/rtf_reader.h"
#include "richtext/rtf_writer.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>

namespace {

// The field's lines, separated as a document separates paragraphs.
QString paragraphsOf(const QString& field)
{
    return PlainText::normalized(field).replace(QLatin1StringView("\r\n"), QLatin1StringView("\n"));
}

// The face and size of the page's last character, so the field reads like
// the page's text, without its emphasis or colour.
QTextCharFormat fieldCharacters(const QTextCharFormat& lastFormat)
{
    QTextCharFormat chars;
    if (lastFormat.hasProperty(QTextFormat::FontFamilies))
        chars.setFontFamilies(lastFormat.fontFamilies().toStringList());
    if (lastFormat.hasProperty(QTextFormat::FontPointSize))
        chars.setFontPointSize(lastFormat.fontPointSize());
    return chars;
}

// Address pages carry their tab stops in every paragraph; the new ones keep
// them, but none of the last paragraph's alignment or indents.
QTextBlockFormat fieldParagraph(const QTextBlock& last)
{
    QTextBlockFormat paragraph;
    paragraph.setTabPositions(last.blockFormat().tabPositions());
    return paragraph;
}

QString appendToRichText(const QString& pageText, const QString& field)
{
    QTextDocument doc;
    doc.setUndoRedoEnabled(false);
    RtfReader::read(pageText, doc);
    PageImportFile::appendField(doc, field);
    return RtfWriter::writeString(doc);
}

} // namespace

void PageImportFile::appendField(QTextDocument& page, const QString& field)
{
    QTextCursor cursor(&page);
    cursor.movePosition(QTextCursor::End);
    const QTextCharFormat chars = fieldCharacters(cursor.charFormat());
    cursor.insertBlock(fieldParagraph(page.lastBlock()), chars);
    cursor.insertText(paragraphsOf(field), chars);
}

QString PageImportFile::appendImportedField(const QString& pageText, const QString& field)
{
    if (RtfParser::isRtf(QStringView(pageText)))
        return appendToRichText(pageText, field);
    return pageText + QLatin1StringView("\r\n") + PlainText::normalized(field);
}

void PageImportFile::apply(Book& book, const QStringList& fields)
{
    const int count = int(std::min<qsizetype>(fields.size(), book.pageCount()));
    for (int k = 1; k <= count; ++k)
        book.setPageText(k, appendImportedField(book.page(k).text, fields.at(k - 1)));
}
