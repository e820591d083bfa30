#include "document/export_parts.h"

#include "core/code_page.h"
#include "document/text_export.h"

QByteArray ExportParts::build(std::span<const PageRecord> pages)
{
    std::vector<qsizetype> starts(pages.size() + 1);
    QByteArray out;
    out.reserve(m_whole.size() + m_whole.size() / 8);
    for (size_t i = 0; i < pages.size(); ++i) {
        starts[i] = out.size();
        if (isCurrent(i))
            out += part(i);
        else
            TextExport::appendPage(out, pages[i]);
    }
    starts.back() = out.size();
    m_starts = std::move(starts);
    m_current.assign(pages.size(), true);
    m_whole = out;
    return out;
}

// A page's part runs from its title line to the next title line. Only a
// title line starts with "$": the text of a page holds none ("&dollar;").
bool ExportParts::adopt(const QByteArray& exportBytes, std::span<const PageIdentity> pages)
{
    const QByteArrayView bytes(exportBytes);
    std::vector<qsizetype> starts;
    starts.reserve(pages.size() + 1);
    qsizetype start = 0;
    for (const PageIdentity& page : pages) {
        const QByteArray titleLine = '$' + CodePage::encodeLossy(page.title) + "\r\n";
        if (!bytes.sliced(start).startsWith(titleLine))
            return false;
        qsizetype end = bytes.indexOf('$', start + titleLine.size());
        while (end >= 0 && bytes[end - 1] != '\n')
            end = bytes.indexOf('$', end + 1);
        starts.push_back(start);
        start = end < 0 ? bytes.size() : end;
    }
    if (start != bytes.size())
        return false;
    starts.push_back(start);
    m_starts = std::move(starts);
    m_current.assign(pages.size(), true);
    m_whole = exportBytes;
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
    m_whole.clear();
    m_starts.clear();
    m_current.clear();
}

QByteArrayView ExportParts::part(size_t i) const
{
    return QByteArrayView(m_whole).sliced(m_starts[i], m_starts[i + 1] - m_starts[i]);
}
