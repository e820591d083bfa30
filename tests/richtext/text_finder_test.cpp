#include "richtext/text_finder.h"

#include <gtest/gtest.h>

namespace {

constexpr int kWhole = TextFinder::wholeWord;
constexpr int kCase = TextFinder::matchCase;

int find(const QString& text, const QString& sample, int first = 0, int last = -1, int options = 0)
{
    return TextFinder::find(text, sample, first, last, options);
}

} // namespace

TEST(TextFinder, IgnoringCaseFoldsCyrillicIncludingYo)
{
    const QString text = QStringLiteral("Иванов\r\nЁЛКИН Пётр\r\nёлкин");
    EXPECT_EQ(find(text, QStringLiteral("ёлкин")), 8);
    EXPECT_EQ(find(text, QStringLiteral("ПЁТР")), 14);
    EXPECT_EQ(find(text, QStringLiteral("ИВАНОВ")), 0);
    EXPECT_EQ(find(text, QStringLiteral("ёлкин"), 0, -1, kCase), 20);
    EXPECT_EQ(find(text, QStringLiteral("ЕЛКИН")), -1);
}

TEST(TextFinder, MatchMustLieCompletelyInsideTheRange)
{
    const QString text = QStringLiteral("abc abc abc");
    EXPECT_EQ(find(text, QStringLiteral("abc"), 1), 4);
    EXPECT_EQ(find(text, QStringLiteral("abc"), 4, 6), -1);
    EXPECT_EQ(find(text, QStringLiteral("abc"), 4, 7), 4);
    EXPECT_EQ(find(text, QStringLiteral("abc"), 5, 11), 8);
    EXPECT_EQ(find(text, QStringLiteral("abc"), -20, 3), 0);
    EXPECT_EQ(find(text, QStringLiteral("abc"), 9, 1000), -1);
    EXPECT_EQ(find(text, QStringLiteral("abc"), 100, -1), -1);
    EXPECT_EQ(find(text, QStringLiteral("abc"), 7, 3), -1);
}

TEST(TextFinder, WholeWordLooksAtTheNeighboursOutsideTheRangeToo)
{
    const QString text = QStringLiteral("cat_x cats 1cat cat.\r\ncat");
    EXPECT_EQ(find(text, QStringLiteral("cat"), 0, -1, kWhole), 16);
    EXPECT_EQ(find(text, QStringLiteral("cat"), 17, -1, kWhole), 22);
    // "at" inside the range [1, 3) is still part of the word "cat".
    EXPECT_EQ(find(text, QStringLiteral("at"), 1, 3, kWhole), -1);
    EXPECT_EQ(find(QStringLiteral("Дом домик ДОМ"), QStringLiteral("дом"), 1, -1, kWhole), 10);
    EXPECT_EQ(find(QStringLiteral("Дом домик ДОМ"), QStringLiteral("дом"), 1, -1, kWhole | kCase),
              -1);
}

TEST(TextFinder, EmptySampleOrTextFindsNothing)
{
    EXPECT_EQ(find(QStringLiteral("abc"), QString()), -1);
    EXPECT_EQ(find(QString(), QStringLiteral("a")), -1);
    EXPECT_EQ(find(QStringLiteral("ab"), QStringLiteral("abc")), -1);
}
