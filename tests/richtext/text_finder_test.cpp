#include "richtext/text_finder.h"
#include "unit_test.h"

// The forgiving options (Ё as Е, digits only) widen what matches and keep the
// other rules; where they match, the text matched is the case's last part.
TEST(TextFinder, FindsTheFirstMatchLyingCompletelyInsideTheRange)
{
    for (const DataCase& c : readCases("richtext/text_finder.cases")) {
        const QStringList range = c.text(2).split(u' ');
        const int options = (range.contains(u"whole"_qs) ? TextFinder::wholeWord : 0) |
                            (range.contains(u"case"_qs) ? TextFinder::matchCase : 0) |
                            (range.contains(u"yo"_qs) ? TextFinder::yoAsYe : 0) |
                            (range.contains(u"digits"_qs) ? TextFinder::digitsOnly : 0);
        const QString text = c.lines(0);
        const int first = range[0].toInt();
        const int last = range[1].toInt();
        const TextFinder::Match m = TextFinder::match(text, c.text(1), first, last, options);
        EXPECT_EQ(std::pair(TextFinder::find(text, c.text(1), first, last, options), m.start),
                  std::pair(c.text(3).toInt(), c.text(3).toInt()))
            << c.name;
        if (c.parts.size() > 4) {
            EXPECT_EQ(text.mid(m.start, m.length), c.text(4)) << c.name;
        }
    }
}
