#pragma once

#include "document/data_file.h"
#include "document/page_record.h"

#include <QObject>
#include <span>
#include <vector>

// The book in memory. Pages[0] exists but is never used: pages are counted
// from 1 everywhere, as the tab strip and the settings store count them.
class Book : public QObject
{
    Q_OBJECT

public:
    static constexpr int MaxPages = DataFile::MaxPages;
    static constexpr qint16 DefaultLastIntPage = 14;

    explicit Book(QObject* parent = nullptr);

    std::vector<PageRecord> Pages{1};
    qint16 RecentPage = 1;
    qint16 PrevPage = 0;
    qint16 LastIntPage = DefaultLastIntPage;

    int pageCount() const { return static_cast<int>(Pages.size()) - 1; }
    // Pages 1..pageCount, without the unused slot.
    std::span<const PageRecord> pages() const;
    // Replaces every page; `pagesFrom1` holds page 1 first.
    void setPages(std::vector<PageRecord> pagesFrom1);
    // The same for pages laid out as the book keeps them, the unused slot
    // first: laid out by the thread that read them, they move in untouched.
    void setPagesWithUnusedSlot(std::vector<PageRecord> pages);
    // Replaces every page text by its plain text (plain-text mode saves this way).
    void convertToPlainText();

    // The page list operations. Each refuses (false, nothing changed) a page
    // number outside the book or a book already at MaxPages; each that
    // changes the list marks the book changed. Whole records move, so a
    // page's title, text and kind always travel together.
    // An empty address page titled `title` after page `after` (0 = first).
    bool insertPage(const QString& title, int after);
    bool deletePage(int index);
    // Exchanges pages k - 1 and k.
    bool swapPages(int k);
    // Exchanges pages k and k + 1.
    bool movePageDown(int k) { return swapPages(k + 1); }
    bool isFull() const { return pageCount() >= MaxPages; }

    void markBookChanged();
    // The pages as they are now are the saved ones.
    void markSaved();
    bool isChanged() const { return m_changed; }
    // How many places of the page list hold something other than what was
    // last saved or loaded there: an edited, added, removed or moved page.
    int unsavedPageCount() const;

Q_SIGNALS:
    // The unsaved-changes state changed; the status picture follows it.
    void changedStateChanged(bool changed);
    // Page texts were replaced wholesale; an open editor must reload its page.
    void pagesReplaced();

private:
    void setChanged(bool changed);

    bool m_changed = false;
    // Shallow copies: a page nobody changed shares its text with its copy.
    std::vector<PageRecord> m_saved{1};
};
