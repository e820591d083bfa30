#include "book_search_target.h"
#include "document/search_walk.h"
#include "unit_test.h"

namespace {

// One entry per press: "page@position" of the selected match, or "done".
QStringList press(SearchWalk& walk, const BookSearchTarget& target, const QString& sample,
                  int times, int options = 0, bool allPages = false)
{
    QStringList seen;
    for (int i = 0; i < times; ++i) {
        if (walk.findNext(sample, options, allPages) == SearchWalk::Result::Completed)
            seen << QStringLiteral("done");
        else
            seen << QStringLiteral("%1@%2").arg(target.currentPage()).arg(target.selectionStart);
    }
    return seen;
}

const QString kPetrov = QStringLiteral("Петров");

} // namespace

TEST(SearchWalk, OnePageGoesOnFromTheCaretThenFromTheTopUpToTheCaretThenIsDone)
{
    const QString names = QStringLiteral("Петров А\r\nПетров Б\r\nПетров В");
    BookSearchTarget target({names, kPetrov}, 1, 5);
    SearchWalk walk(target);
    // The match the caret is in lies across the start position: neither pass
    // holds it whole. After "done" the next press runs the last pass again.
    EXPECT_EQ(press(walk, target, kPetrov, 4), QStringList({"1@10", "1@20", "done", "done"}));

    target.selectionStart = 8;
    walk.reset();
    EXPECT_EQ(press(walk, target, kPetrov, 5), QStringList({"1@10", "1@20", "1@0", "done", "1@0"}));
    EXPECT_TRUE(target.opened.isEmpty());

    // Matches overlap: each search starts one character after the last match.
    BookSearchTarget overlap({QStringLiteral("ааааа")}, 1, 0);
    SearchWalk again(overlap);
    EXPECT_EQ(press(again, overlap, QStringLiteral("аа"), 5),
              QStringList({"1@0", "1@1", "1@2", "1@3", "done"}));
}

TEST(SearchWalk, AllPagesGoOnFromTheLastPageToPageOneAndEndOnTheStartPageOrAtOnce)
{
    const QString last = QStringLiteral("Петров\r\nИванов");
    BookSearchTarget target({QStringLiteral("x Петров"), QString(), kPetrov, last}, 4,
                            int(last.size()));
    SearchWalk walk(target);
    EXPECT_EQ(press(walk, target, kPetrov, 5, 0, true),
              QStringList({"1@2", "3@0", "4@0", "done", "4@0"}));
    // Only pages with a match were opened, and the start page to end on.
    EXPECT_EQ(target.opened, QList<int>({1, 3, 4}));

    // A book of one page is not searched twice before the caret.
    BookSearchTarget one({QStringLiteral("x Петров y")}, 1, 9);
    SearchWalk alone(one);
    EXPECT_EQ(press(alone, one, kPetrov, 2, 0, true), QStringList({"1@2", "done"}));
    // A sample nowhere in the book takes one press and opens no page.
    QStringList large;
    for (int i = 1; i <= 300; ++i)
        large << QStringLiteral("Иванов %1\r\nПетров\t555-%1").arg(i);
    BookSearchTarget book(large, 120, 3);
    SearchWalk nowhere(book);
    EXPECT_EQ(press(nowhere, book, QStringLiteral("Сидоров"), 2, 0, true),
              QStringList({"done", "done"}));
    EXPECT_EQ(book.currentPage(), 120);
    EXPECT_TRUE(book.opened.isEmpty());
}

// The pages the walk does not open are searched with the finder the editor
// uses, so both agree on whole words, case and Ё.
TEST(SearchWalk, OptionsReachTheEditorAndThePagesItDoesNotOpenAndAPageWithoutTheMatchIsPassed)
{
    const QStringList pages = {QString(), QStringLiteral("Ёлкин"), QStringLiteral("ёлкина"),
                               QStringLiteral("ЁЛКИН"), QStringLiteral("Елкин")};
    constexpr int kWhole = TextFinder::wholeWord;
    constexpr int kCase = TextFinder::matchCase;
    const std::pair<int, QStringList> cases[] = {{0, {"2@0", "3@0", "4@0", "done"}},
                                                 {kCase, {"3@0", "done"}},
                                                 {kWhole, {"2@0", "4@0", "done"}},
                                                 {kWhole | kCase, {"done"}}};
    for (const auto& [options, seen] : cases) {
        BookSearchTarget target(pages, 1, 0);
        SearchWalk walk(target);
        EXPECT_EQ(press(walk, target, QStringLiteral("ёлкин"), int(seen.size()), options, true),
                  seen)
            << options;
        EXPECT_EQ(target.optionsAsked, QList<int>(target.optionsAsked.size(), options));
    }
    // A page the editor shows without the match is passed over.
    struct Disagreeing : BookSearchTarget
    {
        using BookSearchTarget::BookSearchTarget;
        QString shownText(int page) const override
        {
            return page == 2 ? QString() : BookSearchTarget::shownText(page);
        }
    };
    Disagreeing target({QString(), kPetrov, kPetrov}, 1, 0);
    SearchWalk walk(target);
    EXPECT_EQ(press(walk, target, kPetrov, 2, 0, true), QStringList({"3@0", "done"}));
    EXPECT_EQ(target.opened, QList<int>({2, 3, 1}));
}
