#pragma once

#include "document/page_record.h"

#include <QByteArray>
#include <QByteArrayView>
#include <span>
#include <vector>

// The text export kept page by page with the page each part was made from.
// A save rebuilds only the parts of pages that changed since, so the first
// save after loading a large book costs what any later one does when the
// export on disk was made from the book as loaded.
class ExportParts
{
public:
    // The whole export of `pages`; each part is reused while its page keeps
    // its title and text, and made again otherwise.
    QByteArray build(std::span<const PageRecord> pages);
    // Takes `exportBytes`, the export of `pages` as written earlier, as their
    // parts. False, and nothing taken, when the bytes do not cut into one
    // part per page, each opening with the page's own title line.
    bool adopt(const QByteArray& exportBytes, std::span<const PageIdentity> pages);
    bool isEmpty() const { return m_parts.empty(); }
    void clear();

private:
    struct Part
    {
        PageIdentity page;
        QByteArrayView bytes;
    };
    std::vector<Part> m_parts;
    // The last export built or adopted: every part is a piece of it, so the
    // parts cost no memory of their own.
    QByteArray m_whole;
};
