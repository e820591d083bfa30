#include "document/page_import_file.h"
#include "richtext/plain_text.h"
#include "richtext/rtf_reader.h"

#include <QTextBlock>
#include <QTextDocument>
#include <gtest/gtest.h>

namespace {

const QString kRichPage =
    u"{\\rtf1\\ansi\\ansicpg1251\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset204 Tahoma;}}\r\n"
    "\\viewkind4\\uc1\\pard\\tx300\\tx4200\\f0\\fs20 {\\b \\'c8\\'e2\\'e0\\'ed\\'ee\\'e2}"
    "\\tab 555-12-12\\par\r\n}\r\n"_qs;

struct TextRun
{
    QString text;
    bool bold;
};

std::vector<TextRun> runsOf(const QTextDocument& doc)
{
    std::vector<TextRun> runs;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            runs.push_back({it.fragment().text(), format.fontWeight() == QFont::Bold});
        }
    }
    return runs;
}

} // namespace

TEST(PageImportFile, PlainPagesGetALineBreakAndTheField)
{
    EXPECT_EQ(PageImportFile::appendImportedField(u"Иванов\t555"_qs, u"Петров, 777"_qs),
              u"Иванов\t555\r\nПетров, 777"_qs);
    EXPECT_EQ(PageImportFile::appendImportedField(QString(), u"new"_qs), u"\r\nnew"_qs);
    EXPECT_EQ(PageImportFile::appendImportedField(u"old\r\n"_qs, u"one\ntwo\rthree\r\n"_qs),
              u"old\r\n\r\none\r\ntwo\r\nthree\r\n"_qs);
}

// The field becomes paragraphs of the page's document, written as RTF again:
// nothing is glued after the closing brace, and the bold name stays bold.
TEST(PageImportFile, RichPagesKeepTheirFormattingAndGetTheFieldAsParagraphs)
{
    const QString result =
        PageImportFile::appendImportedField(kRichPage, u"Петров\t777\r\n\tул. Мира"_qs);
    ASSERT_TRUE(result.startsWith(u"{\\rtf"_qs));
    EXPECT_TRUE(result.trimmed().endsWith(u'}'));

    QTextDocument doc;
    RtfReader::read(result, doc);
    EXPECT_EQ(PlainText::of(doc), u"Иванов\t555-12-12\r\nПетров\t777\r\n\tул. Мира"_qs);
    const std::vector<TextRun> runs = runsOf(doc);
    ASSERT_EQ(runs.size(), 4u);
    EXPECT_EQ(runs[0].text, u"Иванов"_qs);
    EXPECT_TRUE(runs[0].bold);
    EXPECT_FALSE(runs[2].bold);
    EXPECT_FALSE(runs[3].bold);

    const QTextBlock last = doc.lastBlock();
    EXPECT_EQ(last.charFormat().fontFamilies().toStringList().value(0), u"Tahoma"_qs);
    EXPECT_EQ(last.charFormat().fontPointSize(), 10.0);
    EXPECT_EQ(last.blockFormat().tabPositions(), doc.firstBlock().blockFormat().tabPositions());
}
