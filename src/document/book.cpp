#include "document/book.h"

Book::Book(QObject* parent) : QObject(parent) {}

std::span<const PageRecord> Book::pages() const
{
    return std::span<const PageRecord>(Pages).subspan(1);
}

void Book::setPages(std::vector<PageRecord> pagesFrom1)
{
    Pages.clear();
    Pages.reserve(pagesFrom1.size() + 1);
    Pages.emplace_back();
    for (PageRecord& page : pagesFrom1)
        Pages.push_back(std::move(page));
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

void Book::MarkBookChanged()
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
