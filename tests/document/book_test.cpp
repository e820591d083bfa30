#include "document/book.h"
#include "unit_test.h"

#include <functional>

namespace {

void fill(Book& book, const QStringList& titles)
{
    std::vector<PageRecord> pages;
    for (const QString& title : titles)
        pages.push_back({title, title + u" text"_qs, PageRecord::AddressPage});
    book.setPages(std::move(pages));
}

QStringList titlesOf(const Book& book)
{
    QStringList titles;
    for (const PageRecord& page : book.pages())
        titles << page.title;
    return titles;
}

} // namespace

TEST(BookPageList, InsertDeleteAndSwapMoveWholeRecordsAndNothingOutsideTheBook)
{
    Book book;
    fill(book, {u"АБ"_qs, u"Работа"_qs, u"Дача"_qs});
    book.setPageKind(3, PageRecord::TextPage);
    QSignalSpy changed(&book, &Book::changedStateChanged);

    // A new page is an empty address page even before a text page.
    ASSERT_TRUE(book.insertPage(u"Новая"_qs, 2));
    EXPECT_EQ(titlesOf(book), (QStringList{u"АБ"_qs, u"Работа"_qs, u"Новая"_qs, u"Дача"_qs}));
    EXPECT_EQ(book.page(3), (PageRecord{u"Новая"_qs, {}, PageRecord::AddressPage}));
    EXPECT_EQ(book.page(4).kind, PageRecord::TextPage);

    ASSERT_TRUE(book.swapPages(4));
    EXPECT_EQ(book.page(3), (PageRecord{u"Дача"_qs, u"Дача text"_qs, PageRecord::TextPage}));
    ASSERT_TRUE(book.movePageDown(2));
    EXPECT_EQ(titlesOf(book), (QStringList{u"АБ"_qs, u"Дача"_qs, u"Работа"_qs, u"Новая"_qs}));

    ASSERT_TRUE(book.deletePage(2));
    EXPECT_EQ(titlesOf(book), (QStringList{u"АБ"_qs, u"Работа"_qs, u"Новая"_qs}));
    EXPECT_EQ(changed.count(), 4);
    EXPECT_TRUE(book.isChanged());
    // Operations outside the book or beyond the last page change nothing.
    Book two;
    fill(two, {u"АБ"_qs, u"ВГ"_qs});
    EXPECT_EQ(
        QList<bool>({two.insertPage(u"x"_qs, 3), two.insertPage(u"x"_qs, -1), two.deletePage(0),
                     two.deletePage(3), two.swapPages(1), two.swapPages(3), two.movePageDown(2)}),
        QList<bool>(7, false));
    EXPECT_EQ(titlesOf(two), (QStringList{u"АБ"_qs, u"ВГ"_qs}));
    EXPECT_FALSE(two.isChanged());
}

TEST(BookPageList, SettingWhatAPageHoldsOrAPageOutsideTheBookChangesNothing)
{
    Book book;
    fill(book, {u"АБ"_qs});
    book.setPageText(1, u"АБ text"_qs);
    book.setPageTitle(1, u"АБ"_qs);
    book.setPageKind(1, PageRecord::AddressPage);
    book.setPageText(2, u"x"_qs);
    EXPECT_TRUE(!book.isChanged() && book.page(2) == PageRecord{} && book.pageCount() == 1);
}

TEST(BookPageList, ASnapshotKeepsThePagesAsTheyStoodThroughEveryChange)
{
    const std::vector<std::function<void(Book&)>> changes = {
        [](Book& book) { book.setPageText(1, u"new"_qs); },
        [](Book& book) { book.setPageTitle(2, u"new"_qs); },
        [](Book& book) { book.setPageKind(1, PageRecord::TextPage); },
        [](Book& book) { book.insertPage(u"new"_qs, 0); },
        [](Book& book) { book.deletePage(1); },
        [](Book& book) { book.swapPages(2); },
        [](Book& book) { book.convertToPlainText(); },
    };
    for (size_t i = 0; i < changes.size(); ++i) {
        Book book;
        fill(book, {u"АБ"_qs, u"ВГ"_qs});
        book.setPageText(2, u"{\\rtf1 plain}"_qs);
        const std::vector<PageRecord> before(book.pages().begin(), book.pages().end());
        const Book::Snapshot snapshot = book.snapshot();
        changes[i](book);
        const std::span<const PageRecord> kept = Book::pagesOf(snapshot);
        EXPECT_TRUE(std::equal(kept.begin(), kept.end(), before.begin(), before.end())) << i;
        EXPECT_FALSE(std::equal(kept.begin(), kept.end(), book.pages().begin(), book.pages().end()))
            << i;
    }
}
