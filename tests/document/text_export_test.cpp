#include "core/code_page.h"
#include "document/text_export.h"

#include <gtest/gtest.h>

TEST(TextExport, TitleLinesThenPlainTextWithDollarsEscapedAndApostrophePairsAsQuotes)
{
    const std::vector<PageRecord> pages = {
        {u"АБ"_qs, u"{\\rtf1\\ansi\\ansicpg1251{\\b \\'c8\\'e2\\'e0\\'ed}\\tab 1\\par P}"_qs, 0},
        {u"$Дом"_qs, u"цена $5,\n''кавычки''"_qs, 1},
        {u"ЮЯ"_qs, QString(), 0}};
    EXPECT_EQ(CodePage::decode(TextExport::build(pages)),
              u"$АБ\r\nИван\t1\r\nP\r\n$$Дом\r\nцена &dollar;5,\r\n\"кавычки\"\r\n$ЮЯ\r\n\r\n"_qs);
}
