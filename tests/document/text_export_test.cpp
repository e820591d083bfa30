#include "core/code_page.h"
#include "document/book.h"
#include "document/text_export.h"
#include "unit_test.h"

TEST(TextExport, TitleLinesThenPlainTextThatFollowsEveryChangeOfAPage)
{
    std::vector<PageRecord> pages = {
        {u"АБ"_qs, u"{\\rtf1\\ansi\\ansicpg1251{\\b \\'c8\\'e2\\'e0\\'ed}\\tab 1\\par P}"_qs, 0},
        {u"$Дом"_qs, u"цена $5,\n''кавычки''"_qs, 1},
        {u"ЮЯ"_qs, QString(), 0}};
    const auto exported = [&pages] { return CodePage::decode(TextExport::build(pages)); };
    EXPECT_EQ(exported(),
              u"$АБ\r\nИван\t1\r\nP\r\n$$Дом\r\nцена &dollar;5,\r\n\"кавычки\"\r\n$ЮЯ\r\n\r\n"_qs);
    // The export reuses each page's plain text, so a page must never show the
    // plain text of an earlier version of itself, however its text was changed.
    pages = {{u"A"_qs, u"{\\rtf1 one}"_qs, 0}};
    EXPECT_EQ(exported(), u"$A\r\none\r\n"_qs);
    pages[0].text = QString(pages[0].text).replace(7, 1, u'O');
    EXPECT_EQ(exported(), u"$A\r\nOne\r\n"_qs);
    pages[0].text = u"{\\rtf1 two}"_qs;
    EXPECT_EQ(exported(), u"$A\r\ntwo\r\n"_qs);
    const QString shared = pages[0].text;
    pages[0].text = QString(shared).replace(u"two"_qs, u"six"_qs);
    EXPECT_EQ(exported(), u"$A\r\nsix\r\n"_qs);
    EXPECT_EQ(shared, u"{\\rtf1 two}"_qs);

    Book book;
    book.setPages(pages);
    book.setPageText(1, u"{\\rtf1 ten}"_qs);
    book.convertToPlainText();
    EXPECT_EQ(book.page(1).text, u"ten"_qs);
    EXPECT_EQ(CodePage::decode(TextExport::build(book.pages())), u"$A\r\nten\r\n"_qs);
}
