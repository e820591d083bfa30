#pragma once

#include <QStringView>
#include <vector>

// A page's text as entries, the way the sort and the contacts see it: a line
// that does not start with a space or a tab begins an entry, and the indented
// and empty lines after it belong to it, so a name keeps its address lines.
// The first line always begins an entry.
class PageEntries
{
public:
    // `plainText` has CR LF between lines. The CR LF that closes an entry
    // belongs to neither side; one at the very end of the text stays in the
    // last entry. Every entry is trimmed of spaces at both ends (tabs and line
    // breaks stay). An empty text is one empty entry.
    static std::vector<QStringView> split(QStringView plainText);
};
