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

QString crlf(QString text)
{
    return text.replace(u'\n', u"\r\n"_qs);
}

} // namespace

// Inside a line a run of tabs becomes one tab, at the start of a line two. The
// fast check on the plain text agrees with the document path, the clean-up is
// one undo step, and every page comes back as RTF that needs no further pass.
TEST(PageImport, TabRunsCollapseTheSameOnEveryPath)
{
    const struct
    {
        QString before;
        QString after;
    } cases[] = {
        {u"name\t\tphone"_qs, u"name\tphone"_qs},
        {u"a\t\t\t\t\tb\t\tc"_qs, u"a\tb\tc"_qs},
        {u"trailing\t\t\t"_qs, u"trailing\t"_qs},
        {u"\tname\tphone\n\t\tnote"_qs, u"\tname\tphone\n\t\tnote"_qs},
        {u"\t\t\tfirst"_qs, u"\t\tfirst"_qs},
        {u"one\n\t\t\t\ttwo\n\t\tthree\n\tfour"_qs, u"one\n\t\ttwo\n\t\tthree\n\tfour"_qs},
        {u"\t\t\t\t\t\n\t\t\t"_qs, u"\t\t\n\t\t"_qs},
        {u"a\t\tb\nc\t\t\td\n\t\t\t\te"_qs, u"a\tb\nc\td\n\t\te"_qs},
        {u"Иванов\t\t\t555\nПетров\t777"_qs, u"Иванов\t555\nПетров\t777"_qs},
        {u"plain\ttext\n\t\tmore\n\t\t"_qs, u"plain\ttext\n\t\tmore\n\t\t"_qs},
        {QString(), QString()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.before.toStdString());
        QTextDocument doc;
        doc.setPlainText(c.before);
        const QString rtf = RtfWriter::writeString(doc);
        PageImport::CollapseTabs(doc);
        EXPECT_EQ(doc.toPlainText(), c.after);
        doc.undo();
        EXPECT_EQ(doc.toPlainText(), c.before);

        const bool changes = c.before != c.after;
        EXPECT_EQ(PageImport::needsCollapse(crlf(c.before)), changes);
        EXPECT_EQ(PageImport::needsCollapse(rtf), changes);
        // An RTF page the clean-up would not change is returned as it is.
        EXPECT_EQ(PageImport::Import(rtf) == rtf, !changes);
        EXPECT_EQ(plainOf(PageImport::Import(rtf)), crlf(c.after));
        const QString imported = PageImport::Import(crlf(c.before));
        EXPECT_TRUE(imported.startsWith(u"{\\rtf"_qs));
        EXPECT_EQ(plainOf(imported), crlf(c.after));
        EXPECT_FALSE(PageImport::needsCollapse(imported));
        EXPECT_EQ(PageImport::Import(imported), imported);
    }
    const QString indented = u"  \r\n"_qs + RtfWriter::writeString(QTextDocument(u"a\tb"_qs));
    EXPECT_EQ(PageImport::Import(indented), indented);
}

TEST(PageImport, LineBreaksAndPicturesStartLinesLikeParagraphsDo)
{
    // Shift+Enter in the editor breaks the line inside the paragraph.
    const QString lineBreak(QChar::LineSeparator);
    QTextDocument doc;
    QTextCursor(&doc).insertText("a\t\t" + lineBreak + "\t\t\tb");
    ASSERT_EQ(doc.blockCount(), 1);
    PageImport::CollapseTabs(doc);
    EXPECT_EQ(doc.toRawText(), "a\t" + lineBreak + "\t\tb");

    // A picture has no place in the plain text the fast path judges by, so
    // the tabs after it count as starting the line in both.
    QTextDocument pictures;
    QTextCursor cursor(&pictures);
    cursor.insertImage(QImage(4, 4, QImage::Format_RGB32));
    cursor.insertText("\t\t\tx\t\t");
    cursor.insertImage(QImage(4, 4, QImage::Format_RGB32));
    cursor.insertText("\t\ty");
    PageImport::CollapseTabs(pictures);
    const QChar picture = QChar::ObjectReplacementCharacter;
    EXPECT_EQ(pictures.toPlainText(), picture + u"\t\tx\t"_qs + picture + u"\ty"_qs);
}

TEST(PageImport, CollapseKeepsTheFormattingOfWhatRemains)
{
    QTextDocument doc;
    RtfReader::read(
        u"{\\rtf1{\\b Ivanov}\\tab\\tab\\tab{\\i 555-12-34}\\par{\\b\\tab\\tab\\tab note}}"_qs,
        doc);
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
    EXPECT_EQ(formatAt(doc.lastBlock().position() + 2).fontWeight(), QFont::Bold);
}
