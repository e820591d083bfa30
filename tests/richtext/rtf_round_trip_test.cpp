#include "richtext/document_units.h"
#include "richtext/rtf_picture.h"
#include "richtext/rtf_writer.h"
#include "rtf_test_util.h"
#include "unit_test.h"

using namespace rtftest;

namespace {

// Everything a page keeps, run by run, with unset attributes resolved against the
// document's default font so that "not set" and "set to the default" compare equal.
QString describe(const QTextDocument& doc)
{
    const QFont base = doc.defaultFont();
    const auto attributes = [&base](const QTextCharFormat& f) {
        const QStringList families = f.fontFamilies().toStringList();
        const QString family = families.isEmpty() ? base.family() : families.first();
        const double size =
            f.hasProperty(QTextFormat::FontPointSize) ? f.fontPointSize() : base.pointSizeF();
        const auto color = [&f](QTextFormat::Property p) {
            return f.hasProperty(p) && f.brushProperty(p).style() != Qt::NoBrush
                       ? f.brushProperty(p).color().name()
                       : QStringLiteral("auto");
        };
        return QStringLiteral("%1%2%3%4 %5 %6 %7/%8 ")
            .arg(f.fontWeight() > QFont::Medium ? "b" : "-", f.fontItalic() ? "i" : "-",
                 f.fontUnderline() ? "u" : "-", f.fontStrikeOut() ? "s" : "-", family)
            .arg(size)
            .arg(color(QTextFormat::ForegroundBrush), color(QTextFormat::BackgroundBrush));
    };
    QString out;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        const QTextBlockFormat bf = block.blockFormat();
        out += QStringLiteral("[align %1 li %2 ri %3 fi %4 tabs")
                   .arg(int(bf.alignment() & Qt::AlignHorizontal_Mask))
                   .arg(qRound(DocumentUnits::toTwips(bf.leftMargin())))
                   .arg(qRound(DocumentUnits::toTwips(bf.rightMargin())))
                   .arg(qRound(DocumentUnits::toTwips(bf.textIndent())));
        for (const QTextOption::Tab& tab : bf.tabPositions())
            out += QStringLiteral(" %1:%2")
                       .arg(qRound(DocumentUnits::toTwips(tab.position)))
                       .arg(tab.type);
        out += QStringLiteral("]\n");
        // What typing on an empty line would produce.
        if (block.length() == 1)
            out += attributes(block.charFormat()) + u'\n';
        for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat f = it.fragment().charFormat();
            out += attributes(f);
            if (f.isImageFormat())
                out += QString::fromLatin1(f.property(RtfPicture::SourceProperty).toByteArray());
            else
                out += it.fragment().text();
            out += u'\n';
        }
    }
    return out;
}

// Read back, the page is the same, and writing it again gives the same bytes: saving an
// unchanged page changes nothing.
void expectSameAfterRoundTrip(const QTextDocument& doc)
{
    const QByteArray rtf = RtfWriter::write(doc);
    QTextDocument back;
    back.setDefaultFont(doc.defaultFont());
    EXPECT_EQ(readBoth(rtf, back), PlainText::of(doc));
    EXPECT_EQ(describe(back).toStdString(), describe(doc).toStdString()) << rtf.constData();
    EXPECT_EQ(RtfWriter::write(back), rtf);
}

// "b", "i", "s", "u" (text underline style) or "U" (the older underline flag) in any mix.
QTextCharFormat format(const char* flags)
{
    QTextCharFormat f;
    for (const char* c = flags; *c; ++c) {
        if (*c == 'b')
            f.setFontWeight(QFont::Bold);
        else if (*c == 'u')
            f.setFontUnderline(true);
        else
            f.setProperty(*c == 'i'   ? QTextFormat::FontItalic
                          : *c == 's' ? QTextFormat::FontStrikeOut
                                      : QTextFormat::FontUnderline,
                          true);
    }
    return f;
}

class RtfRoundTrip : public ::testing::Test
{
protected:
    RtfRoundTrip() { m_doc.setDefaultFont(QFont(QStringLiteral("Tahoma"), 8)); }

    void insert(const char* text, const QTextCharFormat& format = {})
    {
        m_cursor.insertText(QString::fromUtf8(text), format);
    }

    QTextDocument m_doc;
    QTextCursor m_cursor{&m_doc};
};

} // namespace

// What the stored pages seldom hold: both ways of underlining, a font name the code page
// writes in \'hh, and an empty line keeping the format typing on it would use.
TEST_F(RtfRoundTrip, FormatsThePagesSeldomHoldSurvive)
{
    for (const auto& [text, flags] : {std::pair{"обычный ", ""}, {"все", "biUs"}, {"под", "u"}})
        insert(text, format(flags));
    QTextCharFormat font;
    font.setFontFamilies({QStringLiteral("Лукида")});
    font.setFontPointSize(10.5);
    font.setBackground(Qt::yellow);
    insert("цвет", font);
    insert(" авто");
    m_cursor.insertBlock(QTextBlockFormat(), format("i"));
    QTextBlockFormat tabs;
    tabs.setAlignment(Qt::AlignJustify);
    tabs.setTabPositions(
        {QTextOption::Tab(DocumentUnits::fromTwips(5000), QTextOption::RightTab),
         QTextOption::Tab(DocumentUnits::fromTwips(6000), QTextOption::CenterTab)});
    m_cursor.insertBlock(tabs, QTextCharFormat());
    insert("после\tпустой строки");
    m_cursor.insertBlock();
    expectSameAfterRoundTrip(m_doc);
}

TEST_F(RtfRoundTrip, EveryCharacterSurvivesAndPicturesComeBackByteForByte)
{
    QString all;
    for (char16_t u = 0x20; u < 0x3000; ++u) {
        if (!QChar::isSurrogate(u) && u != 0x2028 && u != 0x2029 && u != 0xFFFC && u != 0x7F)
            all.append(QChar(u));
    }
    m_cursor.insertText(all + QString::fromUcs4(U"\U0001F600\U00020000 ЁёЇїҐґ€№\t\\{}\x01"));
    expectSameAfterRoundTrip(m_doc);
    // Pictures read from RTF, even the same one twice in a row, are written back byte for byte.
    const QByteArray wmf = "{\\pict\\wmetafile8\\picw529\\pich529\\picwgoal300\\pichgoal300 \r\n"
                           "010009000003\r\n2a00}";
    const QByteArray text = "\\'c4\\'ee" + wmf + "\\'ec" + wmf + wmf + "\\par";
    QTextDocument read;
    EXPECT_EQ(readBoth("{\\rtf1\\ansi\\ansicpg1251\\deff0{\\fonttbl{\\f0\\fnil\\fcharset204 "
                       "Tahoma;}}\r\n\\viewkind4\\uc1\\pard\\f0\\fs16 " +
                           text + "\r\n}\r\n",
                       read),
              QStringLiteral("Дом"));
    const QByteArray written = RtfWriter::write(read);
    EXPECT_TRUE(written.contains(text)) << written.constData();
}

// A range is clamped to the document and reads back as the selected text, with its
// attributes and the paragraph separators inside it.
TEST_F(RtfRoundTrip, RangeReadsBackAsTheSelectedText)
{
    insert("Сидоров\t");
    insert("555-12-34", format("b"));
    m_cursor.insertBlock();
    insert("Ёлкин");
    for (const auto& [from, to, text] : {std::tuple{3, 12, "оров\t555-"},
                                         {8, 19, "555-12-34\r\nЁ"},
                                         {5, 5, ""},
                                         {12, 3, ""},
                                         {-5, 1000, "Сидоров\t555-12-34\r\nЁлкин"}})
        EXPECT_EQ(readBoth(RtfWriter::write(m_doc, from, to)), QString::fromUtf8(text));
    EXPECT_EQ(RtfWriter::write(m_doc, -5, 1000), RtfWriter::write(m_doc));
    EXPECT_TRUE(RtfWriter::write(m_doc, 17, 18).endsWith("\\fs16\\par\r\n}\r\n"));
    QTextDocument bold;
    readBoth(RtfWriter::write(m_doc, 9, 11), bold);
    EXPECT_EQ(bold.begin().begin().fragment().charFormat().fontWeight(), QFont::Bold);
}

// Every RTF the repository holds (real pages, pasted documents, inputs the fuzzer found, the
// help): the fast paths never disagree with the document the editor shows, not even on pages
// cut short by a crash while saving, and saving and reading again changes nothing.
TEST(RtfFiles, ReadTheSameBothWaysAndSurviveARoundTrip)
{
    const QStringList paths = rtfFiles({"rtf", "rtf/fuzz", "rtf-corpus/rtf", "../../resources/help",
                                        "../../resources/translations/en"});
    ASSERT_GE(paths.size(), 49);
    for (const QString& path : paths) {
        SCOPED_TRACE(path.toStdString());
        const QByteArray source = fileBytes(path);
        readBoth(source.left(source.size() / 2));
        // As in the editor, which gives pages a real family; a generic one is written as
        // Tahoma and so would not read back as itself.
        QTextDocument page;
        QFont font = page.defaultFont();
        font.setFamily(QStringLiteral("Tahoma"));
        page.setDefaultFont(font);
        readBoth(source, page);
        expectSameAfterRoundTrip(page);
    }
}
