#pragma once

#include <QString>

// Searching a page's plain text the way the page editor's Find does; also used
// to search every page of the book, so it must not allocate per position.
class TextFinder
{
public:
    static constexpr int wholeWord = 2;
    static constexpr int matchCase = 4;

    // Start of the first match lying completely inside [first, last), or -1.
    // last = -1 means the end of the text; both bounds are clamped to the text.
    static int find(const QString& text, const QString& sample, int first, int last, int options);
};
