#include "richtext/rtf_writer.h"
#include "rtf_test_util.h"

using namespace rtftest;

// What users pasted into their pages from Word and web pages, as the rich-edit control
// stored it. Every case is read through the document and through the fast path.

namespace {

QByteArray page(const QByteArray& fonts, const QByteArray& body)
{
    return "{\\rtf1\\ansi\\ansicpg1251\\deff0{\\fonttbl{\\f0\\fnil\\fcharset204 Tahoma;}" + fonts +
           "}\r\n\\viewkind4\\uc1\\pard\\f0\\fs16 " + body + "\\par\r\n}\r\n";
}

} // namespace

// The control hands out its RTF with a NUL after the closing brace, and some pages were
// stored with more behind it; nothing after the document's last brace is text.
TEST(RtfPastedContent, NothingAfterTheClosingBraceIsRead)
{
    const QByteArray text = page({}, "\\'c4\\'ee\\'ec\\par x");
    const QByteArray tails[] = {
        QByteArray("\0", 1), QByteArray("\0\r\n\0\0", 5),
        "}}{\\rtf1 second}", "stray \\'e9 text\\par{\\b bold}",
        "\xff\xfe\x82",      "{\\pict\\pngblip 89504e47",
    };
    for (const QByteArray& tail : tails) {
        EXPECT_EQ(readBoth(text + tail), QStringLiteral("Дом\r\nx")) << tail.toHex().constData();
        QTextDocument doc;
        RtfReader::read(QString::fromLatin1(text + tail), doc);
        EXPECT_EQ(PlainText::of(doc), QStringLiteral("Дом\r\nx"));
    }
    // A lead byte left open by the last text is dropped, never paired with what follows.
    EXPECT_EQ(readBoth("{\\rtf1\\ansi\\ansicpg932 \\'82\\'a0\\'82}\xa0\x82\xa2"),
              QStringLiteral("\u3042"));
}
