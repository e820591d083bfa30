#pragma once

#include "document/book.h"
#include "document/search_target.h"
#include "richtext/text_finder.h"

#include <QStringList>

// A book and an editor holding the open page's plain text, as the main window
// hands them to a search; it notes the pages it opens and the options asked for.
class BookSearchTarget : public SearchTarget
{
public:
    BookSearchTarget(const QStringList& pages, int openPage, int caret)
    {
        std::vector<PageRecord> records;
        for (const QString& text : pages)
            records.push_back({QStringLiteral("Стр"), text, PageRecord::AddressPage});
        book.setPages(std::move(records));
        selectPage(openPage);
        selectionStart = caret;
        opened.clear();
    }

    int pageCount() const override { return book.pageCount(); }
    int currentPage() const override { return book.recentPage(); }
    int selStart() const override { return selectionStart; }
    QString pageText(int page) const override
    {
        return page == book.recentPage() ? editor : book.page(page).plainText();
    }
    void selectPage(int page) override
    {
        book.setRecentPage(page);
        editor = shownText(page);
        selectionStart = 0;
        selectionLength = 0;
        opened << page;
    }
    int findText(const QString& sample, int first, int last, int options) override
    {
        optionsAsked << options;
        const int found = TextFinder::find(editor, sample, first, last, options);
        if (found >= 0) {
            selectionStart = found;
            selectionLength = int(sample.size());
        }
        return found;
    }

    // What the editor shows once a page is open.
    virtual QString shownText(int page) const { return book.page(page).plainText(); }

    // "page@start+length" of the editor's selection.
    QString selection() const
    {
        return QStringLiteral("%1@%2+%3")
            .arg(currentPage())
            .arg(selectionStart)
            .arg(selectionLength);
    }

    Book book;
    QString editor;
    int selectionStart = 0;
    int selectionLength = 0;
    QList<int> opened;
    QList<int> optionsAsked;
};
