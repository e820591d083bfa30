#pragma once

#include "core/app_error.h"
#include "document/page_record.h"

#include <QByteArray>
#include <QDateTime>
#include <QFileDevice>
#include <optional>
#include <span>
#include <vector>

// The text export, written a part at a time, one part per page. A save
// makes only the parts of pages that changed since the last write and
// copies the others from the file that write left, while it is still that
// file, reading it once from its start: a large book's export is never whole
// in memory. The owner tells which pages changed.
class ExportParts
{
public:
    // Writes the export of `pages` to `path` (see SafeFile::writeInParts).
    std::optional<AppError> write(const QString& path, std::span<const PageRecord> pages,
                                  std::optional<QFileDevice::Permissions> permissions);
    // The whole export of `pages`, every part made; once `path` holds these
    // bytes, kept(path) lets the next write copy from it.
    QByteArray build(std::span<const PageRecord> pages);
    void kept(const QString& path);
    // The export at `path` was written earlier from these `count` pages: the
    // next write copies their parts from it, and makes them all instead when
    // it turns out not to hold exactly their parts.
    void adopt(const QString& path, size_t count);
    // There are `count` pages now; a page past the old count has no part.
    void resize(size_t count);
    // Page `i` (0-based) is no longer the one its part was made from.
    void markChanged(size_t i);
    bool isEmpty() const { return m_current.empty(); }
    void clear();

private:
    bool isCurrent(size_t i) const { return i < m_current.size() && m_current[i]; }

    // How many parts the file last written holds, whether each page's is
    // still its page's, and that file's stamp.
    size_t m_parts = 0;
    std::vector<bool> m_current;
    qint64 m_size = -1;
    QDateTime m_modified;
};
