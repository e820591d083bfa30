#include "document/export_parts.h"

#include "core/safe_file.h"
#include "document/text_export.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cstring>

namespace {

constexpr qsizetype kPartBytes = qsizetype(256) << 10;

// An export read from its start a part at a time: a title line, the only
// kind of line that starts with "$", and the lines up to the next one.
class PartReader
{
public:
    explicit PartReader(QFileDevice& file) : m_file(file) {}
    // The next part, valid until the next call; empty at the end, and after
    // a read that failed.
    QByteArrayView next();

private:
    QByteArrayView take(qsizetype end);
    void readMore();

    QFileDevice& m_file;
    QByteArray m_bytes;
    qsizetype m_at = 0;
    bool m_end = false;
};

QByteArrayView PartReader::next()
{
    qsizetype from = m_at + 1;
    for (;;) {
        for (qsizetype at = m_bytes.indexOf('$', from); at >= 0;
             at = m_bytes.indexOf('$', at + 1)) {
            if (m_bytes.at(at - 1) == '\n')
                return take(at);
        }
        if (m_end)
            return take(m_bytes.size());
        // What is searched already stays searched; the part read so far
        // moves to the front.
        const qsizetype kept = m_bytes.size() - m_at;
        from = std::max(kept, qsizetype(1));
        std::memmove(m_bytes.data(), m_bytes.constData() + m_at, size_t(kept));
        m_bytes.truncate(kept);
        m_at = 0;
        readMore();
    }
}

QByteArrayView PartReader::take(qsizetype end)
{
    const QByteArrayView part = QByteArrayView(m_bytes).sliced(m_at, end - m_at);
    m_at = end;
    return part;
}

void PartReader::readMore()
{
    const qsizetype size = m_bytes.size();
    m_bytes.resize(size + kPartBytes);
    const qint64 got = m_file.read(m_bytes.data() + size, kPartBytes);
    m_bytes.resize(size + std::max(got, qint64(0)));
    if (got > 0)
        return;
    m_end = true;
    // A file that cannot be read on is no export to copy from.
    if (got < 0)
        m_bytes.resize(m_at);
}

// A part as written: one title line and the text after it.
bool isWhole(QByteArrayView part)
{
    return part.startsWith('$') && part.endsWith("\r\n");
}

} // namespace

std::optional<AppError> ExportParts::write(const QString& path, std::span<const PageRecord> pages,
                                           std::optional<QFileDevice::Permissions> permissions)
{
    const QFileInfo info(path);
    QFile earlier(path);
    const bool copying = !m_current.empty() && info.isFile() && info.size() == m_size &&
                         info.lastModified() == m_modified && earlier.open(QIODevice::ReadOnly);
    bool misfit = false;
    const auto produce = [&](const SafeFile::Writer& writePart) -> std::optional<AppError> {
        PartReader reader(earlier);
        QByteArray buffer;
        buffer.reserve(kPartBytes + kPartBytes / 4);
        // Every part of the earlier file is read, copied or not, so that the
        // next one is its page's; the file must hold exactly its pages' parts.
        const auto readPart = [&](size_t i) {
            const QByteArrayView part = reader.next();
            misfit = misfit || !isWhole(part);
            return misfit || !isCurrent(i) ? QByteArrayView() : part;
        };
        for (size_t i = 0; i < pages.size() && !misfit; ++i) {
            const QByteArrayView part = copying && i < m_parts ? readPart(i) : QByteArrayView();
            if (part.isEmpty())
                TextExport::appendPage(buffer, pages[i]);
            else
                buffer += part;
            if (buffer.size() < kPartBytes)
                continue;
            if (!writePart(buffer))
                return std::nullopt;
            buffer.resize(0);
        }
        for (size_t i = pages.size(); copying && i < m_parts; ++i)
            readPart(i);
        misfit = misfit || (copying && !reader.next().isEmpty());
        // Closed before the new file takes its place: on Windows a file
        // still open cannot be replaced.
        earlier.close();
        if (misfit)
            return AppError{AppError::InvalidCountOfSections, path};
        writePart(buffer);
        return std::nullopt;
    };
    const std::optional<AppError> error = SafeFile::writeInParts(path, produce, permissions);
    // Not cut into its pages' parts after all, though nobody changed it:
    // every part is made.
    if (misfit) {
        clear();
        return write(path, pages, permissions);
    }
    if (error)
        return error;
    m_parts = pages.size();
    m_current.assign(pages.size(), true);
    kept(path);
    return std::nullopt;
}

QByteArray ExportParts::build(std::span<const PageRecord> pages)
{
    QByteArray out = TextExport::build(pages);
    m_parts = pages.size();
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

void ExportParts::adopt(const QString& path, size_t count)
{
    m_parts = count;
    m_current.assign(count, true);
    kept(path);
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
    m_parts = 0;
    m_current.clear();
    m_size = -1;
}
