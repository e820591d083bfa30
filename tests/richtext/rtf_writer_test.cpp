#include "richtext/document_units.h"
#include "richtext/rtf_writer.h"
#include "unit_test.h"

// The exact bytes are checked here; that what is written reads back the same is left to
// the round trips.

namespace {

const QByteArray kHeader = "{\\rtf1\\ansi\\ansicpg1251\\deff0\\deflang1049"
                           "{\\fonttbl{\\f0\\fnil\\fcharset204 Arial;}}\r\n"
                           "\\viewkind4\\uc1";

class RtfWriterTest : public ::testing::Test
{
protected:
    RtfWriterTest() { m_doc.setDefaultFont(QFont(QStringLiteral("Arial"), 8)); }

    QByteArray write() const
    {
        const QByteArray rtf = RtfWriter::write(m_doc);
        EXPECT_TRUE(rtf.endsWith("}\r\n")) << rtf.constData();
        return rtf;
    }

    // The body between the header and the closing brace, for documents in the default font.
    QByteArray body() const
    {
        const QByteArray rtf = write();
        EXPECT_TRUE(rtf.startsWith(kHeader)) << rtf.constData();
        return rtf.mid(kHeader.size(), rtf.size() - kHeader.size() - 3);
    }

    void insert(const char* text, const QTextCharFormat& format = {})
    {
        m_cursor.insertText(QString::fromUtf8(text), format);
    }

    QTextDocument m_doc;
    QTextCursor m_cursor{&m_doc};
};

} // namespace

// An empty document is one empty paragraph in the default font. Pure ASCII: Windows-1251 as \'hh,
// the rest as \uN? with surrogates for astral characters; attributes only where they change; every
// paragraph, empty ones too, ends with \par.
TEST_F(RtfWriterTest, TextIsEscapedAndAttributesWrittenWhereTheyChange)
{
    EXPECT_EQ(body(), "\\pard\\f0\\fs16\\par\r\n");
    QTextCharFormat all;
    all.setFontWeight(QFont::Bold);
    all.setFontItalic(true);
    all.setFontUnderline(true);
    all.setFontStrikeOut(true);
    insert("a\\b{c}d\te5 Ёж€ 日\U0001F600\x01");
    insert("b", all);
    insert("c", all);
    insert("1");
    m_cursor.insertBlock();
    m_cursor.insertBlock();
    insert("Ив");
    EXPECT_EQ(RtfWriter::writeString(m_doc), QString::fromLatin1(write()));
    EXPECT_EQ(body(), "\\pard\\f0\\fs16 a\\\\b\\{c\\}d\\tab e5 \\'a8\\'e6\\'88 \\u26085?"
                      "\\u-10179?\\u-8704?\\'01\\b\\i\\ul\\strike bc\\b0\\i0\\ulnone\\strike0 1"
                      "\\par\r\n\\par\r\n\\'c8\\'e2\\par\r\n");
}

TEST_F(RtfWriterTest, ColoursAndFontsGoToTheTablesInOrderOfFirstUse)
{
    QTextCharFormat red;
    red.setForeground(Qt::red);
    insert("r", red);
    insert("a");
    red.setForeground(QColor(0, 0, 128));
    red.setBackground(Qt::red);
    insert("m", red);
    QTextCharFormat tahoma;
    tahoma.setFontFamilies({QStringLiteral("Tahoma")});
    tahoma.setFontPointSize(10.5);
    QTextCharFormat cyrillicName;
    cyrillicName.setFontFamilies({QStringLiteral("Курьер;")});
    m_cursor.insertBlock();
    insert("t", tahoma);
    insert("k", cyrillicName);
    insert("t", tahoma);
    const QByteArray rtf = write();
    // Automatic colour is entry 0; a name the code page holds is written in \'hh.
    EXPECT_TRUE(rtf.contains("{\\fonttbl{\\f0\\fnil\\fcharset204 Arial;}"
                             "{\\f1\\fnil\\fcharset204 Tahoma;}"
                             "{\\f2\\fnil\\fcharset204\\'ca\\'f3\\'f0\\'fc\\'e5\\'f0;}}\r\n"
                             "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green0\\blue128;}"
                             "\r\n\\viewkind4"))
        << rtf.constData();
    EXPECT_TRUE(rtf.contains("\\cf1\\f0\\fs16 r\\cf0 a\\cf2\\highlight1 m\\par\r\n"
                             "\\cf0\\highlight0\\f1\\fs21 t\\f2\\fs16 k\\f1\\fs21 t\\par"))
        << rtf.constData();
}

TEST_F(RtfWriterTest, ParagraphFormatsAreInTwipsRepeatedOnlyOnChangeAndPicturesSavedAsPng)
{
    QTextBlockFormat address;
    address.setTabPositions(
        {QTextOption::Tab(DocumentUnits::fromTwips(300), QTextOption::LeftTab),
         QTextOption::Tab(DocumentUnits::fromTwips(3325), QTextOption::RightTab)});
    address.setLeftMargin(DocumentUnits::fromTwips(720));
    address.setTextIndent(DocumentUnits::fromTwips(-360));
    address.setRightMargin(DocumentUnits::fromTwips(15));
    m_cursor.setBlockFormat(address);
    insert("a");
    m_cursor.insertBlock();
    insert("b");
    for (const Qt::Alignment a : {Qt::AlignHCenter, Qt::AlignJustify, Qt::AlignRight}) {
        QTextBlockFormat aligned;
        aligned.setAlignment(a);
        m_cursor.insertBlock(aligned);
    }
    // Stops count from the margin in the file, from the first line in Qt.
    EXPECT_EQ(body(), "\\pard\\fi-360\\li720\\ri15\\tx660\\tqr\\tx3685\\f0\\fs16 a\\par\r\n"
                      "b\\par\r\n\\pard\\qc\\par\r\n\\pard\\qj\\par\r\n\\pard\\qr\\par\r\n");
    // Pictures without an RTF source are saved as PNG.
    QImage image(3, 2, QImage::Format_RGB32);
    image.fill(Qt::red);
    m_doc.addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("pasted")), image);
    m_cursor.insertImage(QStringLiteral("pasted"));
    const QByteArray rtf = write();
    const qsizetype start = rtf.indexOf("{\\pict\\pngblip\\picw3\\pich2\\picwgoal");
    ASSERT_GE(start, 0) << rtf.constData();
    const qsizetype hex = rtf.indexOf("\r\n", start) + 2;
    const QByteArray png = QByteArray::fromHex(rtf.mid(hex, rtf.indexOf('}', hex) - hex));
    EXPECT_EQ(QImage::fromData(png, "PNG").convertToFormat(QImage::Format_RGB32), image);
}

TEST_F(RtfWriterTest, AGenericDefaultFamilyIsWrittenAsTahomaAndARunsOwnFamilyAsItIs)
{
    for (const char* generic : {"Sans Serif", ""}) {
        m_doc.setDefaultFont(QFont(QString::fromLatin1(generic), 8));
        EXPECT_TRUE(write().contains("{\\fonttbl{\\f0\\fnil\\fcharset204 Tahoma;}}")) << generic;
    }
    QTextCharFormat ownFamily;
    ownFamily.setFontFamilies({QStringLiteral("Sans Serif")});
    insert("a");
    insert("b", ownFamily);
    EXPECT_TRUE(write().contains("{\\fonttbl{\\f0\\fnil\\fcharset204 Tahoma;}"
                                 "{\\f1\\fnil\\fcharset204 Sans Serif;}}"));
}
