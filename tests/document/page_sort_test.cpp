#include "document/page_sort.h"
#include "unit_test.h"

#include <QFont>
#include <QRandomGenerator>

namespace {

// The sort as written down for the program, one step at a time: positions
// from 1, an entry closed at every CR LF not followed by a space, a tab or
// another CR LF, and a selection sort that exchanges every position.
QString referenceSort(const QString& s)
{
    QStringList entries;
    qsizetype start = 1;
    for (qsizetype i = 1; i <= s.size() - 2; ++i) {
        const QString after = s.mid(i + 1);
        if (s.mid(i - 1, 2) == u"\r\n"_qs && !after.startsWith(u' ') && !after.startsWith(u'\t') &&
            !after.startsWith(u"\r\n"_qs)) {
            entries.append(s.mid(start - 1, i - start));
            start = i + 2;
        }
    }
    entries.append(s.mid(start - 1));
    for (QString& entry : entries) {
        while (entry.startsWith(u' '))
            entry.remove(0, 1);
        while (entry.endsWith(u' '))
            entry.chop(1);
    }
    for (qsizetype i = 0; i < entries.size(); ++i) {
        qsizetype m = i;
        for (qsizetype j = i + 1; j < entries.size(); ++j) {
            if (entries[j].toLower() < entries[m].toLower())
                m = j;
        }
        entries.swapItemsAt(i, m);
    }
    QString joined;
    for (const QString& entry : entries)
        joined += entry + u"\r\n"_qs;
    return joined;
}

QString randomText(QRandomGenerator& random, int pieces)
{
    static const QString parts[] = {u"a"_qs,  u"A"_qs,  u"b"_qs,    u"B"_qs, u"ё"_qs,
                                    u"Ё"_qs,  u" "_qs,  u"\t"_qs,   u"1"_qs, u"\r\n"_qs,
                                    u"\r"_qs, u"\n"_qs, u"\r\n"_qs, u"я"_qs};
    QString text;
    for (int i = 0; i < pieces; ++i)
        text += parts[random.bounded(int(std::size(parts)))];
    return text;
}

QString rtfPage(const QString& body)
{
    return u"{\\rtf1\\ansi\\ansicpg1251\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset204 Tahoma;}"
           "{\\f1\\fmodern Courier New;}}\r\n"
           "{\\colortbl ;\\red0\\green0\\blue0;\\red192\\green0\\blue0;}\r\n"
           "\\viewkind4\\uc1\\pard\\tx300\\tx4200\\cf1\\f0\\fs20 "_qs +
           body + u"\\par\r\n}\r\n"_qs;
}

} // namespace

TEST(PageSort, EntriesWithTheirIndentedLinesSortByLowerCasedCodeUnitsAsSelectionSortLeavesThem)
{
    for (const DataCase& c : readCases("document/page_sort.cases"))
        EXPECT_EQ(PageSort::sortedText(c.lines(0)), c.lines(1)) << c.name;
    // Formatting beyond the page font is reported as lost.
    const QFont pageFont(u"DejaVu Sans"_qs, 10);
    EXPECT_FALSE(PageSort::losesFormatting(u"plain {\\b text}"_qs, pageFont));
    EXPECT_FALSE(PageSort::losesFormatting(rtfPage(u"\\'c8\\'e2\\'e0\\'ed\\tab 555"_qs), pageFont));
    EXPECT_FALSE(PageSort::losesFormatting(rtfPage(QString()), pageFont));
    EXPECT_TRUE(PageSort::losesFormatting(rtfPage(u"plain"_qs), QFont(u"Tahoma"_qs, 9)));

    const QString formatted[] = {
        u"a \\b bold\\b0"_qs,
        u"a \\cf2 red\\cf1"_qs,
        u"a \\f1 mono\\f0"_qs,
        u"a \\fs28 big"_qs,
        u"a\\par\\pard\\qc centred"_qs,
        u"a {\\pict\\wmetafile8\\picw2540\\pich1270\\picwgoal1440\\pichgoal720 010009000003}"_qs};
    for (const QString& body : formatted)
        EXPECT_TRUE(PageSort::losesFormatting(rtfPage(body), pageFont)) << body.toStdString();
}

TEST(PageSort, GivesExactlyWhatTheStepByStepSortGives)
{
    QRandomGenerator random(20240611);
    for (int round = 0; round < 3000; ++round) {
        const QString text = randomText(random, random.bounded(1, 60));
        ASSERT_EQ(PageSort::sortedText(text), referenceSort(text)) << text.toStdString();
    }
    // Many one-line entries with few distinct keys: the order of equal keys
    // depends on every exchange before it.
    QString lines;
    for (int i = 0; i < 600; ++i)
        lines += (i ? u"\r\n"_qs : QString()) + randomText(random, 1) + randomText(random, 1);
    EXPECT_EQ(PageSort::sortedText(lines), referenceSort(lines));
}
