#pragma once

#include "document/data_file.h"
#include "document/page_record.h"

#include <QObject>
#include <memory>
#include <optional>
#include <span>
#include <vector>

// The book in memory: its pages, counted from 1 everywhere as the tab strip
// and the settings store count them, and the numbers of the open page, the
// one before it and the last built-in page. Every change of a page goes
// through the book, which marks itself changed when a page really changed.
class Book : public QObject
{
    Q_OBJECT

public:
    static constexpr int MaxPages = DataFile::MaxPages;
    static constexpr qint16 DefaultLastIntPage = 14;

    explicit Book(QObject* parent = nullptr);

    // The pages as they stand at one moment, laid out with the unused slot
    // before page 1. Taking one copies nothing; the book's next change of a
    // page copies the list for itself and leaves the snapshot as it was.
    using Snapshot = std::shared_ptr<const std::vector<PageRecord>>;

    int pageCount() const { return static_cast<int>(m_pages->size()) - 1; }
    bool hasPage(int index) const { return index >= 1 && index <= pageCount(); }
    // Page `index` (from 1); a number outside the book reads as an empty page.
    const PageRecord& page(int index) const;
    // Pages 1..pageCount.
    std::span<const PageRecord> pages() const;
    Snapshot snapshot() const { return m_pages; }
    // Pages 1.. of a snapshot; none of a null one.
    static std::span<const PageRecord> pagesOf(const Snapshot& snapshot);

    // Loading: replaces every page and leaves the changed state as it is;
    // `pagesFrom1` holds page 1 first.
    void setPages(std::vector<PageRecord> pagesFrom1);
    // The same for pages laid out with an unused slot before page 1: laid out
    // by the thread that read them, they move in untouched.
    void setPagesWithUnusedSlot(std::vector<PageRecord> pages);
    // Replaces every page as an edit: the book is changed.
    void replacePages(std::vector<PageRecord> pagesFrom1);
    // Replaces every page text by its plain text (plain-text mode saves this way).
    void convertToPlainText();

    // A page's parts. Each ignores a page number outside the book and marks
    // the book changed only when the page now holds something else.
    void setPageText(int index, const PageText& text);
    void setPageTitle(int index, const QString& title);
    void setPageKind(int index, qint32 kind);

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

    // Goes up with every change of the pages: a reader that compared them
    // with something at one revision need not compare again at the same.
    quint64 revision() const { return m_revision; }

    // The page numbers. None of them is part of what the book saves, so
    // setting one never marks the book changed.
    int recentPage() const { return m_recentPage; }
    void setRecentPage(int index) { m_recentPage = static_cast<qint16>(index); }
    int previousPage() const { return m_previousPage; }
    // Opens page `index`: the page open until now becomes the previous one.
    void turnToPage(int index);
    // Brings the open and the previous page back into the book after its
    // page list changed.
    void fitPageNumbersToBook();
    int lastIntPage() const { return m_lastIntPage; }
    void setLastIntPage(int count) { m_lastIntPage = static_cast<qint16>(count); }

    // The book holds more than the data file although no page of it changed:
    // the open page's editor holds edits, or a save failed.
    void markUnsaved();
    // The pages as they are now are the saved ones.
    void markSaved();
    bool isChanged() const { return m_changed; }

Q_SIGNALS:
    // The unsaved-changes state changed; the status picture follows it.
    void changedStateChanged(bool changed);
    // Page texts were replaced wholesale; an open editor must reload its page.
    void pagesReplaced();

private:
    // The list to change, the book's own: copied first while a snapshot
    // shares it. Only the book's thread takes snapshots, so the count of
    // sharers cannot rise meanwhile.
    std::vector<PageRecord>& ownPages();
    PageRecord& pageAt(int index) { return ownPages()[static_cast<std::size_t>(index)]; }
    void setChanged(bool changed);

    // m_pages[0] exists but is never used, so page k stands at m_pages[k].
    std::shared_ptr<std::vector<PageRecord>> m_pages = std::make_shared<std::vector<PageRecord>>(1);
    qint16 m_recentPage = 1;
    qint16 m_previousPage = 0;
    qint16 m_lastIntPage = DefaultLastIntPage;
    bool m_changed = false;
    quint64 m_revision = 0;
};
