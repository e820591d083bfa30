#pragma once

#include <QString>

// What a search through the book needs of the window it runs in: the pages,
// the open page and the page editor's Find. The window implements it; tests
// implement it over a Book.
class SearchTarget
{
public:
    virtual ~SearchTarget() = default;

    virtual int pageCount() const = 0;
    // The page open in the editor, counted from 1.
    virtual int currentPage() const = 0;
    // The editor's caret position on the open page.
    virtual int selStart() const = 0;
    // The plain text of a page as the editor shows it; for the open page the
    // editor's own text, edits included.
    virtual QString pageText(int page) const = 0;
    // Opens a page as a click on its tab does.
    virtual void selectPage(int page) = 0;
    // The editor's Find on the open page (options: TextFinder's bits): the
    // start of the first match inside [first, last), or -1; last = -1 means
    // the end. A match becomes the editor's selection.
    virtual int findText(const QString& sample, int first, int last, int options) = 0;
};
