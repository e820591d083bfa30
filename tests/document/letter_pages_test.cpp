// A book's letter pages and their keys, whatever language shows it.

#include "document/data_file.h"
#include "document/letter_pages.h"
#include "unit_test.h"

namespace {

using Alphabet = LetterPages::Alphabet;

TEST(LetterPages, ABookKeepsTheAlphabetItWasMadeWith)
{
    const Alphabet ru = LetterPages::russian();
    const Alphabet en = LetterPages::fromEntries(" AB : CD ", "65,66:67,68").value_or(Alphabet{});
    EXPECT_EQ(en, (Alphabet{{"AB", "CD"}, 2, "65,66:67,68"}));
    const Alphabet old{DataFile::defaultTitles(), 16, "70"}; // a translation without titles
    const QStringList russianBook = DataFile::defaultTitles() << "Work";
    const QStringList englishBook{"AB", "CD", "Work"};
    // The language in use comes first; a book of no alphabet takes its.
    const std::vector<std::tuple<QStringList, std::vector<Alphabet>, Alphabet>> cases{
        {russianBook, {en, ru}, ru},  {englishBook, {ru, en}, en},
        {englishBook, {en, ru}, en},  {russianBook, {old, en}, old},
        {englishBook, {old, en}, en}, {{"Work", "AB", "CD"}, {en, ru}, en},
        {{"AB"}, {ru, en}, ru}};
    for (const auto& [titles, known, expected] : cases) {
        const std::vector<PageRecord> pages = DataFile::defaultPages(titles);
        EXPECT_EQ(LetterPages::forBook(pages, known), expected) << titles.join(',').toStdString();
    }
    for (const QString bad : {"", "AB::CD", "~AB", "A''B", "AB:日本"})
        EXPECT_FALSE(LetterPages::fromEntries(bad, {})) << bad.toStdString();
}

} // namespace
