#include "richtext/document_units.h"
#include "richtext/rtf_picture.h"
#include "richtext/rtf_writer.h"

#include <QImage>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextImageFormat>
#include <gtest/gtest.h>

namespace {

const QByteArray kHeader = "{\\rtf1\\ansi\\ansicpg1251\\deff0\\deflang1049"
                           "{\\fonttbl{\\f0\\fnil\\fcharset204 Arial;}}\r\n"
                           "\\viewkind4\\uc1";

class RtfWriterTest : public ::testing::Test
{
protected:
    RtfWriterTest() { m_doc.setDefaultFont(QFont(QStringLiteral("Arial"), 8)); }

    // The body between the header and the closing brace, for documents in the default font.
    QByteArray body() const
    {
        const QByteArray rtf = RtfWriter::write(m_doc);
        EXPECT_TRUE(rtf.startsWith(kHeader)) << rtf.constData();
        EXPECT_TRUE(rtf.endsWith("}\r\n")) << rtf.constData();
        return rtf.mid(kHeader.size(), rtf.size() - kHeader.size() - 3);
    }

    QTextDocument m_doc;
    QTextCursor m_cursor{&m_doc};
};

QTextCharFormat bold()
{
    QTextCharFormat f;
    f.setFontWeight(QFont::Bold);
    return f;
}

QTextCharFormat colored(const QColor& color)
{
    QTextCharFormat f;
    f.setForeground(color);
    return f;
}

} // namespace

TEST_F(RtfWriterTest, EmptyDocumentIsOneEmptyParagraphInTheDefaultFont)
{
    EXPECT_EQ(RtfWriter::write(m_doc), kHeader + "\\pard\\f0\\fs16\\par\r\n}\r\n");
    EXPECT_EQ(RtfWriter::writeString(m_doc), QString::fromLatin1(RtfWriter::write(m_doc)));
}

TEST_F(RtfWriterTest, TextIsEscapedToPureAscii)
{
    m_cursor.insertText(QStringLiteral("a\\b{c}d\te5 Ёж€ 日"));
    m_cursor.insertText(QString::fromUcs4(U"\U0001F600"));
    m_cursor.insertText(QStringLiteral("\x01"));
    EXPECT_EQ(body(), "\\pard\\f0\\fs16 a\\\\b\\{c\\}d\\tab e5 \\'a8\\'e6\\'88 \\u26085?"
                      "\\u-10179?\\u-8704?\\'01\\par\r\n");
}

TEST_F(RtfWriterTest, ParagraphsEndWithParAndKeepEmptyLines)
{
    m_cursor.insertText(QStringLiteral("Иванов"));
    m_cursor.insertBlock();
    m_cursor.insertBlock();
    m_cursor.insertText(QStringLiteral("1"));
    EXPECT_EQ(body(), "\\pard\\f0\\fs16\\'c8\\'e2\\'e0\\'ed\\'ee\\'e2\\par\r\n\\par\r\n1\\par\r\n");
}

TEST_F(RtfWriterTest, CharacterAttributesAreWrittenOnlyWhereTheyChange)
{
    QTextCharFormat all = bold();
    all.setFontItalic(true);
    all.setFontUnderline(true);
    all.setFontStrikeOut(true);
    m_cursor.insertText(QStringLiteral("a"));
    m_cursor.insertText(QStringLiteral("b"), all);
    m_cursor.insertText(QStringLiteral("c"), all);
    m_cursor.insertText(QStringLiteral("1"), QTextCharFormat());
    EXPECT_EQ(body(), "\\pard\\f0\\fs16 a\\b\\i\\ul\\strike bc\\b0\\i0\\ulnone\\strike0 "
                      "1\\par\r\n");
}

TEST_F(RtfWriterTest, ColoursGoToTheTableInOrderOfFirstUseWithAutomaticAsZero)
{
    m_cursor.insertText(QStringLiteral("r"), colored(Qt::red));
    m_cursor.insertText(QStringLiteral("a"), QTextCharFormat());
    QTextCharFormat marked = colored(QColor(0, 0, 128));
    marked.setBackground(Qt::red);
    m_cursor.insertText(QStringLiteral("m"), marked);
    const QByteArray rtf = RtfWriter::write(m_doc);
    EXPECT_TRUE(rtf.contains("}}\r\n{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green0\\blue128;}"
                             "\r\n\\viewkind4"))
        << rtf.constData();
    EXPECT_TRUE(rtf.contains("\\cf1\\f0\\fs16 r\\cf0 a\\cf2\\highlight1 m\\par"))
        << rtf.constData();
}

TEST_F(RtfWriterTest, FontsAndSizesComeFromTheFormatsUsed)
{
    QTextCharFormat tahoma;
    tahoma.setFontFamilies({QStringLiteral("Tahoma")});
    tahoma.setFontPointSize(10.5);
    m_cursor.insertText(QStringLiteral("t"), tahoma);
    QTextCharFormat cyrillicName;
    cyrillicName.setFontFamilies({QStringLiteral("Курьер;")});
    m_cursor.insertText(QStringLiteral("k"), cyrillicName);
    m_cursor.insertText(QStringLiteral("t"), tahoma);
    const QByteArray rtf = RtfWriter::write(m_doc);
    EXPECT_TRUE(rtf.contains("{\\fonttbl{\\f0\\fnil\\fcharset204 Tahoma;}"
                             "{\\f1\\fnil\\fcharset204\\'ca\\'f3\\'f0\\'fc\\'e5\\'f0;}}"))
        << rtf.constData();
    EXPECT_TRUE(rtf.contains("\\f0\\fs21 t\\f1\\fs16 k\\f0\\fs21 t\\par")) << rtf.constData();
}

TEST_F(RtfWriterTest, ParagraphFormatsAreInTwipsAndRepeatedOnlyOnChange)
{
    QTextBlockFormat address;
    address.setTabPositions(
        {QTextOption::Tab(DocumentUnits::fromTwips(300), QTextOption::LeftTab),
         QTextOption::Tab(DocumentUnits::fromTwips(3325), QTextOption::RightTab)});
    address.setLeftMargin(DocumentUnits::fromTwips(720));
    address.setTextIndent(DocumentUnits::fromTwips(-360));
    address.setRightMargin(DocumentUnits::fromTwips(15));
    m_cursor.setBlockFormat(address);
    m_cursor.insertText(QStringLiteral("a"));
    m_cursor.insertBlock();
    m_cursor.insertText(QStringLiteral("b"));
    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    m_cursor.insertBlock(centred);
    QTextBlockFormat justified;
    justified.setAlignment(Qt::AlignJustify);
    m_cursor.insertBlock(justified);
    QTextBlockFormat right;
    right.setAlignment(Qt::AlignRight);
    m_cursor.insertBlock(right);
    EXPECT_EQ(body(), "\\pard\\fi-360\\li720\\ri15\\tx300\\tqr\\tx3325\\f0\\fs16 a\\par\r\n"
                      "b\\par\r\n\\pard\\qc\\par\r\n\\pard\\qj\\par\r\n\\pard\\qr\\par\r\n");
}

TEST_F(RtfWriterTest, RangeWritesOnlyTheSelectedCharactersAndSeparators)
{
    m_cursor.insertText(QStringLiteral("abc"));
    m_cursor.insertBlock();
    m_cursor.insertText(QStringLiteral("de"), bold());
    const auto range = [this](int from, int to) {
        const QByteArray rtf = RtfWriter::write(m_doc, from, to);
        return rtf.mid(kHeader.size(), rtf.size() - kHeader.size() - 3);
    };
    EXPECT_EQ(range(1, 2), "\\pard\\f0\\fs16 b");
    EXPECT_EQ(range(2, 5), "\\pard\\f0\\fs16 c\\par\r\n\\b d");
    EXPECT_EQ(range(3, 4), "\\pard\\f0\\fs16\\par\r\n");
    EXPECT_EQ(range(2, 2), "");
    EXPECT_EQ(RtfWriter::write(m_doc, -5, 1000), RtfWriter::write(m_doc));
    EXPECT_EQ(RtfWriter::write(m_doc, 4, 1), RtfWriter::write(m_doc, 4, 4));
}

TEST_F(RtfWriterTest, PicturesFromRtfAreWrittenBackByteForByte)
{
    const QByteArray group = "{\\pict\\wmetafile8\\picw100\\pich100\r\n0102ff}";
    QTextImageFormat picture;
    picture.setName(RtfPicture::resourceName(1));
    picture.setProperty(RtfPicture::SourceProperty, group);
    m_cursor.insertText(QStringLiteral("x"));
    m_cursor.insertImage(picture);
    m_cursor.insertImage(picture);
    m_cursor.insertText(QStringLiteral("y"));
    EXPECT_EQ(body(), "\\pard\\f0\\fs16 x" + group + group + "y\\par\r\n");
}

TEST_F(RtfWriterTest, PicturesWithoutRtfSourceAreSavedAsPng)
{
    QImage image(3, 2, QImage::Format_RGB32);
    image.fill(Qt::red);
    m_doc.addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("pasted")), image);
    m_cursor.insertImage(QStringLiteral("pasted"));
    const QByteArray rtf = RtfWriter::write(m_doc);
    const qsizetype start = rtf.indexOf("{\\pict\\pngblip\\picw3\\pich2\\picwgoal");
    ASSERT_GE(start, 0) << rtf.constData();
    const qsizetype hex = rtf.indexOf("\r\n", start) + 2;
    const QByteArray png = QByteArray::fromHex(rtf.mid(hex, rtf.indexOf('}', hex) - hex));
    EXPECT_EQ(QImage::fromData(png, "PNG").convertToFormat(QImage::Format_RGB32), image);
}
