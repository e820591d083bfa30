#include "document/export_parts.h"

#include "core/code_page.h"
#include "document/text_export.h"

QByteArray ExportParts::build(std::span<const PageRecord> pages)
{
    m_parts.resize(pages.size());
    std::vector<qsizetype> starts(pages.size() + 1);
    QByteArray out;
    out.reserve(m_whole.size() + m_whole.size() / 8);
    for (size_t i = 0; i < pages.size(); ++i) {
        Part& part = m_parts[i];
        starts[i] = out.size();
        if (!part.bytes.isEmpty() && part.page.isOf(pages[i])) {
            out += part.bytes;
            continue;
        }
        part.page = PageIdentity::of(pages[i]);
        TextExport::appendPage(out, pages[i]);
    }
    starts[pages.size()] = out.size();
    for (size_t i = 0; i < pages.size(); ++i)
        m_parts[i].bytes = QByteArrayView(out).sliced(starts[i], starts[i + 1] - starts[i]);
    m_whole = out;
    return out;
}

// A page's part runs from its title line to the next title line. Only a
// title line starts with "$": the text of a page holds none ("&dollar;").
bool ExportParts::adopt(const QByteArray& exportBytes, std::span<const PageIdentity> pages)
{
    const QByteArrayView bytes(exportBytes);
    std::vector<Part> parts;
    parts.reserve(pages.size());
    qsizetype start = 0;
    for (const PageIdentity& page : pages) {
        const QByteArray titleLine = '$' + CodePage::encodeLossy(page.title) + "\r\n";
        if (!bytes.sliced(start).startsWith(titleLine))
            return false;
        qsizetype end = bytes.indexOf('$', start + titleLine.size());
        while (end >= 0 && bytes[end - 1] != '\n')
            end = bytes.indexOf('$', end + 1);
        end = end < 0 ? bytes.size() : end;
        parts.push_back({page, bytes.sliced(start, end - start)});
        start = end;
    }
    if (start != bytes.size())
        return false;
    m_parts = std::move(parts);
    m_whole = exportBytes;
    return true;
}

void ExportParts::clear()
{
    m_parts.clear();
    m_whole.clear();
}
