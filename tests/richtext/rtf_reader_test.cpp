#include "richtext/document_units.h"
#include "richtext/plain_text.h"
#include "richtext/rtf_picture.h"
#include "richtext/rtf_plain_text.h"
#include "richtext/rtf_reader.h"

#include <QDir>
#include <QFile>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>
#include <QUrl>
#include <gtest/gtest.h>

namespace {

const QString kHead = QStringLiteral(
    "{\\rtf1\\ansi\\ansicpg1251\\deff0\\deflang1049{\\fonttbl{\\f0\\fswiss\\fcharset204{\\*\\fname "
    "Arial;}Arial CYR;}}{\\colortbl ;\\red255\\green0\\blue0;}\\viewkind4\\uc1\\pard\\f0\\fs16 ");

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
}

QString fixturePath(const QString& name)
{
    return QStringLiteral(VELKARO_TEST_DATA "/rtf/") + name;
}

QString textOf(const QByteArray& rtf)
{
    QTextDocument doc;
    RtfReader::read(QByteArrayView(rtf), doc);
    return PlainText::of(doc);
}

QString textOf(const QString& page)
{
    QTextDocument doc;
    RtfReader::read(page, doc);
    return PlainText::of(doc);
}

QByteArray rtf(const char* body)
{
    return "{\\rtf1\\ansi\\ansicpg1251\\deff0{\\fonttbl{\\f0\\fnil\\fcharset204 Arial;}}" +
           QByteArray(body) + "}";
}

QList<QTextFragment> fragments(const QTextDocument& doc)
{
    QList<QTextFragment> out;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it)
            out.append(it.fragment());
    }
    return out;
}

QList<int> tabTwips(const QTextBlock& block)
{
    QList<int> out;
    for (const QTextOption::Tab& tab : block.blockFormat().tabPositions())
        out.append(qRound(DocumentUnits::toTwips(tab.position)));
    return out;
}

} // namespace

// Every fixture has the text the page shows beside it.
TEST(RtfReader, FixturesGiveTheirExpectedText)
{
    const QStringList names = QDir(fixturePath({})).entryList({"*.rtf"}, QDir::Files);
    ASSERT_GE(names.size(), 4);
    for (const QString& name : names) {
        QString expected = QString::fromUtf8(fileBytes(fixturePath(name).replace(".rtf", ".txt")));
        expected.replace('\n', QLatin1StringView("\r\n"));
        const QByteArray source = fileBytes(fixturePath(name));
        EXPECT_EQ(textOf(source), expected) << name.toStdString();
        EXPECT_EQ(RtfPlainText::extract(QByteArrayView(source)), expected) << name.toStdString();
    }
}

TEST(RtfReader, AddressPageKeepsTabStopsFontsAndAttributes)
{
    QTextDocument doc;
    RtfReader::read(QByteArrayView(fileBytes(fixturePath("address_page.rtf"))), doc);
    ASSERT_EQ(doc.blockCount(), 5);
    EXPECT_EQ(tabTwips(doc.begin()), (QList<int>{300, 3325}));
    EXPECT_EQ(tabTwips(doc.lastBlock()), (QList<int>{300, 3325}));

    const QList<QTextFragment> parts = fragments(doc);
    ASSERT_GE(parts.size(), 2);
    EXPECT_EQ(parts[0].text(), QStringLiteral("Иванов Иван Иванович"));
    EXPECT_EQ(parts[0].charFormat().fontWeight(), QFont::Bold);
    EXPECT_EQ(parts[0].charFormat().fontFamilies().toStringList(), QStringList{"Arial CYR"});
    EXPECT_DOUBLE_EQ(parts[0].charFormat().fontPointSize(), 8.0);
    EXPECT_EQ(parts[1].charFormat().fontWeight(), QFont::Normal);
    EXPECT_FALSE(parts[1].charFormat().hasProperty(QTextFormat::ForegroundBrush));

    const auto red = std::find_if(parts.begin(), parts.end(), [](const QTextFragment& f) {
        return f.text() == QStringLiteral("Петров Пётр");
    });
    ASSERT_NE(red, parts.end());
    EXPECT_EQ(red->charFormat().foreground().color(), QColor(255, 0, 0));
}

TEST(RtfReader, ParagraphFormatsAndBlocks)
{
    QTextDocument doc;
    RtfReader::read(QByteArrayView(fileBytes(fixturePath("text_page.rtf"))), doc);
    const QTextBlock title = doc.begin();
    EXPECT_EQ(title.blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_EQ(title.begin().fragment().charFormat().fontPointSize(), 14.0);
    const QTextBlock bullet = title.next().next();
    EXPECT_EQ(qRound(DocumentUnits::toTwips(bullet.blockFormat().leftMargin())), 200);
    EXPECT_EQ(qRound(DocumentUnits::toTwips(bullet.blockFormat().textIndent())), -200);

    // \line starts a block that keeps the paragraph's format.
    RtfReader::read(QByteArrayView(rtf("\\pard\\qr one\\line two\\par\\pard three")), doc);
    ASSERT_EQ(doc.blockCount(), 3);
    EXPECT_EQ(doc.begin().next().blockFormat().alignment() & Qt::AlignHorizontal_Mask,
              Qt::AlignRight);
    EXPECT_EQ(doc.lastBlock().blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);

    // The rich-edit control ends every page with \par: it is no extra line.
    EXPECT_EQ(textOf(rtf("a\\par ")), QStringLiteral("a"));
    EXPECT_EQ(textOf(rtf("a\\par\\par ")), QStringLiteral("a\r\n"));
    EXPECT_EQ(textOf(rtf("")), QString());
}

TEST(RtfReader, PicturesKeepTheirSourceAndSize)
{
    const QByteArray source = fileBytes(fixturePath("pictures.rtf"));
    QTextDocument doc;
    RtfReader::read(QByteArrayView(source), doc);
    QList<QTextImageFormat> images;
    for (const QTextFragment& f : fragments(doc)) {
        if (f.charFormat().isImageFormat())
            images.append(f.charFormat().toImageFormat());
    }
    ASSERT_EQ(images.size(), 2);
    const QByteArray png = images[0].property(RtfPicture::SourceProperty).toByteArray();
    EXPECT_TRUE(png.startsWith("{\\pict\\pngblip") && png.endsWith('}'));
    EXPECT_TRUE(source.contains(png));
    EXPECT_EQ(images[1].property(RtfPicture::SourceProperty).toByteArray(),
              "{\\pict\\wmetafile8\\picw2540\\pich1270\\picwgoal1440\\pichgoal720 010009000003}");

    const QImage decoded =
        doc.resource(QTextDocument::ImageResource, QUrl(images[0].name())).value<QImage>();
    EXPECT_EQ(decoded.size(), QSize(4, 3));
    EXPECT_EQ(qRound(DocumentUnits::toTwips(images[0].width())), 600);
    EXPECT_EQ(qRound(DocumentUnits::toTwips(images[1].width())), 1440);
    EXPECT_EQ(qRound(DocumentUnits::toTwips(images[1].height())), 720);
    EXPECT_FALSE(doc.resource(QTextDocument::ImageResource, QUrl(images[1].name())).isNull());
}

TEST(RtfReader, PlainTextInputIsShownAsItIs)
{
    EXPECT_EQ(textOf(QByteArray("one\r\ntwo\nthree\rfour\r\n")),
              QStringLiteral("one\r\ntwo\r\nthree\r\nfour\r\n"));
    EXPECT_EQ(textOf(QStringLiteral("Привет\r\n{\\rtf не в начале")),
              QStringLiteral("Привет\r\n{\\rtf не в начале"));
    EXPECT_EQ(textOf(QByteArray("\xcf\xf0\xe8\xe2\xe5\xf2")), QStringLiteral("Привет"));
    QTextDocument doc;
    RtfReader::read(QByteArrayView(rtf("x")), doc);
    RtfReader::read(QString(), doc);
    EXPECT_TRUE(doc.isEmpty());
}

// Page texts hold the Windows-1251 decoding of the RTF bytes.
TEST(RtfReader, PageTextOverloadReadsTheBytesBehindTheCharacters)
{
    const QString page = kHead + QStringLiteral("\\'cf\\'f0\\'e8\\'e2\\'e5\\'f2 А\\par }");
    EXPECT_EQ(textOf(page), QStringLiteral("Привет А"));
    EXPECT_EQ(RtfPlainText::extract(page), QStringLiteral("Привет А"));
    EXPECT_EQ(textOf(QStringLiteral("  \r\n") + kHead + QStringLiteral("x}")), QStringLiteral("x"));
}

TEST(RtfReader, UnicodeAndFallbacks)
{
    EXPECT_EQ(textOf(rtf("\\uc1\\u1046?\\u-4064?")), QStringLiteral("Ж\uF020"));
    // Fallbacks count \'hh, control words and \bin as one character each.
    EXPECT_EQ(textOf(rtf("\\uc2\\u1046\\'c6\\'c6x\\uc3\\u1046\\b\\bin2 ab\\'c6y")),
              QStringLiteral("Жx") + QStringLiteral("Жy"));
    // \uc is restored when its group ends; a group boundary ends a fallback.
    EXPECT_EQ(textOf(rtf("{\\uc0\\u1046}\\u1046xy{\\uc5\\u1046}z")), QStringLiteral("ЖЖyЖz"));
    EXPECT_EQ(textOf(rtf("\\u-10179?\\u-8704?")), QStringLiteral("\U0001F600"));
    EXPECT_EQ(textOf(rtf("\\u-8704?a\\u-10179?b")), QStringLiteral("\uFFFDa\uFFFDb"));
    EXPECT_EQ(textOf(rtf("a\\u8232?b\\u0?\\u65532?c")), QStringLiteral("a\r\nbc"));
}

TEST(RtfReader, CodePagesFollowTheFont)
{
    const QByteArray tables = "{\\rtf1\\ansi\\ansicpg1251\\deff0{\\fonttbl{\\f0 Arial;}"
                              "{\\f1\\fcharset0 Arial;}{\\f2\\fcharset128 MS Gothic;}"
                              "{\\f3\\cpg1253\\fcharset0 Greek;}{\\f4\\fcharset238 CE;}}";
    EXPECT_EQ(textOf(tables + "\\'e9\\f1\\'e9\\f2\\'82\\'a0\\f3\\'e1\\f4\\'b9\\plain\\'e9}"),
              QStringLiteral("йé\u3042αąй"));
    EXPECT_EQ(textOf(QByteArray("{\\rtf1\\ansi \\'e9}")), QStringLiteral("é"));
}

TEST(RtfReader, DestinationsOutsideThePageTextAreSkipped)
{
    EXPECT_EQ(textOf(rtf("{\\info{\\title T}}{\\*\\unknown x{y}}{\\header h}{\\footer f}"
                         "a{\\footnote n}{\\annotation c}{\\*\\bkmkstart b}"
                         "{\\field{\\*\\fldinst HYPERLINK x}{\\fldrslt shown}}"
                         "{\\fldinst raw}{\\v hidden}{\\stylesheet{s;}}{\\unknowndest kept}")),
              QStringLiteral("ashownkept"));
    EXPECT_EQ(textOf(rtf("{\\*\\shppict{\\pict\\pngblip 00}}{\\nonshppict{\\pict 00}}\\{\\}\\\\"
                         "\\emdash\\endash\\bullet\\lquote\\rquote\\~\\_\\-")),
              QStringLiteral("{}\\\u2014\u2013\u2022\u2018\u2019\u00A0\u2011"));
}

TEST(RtfReader, TablesAreTabSeparatedRows)
{
    EXPECT_EQ(textOf(rtf("\\trowd\\cellx1000\\cellx2000\\cellx3000\\intbl a\\cell b\\cell "
                         "c\\cell\\row\\trowd\\intbl\\cell\\cell z\\cell\\row\\pard end")),
              QStringLiteral("a\tb\tc\r\n\t\tz\r\nend"));
    EXPECT_EQ(textOf(rtf("\\intbl x\\cell\\cell\\cell\\row")), QStringLiteral("x\t\t"));
}

TEST(RtfReader, ColoursAndHighlight)
{
    QTextDocument doc;
    RtfReader::read(QByteArrayView(rtf("{\\colortbl;\\red0\\green128\\blue0;}\\cf1\\highlight1 "
                                       "g\\cf0\\highlight0 a\\cf7 b")),
                    doc);
    const QList<QTextFragment> parts = fragments(doc);
    ASSERT_EQ(parts.size(), 2);
    EXPECT_EQ(parts[0].charFormat().foreground().color(), QColor(0, 128, 0));
    EXPECT_EQ(parts[0].charFormat().background().color(), QColor(0, 128, 0));
    EXPECT_FALSE(parts[1].charFormat().hasProperty(QTextFormat::ForegroundBrush));
    EXPECT_FALSE(parts[1].charFormat().hasProperty(QTextFormat::BackgroundBrush));
}

TEST(RtfReader, ReadingReplacesContentWithoutUndoHistory)
{
    QTextDocument doc;
    RtfReader::read(QByteArrayView(fileBytes(fixturePath("pictures.rtf"))), doc);
    RtfReader::read(QByteArrayView(rtf("\\b new")), doc);
    EXPECT_EQ(PlainText::of(doc), QStringLiteral("new"));
    EXPECT_FALSE(doc.isUndoAvailable());
    EXPECT_TRUE(
        doc.resource(QTextDocument::ImageResource, QUrl(RtfPicture::resourceName(1))).isNull());
}

// Found by fuzzing: font names the code page cannot hold come as \u, and
// control characters in a name are dropped.
TEST(RtfReader, FontNamesMayUseUnicode)
{
    QTextDocument doc;
    RtfReader::read(QByteArrayView("{\\rtf1\\ansi\\ansicpg1251{\\fonttbl{\\f0\\fcharset204\\u23435?"
                                   "\\u20307? \\'c0\t\\u9?;}}\\f0 x}"),
                    doc);
    EXPECT_EQ(doc.begin().begin().fragment().charFormat().fontFamilies().toStringList(),
              QStringList{QStringLiteral("宋体 А")});

    // Over-long names are cut the same way however they were spelt.
    const QByteArray bytes = "{\\rtf1{\\fonttbl{\\f0 " + QByteArray(200, 'a') +
                             QByteArray(100, 'b') + "\\u59?;}}\\f0 x}";
    QByteArray escaped = "{\\rtf1{\\fonttbl{\\f0 " + QByteArray(200, 'a');
    for (int i = 0; i < 100; ++i)
        escaped += "\\u98?";
    escaped += ";}}\\f0 x}";
    const QStringList expected{QString(200, u'a') + QString(56, u'b')};
    for (const QByteArray& source : {bytes, escaped}) {
        RtfReader::read(QByteArrayView(source), doc);
        EXPECT_EQ(doc.begin().begin().fragment().charFormat().fontFamilies().toStringList(),
                  expected);
    }
}
