#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringView>

// The tab rule of address pages on their plain text: inside a line a run of
// tabs keeps one tab, at the start of a line two. What the clean-up at load
// deletes from a page's document is what it deletes from the page's plain
// text, so the plain text of a cleaned page is known without a document.
class TabRuns
{
public:
    static bool hasSurplus(QStringView plain);
    // The same for a plain text as its Windows-1251 bytes.
    static bool hasSurplus(QByteArrayView plain);
    static QString collapsed(const QString& plain);
    static bool isLineBreak(QChar ch)
    {
        return ch == u'\r' || ch == u'\n' || ch == QChar::LineSeparator ||
               ch == QChar::ParagraphSeparator;
    }
    static qsizetype kept(bool atLineStart) { return atLineStart ? 2 : 1; }
};
