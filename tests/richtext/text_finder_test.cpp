#include "richtext/text_finder.h"

#include <gtest/gtest.h>

TEST(TextFinder, FindsTheFirstMatchLyingCompletelyInsideTheRange)
{
    constexpr int kWhole = TextFinder::wholeWord;
    constexpr int kCase = TextFinder::matchCase;
    const QString names = QStringLiteral("Иванов\r\nЁЛКИН Пётр\r\nёлкин");
    const QString cats = QStringLiteral("cat_x cats 1cat cat.\r\ncat");
    const std::tuple<QString, const char*, int, int, int, int> cases[] = {
        // Ignoring case folds Cyrillic, Ё included, but Е is not Ё.
        {names, "ёлкин", 0, -1, 0, 8},
        {names, "ёлкин", 0, -1, kCase, 20},
        {names, "ЕЛКИН", 0, -1, 0, -1},
        // The range is clamped; a match must not stick out of it.
        {"abc abc abc", "abc", 4, 6, 0, -1},
        {"abc abc abc", "abc", 4, 7, 0, 4},
        {"abc abc abc", "abc", -20, 3, 0, 0},
        {"abc abc abc", "abc", 7, 3, 0, -1},
        // Whole words look at the neighbours outside the range too.
        {cats, "cat", 0, -1, kWhole, 16},
        {cats, "at", 1, 3, kWhole, -1},
        {"Дом домик ДОМ", "дом", 1, -1, kWhole, 10},
        {"Дом домик ДОМ", "дом", 1, -1, kWhole | kCase, -1},
        // An empty sample or text finds nothing.
        {"abc", "", 0, -1, 0, -1},
        {"ab", "abc", 0, -1, 0, -1},
    };
    for (const auto& [text, sample, first, last, options, found] : cases)
        EXPECT_EQ(TextFinder::find(text, QString::fromUtf8(sample), first, last, options), found)
            << text.toStdString() << " / " << sample << " " << first << "-" << last;
}

// Forgiving options: they widen what matches and keep the other rules.
TEST(TextFinder, YoAsYeAndDigitsOnlyForgiveLettersAndPunctuationButKeepWordAndCaseRules)
{
    const QString text = u"Семён Ёлкин, тел. +7 (912) 555-12-34; факс 555 12 35"_qs;
    const auto at = [&](const QString& sample, int options, int first = 0) {
        const TextFinder::Match m = TextFinder::match(text, sample, first, -1, options);
        return m.found() ? text.mid(m.start, m.length) : QStringLiteral("-");
    };
    const int yo = TextFinder::yoAsYe;
    const int digits = TextFinder::digitsOnly;
    EXPECT_EQ(at(u"семен"_qs, 0), u"-"_qs) << "off by default";
    EXPECT_EQ(at(u"семен"_qs, yo), u"Семён"_qs);
    EXPECT_EQ(at(u"елкин"_qs, yo | TextFinder::matchCase), u"-"_qs) << "case still counts";
    EXPECT_EQ(at(u"Елкин"_qs, yo | TextFinder::matchCase), u"Ёлкин"_qs);
    EXPECT_EQ(at(u"сем"_qs, yo | TextFinder::wholeWord), u"-"_qs) << "whole words still count";

    EXPECT_EQ(at(u"79125551234"_qs, digits), u"7 (912) 555-12-34"_qs);
    EXPECT_EQ(at(u"+7 912 555 12 34"_qs, digits), u"7 (912) 555-12-34"_qs);
    EXPECT_EQ(at(u"1234"_qs, digits), u"12-34"_qs);
    EXPECT_EQ(at(u"1234"_qs, digits | TextFinder::wholeWord), u"-"_qs)
        << "part of a longer number is no whole word";
    EXPECT_EQ(at(u"79125551234"_qs, digits | TextFinder::wholeWord), u"7 (912) 555-12-34"_qs);
    EXPECT_EQ(at(u"555"_qs, digits, 25), u"555 12 35"_qs.left(3));
    EXPECT_EQ(at(u"тел"_qs, digits), u"-"_qs) << "a sample without digits finds nothing";
    EXPECT_EQ(at(u"3455"_qs, digits), u"-"_qs) << "a letter or ';' breaks a number";
}
