#include "richtext/rtf_document_builder.h"

#include "richtext/document_units.h"
#include "richtext/left_tab.h"
#include "richtext/rtf_picture.h"
#include "richtext/rtf_picture_image.h"

#include <QTextDocument>
#include <QUrl>

RtfDocumentBuilder::RtfDocumentBuilder(QTextDocument& doc) : m_doc(doc), m_cursor(&doc) {}

void RtfDocumentBuilder::appendText(const QString& text, const RtfRunFormat& format)
{
    m_cursor.insertText(text, charFormat(format));
}

void RtfDocumentBuilder::appendPicture(const RtfPictureData& picture, const RtfRunFormat& format)
{
    const QImage image = RtfPictureImage::image(picture);
    const QSizeF size = RtfPictureImage::displaySize(picture, image);
    const QString name = RtfPicture::resourceName(++m_pictures);
    m_doc.addResource(QTextDocument::ImageResource, QUrl(name), image);
    QTextImageFormat imageFormat;
    imageFormat.merge(charFormat(format));
    imageFormat.setName(name);
    imageFormat.setWidth(size.width());
    imageFormat.setHeight(size.height());
    imageFormat.setProperty(RtfPicture::SourceProperty, picture.source);
    m_cursor.insertImage(imageFormat);
}

void RtfDocumentBuilder::startBlock(const RtfRunFormat& format)
{
    m_cursor.insertBlock(m_blockFormat, charFormat(format));
}

void RtfDocumentBuilder::setBlockFormat(const RtfParagraphFormat& format)
{
    if (m_blockFormatSet && format == m_blockParagraph)
        return;
    m_blockParagraph = format;
    m_blockFormat = blockFormat(format);
    m_blockFormatSet = true;
    m_cursor.setBlockFormat(m_blockFormat);
}

QTextBlockFormat RtfDocumentBuilder::blockFormat(const RtfParagraphFormat& format)
{
    QTextBlockFormat block;
    block.setAlignment(format.alignment);
    block.setLeftMargin(DocumentUnits::fromTwips(format.leftIndent));
    block.setRightMargin(DocumentUnits::fromTwips(format.rightIndent));
    block.setTextIndent(DocumentUnits::fromTwips(format.firstLineIndent));
    // A stop counts from the page's margin; Qt counts from where the first
    // line begins.
    const int origin = format.leftIndent + format.firstLineIndent;
    QList<QTextOption::Tab> tabs;
    tabs.reserve(format.tabs.size());
    for (const RtfTabStop& stop : format.tabs) {
        const qreal position = DocumentUnits::fromTwips(stop.twips - origin);
        if (stop.type == QTextOption::LeftTab) {
            tabs.append(LeftTab::at(position));
            continue;
        }
        const QChar delimiter = stop.type == QTextOption::DelimiterTab ? QChar(u'.') : QChar();
        tabs.append(QTextOption::Tab(position, stop.type, delimiter));
    }
    block.setTabPositions(tabs);
    return block;
}

const QTextCharFormat& RtfDocumentBuilder::charFormat(const RtfRunFormat& format)
{
    if (m_lastValid && format == m_lastRun)
        return m_lastFormat;
    QTextCharFormat chars;
    chars.setFontWeight(format.bold ? QFont::Bold : QFont::Normal);
    chars.setFontItalic(format.italic);
    chars.setFontUnderline(format.underline);
    chars.setFontStrikeOut(format.strikeOut);
    if (!format.family.isEmpty())
        chars.setFontFamilies(QStringList{format.family});
    chars.setFontPointSize(format.pointSize);
    if (format.foreground)
        chars.setForeground(*format.foreground);
    if (format.background)
        chars.setBackground(*format.background);
    m_lastRun = format;
    m_lastFormat = chars;
    m_lastValid = true;
    return m_lastFormat;
}
