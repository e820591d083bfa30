#include "richtext/text_finder.h"
#include "unit_test.h"

TEST(TextFinder, FindsTheFirstMatchLyingCompletelyInsideTheRange)
{
    for (const DataCase& c : readCases("richtext/text_finder.cases")) {
        const QStringList range = c.text(2).split(u' ');
        const int options = (range.contains(u"whole"_qs) ? TextFinder::wholeWord : 0) |
                            (range.contains(u"case"_qs) ? TextFinder::matchCase : 0);
        EXPECT_EQ(
            TextFinder::find(c.lines(0), c.text(1), range[0].toInt(), range[1].toInt(), options),
            c.text(3).toInt())
            << c.name;
    }
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
