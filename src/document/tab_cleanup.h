#pragma once

#include <QByteArrayView>
#include <QString>

class QTextDocument;

// The clean-up every address page passes through when the book is loaded:
// runs of tabs left by older versions are shrunk so the two tab stops of an
// address page line the columns up again.
class TabCleanup
{
public:
    // Always returns RTF, except that an RTF text the clean-up would not change
    // is returned as it is: that keeps loading a large book cheap.
    static QString clean(const QString& pageText);
    // Inside a line a run of tabs becomes one tab; at the start of a line a
    // run becomes two. Characters are deleted in place, so formatting stays.
    static void collapseTabs(QTextDocument& doc);
    // Whether collapseTabs would change the text, judged from the plain text
    // alone without building a document.
    static bool needsCollapse(const QString& pageText);
    // A cheap look at the RTF source that never misses a page needsCollapse
    // would flag: false only when no two tabs of the text can be neighbours.
    // A page using a feature the look does not follow is always a candidate.
    static bool mayNeedCollapse(const QString& pageText);
    // The same look at a page text as the data file stores it (Windows-1251,
    // two apostrophes for a double quote), without decoding it.
    static bool mayNeedCollapseStored(QByteArrayView storedText);
};
