#include "richtext/rtf_list_table.h"
#include "richtext/rtf_writer.h"
#include "rtf_test_util.h"
#include "unit_test.h"

using namespace rtftest;

// What users pasted into their pages from Word and web pages, as the rich-edit control
// stored it. Every case is read through the document and through the fast path.

// The control hands out its RTF with a NUL after the closing brace, and some pages were
// stored with more behind it; nothing after the document's last brace is text.
TEST(RtfPastedContent, NothingAfterTheClosingBraceIsReadCasesKeepTheirTextAndListsTheirNumbers)
{
    const QByteArray text = "{\\rtf1\\ansi\\ansicpg1251\\deff0{\\fonttbl{\\f0\\fnil\\fcharset204 "
                            "Tahoma;}}\r\n\\viewkind4\\uc1\\pard\\f0\\fs16 \\'c4\\'ee\\'ec\\par "
                            "x\\par\r\n}\r\n";
    const QByteArray tails[] = {QByteArray("\0", 1), QByteArray("\0\r\n\0\0", 5),
                                "}}{\\rtf1 second}", "stray \\'e9 text\\par{\\b bold}",
                                "\xff\xfe\x82",      "{\\pict\\pngblip 89504e47"};
    for (const QByteArray& tail : tails) {
        EXPECT_EQ(readBoth(text + tail), QStringLiteral("Дом\r\nx")) << tail.toHex().constData();
        QTextDocument doc;
        RtfReader::read(QString::fromLatin1(text + tail), doc);
        EXPECT_EQ(PlainText::of(doc), QStringLiteral("Дом\r\nx"));
    }
    // Symbol fonts, list tables, notes, fields and old paragraph numbers: read, saved and
    // read again, the page shows the same text.
    for (const DataCase& c : readCases("richtext/rtf_text_saved.cases")) {
        SCOPED_TRACE(c.name);
        QTextDocument doc;
        EXPECT_EQ(readBoth(c.parts.value(0), doc), c.lines(1));
        EXPECT_EQ(readBoth(RtfWriter::write(doc)), c.lines(1));
    }
    // The formats and limits the lists of the cases above do not reach.
    const std::tuple<int, int, const char*> cases[] = {
        {1, 1994, "MCMXCIV"}, {4, 0, "0"},  {5, 1, "1st"}, {5, 12, "12th"},
        {22, 7, "07"},        {255, 5, ""}, {47, 3, "3"}};
    for (const auto& [format, value, number] : cases)
        EXPECT_EQ(RtfListTable::formatNumber(value, format), QString::fromUtf8(number))
            << format << " " << value;
}
