#include "richtext/rtf_simple_text.h"
#include "rtf_test_util.h"

#include <QTextCursor>

using namespace rtftest;

TEST(PlainText, DocumentTextHasOnlyCrLfBreaksAndNoPictures)
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
}

// A page that is not RTF is shown as it is, with every line break made CR LF.
TEST(PlainText, PlainInputIsNormalised)
{
    const QString mixed = QStringLiteral("a\r\nb\nc\rd") + QChar(QChar::LineSeparator) + "e" +
                          QChar(QChar::ParagraphSeparator) + "f" + QChar(0) +
                          QChar(QChar::ObjectReplacementCharacter) + "\r\n\r\n";
    const QString notRtf = QStringLiteral("Привет\r\n{\\rtf не в начале");
    for (const auto& [page, expected] :
         {std::pair{mixed, QStringLiteral("a\r\nb\r\nc\r\nd\r\ne\r\nf\r\n\r\n")},
          std::pair{notRtf, notRtf}}) {
        EXPECT_EQ(PlainText::normalized(page), expected);
        EXPECT_EQ(RtfPlainText::extract(page), expected);
        QTextDocument doc;
        RtfReader::read(page, doc);
        EXPECT_EQ(PlainText::of(doc), expected);
    }
    // Bytes are Windows-1251.
    EXPECT_EQ(readBoth("one\r\ntwo\nthree\rfour\r\n"),
              QStringLiteral("one\r\ntwo\r\nthree\r\nfour\r\n"));
    EXPECT_EQ(readBoth("\xcf\xf0\xe8\xe2\xe5\xf2"), QStringLiteral("Привет"));
    // An empty page empties the document.
    QTextDocument doc;
    readBoth("{\\rtf1 x}", doc);
    RtfReader::read(QString(), doc);
    EXPECT_TRUE(doc.isEmpty());
}

// Pages as the rich-edit control writes them are read in one pass; anything
// that pass does not follow is left to the full reader. Either way the text
// is the reader's.
TEST(PlainText, OnePassReadsOrdinaryPagesAsTheReaderDoes)
{
    const QByteArray head = "{\\rtf1\\ansi\\ansicpg1251\\deff0\\deflang1049{\\fonttbl{\\f0\\fswiss"
                            "\\fcharset204{\\*\\fname Tahoma;}Tahoma CYR;}}\r\n"
                            "{\\colortbl ;\\red0\\green0\\blue0;}\r\n\\viewkind4\\uc1\\pard";
    const std::pair<QByteArray, bool> cases[] = {
        {head + "\\tx300\\cf1\\f0\\fs20 \\'c8\\'e2\\'e0\\'ed 1\\tab +7 555\\par\r\n\\pard\\par" +
             QByteArray("\r\n}\r\n\0", 6),
         true},
        {head + " {\\b \xcf\xf0\\{\\}\\\\}\\par\\par\\par x\\par}", true},
        {"{\\rtf1\\ansi\\ansicpg1251{\\fonttbl\\f0\\fswiss\\fcharset204 Arial;}\\f0 a\\tab\\tab b}",
         true},
        {"{\\rtf1\\ansi\\ansicpg1251{\\fonttbl\\f0\\fswiss\\fcharset0 Arial;}\\f0 \\'c8}", false},
        {"{\\rtf1\\ansi\\ansicpg1251{\\fonttbl{\\f0\\fcharset204 Symbol;}}\\f0 a}", false},
        {"{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset204 Arial;}}\\f0 \\'c8}", false},
        {head + " \\u1055? a}", false},
        {head + "{\\*\\pn\\pnlvlblt{\\pntxtb x}}a\\par b}", false},
        {head + " a\\line b}", false},
        {head + " a} trailing", false}};
    for (const auto& [rtf, simple] : cases) {
        const QString leftToTheReader = u"(left to the full reader)"_qs;
        EXPECT_EQ(RtfSimpleText::extract(rtf).value_or(leftToTheReader),
                  simple ? readBoth(rtf) : leftToTheReader)
            << rtf.constData();
    }
}
