#include "document/letter_pages.h"

#include "core/ini_file.h"
#include "core/localization.h"
#include "document/data_file.h"

namespace {

const QString kSection = QStringLiteral("Velkaro");
const QString kTitles = QStringLiteral("PageTitles");
const QString kShortcuts = QStringLiteral("Shortcuts");

bool beginsWith(std::span<const PageRecord> pages, const QStringList& titles)
{
    if (titles.isEmpty() || pages.size() < static_cast<std::size_t>(titles.size()))
        return false;
    for (qsizetype i = 0; i < titles.size(); ++i) {
        if (pages[static_cast<std::size_t>(i)].title != titles[i])
            return false;
    }
    return true;
}

} // namespace

LetterPages::Alphabet LetterPages::russian()
{
    const QStringList titles = DataFile::defaultTitles();
    return {titles, static_cast<int>(titles.size()), QString()};
}

std::optional<LetterPages::Alphabet> LetterPages::fromEntries(const QString& pageTitles,
                                                              const QString& shortcuts)
{
    if (pageTitles.trimmed().isEmpty())
        return std::nullopt;
    QStringList titles = pageTitles.split(u':');
    if (titles.size() > DataFile::MaxPages)
        return std::nullopt;
    for (QString& title : titles) {
        title = title.trimmed();
        if (title.isEmpty() || DataFile::titleProblem(title))
            return std::nullopt;
    }
    return Alphabet{titles, static_cast<int>(titles.size()), shortcuts};
}

LetterPages::Known LetterPages::known(Localization& inUse, int lastIntPage,
                                      const std::vector<LanguageCatalog::Language>& languages)
{
    const QString titles = inUse.localizedEntry(kSection, kTitles, QString());
    const QString shortcuts = inUse.localizedEntry(kSection, kShortcuts, QString());
    Known known;
    const std::optional<Alphabet> own = fromEntries(titles, shortcuts);
    if (!own && !titles.trimmed().isEmpty())
        known.rejected = titles;
    known.alphabets.push_back(
        own.value_or(Alphabet{DataFile::defaultTitles(), lastIntPage, shortcuts}));
    if (own)
        known.alphabets.push_back(russian());
    const QString fileInUse = inUse.filePath();
    for (const LanguageCatalog::Language& language : languages) {
        if (language.file.isEmpty() || language.file == fileInUse)
            continue;
        const std::optional<Alphabet> other =
            fromEntries(IniFile::readString(language.file, kSection, kTitles, QString()),
                        IniFile::readString(language.file, kSection, kShortcuts, QString()));
        if (other)
            known.alphabets.push_back(*other);
    }
    return known;
}

const LetterPages::Alphabet& LetterPages::forBook(std::span<const PageRecord> pages,
                                                  std::span<const Alphabet> known)
{
    for (const Alphabet& alphabet : known) {
        if (beginsWith(pages, alphabet.titles))
            return alphabet;
    }
    return known.front();
}
