#include "document/export_parts.h"

#include "core/safe_file.h"
#include "document/text_export.h"

#include <QFile>
#include <QFileInfo>

namespace {

constexpr qsizetype kPartBytes = qsizetype(256) << 10;

} // namespace

std::optional<AppError> ExportParts::write(const QString& path, std::span<const PageRecord> pages,
                                           std::optional<QFileDevice::Permissions> permissions)
{
    const QFileInfo info(path);
    QFile earlier(path);
    const bool copying = !m_current.empty() && info.isFile() && info.size() == m_size &&
                         info.lastModified() == m_modified && earlier.open(QIODevice::ReadOnly);
    std::vector<qsizetype> starts(pages.size() + 1);
    const auto produce = [&](const SafeFile::Writer& writePart) -> std::optional<AppError> {
        QByteArray buffer;
        buffer.reserve(kPartBytes + kPartBytes / 4);
        qsizetype written = 0;
        for (size_t i = 0; i < pages.size(); ++i) {
            starts[i] = written + buffer.size();
            if (!(copying && copyPart(earlier, i, buffer)))
                TextExport::appendPage(buffer, pages[i]);
            if (buffer.size() < kPartBytes)
                continue;
            if (!writePart(buffer))
                return std::nullopt;
            written += buffer.size();
            buffer.resize(0);
        }
        starts.back() = written + buffer.size();
        // Closed before the new file takes its place: on Windows a file
        // still open cannot be replaced.
        earlier.close();
        writePart(buffer);
        return std::nullopt;
    };
    if (auto error = SafeFile::writeInParts(path, produce, permissions))
        return error;
    m_starts = std::move(starts);
    m_current.assign(pages.size(), true);
    kept(path);
    return std::nullopt;
}

QByteArray ExportParts::build(std::span<const PageRecord> pages)
{
    QByteArray out;
    m_starts.resize(pages.size() + 1);
    for (size_t i = 0; i < pages.size(); ++i) {
        m_starts[i] = out.size();
        TextExport::appendPage(out, pages[i]);
    }
    m_starts.back() = out.size();
    m_current.assign(pages.size(), true);
    m_size = -1;
    return out;
}

void ExportParts::kept(const QString& path)
{
    const QFileInfo info(path);
    m_size = info.size();
    m_modified = info.lastModified();
}

// Only a title line starts with "$": the text of a page holds none
// ("&dollar;"), though a title may.
bool ExportParts::adopt(const QString& path, size_t count)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered) || file.isSequential())
        return false;
    std::vector<qsizetype> starts;
    starts.reserve(count + 1);
    QByteArray chunk(kPartBytes, Qt::Uninitialized);
    qsizetype offset = 0;
    char before = '\n';
    for (qint64 got = 0; (got = file.read(chunk.data(), chunk.size())) != 0; offset += got) {
        if (got < 0)
            return false;
        const QByteArrayView part(chunk.constData(), got);
        for (qsizetype at = part.indexOf('$'); at >= 0; at = part.indexOf('$', at + 1)) {
            if ((at > 0 ? part[at - 1] : before) == '\n')
                starts.push_back(offset + at);
        }
        before = part.back();
    }
    if (starts.size() != count || (count > 0 && starts.front() != 0))
        return false;
    starts.push_back(offset);
    m_starts = std::move(starts);
    m_current.assign(count, true);
    kept(path);
    return true;
}

void ExportParts::resize(size_t count)
{
    if (!m_current.empty())
        m_current.resize(count, false);
}

void ExportParts::markChanged(size_t i)
{
    if (i < m_current.size())
        m_current[i] = false;
}

void ExportParts::clear()
{
    m_starts.clear();
    m_current.clear();
    m_size = -1;
}

// A part copied is one title line and the text after it; anything else, or
// a read that fails, has the part made again instead.
bool ExportParts::copyPart(QFileDevice& from, size_t i, QByteArray& out) const
{
    // Parts follow each other: the file is read on without a seek.
    if (!isCurrent(i) || (from.pos() != m_starts[i] && !from.seek(m_starts[i])))
        return false;
    const qsizetype at = out.size();
    const qsizetype length = m_starts[i + 1] - m_starts[i];
    out.resize(at + length);
    const QByteArrayView part(out.constData() + at, length);
    if (from.read(out.data() + at, length) == length && part.startsWith('$') &&
        part.endsWith("\r\n"))
        return true;
    out.truncate(at);
    return false;
}
