#include "richtext/rtf_picture.h"
#include "rtf_test_util.h"

using namespace rtftest;

// Damaged and hostile input: no crash, no runaway memory or time, and the document and the
// fast path agree on whatever text is left. Inputs found by fuzzing are in the round trips,
// damaged ones short enough to write out in the case file of the reader.

TEST(RtfHostile, DamagedInputGivesWhatTextItHoldsTruncatedAtAnyByteToo)
{
    const int depth = 200000;
    const std::pair<QByteArray, QString> cases[] = {
        {"{\\rtf1 " + QByteArray(depth, '{') + "deep" + QByteArray(depth, '}') + "x}", "deepx"},
        // Skipped destinations far below the depth limit still end where they should.
        {"{\\rtf1 " + QByteArray(1000, '{') + "{\\*\\x{{}}}a" + QByteArray(1000, '}') + "b}", "ab"},
        {"{\\rtf1 \\" + QByteArray(5000, 'x') + "5 shown}", "shown"}};
    for (const auto& [source, text] : cases)
        EXPECT_EQ(readBoth(source), text) << source.left(100).constData();
    // A page cut short at every byte.
    const QByteArray source = fileBytes(QStringLiteral(VELKARO_TEST_DATA "/rtf/text_page.rtf"));
    ASSERT_FALSE(source.isEmpty());
    QTextDocument doc;
    for (qsizetype n = 0; n <= source.size(); ++n)
        readBoth(source.left(n), doc);
}

TEST(RtfHostile, ExtremeNumbersTablesAndPicturesWithOddContentAreBounded)
{
    QTextDocument doc;
    EXPECT_EQ(readBoth("{\\rtf1{\\fonttbl{\\f-1\\fcharset-7 A;}{\\f99999999999 B;}}"
                       "\\fs-5\\cf-1\\highlight99999\\f-3\\uc-3\\u99999999 x\\u-99999 y"
                       "\\li-99999999999\\fi99999999999\\tx99999999999\\tx-5\\fs99999999999 z}",
                       doc),
              QStringLiteral("xyz"));
    QTextCharFormat format = doc.begin().begin().fragment().charFormat();
    EXPECT_GT(format.fontPointSize(), 0);
    EXPECT_FALSE(format.hasProperty(QTextFormat::ForegroundBrush));

    QByteArray fonts = "{\\rtf1{\\fonttbl";
    QByteArray colours = "{\\colortbl;";
    QByteArray tabs;
    for (int i = 0; i < 20000; ++i) {
        fonts += "{\\f" + QByteArray::number(i) + " F" + QByteArray::number(i) + ";}";
        colours += "\\red1;";
        tabs += "\\tx" + QByteArray::number(i * 10);
    }
    EXPECT_EQ(readBoth(fonts + "}" + colours + "}" + tabs + "\\f19999\\cf19999 t}", doc),
              QStringLiteral("t"));
    format = doc.begin().begin().fragment().charFormat();
    EXPECT_TRUE(format.fontFamilies().toStringList().isEmpty());
    EXPECT_FALSE(format.hasProperty(QTextFormat::ForegroundBrush));
    EXPECT_EQ(doc.begin().blockFormat().tabPositions().size(), 64);
    // Unfinished pictures are dropped rather than kept half.
    EXPECT_EQ(readBoth("{\\rtf1 a{\\pict\\pngblip 89504e47", doc), QStringLiteral("a"));
    EXPECT_TRUE(images(doc).isEmpty());

    // Braces inside \bin data and subgroups belong to the picture; sizes are bounded.
    const QByteArray pict = "{\\pict\\wmetafile8\\picw99999999\\pich-4{\\*\\blipuid 12}{x{y}}"
                            "\\bin3 }{}00ff}";
    readBoth("{\\rtf1 a" + pict + "b{\\v{\\pict 00}}}", doc);
    const QList<QTextImageFormat> found = images(doc);
    ASSERT_EQ(found.size(), 1);
    EXPECT_EQ(found[0].property(RtfPicture::SourceProperty).toByteArray(), pict);
    EXPECT_LE(found[0].width(), 4000);
    EXPECT_GE(found[0].height(), 1);

    // Found by fuzzing: a group that turns into a picture half-way would be
    // written back with the text before \pict and read differently.
    EXPECT_EQ(readBoth("{\\rtf1 {\\b x\\\n\\pict 00}y}", doc), QStringLiteral("x\r\ny"));
    EXPECT_TRUE(images(doc).isEmpty());
}
