#pragma once

#include "document/page_record.h"

#include <QByteArray>
#include <QByteArrayView>
#include <span>
#include <vector>

// The text export kept page by page. A save rebuilds only the parts of pages
// that changed since, so the first save after loading a large book costs
// what any later one does when the export on disk was made from the book as
// loaded. The parts follow the saved pages: their owner tells which changed.
class ExportParts
{
public:
    // The whole export of `pages`: each part still current is reused, the
    // others are made again; afterwards every part is current.
    QByteArray build(std::span<const PageRecord> pages);
    // Takes `exportBytes`, the export of `pages` as written earlier, as their
    // parts. False, and nothing taken, when the bytes do not cut into one
    // part per page, each opening with the page's own title line.
    bool adopt(const QByteArray& exportBytes, std::span<const PageIdentity> pages);
    // There are `count` pages now; a page past the old count has no part.
    void resize(size_t count);
    // Page `i` (0-based) is no longer the one its part was made from.
    void markChanged(size_t i);
    bool isEmpty() const { return m_current.empty(); }
    void clear();

private:
    bool isCurrent(size_t i) const { return i < m_current.size() && m_current[i]; }
    QByteArrayView part(size_t i) const;

    // The last export built or adopted, and where each page's part starts in
    // it (one more for its end): the parts cost no memory of their own.
    QByteArray m_whole;
    std::vector<qsizetype> m_starts;
    std::vector<bool> m_current;
};
