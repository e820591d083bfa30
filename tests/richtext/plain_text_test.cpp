#include "richtext/rtf_simple_text.h"
#include "rtf_test_util.h"
#include "unit_test.h"

using namespace rtftest;

TEST(PlainText, DocumentTextHasCrLfBreaksPlainInputIsNormalisedAndOnePassReadsAlike)
{
    QTextDocument doc;
    EXPECT_EQ(PlainText::of(doc), QString());
    QTextCursor cursor(&doc);
    cursor.insertText(QStringLiteral("один"));
    QTextImageFormat image;
    image.setName(QStringLiteral("rtfpict:1"));
    cursor.insertImage(image);
    cursor.insertText(QStringLiteral("два") + QChar(QChar::LineSeparator) + QStringLiteral("три"));
    cursor.insertBlock();
    cursor.insertBlock();
    cursor.insertText(QStringLiteral("четыре"));
    EXPECT_EQ(PlainText::of(doc), QStringLiteral("одиндва\r\nтри\r\n\r\nчетыре"));
    // A page that is not RTF is shown as it is, with every line break made CR LF.
    const QString mixed = QStringLiteral("a\r\nb\nc\rd") + QChar(QChar::LineSeparator) + "e" +
                          QChar(QChar::ParagraphSeparator) + "f" + QChar(0) +
                          QChar(QChar::ObjectReplacementCharacter) + "\r\n\r\n";
    const QString notRtf = QStringLiteral("Привет\r\n{\\rtf не в начале");
    for (const auto& [page, expected] :
         {std::pair{mixed, QStringLiteral("a\r\nb\r\nc\r\nd\r\ne\r\nf\r\n\r\n")},
          std::pair{notRtf, notRtf}}) {
        EXPECT_EQ(PlainText::normalized(page), expected);
        EXPECT_EQ(RtfPlainText::extract(page), expected);
        QTextDocument read;
        RtfReader::read(page, read);
        EXPECT_EQ(PlainText::of(read), expected);
    }
    // An empty page empties the document.
    readBoth("{\\rtf1 x}", doc);
    RtfReader::read(QString(), doc);
    EXPECT_TRUE(doc.isEmpty());
    // Pages as the rich-edit control writes them are read in one pass; anything
    // that pass does not follow is left to the full reader. Either way the text
    // is the reader's.
    for (const DataCase& c : readCases("richtext/one_pass.cases")) {
        const QByteArray rtf = c.bytes(0);
        const QString left = u"(left to the full reader)"_qs;
        EXPECT_EQ(RtfSimpleText::extract(rtf).value_or(left),
                  c.text(1) == u"read"_qs ? readBoth(rtf) : left)
            << c.name;
    }
}
