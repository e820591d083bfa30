#include "richtext/rtf_list_table.h"
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

QByteArray rtf(const QByteArray& body)
{
    return page({}, body);
}

// Read, saved and read again, the page shows the same text.
void expectTextAndReadBack(const QByteArray& source, const QString& text)
{
    QTextDocument doc;
    EXPECT_EQ(readBoth(source, doc), text) << source.constData();
    EXPECT_EQ(readBoth(RtfWriter::write(doc)), text) << source.constData();
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

// Double-byte text however it was spelt: raw bytes, \'hh pairs, a pair split over \'hh
// and a raw byte, and trail bytes that are RTF's own backslash or braces.
TEST(RtfPastedContent, DoubleByteCodePages)
{
    const std::pair<QByteArray, QString> cases[] = {
        {"{\\rtf1\\ansi\\ansicpg932 \x82\xa0\\'82\\'a2\\'82\xa4\x82\\'a6 \\'83\\'5c\\'87\\'40}",
         "あいうえ ソ①"},
        // After a raw lead byte the next byte is its trail, even a backslash or a brace,
        // unless it starts a \'hh that is.
        {"{\\rtf1\\ansi\\ansicpg932 \x83\\x\x95{y\x83}z}", "ソx府yマz"},
        {"{\\rtf1\\ansi\\ansicpg932 \\'83\\\\x\\'95\\{y\\'83\\}z\\\\\\{}", "ソx府yマz\\{"},
        {"{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0\\fcharset134 SimSun;}{\\f1\\fcharset129 "
         "Gulim;}{\\f2\\fcharset136 MingLiU;}{\\f3 Arial;}}\\f0\xc4\xe3\\'ba\\'c3\\f1\\'c7\xd1"
         "\\f2\xa4\\'a4\\f3\\'e9}",
         "你好한中é"},
        {"{\\rtf1\\ansi\\ansicpg936 \xca\xc0\\'bd\r\n\xe7\\b \\'80}", "世界€"},
        {"{\\rtf1\\ansi\\ansicpg949 \xc7\xd1\\'b1\\'db}", "한글"},
        {"{\\rtf1\\ansi\\ansicpg950 \xa4\xa4\\'a4\\'e5\\'a5\\\\}", "中文功"},
        // \uc counts bytes, so a two-byte fallback is skipped whole.
        {"{\\rtf1\\ansi\\ansicpg932\\uc2\\u12354\\'82\\'a0\\u12356\x82\xa2.}", "あい."},
        // A lead byte waits for its trail over group boundaries and formatting words.
        {"{\\rtf1\\ansi\\ansicpg932 \\'83{\\i \\'56\\'83}\\'93x\\'83\\b\\'56\\par}", "シンxシ"},
    };
    for (const auto& [source, text] : cases)
        EXPECT_EQ(readBoth(source), text) << source.constData();
}

// A table inside a cell: its cells are tab-separated like any row, each of its rows ends
// a line, and the fallback for readers without nested tables is not shown again.
TEST(RtfPastedContent, NestedTablesShowEveryCellOnce)
{
    const QByteArray nestedRow = "{\\*\\nesttableprops\\trowd\\cellx1000\\cellx2000\\nestrow}"
                                 "{\\nonesttables\\par}";
    const std::pair<QByteArray, QString> cases[] = {
        {rtf("\\trowd\\cellx3000\\cellx6000\\pard\\intbl\\itap1 A\\cell\\pard\\intbl\\itap2 "
             "n1\\nestcell n2\\nestcell " +
             nestedRow + "\\pard\\intbl\\itap2 n3\\nestcell\\nestcell " + nestedRow +
             "\\pard\\intbl\\itap1 tail\\cell\\trowd\\cellx3000\\cellx6000\\row"
             "\\pard\\intbl B\\cell C\\cell\\row\\pard after"),
         "A\tn1\tn2\r\nn3\t\r\ntail\r\nB\tC\r\nafter"},
        // A nested table first in its cell, and one whose rows end with a bare \nestrow.
        {rtf("\\intbl\\itap2 x\\nestcell y\\nestcell\\nestrow{\\*\\nesttableprops\\nestrow}"
             "\\intbl\\itap1\\cell z\\cell\\row"),
         "x\ty\r\n\tz\r\n"},
        {rtf("\\intbl\\itap2 x\\nestcell{\\nonesttables x\\tab}y\\nestcell\\nestrow end"),
         "x\ty\r\nend"},
    };
    for (const auto& [source, text] : cases)
        EXPECT_EQ(readBoth(source), text) << source.constData();
}

// Symbol fonts show their own characters; known ones become the Unicode characters they
// show, however the byte was written, and come back the same after saving.
TEST(RtfPastedContent, SymbolFontsShowTheirCharacters)
{
    const QByteArray fonts = "{\\f1\\froman\\fcharset2 Symbol;}{\\f2\\fnil\\fcharset2 Wingdings;}"
                             "{\\f3\\fcharset2 Webdings;}{\\f4\\fcharset2 Marlett;}"
                             "{\\f5\\fcharset0 Symbol;}";
    const std::pair<QByteArray, QString> cases[] = {
        {"{\\f1\\'b7 a\\'b1 W}", "• α± Ω"},
        {"{\\f1 2\\'b4(p+q)\\'b3\\'a5}", "2×(π+θ)≥∞"},
        {"{\\f1\\'ae\\'de\\'d6\\'e5\\'f2\\'b9\\'a3}", "→⇒√∑∫≠≤"},
        {"{\\f2\\'a7\\'d8\\'fc\\'fb\\'fe\\'fd\\'6c\\'6e\\'76\\'71\\'9f\\'e8\\'f0}",
         "▪➢✔✗☑☒●■❖❑•➔⇨"},
        {"{\\f3 a4}", "✔⏵"},
        // Word's form: the byte in Windows' private-use block, with a fallback.
        {"{\\f1\\u-3913 ?}{\\f2\\u-3844 ?}{\\f3\\u61537 ?}", "•✔✔"},
        // A byte a known font has no character for, and fonts we know nothing of.
        {"{\\f2 0}{\\f4 ab\\'b7}{\\f5\\'b7}\\u61623 ?", "\uF030ab··\uF0B7"},
    };
    for (const auto& [body, text] : cases)
        expectTextAndReadBack(page(fonts, body), text);
}

// Lists Word defines only in its list tables: each paragraph shows the number or bullet
// its level defines, counted per list and level, deeper levels starting again.
TEST(RtfPastedContent, ListParagraphsShowTheirNumbers)
{
    const QByteArray fonts = "{\\f1\\fcharset2 Symbol;}";
    const QByteArray lists =
        "{\\*\\listtable{\\list{\\listlevel\\levelnfc0\\levelstartat1{\\leveltext\\'02\\'00.;}"
        "{\\levelnumbers\\'01;}}{\\listlevel\\levelnfc4\\levelstartat1{\\leveltext\\'03\\'00.\\'01;"
        "}"
        "{\\levelnumbers\\'01\\'03;}}{\\listlevel\\levelnfc2\\levelfollow1\\levelstartat3"
        "{\\leveltext\\'02\\'02);}{\\levelnumbers\\'01;}}{\\listname ;}\\listid7}"
        "{\\list{\\listlevel\\levelnfc23{\\leveltext\\'01\\u-3913 ?;}{\\levelnumbers;}\\f1}"
        "{\\listlevel\\levelnfc23{\\leveltext\\'01o;}{\\levelnumbers;}}\\listid8}"
        "{\\list{\\listlevel\\levelnfc3\\levelfollow2\\levelstartat26{\\leveltext\\'02\\'00:;}"
        "{\\levelnumbers\\'01;}}{\\listlevel\\levelnfc1\\levelstartat3999{\\leveltext\\'01\\'01;}"
        "{\\levelnumbers\\'01;}}\\listid9}}"
        "{\\*\\listoverridetable{\\listoverride\\listid7\\ls1}{\\listoverride\\listid8\\ls2}"
        "{\\listoverride\\listid9\\ls3}{\\listoverride\\listid99\\ls4}"
        "{\\listoverride\\listid7{\\lfolevel\\listoverridestartat\\levelstartat5}\\ls5}}";
    const std::pair<QByteArray, QString> cases[] = {
        {"\\pard\\ls1 a\\par b\\par\\ilvl1 c\\par d\\par\\ilvl2 e\\par\\ilvl0 f\\par\\ilvl1 g",
         "1.\ta\r\n2.\tb\r\n2.a\tc\r\n2.b\td\r\niii) e\r\n3.\tf\r\n3.a\tg"},
        // Bullets come from the level's symbol font; letters go on past Z; an empty item
        // still shows its number and \line does not start a new item.
        {"\\pard\\ls2 x\\par\\pard\\ls3 y\\par\\par z\\line w\\par\\ls3\\ilvl1 r\\par r",
         "•\tx\r\nZ:y\r\nAA:\r\nBB:z\r\nw\r\nMMMCMXCIX\tr\r\n4000\tr"},
        // The number text a paragraph brings for readers without lists is not shown: it
        // is often out of date, and the list's own number is.
        {"\\pard\\ls1 a\\par{\\listtext 9.\\tab}b\\par{\\pntext\\f1\\'b7\\tab}c\\par d",
         "1.\ta\r\n2.\tb\r\n3.\tc\r\n4.\td"},
        // Counting goes on over a list's overrides unless one starts again; Word's
        // Courier "o" shows as the white bullet it stands for.
        {"\\pard\\ls1 a\\par\\ls5 b\\par\\ls1 c\\par\\ls2 x\\par\\ilvl1 y",
         "1.\ta\r\n5.\tb\r\n6.\tc\r\n•\tx\r\n◦\ty"},
        // Lists that are not defined, and text out of any list, show no number.
        {"\\pard\\ls4 a\\par\\ls1\\ilvl5 b\\par\\pard c\\par\\intbl\\ls1 d\\cell "
         "e\\cell\\row\\pard",
         "a\r\nb\r\nc\r\n1.\td\t2.\te\r\n"},
    };
    for (const auto& [body, text] : cases)
        expectTextAndReadBack(page(fonts + "}" + lists + "{", body), text);
}

// The formats and limits the lists above do not reach.
TEST(RtfPastedContent, ListNumberFormats)
{
    const std::tuple<int, int, const char*> cases[] = {
        {1, 1994, "MCMXCIV"}, {4, 0, "0"},  {5, 1, "1st"}, {5, 12, "12th"},
        {22, 7, "07"},        {255, 5, ""}, {47, 3, "3"},
    };
    for (const auto& [format, value, text] : cases)
        EXPECT_EQ(RtfListTable::formatNumber(value, format), QString::fromUtf8(text))
            << format << " " << value;
}

// What word processors put around the text: notes leave their numbers, symbol fields
// saved without a result show their character, nested cells written among their row's
// properties keep their text, and old-style paragraph numbers count as the control does.
TEST(RtfPastedContent, NotesSymbolFieldsNestedCellsAndOldNumbers)
{
    const QByteArray fonts = "{\\f1\\fcharset2 Symbol;}{\\f2\\fcharset2 Wingdings;}";
    const std::pair<QByteArray, QString> cases[] = {
        // LibreOffice shows the number of a hidden note too; hidden text stays hidden.
        {"A{\\super\\chftn}{\\footnote\\pard{\\super\\chftn} one}B{\\footnote\\ftnalt e}C"
         "{\\super *}{\\footnote star}D{\\v{\\footnote hidden}}E",
         "A1BiC*2DE"},
        {"\\ftnnrlc\\aftnnar\\ftnstart3 A{\\footnote n}B{\\footnote\\ftnalt e}C{\\footnote n}",
         "AiiiB1Civ"},
        // Symbol fonts map as their text does, where LibreOffice shows the bare byte.
        {"a{\\field{\\*\\fldinst SYMBOL 74 \\\\f \"Wingdings\" \\\\s 12}{\\fldrslt }}b"
         "{\\field{\\*\\fldinst {SYMBOL 0xF0B7 \\\\f \"Symbol\"}}}c"
         "{\\field{\\*\\fldinst SYMBOL 8364 \\\\u}{\\fldrslt}}d{\\field{\\*\\fldinst SYMBOL 233}}e"
         "{\\f1{\\field{\\*\\fldinst SYMBOL 97}}}f{\\field{\\*\\fldinst SYMBOL 74 \\\\f "
         "\"Wingdings\"}{\\fldrslt X}}{\\field{\\*\\fldinst SYMBOL x}}",
         "a☺b•c€dйeαfX"},
        {"\\trowd\\cellx5000\\intbl\\itap2 N1\\nestcell{\\*\\nesttableprops\\trowd\\cellx1 N2}"
         "\\nestcell{\\*\\nesttableprops\\trowd\\cellx1\\nestrow}{\\nonesttables\\par}\\intbl"
         "\\itap2{\\*\\nesttableprops\\trowd Jane\\nestcell Doe\\nestcell\\nestrow}"
         "\\intbl\\itap1\\cell\\row after",
         "N1\tN2\r\nJane\tDoe\r\n\r\nafter"},
        // The control counts a number over consecutive paragraphs numbered alike.
        {"{\\pntext\\f1\\'B7\\tab}{\\*\\pn\\pnlvlblt\\pnf1{\\pntxtb\\'B7}}one\\par two\\par"
         "\\pard{\\pntext 1.\\tab}{\\*\\pn\\pnlvlbody\\pnstart1\\pndec{\\pntxta.}}a\\par b\\par"
         "\\pard x\\par{\\*\\pn\\pnlvlbody\\pnucrm\\pnstart4{\\pntxtb (}{\\pntxta )}}y\\par"
         "{\\*\\pn\\pnlvlcont}z\\par\\pard\\ls9{\\*\\pn\\pnlvlblt}w",
         "•\tone\r\n•\ttwo\r\n1.\ta\r\n2.\tb\r\nx\r\n(IV)\ty\r\nz\r\nw"},
    };
    for (const auto& [body, text] : cases)
        expectTextAndReadBack(page(fonts, body), text);
}
