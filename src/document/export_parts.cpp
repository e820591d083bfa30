#include "document/export_parts.h"

#include "core/code_page.h"
#include "document/text_export.h"

QByteArray ExportParts::build(std::span<const PageRecord> pages)
{
    m_parts.resize(pages.size());
    qsizetype size = 0;
    for (size_t i = 0; i < pages.size(); ++i) {
        Part& part = m_parts[i];
        if (part.bytes.isEmpty() || !part.page.isOf(pages[i]))
            part = {PageIdentity::of(pages[i]), TextExport::ofPage(pages[i])};
        size += part.bytes.size();
    }
    QByteArray out;
    out.reserve(size);
    for (const Part& part : m_parts)
        out += part.bytes;
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
        parts.push_back(
            {page, QByteArray::fromRawData(exportBytes.constData() + start, end - start)});
        start = end;
    }
    if (start != bytes.size())
        return false;
    m_parts = std::move(parts);
    m_adopted = exportBytes;
    return true;
}

void ExportParts::clear()
{
    m_parts.clear();
    m_adopted.clear();
}
