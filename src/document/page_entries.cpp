#include "document/page_entries.h"

namespace {

bool isLineBreakAt(QStringView text, qsizetype i)
{
    return i + 1 < text.size() && text[i] == u'\r' && text[i + 1] == u'\n';
}

// A line that starts with a space or a tab, or an empty line, belongs to the
// entry above it.
bool continuesEntry(QStringView text, qsizetype lineStart)
{
    const QChar first = text[lineStart];
    return first == u' ' || first == u'\t' || isLineBreakAt(text, lineStart);
}

QStringView trimmedOfSpaces(QStringView entry)
{
    while (!entry.isEmpty() && entry.front() == u' ')
        entry = entry.sliced(1);
    while (!entry.isEmpty() && entry.back() == u' ')
        entry.chop(1);
    return entry;
}

} // namespace

// An entry closes at a CR LF followed by a line of its own. The CR LF at the
// very end of the text is never looked at, so it stays in the last entry.
std::vector<QStringView> PageEntries::split(QStringView plainText)
{
    std::vector<QStringView> entries;
    qsizetype start = 0;
    for (qsizetype i = 0; i + 2 < plainText.size(); ++i) {
        if (!isLineBreakAt(plainText, i) || continuesEntry(plainText, i + 2))
            continue;
        entries.push_back(trimmedOfSpaces(plainText.sliced(start, i - start)));
        start = i + 2;
    }
    entries.push_back(trimmedOfSpaces(plainText.sliced(start)));
    return entries;
}
