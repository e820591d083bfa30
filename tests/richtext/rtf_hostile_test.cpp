#include "richtext/plain_text.h"
#include "richtext/rtf_picture.h"
#include "richtext/rtf_plain_text.h"
#include "richtext/rtf_reader.h"
#include "richtext/rtf_writer.h"

#include <QDir>
#include <QFile>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>
#include <gtest/gtest.h>

namespace {

// Reads through both paths; they must agree whatever the input.
QString readBoth(const QByteArray& source, QTextDocument& doc)
{
    RtfReader::read(QByteArrayView(source), doc);
    const QString text = PlainText::of(doc);
    EXPECT_EQ(RtfPlainText::extract(QByteArrayView(source)), text);
    return text;
}

QString readBoth(const QByteArray& source)
{
    QTextDocument doc;
    return readBoth(source, doc);
}

QList<QTextImageFormat> images(const QTextDocument& doc)
{
    QList<QTextImageFormat> out;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            if (it.fragment().charFormat().isImageFormat())
                out.append(it.fragment().charFormat().toImageFormat());
        }
    }
    return out;
}

// Text and attributes of every run, the way a round trip must keep them; a run
// without family or size shows in the document's default font.
std::string runs(const QTextDocument& doc)
{
    QStringList out;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat f = it.fragment().charFormat();
            QStringList families = f.fontFamilies().toStringList();
            if (families.isEmpty())
                families.append(doc.defaultFont().family());
            const qreal size = f.hasProperty(QTextFormat::FontPointSize)
                                   ? f.fontPointSize()
                                   : doc.defaultFont().pointSizeF();
            out.append(QStringLiteral("%1|%2|%3|%4")
                           .arg(it.fragment().text(), families.join(','))
                           .arg(size)
                           .arg(f.fontWeight()));
        }
        out.append(QStringLiteral("<block>"));
    }
    return out.join('\n').toStdString();
}

} // namespace

TEST(RtfHostile, UnbalancedAndDeepGroups)
{
    EXPECT_EQ(readBoth("{\\rtf1 a}}b{c"), QStringLiteral("a"));
    EXPECT_EQ(readBoth("{\\rtf1 {\\b a{\\i b"), QStringLiteral("ab"));
    EXPECT_EQ(readBoth(QByteArray("{\\rtf1 a}\0\0", 11)), QStringLiteral("a"));

    const int depth = 200000;
    EXPECT_EQ(
        readBoth("{\\rtf1 " + QByteArray(depth, '{') + "deep" + QByteArray(depth, '}') + "x}"),
        QStringLiteral("deepx"));
    // Skipped destinations far below the depth limit still end where they should.
    EXPECT_EQ(readBoth("{\\rtf1 " + QByteArray(1000, '{') + "{\\*\\x{{}}}a" +
                       QByteArray(1000, '}') + "b}"),
              QStringLiteral("ab"));
}

TEST(RtfHostile, TruncatedAtEveryByte)
{
    QFile file(QStringLiteral(VELKARO_TEST_DATA "/rtf/text_page.rtf"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray source = file.readAll();
    QTextDocument doc;
    for (qsizetype n = 0; n <= source.size(); ++n)
        readBoth(source.left(n), doc);
}

TEST(RtfHostile, BinaryAndHexEscapes)
{
    EXPECT_EQ(readBoth("{\\rtf1 a\\bin99999999 xyz"), QStringLiteral("a"));
    EXPECT_EQ(readBoth("{\\rtf1 a\\bin-5 b\\bin c\\bin2 }}d}"), QStringLiteral("abcd"));
    EXPECT_EQ(readBoth("{\\rtf1\\ansicpg1251 \\'zz\\'4x\\'c0\\'"), QStringLiteral("zz\u0004xА"));
    EXPECT_EQ(readBoth(QByteArray("{\\rtf1 a\0b\\'00c\r\nd}", 19)), QStringLiteral("abcd"));
}

TEST(RtfHostile, ExtremeNumbersAreBounded)
{
    QTextDocument doc;
    const QString text =
        readBoth("{\\rtf1{\\fonttbl{\\f-1\\fcharset-7 A;}{\\f99999999999 B;}}"
                 "\\fs-5\\cf-1\\highlight99999\\f-3\\uc-3\\u99999999 x\\u-99999 y"
                 "\\li-99999999999\\fi99999999999\\tx99999999999\\tx-5\\fs99999999999 z}",
                 doc);
    EXPECT_EQ(text, QStringLiteral("xyz"));
    const QTextCharFormat last = doc.begin().begin().fragment().charFormat();
    EXPECT_GT(last.fontPointSize(), 0);
    EXPECT_FALSE(last.hasProperty(QTextFormat::ForegroundBrush));
    EXPECT_EQ(readBoth("{\\rtf1\\uc999999\\u1046 abc{d}e}"), QStringLiteral("Жde"));
    EXPECT_EQ(readBoth("{\\rtf1 \\" + QByteArray(5000, 'x') + "5 shown}"), QStringLiteral("shown"));
}

TEST(RtfHostile, TablesAreBounded)
{
    QByteArray fonts = "{\\rtf1{\\fonttbl";
    QByteArray colours = "{\\colortbl;";
    QByteArray tabs;
    for (int i = 0; i < 20000; ++i) {
        fonts += "{\\f" + QByteArray::number(i) + " F" + QByteArray::number(i) + ";}";
        colours += "\\red1;";
        tabs += "\\tx" + QByteArray::number(i * 10);
    }
    QTextDocument doc;
    const QByteArray source = fonts + "}" + colours + "}" + tabs + "\\f19999\\cf19999 t}";
    EXPECT_EQ(readBoth(source, doc), QStringLiteral("t"));
    const QTextCharFormat format = doc.begin().begin().fragment().charFormat();
    EXPECT_TRUE(format.fontFamilies().toStringList().isEmpty());
    EXPECT_FALSE(format.hasProperty(QTextFormat::ForegroundBrush));
    EXPECT_EQ(doc.begin().blockFormat().tabPositions().size(), 64);
}

TEST(RtfHostile, PicturesWithOddContent)
{
    // Unfinished pictures are dropped rather than kept half.
    QTextDocument doc;
    EXPECT_EQ(readBoth("{\\rtf1 a{\\pict\\pngblip 89504e47", doc), QStringLiteral("a"));
    EXPECT_TRUE(images(doc).isEmpty());

    // Braces inside \bin data and subgroups belong to the picture.
    const QByteArray pict = "{\\pict\\wmetafile8\\picw99999999\\pich-4{\\*\\blipuid 12}{x{y}}"
                            "\\bin3 }{}00ff}";
    readBoth("{\\rtf1 a" + pict + "b{\\v{\\pict 00}}}", doc);
    const QList<QTextImageFormat> found = images(doc);
    ASSERT_EQ(found.size(), 1);
    EXPECT_EQ(found[0].property(RtfPicture::SourceProperty).toByteArray(), pict);
    EXPECT_LE(found[0].width(), 4000);
    EXPECT_GE(found[0].height(), 1);

    EXPECT_EQ(readBoth("{\\rtf1 {\\pict\\jpegblip ffd8ffe0 not a jpeg}c}"), QStringLiteral("c"));

    // Found by fuzzing: a group that turns into a picture half-way would be
    // written back with the text before \pict and read differently.
    EXPECT_EQ(readBoth("{\\rtf1 {\\b x\\\n\\pict 00}y}", doc), QStringLiteral("x\r\ny"));
    EXPECT_TRUE(images(doc).isEmpty());
}

// Inputs the fuzzer found: each read, written and read again must give the
// same document.
TEST(RtfHostile, FuzzFindingsSurviveARoundTrip)
{
    const QDir folder(QStringLiteral(VELKARO_TEST_DATA "/rtf/fuzz"));
    const QStringList names = folder.entryList({"*.rtf"}, QDir::Files);
    ASSERT_FALSE(names.isEmpty());
    for (const QString& name : names) {
        QFile file(folder.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        QTextDocument first;
        readBoth(file.readAll(), first);
        QTextDocument second;
        readBoth(RtfWriter::write(first), second);
        EXPECT_EQ(runs(second), runs(first)) << name.toStdString();
    }
}
