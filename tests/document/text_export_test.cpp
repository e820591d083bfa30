#include "core/code_page.h"
#include "document/text_export.h"

#include <gtest/gtest.h>

namespace {

QString exported(const std::vector<PageRecord>& pages)
{
    return CodePage::decode(TextExport::build(pages));
}

} // namespace

TEST(TextExport, EachPageIsATitleLineThenItsPlainText)
{
    const std::vector<PageRecord> pages = {
        {u"АБ"_qs,
         u"{\\rtf1\\ansi\\ansicpg1251{\\b \\'c8\\'e2\\'e0\\'ed\\'ee\\'e2}\\tab 123\\par Petrov}"_qs,
         0},
        {u"Дом"_qs, u"plain\ntext"_qs, 1},
        {u"ЮЯ"_qs, QString(), 0},
    };
    EXPECT_EQ(exported(pages),
              u"$АБ\r\nИванов\t123\r\nPetrov\r\n$Дом\r\nplain\r\ntext\r\n$ЮЯ\r\n\r\n"_qs);
}

TEST(TextExport, DollarsAreEscapedAndApostrophePairsBecomeQuotes)
{
    const std::vector<PageRecord> pages = {{u"$$"_qs, u"цена $5, ''кавычки''"_qs, 0}};
    // The title line keeps its dollar: only page texts could be taken for a title line.
    EXPECT_EQ(exported(pages), u"$$$\r\nцена &dollar;5, \"кавычки\"\r\n"_qs);
}
