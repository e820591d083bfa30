#include "document/page_import.h"
#include "richtext/plain_text.h"
#include "richtext/rtf_reader.h"
#include "richtext/rtf_writer.h"

#include <QImage>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <gtest/gtest.h>

namespace {

QString plainOf(const QString& pageText)
{
    QTextDocument doc;
    RtfReader::read(pageText, doc);
    return PlainText::of(doc);
}

QString collapsed(const QString& plain)
{
    QTextDocument doc;
    doc.setPlainText(plain);
    PageImport::CollapseTabs(doc);
    return doc.toPlainText();
}

QString rtfOf(const QString& plain)
{
    QTextDocument doc;
    doc.setPlainText(plain);
    return RtfWriter::writeString(doc);
}

} // namespace

TEST(CollapseTabs, RunInsideALineBecomesOneTab)
{
    EXPECT_EQ(collapsed("name\t\tphone"), "name\tphone");
    EXPECT_EQ(collapsed("a\t\t\t\t\tb\t\tc"), "a\tb\tc");
    EXPECT_EQ(collapsed("trailing\t\t\t"), "trailing\t");
    EXPECT_EQ(collapsed("\tname\tphone\n\t\tnote"), "\tname\tphone\n\t\tnote");
}

TEST(CollapseTabs, RunAtTheStartOfALineKeepsTwo)
{
    EXPECT_EQ(collapsed("\t\t\tfirst"), "\t\tfirst");
    EXPECT_EQ(collapsed("one\n\t\t\t\ttwo\n\t\tthree\n\tfour"), "one\n\t\ttwo\n\t\tthree\n\tfour");
    EXPECT_EQ(collapsed("\t\t\t\t\t\n\t\t\t"), "\t\t\n\t\t");

    // Shift+Enter in the editor breaks the line inside the paragraph.
    const QString lineBreak(QChar::LineSeparator);
    QTextDocument doc;
    QTextCursor(&doc).insertText("a\t\t" + lineBreak + "\t\t\tb");
    ASSERT_EQ(doc.blockCount(), 1);
    PageImport::CollapseTabs(doc);
    EXPECT_EQ(doc.toRawText(), "a\t" + lineBreak + "\t\tb");
}

TEST(CollapseTabs, KeepsTheFormattingOfWhatRemains)
{
    QTextDocument doc;
    QTextCursor cursor(&doc);
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    QTextCharFormat italic;
    italic.setFontItalic(true);
    cursor.insertText("Ivanov", bold);
    cursor.insertText("\t\t\t", QTextCharFormat());
    cursor.insertText("555-12-34", italic);
    cursor.insertBlock();
    cursor.insertText("\t\t\tnote", bold);

    PageImport::CollapseTabs(doc);

    EXPECT_EQ(doc.toPlainText(), "Ivanov\t555-12-34\n\t\tnote");
    const auto formatAt = [&doc](int pos) {
        QTextCursor c(&doc);
        c.setPosition(pos + 1);
        return c.charFormat();
    };
    EXPECT_EQ(formatAt(0).fontWeight(), QFont::Bold);
    EXPECT_NE(formatAt(6).fontWeight(), QFont::Bold);
    EXPECT_TRUE(formatAt(7).fontItalic());
    EXPECT_TRUE(formatAt(15).fontItalic());
    const QTextBlock second = doc.lastBlock();
    EXPECT_EQ(formatAt(second.position() + 2).fontWeight(), QFont::Bold);
}

TEST(CollapseTabs, PictureAtTheStartOfALineDoesNotEndTheLineStart)
{
    // A picture has no place in the plain text the fast path judges by, so
    // the tabs after it count as starting the line in both.
    QTextDocument doc;
    QTextCursor cursor(&doc);
    cursor.insertImage(QImage(4, 4, QImage::Format_RGB32));
    cursor.insertText("\t\t\tx\t\t");
    cursor.insertImage(QImage(4, 4, QImage::Format_RGB32));
    cursor.insertText("\t\ty");
    PageImport::CollapseTabs(doc);
    EXPECT_EQ(doc.toPlainText(), QString(QChar::ObjectReplacementCharacter) + "\t\tx\t" +
                                     QChar::ObjectReplacementCharacter + "\ty");
}

TEST(CollapseTabs, IsOneUndoStep)
{
    QTextDocument doc;
    doc.setPlainText("a\t\tb\nc\t\t\td\n\t\t\t\te");
    PageImport::CollapseTabs(doc);
    EXPECT_EQ(doc.toPlainText(), "a\tb\nc\td\n\t\te");
    doc.undo();
    EXPECT_EQ(doc.toPlainText(), "a\t\tb\nc\t\t\td\n\t\t\t\te");
}

TEST(PageImportFastPath, RtfWithoutDoubleTabsIsReturnedAsItIs)
{
    const QString rtf = rtfOf("Ivanov\t555-12-34\n\t\tnote");
    EXPECT_FALSE(PageImport::needsCollapse(rtf));
    EXPECT_EQ(PageImport::Import(rtf), rtf);
    const QString indented = "  \r\n" + rtf;
    EXPECT_EQ(PageImport::Import(indented), indented);
}

TEST(PageImportFastPath, SurplusTabsAreFoundWithoutBuildingADocument)
{
    EXPECT_TRUE(PageImport::needsCollapse(rtfOf("name\t\tphone")));
    EXPECT_TRUE(PageImport::needsCollapse(rtfOf("name\n\t\t\tphone")));
    EXPECT_TRUE(PageImport::needsCollapse("plain\t\ttext"));
    EXPECT_TRUE(PageImport::needsCollapse("\t\t\tplain"));
    EXPECT_FALSE(PageImport::needsCollapse("plain\ttext\r\n\t\tmore\r\n\t\t"));
}

TEST(PageImportConversion, CollapsesRunsInRtf)
{
    const QString result = PageImport::Import(rtfOf("name\t\tphone\n\t\t\tnote"));
    EXPECT_TRUE(result.startsWith("{\\rtf"));
    EXPECT_EQ(plainOf(result), "name\tphone\r\n\t\tnote");
}

TEST(PageImportConversion, PlainTextComesBackAsRtf)
{
    const QString result = PageImport::Import(QString::fromUtf8("Иванов\t\t\t555\r\nПетров\t777"));
    EXPECT_TRUE(result.startsWith("{\\rtf"));
    EXPECT_EQ(plainOf(result), QString::fromUtf8("Иванов\t555\r\nПетров\t777"));
    EXPECT_TRUE(PageImport::Import("").startsWith("{\\rtf"));
}

TEST(PageImportConversion, ResultIsStable)
{
    const QString once = PageImport::Import("a\t\tb");
    EXPECT_FALSE(PageImport::needsCollapse(once));
    EXPECT_EQ(PageImport::Import(once), once);
}
