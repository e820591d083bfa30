// Which of a book's first pages are its letter pages, and which Alt keys open
// them, whatever language shows the book.

#include "core/event_log.h"
#include "core/localization.h"
#include "document/data_file.h"
#include "document/letter_pages.h"
#include "test_files.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using Alphabet = LetterPages::Alphabet;

const QString kEnglishKeys = QStringLiteral("65,66:67,68");
const Alphabet kRussian = LetterPages::russian();
const Alphabet kEnglish{{"AB", "CD"}, 2, kEnglishKeys};
// A translation of the time before titles could be translated.
const Alphabet kOldTranslation{DataFile::defaultTitles(), 16, QStringLiteral("70")};

std::vector<PageRecord> book(QStringList titles)
{
    std::vector<PageRecord> pages;
    for (const QString& title : titles)
        pages.push_back({title, QString(), PageRecord::AddressPage});
    return pages;
}

struct BookCase
{
    const char* name;
    QStringList titles;
    std::vector<Alphabet> known; // the language in use first
    Alphabet expected;
};

TEST(LetterPages, ABookKeepsTheAlphabetItWasMadeWith)
{
    const QStringList russianBook = DataFile::defaultTitles() + QStringList{"Work", "AB"};
    const QStringList englishBook{"AB", "CD", "Work", "Home"};
    const std::vector<BookCase> cases{
        {"Russian book, Russian", russianBook, {kRussian, kEnglish}, kRussian},
        {"Russian book, English", russianBook, {kEnglish, kRussian}, kRussian},
        {"English book, English", englishBook, {kEnglish, kRussian}, kEnglish},
        {"English book, Russian", englishBook, {kRussian, kEnglish}, kEnglish},
        {"Russian book, old translation",
         russianBook,
         {kOldTranslation, kEnglish},
         kOldTranslation},
        {"English book, old translation", englishBook, {kOldTranslation, kEnglish}, kEnglish},
        {"a book of neither", {"Work", "AB", "CD"}, {kEnglish, kRussian}, kEnglish},
        {"a book shorter than the alphabet", {"AB"}, {kRussian, kEnglish}, kRussian},
        {"an empty book", {}, {kEnglish}, kEnglish},
    };
    for (const BookCase& c : cases) {
        const std::vector<PageRecord> pages = book(c.titles);
        EXPECT_EQ(LetterPages::forBook(pages, c.known), c.expected) << c.name;
    }
}

TEST(LetterPages, TakesOnlyTitlesADataFileKeeps)
{
    const std::vector<std::pair<QString, std::optional<QStringList>>> cases{
        {"", std::nullopt},
        {"  ", std::nullopt},
        {" AB : CD ", QStringList{"AB", "CD"}},
        {"A", QStringList{"A"}},
        {"AB::CD", std::nullopt},
        {"AB:", std::nullopt},
        {"~AB:CD", std::nullopt},
        {"A''B", std::nullopt},
        {QStringLiteral("AB:日本"), std::nullopt},
    };
    for (const auto& [entry, titles] : cases) {
        const std::optional<Alphabet> alphabet = LetterPages::fromEntries(entry, kEnglishKeys);
        ASSERT_EQ(alphabet.has_value(), titles.has_value()) << entry.toStdString();
        if (alphabet) {
            EXPECT_EQ(*alphabet, (Alphabet{*titles, int(titles->size()), kEnglishKeys}));
        }
    }
}

// The language in use answers through its localization; the others are read
// from their files.
TEST(LetterPages, KnowsTheAlphabetsOfEveryLanguage)
{
    QTemporaryDir dir;
    const auto language = [&dir](const QString& folder, const QByteArray& velkaro) {
        const QString file = dir.filePath(folder + "/language.ini");
        writeAll(file, "[Velkaro]\r\n" + velkaro);
        return LanguageCatalog::Language{folder, folder, file};
    };
    const std::vector<LanguageCatalog::Language> languages{
        {"ru", {}, {}},
        language("en", "PageTitles=AB:CD\r\nShortcuts=65,66:67,68\r\n"),
        language("old", "LastIntPage=16\r\nShortcuts=70\r\n"),
        language("bad", "PageTitles=~A\r\n"),
    };
    EventLog log;
    struct Case
    {
        QString inUse;
        std::vector<Alphabet> alphabets;
        std::optional<QString> rejected;
    };
    const std::vector<Case> cases{
        {"", {kRussian, kEnglish}, std::nullopt},
        {"en", {kEnglish, kRussian}, std::nullopt},
        {"old", {kOldTranslation, kEnglish}, std::nullopt},
        {"bad", {Alphabet{DataFile::defaultTitles(), 14, {}}, kEnglish}, "~A"},
    };
    for (const Case& c : cases) {
        Localization localization(
            c.inUse.isEmpty() ? QStringList() : QStringList{dir.filePath(c.inUse)}, log);
        const int lastIntPage = c.inUse == "old" ? 16 : 14;
        const LetterPages::Known known = LetterPages::known(localization, lastIntPage, languages);
        EXPECT_EQ(known.alphabets, c.alphabets) << c.inUse.toStdString();
        EXPECT_EQ(known.rejected, c.rejected) << c.inUse.toStdString();
    }
}

} // namespace
