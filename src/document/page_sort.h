#pragma once

#include <QString>

class QFont;

// The text side of `SortCurSec`: a page's entries put into alphabetical order.
// An entry is a line that does not start with a space or a tab, together with
// the indented and empty lines after it, so a name keeps its address lines.
class PageSort
{
public:
    // `plainText` is the page as the editor shows it, CR LF between lines. The
    // entries are trimmed of spaces, ordered by their lower-cased text in
    // UTF-16 code units (digits and Latin before Cyrillic, "ё" after "я") and
    // joined, each followed by CR LF. Entries whose keys are equal come out
    // in the order a selection sort leaves them, not in their old order: the
    // order earlier versions gave, which users of a sorted page already know.
    static QString sortedText(const QString& plainText);

    // Whether storing the sorted page as plain text would lose anything of
    // `storedText`: emphasis, colours, another font or size than `pageFont`
    // (the editor's font for pages without one of their own), pictures,
    // paragraph alignment or indents. Black counts as the automatic colour,
    // and Tahoma, the face of pages written on Windows, as the page font.
    static bool losesFormatting(const QString& storedText, const QFont& pageFont);
};
