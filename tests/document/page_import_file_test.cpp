#include "document/page_import_file.h"
#include "richtext/plain_text.h"
#include "richtext/rtf_reader.h"
#include "unit_test.h"

namespace {

const QString kRichPage =
    u"{\\rtf1\\ansi\\ansicpg1251\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset204 Tahoma;}}\r\n"
    "\\viewkind4\\uc1\\pard\\tx300\\tx4200\\f0\\fs20 {\\b \\'c8\\'e2\\'e0\\'ed\\'ee\\'e2}"
    "\\tab 555-12-12\\par\r\n}\r\n"_qs;

// Each run's text, with a "*" before a bold one.
QStringList runsOf(const QTextDocument& doc)
{
    QStringList runs;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it)
            runs << (it.fragment().charFormat().fontWeight() == QFont::Bold ? u"*"_qs : QString()) +
                        it.fragment().text();
    }
    return runs;
}

} // namespace

TEST(PageImportFile, PlainPagesGetALineBreakAndTheFieldAndRichPagesKeepTheirFormatting)
{
    EXPECT_EQ(PageImportFile::appendImportedField(u"Иванов\t555"_qs, u"Петров, 777"_qs),
              u"Иванов\t555\r\nПетров, 777"_qs);
    EXPECT_EQ(PageImportFile::appendImportedField(QString(), u"new"_qs), u"\r\nnew"_qs);
    EXPECT_EQ(PageImportFile::appendImportedField(u"old\r\n"_qs, u"one\ntwo\rthree\r\n"_qs),
              u"old\r\n\r\none\r\ntwo\r\nthree\r\n"_qs);
    // The field becomes paragraphs of the page's document, written as RTF again:
    // nothing is glued after the closing brace, and the bold name stays bold.
    const QString result =
        PageImportFile::appendImportedField(kRichPage, u"Петров\t777\r\n\tул. Мира"_qs);
    ASSERT_TRUE(result.startsWith(u"{\\rtf"_qs));
    EXPECT_TRUE(result.trimmed().endsWith(u'}'));

    QTextDocument doc;
    RtfReader::read(result, doc);
    EXPECT_EQ(PlainText::of(doc), u"Иванов\t555-12-12\r\nПетров\t777\r\n\tул. Мира"_qs);
    EXPECT_EQ(runsOf(doc),
              QStringList({u"*Иванов"_qs, u"\t555-12-12"_qs, u"Петров\t777"_qs, u"\tул. Мира"_qs}));

    const QTextBlock last = doc.lastBlock();
    EXPECT_EQ(std::pair(last.charFormat().fontFamilies().toStringList().value(0),
                        last.charFormat().fontPointSize()),
              std::pair(u"Tahoma"_qs, 10.0));
    EXPECT_EQ(last.blockFormat().tabPositions(), doc.firstBlock().blockFormat().tabPositions());
}
