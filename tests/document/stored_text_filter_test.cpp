#include "core/code_page.h"
#include "document/stored_text_filter.h"
#include "richtext/rtf_plain_text.h"
#include "richtext/text_finder.h"

#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

struct FilterCase
{
    const char16_t* page; // as typed; stored in Windows-1251
    const char16_t* sample;
    int options;
    bool passes;
};

constexpr int kYo = TextFinder::yoAsYe;
constexpr int kCase = TextFinder::matchCase;
constexpr const char16_t* kIvanov =
    u"{\\rtf1\\ansi\\ansicpg1251{\\fonttbl{\\f0\\fcharset204 Tahoma;}}\\f0 "
    u"\\'c8\\'e2\\'e0\\'ed\\'ee\\'e2\\tab 555-12\\par}";

// Pages whose text holds the sample however its letters are written, and
// pages the filter turns away.
const FilterCase kCases[] = {
    {kIvanov, u"Петров", 0, false},
    {kIvanov, u"иванов", 0, true},
    {kIvanov, u"ИВАНОВ", kCase, false},
    {kIvanov, u"Иван 555", 0, true},
    {kIvanov, u"Иван 7", 0, false},
    // A word split by a group, a control word, a Unicode escape, raw bytes.
    {u"{\\rtf1\\ansi\\ansicpg1251 \\'cf\\'e5{\\b \\'f2}\\'f0\\u1086?\\'e2}", u"петров", 0, true},
    {u"{\\rtf1\\ansi\\ansicpg1251 Пет\\b р\\b0 ов}", u"Петров", kCase, true},
    {u"{\\rtf1\\ansi\\ansicpg1251 \\'b8\\'eb\\'ea\\'e0}", u"елка", kYo, true},
    {u"{\\rtf1\\ansi\\ansicpg1251 \\'b8\\'eb\\'ea\\'e0}", u"елка", 0, false},
    // Bytes that are no Windows-1251 letters: another code page, none named
    // (or named too late, or where the reader passes the name over), a font
    // of another character set.
    {u"{\\rtf1\\ansi\\ansicpg1252 caf\\'e9}", u"café", 0, true},
    {u"{\\rtf1\\ansi caf\\'e9}", u"café", 0, true},
    {u"{\\rtf1\\ansi caf\\'e9\\ansicpg1251}", u"café", 0, true},
    {u"{\\rtf1\\ansi{\\*\\fonttbl\\ansicpg1251} caf\\'e9}", u"café", 0, true},
    {u"{\\rtf1\\ansi\\*\\ansicpg1251 caf\\'e9}", u"café", 0, true},
    {u"{\\rtf1\\ansi\\u99\\ansicpg1251 af\\'e9}", u"café", 0, true},
    {u"{\\rtf1\\ansi\\ansicpg1251{\\fonttbl{\\f0\\fcharset0 Arial;}}\\f0 caf\\'e9}", u"café", 0,
     true},
    // Text the reader makes itself.
    {u"{\\rtf1\\ansi\\ansicpg1251{\\field{\\*\\fldinst SYMBOL 97 \\\\f \"Symbol\"}{\\fldrslt x}}}",
     u"α", 0, true},
    {u"{\\rtf1\\ansi\\ansicpg1251{\\*\\pn\\pnlvlbody\\pndec}\\pard x\\par}", u"1", 0, true},
    {u"{\\rtf1\\ansi\\ansicpg1251 x{\\footnote y}}", u"x1", 0, true},
    {u"{\\rtf1\\ansi\\ansicpg1251\\bin1 \\xyz}", u"xyz", 0, true},
    // Plain text is its bytes, backslashes included.
    {u"Петров\\Сидоров", u"сидоров", 0, true},
    {u"Петров\\Сидоров", u"Кузнецов", 0, false},
    // Nothing to rule out: only punctuation, or digits between punctuation.
    {kIvanov, u"-", 0, true},
    {kIvanov, u"9", TextFinder::digitsOnly, true},
};

} // namespace

TEST(StoredTextFilter, TurnsAwayOnlyPagesThatCannotHoldTheSample)
{
    for (const FilterCase& c : kCases) {
        const QString sample = QString::fromUtf16(c.sample);
        SCOPED_TRACE(QString::fromUtf16(c.page).toStdString() + " / " + sample.toStdString());
        const QByteArray stored = CodePage::encodeLossy(QString::fromUtf16(c.page));
        const bool passes = StoredTextFilter(sample, c.options).mayHold(stored);
        EXPECT_EQ(passes, c.passes);
        const QString plain = RtfPlainText::extract(QByteArrayView(stored));
        EXPECT_TRUE(passes || TextFinder::find(plain, sample, 0, -1, c.options) < 0);
    }
}

// A filter goes on from where its look through the last page stood as far as
// the two pages open alike: pages cut short anywhere or changed in any byte,
// in any order, get the answer a filter that never saw another page gives.
TEST(StoredTextFilter, GoingOnFromTheLastPagesOpeningAnswersAsAFreshFilter)
{
    const QByteArray tables =
        "{\\rtf1\\ansi\\ansicpg1251{\\fonttbl{\\f0\\fcharset204 Tahoma;}{\\f1\\fcharset0 Arial;}"
        "{\\f2\\fcharset204 Times New Roman Cyr;}{\\f3\\fcharset204 Courier New Cyr;}}\r\n"
        "{\\colortbl ;\\red0\\green0\\blue0;\\red255\\green0\\blue0;}\r\n";
    const QByteArray base = tables + tables.mid(1) +
                            "\\viewkind4\\uc1\\pard\\f0\\fs20 \\'cf\\'e5\\'f2\\'f0\\'ee\\'e2 "
                            "\\u1055?f1-2\\tab 555\\par}";
    QList<QByteArray> pages;
    for (qsizetype size = 1; size <= base.size(); ++size)
        pages << base.first(size);
    for (qsizetype size = base.size(); size > 0; size -= 7)
        pages << base.first(size);
    for (qsizetype at = 0; at < base.size(); ++at) {
        for (const char byte : {'\\', '-', '1', '{', '\''})
            pages << QByteArray(base).replace(at, 1, &byte, 1);
    }
    ASSERT_GT(base.size(), 400); // longer than the opening a filter keeps
    for (const auto& [sample, options] : {std::pair(u"Петров"_qs, 0), std::pair(u"f1"_qs, kCase)}) {
        const StoredTextFilter shared(sample, options);
        for (const QByteArray& page : pages) {
            ASSERT_EQ(shared.mayHold(page), StoredTextFilter(sample, options).mayHold(page))
                << sample.toStdString() << ": " << page.toStdString();
        }
    }
}

// The words of every page of the corpus (the first few dozen different ones),
// in any case or in their own, are let through by the filter of the page's
// bytes, whatever code page, font or escape spells them.
TEST(StoredTextFilter, NeverTurnsAwayAWordOfTheCorpus)
{
    const QString data = QStringLiteral(VELKARO_TEST_DATA);
    const QRegularExpression word(QStringLiteral("\\w+"));
    int words = 0;
    for (const QString& folder : {data + u"/rtf"_qs, data + u"/rtf-corpus/rtf"_qs}) {
        QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            QFile file(it.next());
            ASSERT_TRUE(file.open(QIODevice::ReadOnly));
            const QByteArray bytes = file.readAll();
            const QString plain = RtfPlainText::extract(QByteArrayView(bytes));
            QStringList seen;
            for (const auto& match : word.globalMatch(plain)) {
                if (seen.size() == 40 || seen.contains(match.captured()))
                    continue;
                seen << match.captured();
                ++words;
                for (const int options : {0, int(TextFinder::matchCase)}) {
                    EXPECT_TRUE(StoredTextFilter(match.captured(), options).mayHold(bytes))
                        << it.filePath().toStdString() << ": " << match.captured().toStdString();
                }
            }
        }
    }
    EXPECT_GT(words, 500);
}
