#pragma once

#include <QString>

// Searching a page's plain text the way the page editor's Find does; also used
// to search every page of the book, so it must not allocate per position.
class TextFinder
{
public:
    static constexpr int wholeWord = 2;
    static constexpr int matchCase = 4;
    // "е" and "ё" (and their capitals) count as the same letter.
    static constexpr int yoAsYe = 0x100;
    // Only the sample's digits count; in the text, spaces, dashes, dots,
    // brackets and "+" between them are passed over, so "9125551234" finds
    // "+7 (912) 555-12-34" and the match covers that whole original text.
    static constexpr int digitsOnly = 0x200;

    struct Match
    {
        int start = -1;
        int length = 0;
        bool found() const { return start >= 0; }
    };

    // The first match lying completely inside [first, last). last = -1 means
    // the end of the text; both bounds are clamped to the text.
    static Match match(const QString& text, const QString& sample, int first, int last,
                       int options);
    // Start of that match, or -1.
    static int find(const QString& text, const QString& sample, int first, int last, int options)
    {
        return match(text, sample, first, last, options).start;
    }
};
