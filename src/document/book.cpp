#include "document/book.h"

#include <algorithm>

Book::Book(QObject* parent) : QObject(parent) {}

std::span<const PageRecord> Book::pages() const
{
    return std::span<const PageRecord>(Pages).subspan(1);
}

void Book::setPages(std::vector<PageRecord> pagesFrom1)
{
    // With room for the unused slot the pages move along in place: a large
    // book is never held twice over at start-up.
    if (pagesFrom1.capacity() > pagesFrom1.size()) {
        pagesFrom1.insert(pagesFrom1.begin(), PageRecord{});
        Pages = std::move(pagesFrom1);
        Q_EMIT pagesReplaced();
        return;
    }
    Pages.clear();
    Pages.reserve(pagesFrom1.size() + 1);
    Pages.emplace_back();
    for (PageRecord& page : pagesFrom1)
        Pages.push_back(std::move(page));
    Q_EMIT pagesReplaced();
}

void Book::setPagesWithUnusedSlot(std::vector<PageRecord> pages)
{
    Pages = std::move(pages);
    Q_EMIT pagesReplaced();
}

void Book::convertToPlainText()
{
    bool replaced = false;
    for (size_t i = 1; i < Pages.size(); ++i) {
        const QString& plain = Pages[i].plainText();
        if (plain == Pages[i].Text)
            continue;
        Pages[i].Text = plain;
        replaced = true;
    }
    // Every autosave in plain-text mode comes here; an editor reloads its
    // page (and loses the caret) only when a text really changed.
    if (replaced)
        Q_EMIT pagesReplaced();
}

bool Book::insertPage(const QString& title, int after)
{
    if (isFull() || after < 0 || after > pageCount())
        return false;
    PageRecord page;
    page.Title = title;
    page.Kind = PageRecord::AddressPage;
    Pages.insert(Pages.begin() + after + 1, std::move(page));
    markBookChanged();
    return true;
}

bool Book::deletePage(int index)
{
    if (index < 1 || index > pageCount())
        return false;
    Pages.erase(Pages.begin() + index);
    markBookChanged();
    return true;
}

bool Book::swapPages(int k)
{
    if (k < 2 || k > pageCount())
        return false;
    std::swap(Pages[static_cast<std::size_t>(k - 1)], Pages[static_cast<std::size_t>(k)]);
    markBookChanged();
    return true;
}

void Book::markBookChanged()
{
    setChanged(true);
}

void Book::markSaved()
{
    m_saved = Pages;
    setChanged(false);
}

int Book::unsavedPageCount() const
{
    const std::size_t places = std::max(Pages.size(), m_saved.size());
    int count = 0;
    for (std::size_t i = 1; i < places; ++i)
        count += i >= Pages.size() || i >= m_saved.size() || !(Pages[i] == m_saved[i]);
    return count;
}

void Book::setChanged(bool changed)
{
    m_changed = changed;
    Q_EMIT changedStateChanged(changed);
}
