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
// file: a large book's export is never whole in memory. The owner tells
// which pages changed.
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
    // Learns where each of `count` pages has its part in the export at
    // `path`, written earlier from those very pages, reading it a part at a
    // time. False, and nothing learnt, when it does not cut into as many
    // parts, each at a line that starts with "$".
    bool adopt(const QString& path, size_t count);
    // There are `count` pages now; a page past the old count has no part.
    void resize(size_t count);
    // Page `i` (0-based) is no longer the one its part was made from.
    void markChanged(size_t i);
    bool isEmpty() const { return m_current.empty(); }
    void clear();

private:
    bool isCurrent(size_t i) const { return i < m_current.size() && m_current[i]; }
    bool copyPart(QFileDevice& from, size_t i, QByteArray& out) const;

    // Where each page's part starts in the file last written (one more for
    // its end), whether it is still its page's, and that file's stamp.
    std::vector<qsizetype> m_starts;
    std::vector<bool> m_current;
    qint64 m_size = -1;
    QDateTime m_modified;
};
