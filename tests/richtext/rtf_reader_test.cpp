#include "richtext/document_units.h"
#include "richtext/rtf_picture.h"
#include "rtf_test_util.h"
#include "unit_test.h"

using namespace rtftest;

namespace {

QString fixture(const char* name)
{
    return QStringLiteral(VELKARO_TEST_DATA "/rtf/") + QLatin1String(name);
}

QByteArray rtf(const QByteArray& body)
{
    return "{\\rtf1\\ansi\\ansicpg1251\\deff0{\\fonttbl{\\f0\\fnil\\fcharset204 Arial;}}" + body +
           "}";
}

int twips(qreal length)
{
    return qRound(DocumentUnits::toTwips(length));
}

QList<int> tabTwips(const QTextBlock& block)
{
    QList<int> out;
    for (const QTextOption::Tab& tab : block.blockFormat().tabPositions())
        out.append(twips(tab.position));
    return out;
}

Qt::Alignment alignment(const QTextBlock& block)
{
    return block.blockFormat().alignment() & Qt::AlignHorizontal_Mask;
}

} // namespace

TEST(RtfReader, FixturesGiveTheirExpectedTextAndPageTextsAreReadAsTheBytesBehindThem)
{
    const QStringList paths = rtfFiles({"rtf"});
    ASSERT_GE(paths.size(), 4);
    for (const QString& path : paths) {
        QString expected = QString::fromUtf8(fileBytes(QString(path).replace(".rtf", ".txt")));
        expected.replace('\n', QLatin1StringView("\r\n"));
        EXPECT_EQ(readBoth(fileBytes(path)), expected) << path.toStdString();
    }
    // Page texts hold the Windows-1251 decoding of the RTF bytes.
    const QString page = QString::fromUtf8(rtf("\\'cf\\'f0\\'e8\\'e2\\'e5\\'f2 А\\par "));
    QTextDocument doc;
    RtfReader::read(page, doc);
    EXPECT_EQ(PlainText::of(doc), QStringLiteral("Привет А"));
    EXPECT_EQ(RtfPlainText::extract(page), QStringLiteral("Привет А"));
    RtfReader::read(QStringLiteral("  \r\n") + QString::fromLatin1(rtf("x")), doc);
    EXPECT_EQ(PlainText::of(doc), QStringLiteral("x"));
}

TEST(RtfReader, FixturesKeepTabStopsFontsAttributesAndParagraphFormats)
{
    QTextDocument doc;
    RtfReader::read(QByteArrayView(fileBytes(fixture("address_page.rtf"))), doc);
    ASSERT_EQ(doc.blockCount(), 5);
    EXPECT_EQ(tabTwips(doc.begin()), (QList<int>{300, 3325}));
    EXPECT_EQ(tabTwips(doc.lastBlock()), (QList<int>{300, 3325}));
    QStringList runs;
    for (const QTextFragment& f : fragments(doc)) {
        const QTextCharFormat c = f.charFormat();
        runs << QStringLiteral("%1 %2 %3 %4 %5")
                    .arg(f.text(), c.fontWeight() == QFont::Bold ? "b" : "-",
                         c.fontFamilies().toStringList().join(u','))
                    .arg(c.fontPointSize())
                    .arg(c.hasProperty(QTextFormat::ForegroundBrush) ? c.foreground().color().name()
                                                                     : "auto");
    }
    ASSERT_GE(runs.size(), 2);
    EXPECT_EQ(runs[0], QStringLiteral("Иванов Иван Иванович b Arial CYR 8 auto"));
    EXPECT_TRUE(runs[1].endsWith(QStringLiteral(" - Arial CYR 8 auto"))) << runs[1].toStdString();
    EXPECT_TRUE(runs.contains(QStringLiteral("Петров Пётр - Arial CYR 8 #ff0000")));

    RtfReader::read(QByteArrayView(fileBytes(fixture("text_page.rtf"))), doc);
    EXPECT_EQ(alignment(doc.begin()), Qt::AlignHCenter);
    EXPECT_EQ(doc.begin().begin().fragment().charFormat().fontPointSize(), 14.0);
    const QTextBlock bullet = doc.begin().next().next();
    EXPECT_EQ(twips(bullet.blockFormat().leftMargin()), 200);
    EXPECT_EQ(twips(bullet.blockFormat().textIndent()), -200);
    // \line starts a block that keeps the paragraph's format.
    RtfReader::read(QByteArrayView(rtf("\\pard\\qr one\\line two\\par\\pard three")), doc);
    ASSERT_EQ(doc.blockCount(), 3);
    EXPECT_EQ(alignment(doc.begin().next()), Qt::AlignRight);
    EXPECT_EQ(alignment(doc.lastBlock()), Qt::AlignLeft);
}

TEST(RtfReader, PicturesKeepTheirSourceAndSize)
{
    const QByteArray source = fileBytes(fixture("pictures.rtf"));
    QTextDocument doc;
    RtfReader::read(QByteArrayView(source), doc);
    const QList<QTextImageFormat> found = images(doc);
    ASSERT_EQ(found.size(), 2);
    const QByteArray png = found[0].property(RtfPicture::SourceProperty).toByteArray();
    EXPECT_TRUE(png.startsWith("{\\pict\\pngblip") && png.endsWith('}') && source.contains(png));
    EXPECT_EQ(found[1].property(RtfPicture::SourceProperty).toByteArray(),
              "{\\pict\\wmetafile8\\picw2540\\pich1270\\picwgoal1440\\pichgoal720 010009000003}");
    const auto resource = [&doc](const QTextImageFormat& f) {
        return doc.resource(QTextDocument::ImageResource, QUrl(f.name()));
    };
    EXPECT_EQ(resource(found[0]).value<QImage>().size(), QSize(4, 3));
    EXPECT_FALSE(resource(found[1]).isNull());
    EXPECT_EQ(
        QList<int>({twips(found[0].width()), twips(found[1].width()), twips(found[1].height())}),
        QList<int>({600, 1440, 720}));

    // Reading again replaces the content, the pictures and the undo history.
    RtfReader::read(QByteArrayView(rtf("\\b new")), doc);
    EXPECT_EQ(PlainText::of(doc), QStringLiteral("new"));
    EXPECT_FALSE(doc.isUndoAvailable());
    EXPECT_TRUE(resource(found[0]).isNull());
}

// Control words, code pages, destinations, tables, double-byte text and nested tables.
TEST(RtfReader, CasesGiveTheTextAPageShowsAndFontNamesMayUseUnicode)
{
    for (const DataCase& c : readCases("richtext/rtf_text.cases")) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(readBoth(c.bytes(0)), c.lines(1));
    }
    // Found by fuzzing: font names the code page cannot hold come as \u, control characters
    // in a name are dropped, and over-long names are cut the same way however they were spelt.
    QByteArray escaped = "{\\rtf1{\\fonttbl{\\f0 " + QByteArray(200, 'a');
    for (int i = 0; i < 100; ++i)
        escaped += "\\u98?";
    const QStringList longName{QString(200, u'a') + QString(56, u'b')};
    for (const auto& [source, family] :
         {std::pair{QByteArray("{\\rtf1\\ansi\\ansicpg1251{\\fonttbl{\\f0\\fcharset204\\u23435?"
                               "\\u20307? \\'c0\t\\u9?;}}\\f0 x}"),
                    QStringList{QStringLiteral("宋体 А")}},
          std::pair{"{\\rtf1{\\fonttbl{\\f0 " + QByteArray(200, 'a') + QByteArray(100, 'b') +
                        "\\u59?;}}\\f0 x}",
                    longName},
          std::pair{escaped + ";}}\\f0 x}", longName}}) {
        QTextDocument doc;
        RtfReader::read(QByteArrayView(source), doc);
        EXPECT_EQ(doc.begin().begin().fragment().charFormat().fontFamilies().toStringList(),
                  family);
    }
}
