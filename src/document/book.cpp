#include "document/book.h"

#include <algorithm>

Book::Book(QObject* parent) : QObject(parent) {}

const PageRecord& Book::page(int index) const
{
    return (*m_pages)[hasPage(index) ? static_cast<std::size_t>(index) : 0];
}

std::span<const PageRecord> Book::pages() const
{
    return std::span<const PageRecord>(*m_pages).subspan(1);
}

std::span<const PageRecord> Book::pagesOf(const Snapshot& snapshot)
{
    if (!snapshot || snapshot->empty())
        return {};
    return std::span<const PageRecord>(*snapshot).subspan(1);
}

std::vector<PageRecord>& Book::ownPages()
{
    if (m_pages.use_count() > 1)
        m_pages = std::make_shared<std::vector<PageRecord>>(*m_pages);
    return *m_pages;
}

void Book::setPages(std::vector<PageRecord> pagesFrom1)
{
    // With room for the unused slot the pages move along in place: a large
    // book is never held twice over at start-up.
    if (pagesFrom1.capacity() > pagesFrom1.size()) {
        pagesFrom1.insert(pagesFrom1.begin(), PageRecord{});
        m_pages = std::make_shared<std::vector<PageRecord>>(std::move(pagesFrom1));
        ++m_revision;
        Q_EMIT pagesReplaced();
        return;
    }
    auto pages = std::make_shared<std::vector<PageRecord>>();
    pages->reserve(pagesFrom1.size() + 1);
    pages->emplace_back();
    for (PageRecord& page : pagesFrom1)
        pages->push_back(std::move(page));
    m_pages = std::move(pages);
    ++m_revision;
    Q_EMIT pagesReplaced();
}

void Book::setPagesWithUnusedSlot(std::vector<PageRecord> pages)
{
    m_pages = std::make_shared<std::vector<PageRecord>>(std::move(pages));
    ++m_revision;
    Q_EMIT pagesReplaced();
}

void Book::replacePages(std::vector<PageRecord> pagesFrom1)
{
    setPages(std::move(pagesFrom1));
    setChanged(true);
}

void Book::convertToPlainText()
{
    bool replaced = false;
    for (int i = 1; i <= pageCount(); ++i) {
        const QString plain = page(i).plainText();
        if (plain == page(i).text)
            continue;
        pageAt(i).text = plain;
        ++m_revision;
        replaced = true;
    }
    // Every autosave in plain-text mode comes here; an editor reloads its
    // page (and loses the caret) only when a text really changed.
    if (replaced)
        Q_EMIT pagesReplaced();
}

void Book::setPageText(int index, const PageText& text)
{
    if (!hasPage(index) || page(index).text == text)
        return;
    pageAt(index).text = text;
    ++m_revision;
    setChanged(true);
}

void Book::setPageTitle(int index, const QString& title)
{
    if (!hasPage(index) || page(index).title == title)
        return;
    pageAt(index).title = title;
    ++m_revision;
    setChanged(true);
}

void Book::setPageKind(int index, qint32 kind)
{
    if (!hasPage(index) || page(index).kind == kind)
        return;
    pageAt(index).kind = kind;
    ++m_revision;
    setChanged(true);
}

bool Book::insertPage(const QString& title, int after)
{
    if (isFull() || after < 0 || after > pageCount())
        return false;
    PageRecord page;
    page.title = title;
    page.kind = PageRecord::AddressPage;
    std::vector<PageRecord>& pages = ownPages();
    pages.insert(pages.begin() + after + 1, std::move(page));
    ++m_revision;
    setChanged(true);
    return true;
}

bool Book::deletePage(int index)
{
    if (!hasPage(index))
        return false;
    std::vector<PageRecord>& pages = ownPages();
    pages.erase(pages.begin() + index);
    ++m_revision;
    setChanged(true);
    return true;
}

bool Book::swapPages(int k)
{
    if (k < 2 || k > pageCount())
        return false;
    std::swap(pageAt(k - 1), pageAt(k));
    ++m_revision;
    setChanged(true);
    return true;
}

void Book::turnToPage(int index)
{
    if (index != m_recentPage)
        m_previousPage = m_recentPage;
    setRecentPage(index);
}

void Book::fitPageNumbersToBook()
{
    const int count = pageCount();
    setRecentPage(std::clamp<int>(m_recentPage, 1, std::max(count, 1)));
    m_previousPage = static_cast<qint16>(std::clamp<int>(m_previousPage, 0, count));
}

void Book::markUnsaved()
{
    setChanged(true);
}

void Book::markSaved()
{
    setChanged(false);
}

void Book::setChanged(bool changed)
{
    m_changed = changed;
    Q_EMIT changedStateChanged(changed);
}
