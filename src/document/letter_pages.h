#pragma once

#include "core/language_catalog.h"
#include "document/page_record.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <span>
#include <vector>

class Localization;

// The letter pages of a book: how many of its first pages are built in and
// which Alt keys open them. A language names its alphabet, the titles a new
// book gets and the keys of their letters; a book keeps the alphabet it was
// made with whatever language shows it. So a change of language never makes
// a page of the user's a letter page (one he could no longer rename or
// delete) nor a letter page one of his own.
class LetterPages
{
public:
    struct Alphabet
    {
        QStringList titles;
        int pages = 0;     // the book's LastIntPage
        QString shortcuts; // the "Shortcuts" table; empty: the built-in keys
        bool operator==(const Alphabet&) const = default;
    };

    struct Known
    {
        std::vector<Alphabet> alphabets;
        std::optional<QString> rejected; // a "PageTitles" entry not taken
    };

    // "АБ" ... "ЮЯ" with the keys of their letters on the Russian layout.
    static Alphabet russian();
    // A language's "PageTitles" entry, titles joined by ":", with its
    // "Shortcuts": nothing when the entry is empty, or when it holds an empty
    // title or one the data file cannot keep.
    static std::optional<Alphabet> fromEntries(const QString& pageTitles, const QString& shortcuts);
    // The alphabets books are told by. First the one of the language in use:
    // its own titles, or the Russian ones with its `lastIntPage` and
    // "Shortcuts", as before titles could be translated. When it has titles
    // of its own, the Russian alphabet follows; then that of every other
    // language in `languages` that names its titles.
    static Known known(Localization& inUse, int lastIntPage,
                       const std::vector<LanguageCatalog::Language>& languages);
    // The first of `known` whose titles are the first pages of the book, in
    // order; `known.front()` (the language in use) when none is. `known` is
    // never empty.
    static const Alphabet& forBook(std::span<const PageRecord> pages,
                                   std::span<const Alphabet> known);
};
